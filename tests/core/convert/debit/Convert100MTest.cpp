#include <gtest/gtest.h>

#include "base/QrvError.h"
#include "convert/debit/Convert100M.h"
#include "core/convert/debit/DebitReturnSamples.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::fixedLine;

// Input: header with the value date yymmdd at 189-194; details with amount 11-21, account 23-32, result
// letter 221, remainder 222-268; summary "599" with the count at 7-11 and the amount at 17-27.
std::string header() {
    return fixedLine(200, {{1, "HDR"}, {189, "261208"}});
}
std::string detail(const std::string& account10, const std::string& amount11, const std::string& letter,
                   const std::string& remainder) {
    return fixedLine(268, {{1, "DTL"}, {11, amount11}, {23, account10}, {221, letter}, {222, remainder}});
}
std::string summary(const std::string& count5, const std::string& amount11) {
    return fixedLine(30, {{1, "599"}, {7, count5}, {17, amount11}});
}

// Output: control record and detail record of the 100M layout.
std::string control(const std::string& code, const std::string& count5, const std::string& amount11) {
    return std::string(8, ' ') + "M" + code + std::string(30, ' ') + "C" + "A" + "081226" + count5 + amount11;
}
std::string converted(const std::string& account10, const std::string& amount11, const std::string& code,
                      const std::string& remainder) {
    return account10 + "081226" + "0" + amount11 + code + fixedLine(47, {{1, remainder}});
}

// Records joined by CR LF, the last one without.
std::string records(const std::vector<std::string>& lines) {
    const std::string all = test::crlfLines(lines);
    return all.substr(0, all.size() - 2);
}

struct Convert : ::testing::Test {
    test::OperationFixture fx;
    std::filesystem::path input = fx.out / "input.txt";
    std::filesystem::path dest = fx.out / "100m.txt";

    Convert100MRequest request{input, "ABC123", dest};

    // True when the converted file was written, as its result says.
    bool run() {
        Services services = fx.services();
        const Convert100MResult result = convertTo100M(request, services);
        const bool written = result.outcome == Outcome::Written;
        EXPECT_EQ(result.wrote(OutputKind::Converted), written);
        return written;
    }
};

TEST_F(Convert, ControlRecordsFirstAndResultCodesCarriedOver) {
    test::writeFile(input, test::crlfLines({
                               header(),
                               detail("1000000001", "00000001000", "X", "BEFORE ANY CODE"),
                               detail("1000000002", "00000002000", "S", "SUCCESS"),
                               detail("1000000003", "00000003000", "Q", "REPEATS 00"),
                               detail("1000000004", "00000004000", "F", "FAILED"),
                               detail("1000000005", "00000005000", " ", "REPEATS 01"),
                               summary("00005", "00000015000"),
                           }));
    ASSERT_TRUE(run());
    const std::string expected = records({
        control("ABC123", "00005", "00000015000"),
        converted("1000000001", "00000001000", "  ", "BEFORE ANY CODE"),  // no code yet: blanks
        converted("1000000002", "00000002000", "00", "SUCCESS"),
        converted("1000000003", "00000003000", "00", "REPEATS 00"),
        converted("1000000004", "00000004000", "01", "FAILED"),
        converted("1000000005", "00000005000", "01", "REPEATS 01"),
    });
    EXPECT_EQ(test::readFile(dest), expected);
    EXPECT_EQ(control("ABC123", "00005", "00000015000").size(), 69u);
    EXPECT_EQ(fx.events.messages.size(), 1u);
    EXPECT_EQ(fx.events.messages.at(0).kind, MessageKind::Plain);
    EXPECT_EQ(fx.events.messages.at(0).text, "Convert 100 Million Complete");
    EXPECT_EQ(fx.events.progress.back(), 100);
    // The two work files are gone.
    EXPECT_EQ(test::listFolder(fx.out), (std::vector<std::string>{"100m.txt", "input.txt"}));
}

TEST_F(Convert, RecordsAreOrderedByHowTheyStartAndShortLinesReadAsBlanks) {
    // A detail without an account makes a record that starts with blanks, as a control record does: it
    // goes with the control records, in input order. A line cut inside the remainder gives a record of
    // its whole width, the missing columns blank.
    test::writeFile(input, test::crlfLines({
                               header(),
                               detail("1000000001", "00000001000", "S", "FIRST"),
                               detail("          ", "00000002000", "F", "NO ACCOUNT"),
                               summary("00003", "00000006000"),
                               detail("1000000003", "00000003000", " ", "LAST LINE CUT").substr(0, 230),
                           }));
    ASSERT_TRUE(run());
    EXPECT_EQ(test::readFile(dest), records({
                                        converted("          ", "00000002000", "01", "NO ACCOUNT"),
                                        control("ABC123", "00003", "00000006000"),
                                        converted("1000000001", "00000001000", "00", "FIRST"),
                                        converted("1000000003", "00000003000", "01", "LAST LINE"),
                                    }));
    EXPECT_EQ(test::listFolder(fx.out), (std::vector<std::string>{"100m.txt", "input.txt"}));
}

TEST_F(Convert, ACompanyCodeThatDoesNotFillItsFieldIsRefused) {
    // Two characters would move "CA", the date, the count and the total four columns left.
    test::writeFile(input, test::crlfLines({header(), detail("2000000001", "00000001000", "S", "ONE"),
                                            summary("00001", "00000001000")}));
    const std::string earlier = "EARLIER OUTPUT\r\n";
    test::writeFile(dest, earlier);
    request.companyCode = "AB";
    EXPECT_FALSE(run());
    EXPECT_EQ(fx.events.texts(),
              std::vector<std::string>{"The company code \"AB\" does not fit its field of 6 characters"});
    EXPECT_EQ(test::readFile(dest), earlier);
    EXPECT_EQ(test::listFolder(fx.out), (std::vector<std::string>{"100m.txt", "input.txt"}));
}

TEST_F(Convert, WithoutASummaryOnlyDetailRecordsAreWritten) {
    // The last input line ends without a line end; the header is never converted.
    test::writeFile(input, header() + "\r\n" + detail("3000000001", "00000001000", "S", "A") + "\r\n" +
                               detail("3000000002", "00000009999", "F", "B"));
    ASSERT_TRUE(run());
    EXPECT_EQ(test::readFile(dest), records({converted("3000000001", "00000001000", "00", "A"),
                                             converted("3000000002", "00000009999", "01", "B")}));
}

TEST_F(Convert, AnEmptyCompanyCodeLeavesTheOutputUntouched) {
    test::writeFile(input, test::crlfLines({header(), detail("4000000001", "00000001000", "S", "A")}));
    const std::string earlier = "EARLIER OUTPUT\r\n";
    test::writeFile(dest, earlier);
    request.companyCode.clear();
    EXPECT_FALSE(run());
    request.companyCode = "AB\xE4\xB8\xAD";  // a character code page 874 does not hold
    EXPECT_FALSE(run());
    EXPECT_EQ(fx.events.texts(), (std::vector<std::string>{
                                     "Please Input Company Code",
                                     "The company code holds a character that code page 874 cannot write"}));
    EXPECT_EQ(test::readFile(dest), earlier);

    // An input that cannot be read stops with a file error, the output again untouched.
    request.companyCode = "ABC123";
    request.sourcePath = fx.out / "missing.txt";
    EXPECT_THROW(run(), QrvError);
    EXPECT_EQ(test::readFile(dest), earlier);
    EXPECT_EQ(test::listFolder(fx.out), (std::vector<std::string>{"100m.txt", "input.txt"}));
}

}  // namespace
}  // namespace qrv
