#include <gtest/gtest.h>

#include "base/QrvError.h"
#include "convert/debit/ReturnFileComparison.h"
#include "core/convert/debit/DebitReturnSamples.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::fixedLine;
using test::returnDetail;
using test::returnHeader;
using test::returnTrailer;
using test::sentControl;
using test::sentDetail;

const std::string kName = fixedLine(30, {{1, "BIG COMPANY LTD"}});

std::string rest(const std::string& text) {
    return fixedLine(31, {{1, text}});
}

struct Comparison : ::testing::Test {
    test::OperationFixture fx;
    std::filesystem::path sent = fx.out / "sent.txt";
    std::filesystem::path ret = fx.out / "return.txt";
    std::filesystem::path dest = fx.out / "compare.txt";

    void SetUp() override { fx.loadSettings(); }
    ReturnComparisonRequest request{sent, ret, dest};

    // True when the comparison file was written, as its result says.
    bool run() {
        Services services = fx.services();
        const ReturnComparisonResult result = compareReturnFile(request, services);
        const bool written = result.outcome == Outcome::Written;
        EXPECT_EQ(result.wrote(OutputKind::Comparison), written);
        return written;
    }
    void files(const std::vector<std::string>& sentLines, const std::vector<std::string>& returnLines) {
        test::writeFile(sent, test::crlfLines(sentLines));
        test::writeFile(ret, test::crlfLines(returnLines));
    }
    std::vector<Row> rows() {
        return fx.store.query(
            "SELECT Account_No, Reference_Id, Amount, Result FROM DDR_FileCompare ORDER BY rowid");
    }
    std::vector<std::string> errors() const {
        std::vector<std::string> texts;
        for (const auto& m : fx.events.messages) {
            EXPECT_EQ(m.kind, MessageKind::Error) << m.text;
            texts.push_back(m.text);
        }
        return texts;
    }
};

// Three debits: a success, a failure with reason 112, and a partial result "P".
struct ThreeDebits {
    std::vector<std::string> sent = {
        sentControl(kName, "081226", "00003", "00000450000"),
        sentDetail("1234567890", "00000100000", "SENTREF0000000001", rest("FIRST")),
        sentDetail("0012345678", "00000200000", "SENTREF0000000002", rest("SECOND")),
        sentDetail("5555555555", "00000150000", "SENTREF0000000003", rest("THIRD")),
    };
    std::string account1 = fixedLine(25, {{1, "1234567890"}});
    std::string account2 = fixedLine(25, {{4, "00000000012345678"}});
    std::string account3 = fixedLine(25, {{1, "5555555555"}});
    std::string partial16 = "0000000001499500";  // 1499.500 baht for result "P"
    std::vector<std::string> ret = {
        returnHeader("261208"),
        returnDetail(account1, "RETREF00000000001", "00000100000", "0000000001000000", "S"),
        returnDetail(account2, "RETREF00000000002", "00000200000", "0000000002000000", "F112"),
        returnDetail(account3, "RETREF00000000003", "00000150000", partial16, "P"),
        returnTrailer("000003", "0000000004500000"),
    };
};

TEST_F(Comparison, WritesTheComparisonFileTheTableAndTheReport) {
    const ThreeDebits d;
    files(d.sent, d.ret);
    ASSERT_TRUE(run());
    EXPECT_TRUE(fx.events.messages.empty()) << fx.events.texts().front();

    const std::string expected = test::crlfLines({
        d.sent[0],
        d.sent[1].substr(0, 17) + "00000100000" + "00" + "RETREF00000000001" + d.sent[1].substr(47),
        d.sent[2].substr(0, 17) + "00000200000" + "21" + "RETREF00000000002" + d.sent[2].substr(47),
        d.sent[3].substr(0, 17) + d.partial16.substr(4, 11) + "03" + "RETREF00000000003" +
            d.sent[3].substr(47),
    });
    const std::string written = test::readFile(dest);
    EXPECT_EQ(written, expected);
    // One line more than the sent details, each 78 characters.
    size_t lines = 0;
    for (size_t at = 0; at < written.size(); at = written.find("\r\n", at) + 2) {
        EXPECT_EQ(written.find("\r\n", at) - at, 78u);
        ++lines;
    }
    EXPECT_EQ(lines, 4u);

    const std::vector<Row> r = rows();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].text("Account_No"), d.account1);
    EXPECT_EQ(r[1].text("Account_No"), d.account2);  // stored untrimmed
    EXPECT_EQ(r[2].text("Reference_Id"), "RETREF00000000003");
    EXPECT_EQ(std::get<Money>(*r[0].find("Amount")), Money::fromUnits(1000'0000));
    EXPECT_EQ(std::get<Money>(*r[1].find("Amount")), Money::fromUnits(2000'0000));
    EXPECT_EQ(std::get<Money>(*r[2].find("Amount")), Money::fromUnits(1499'5000));  // columns 281-296
    EXPECT_EQ(r[0].text("Result") + r[1].text("Result") + r[2].text("Result"), "SFP");

    ASSERT_EQ(fx.events.reports.size(), 1u);
    const ShownReport& report = fx.events.reports[0];
    EXPECT_EQ(report.requestedLayout, "rptCompareFileFromV5.frf");
    EXPECT_EQ(report.layoutFile, "rptCompareFileFromV5.frf");
    EXPECT_TRUE(report.modal);
    EXPECT_EQ(report.variables,
              (std::vector<std::pair<std::string, std::string>>{{"ComName", kName},
                                                                {"TransDate", "08/12/26"},
                                                                {"SourceFile", sent.string()},
                                                                {"FileFromV5", ret.string()},
                                                                {"Destination", dest.string()}}));
    const std::string html = RenderReportHtml(report);
    EXPECT_NE(html.find("1,499.50"), std::string::npos);
    EXPECT_NE(html.find("RETREF00000000002"), std::string::npos);
    EXPECT_NE(html.find("<td class=\"ctr\">F</td>"), std::string::npos);
    // Progress from 0, then after each line: k / 5 lines of the return file.
    EXPECT_EQ(fx.events.progress, (std::vector<int>{0, 20, 40}));
    EXPECT_EQ(test::listFolder(fx.out), (std::vector<std::string>{"compare.txt", "return.txt", "sent.txt"}));
}

// A sent detail that ends early gives a comparison line of its whole width, the missing columns blank; a
// first detail paired with no return detail has a blank amount, not a shorter line.
TEST_F(Comparison, EveryLineOfTheComparisonFileHasItsWidth) {
    ThreeDebits d;
    d.sent[1] = d.sent[1].substr(0, 47);                                   // ends with its reference
    d.ret.insert(d.ret.begin() + 1, "002" + std::string(310, ' ') + "S");  // no account of a detail
    d.ret[1].replace(0, 3, "003");
    d.sent.insert(d.sent.begin() + 1,
                  sentDetail("7777777777", "00000000000", "SENTREF0000000000", rest("ZERO")));
    d.sent[0] = sentControl(kName, "081226", "00004", "00000450000");
    d.ret.back() = returnTrailer("000004", "0000000004500000");
    files(d.sent, d.ret);
    ASSERT_TRUE(run()) << fx.events.texts().front();
    const std::string written = test::readFile(dest);
    const std::string first = written.substr(written.find("\r\n") + 2, 78);
    EXPECT_EQ(first.substr(17, 11), std::string(11, ' ')) << "no amount yet";
    EXPECT_EQ(first.substr(28, 2), "00");
    const std::string cut = written.substr(written.find("\r\n") + 2 + 80, 80);
    EXPECT_EQ(cut.substr(0, 78),
              d.sent[2].substr(0, 17) + "00000100000" + "00" + "RETREF00000000001" + std::string(31, ' '));
    EXPECT_EQ(cut.substr(78), "\r\n");
}

TEST_F(Comparison, ResultsAndReasonsGiveTheirStatusCodes) {
    const std::string account = fixedLine(25, {{1, "1111111111"}});
    std::vector<std::string> sentLines = {sentControl(kName, "081226", "00009", "00000090000")};
    std::vector<std::string> returnLines = {returnHeader("261208")};
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"F112", "21"}, {"F113", "20"}, {"F06 ", "20"}, {"F99 ", "90"},
        {"F03 ", "10"}, {"S   ", "00"}, {"V   ", "23"}, {"P   ", "03"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string ref = "REF" + std::string(13, '0') + std::to_string(i);
        sentLines.push_back(sentDetail("1111111111", "00000010000", "SENT" + ref.substr(4), rest("X")));
        returnLines.push_back(returnDetail(account, ref, "00000010000", "0000000000100000", cases[i].first));
    }
    // A paired record that is no detail record: the previous amount text again, the sent reference kept.
    sentLines.push_back(sentDetail("1111111111", "00000010000", "SENTKEEP000000009", rest("LAST")));
    returnLines.push_back(
        returnDetail(account, "NOTUSED0000000009", "99999999999", "9999999999999999", "S", "003"));
    returnLines.push_back(returnTrailer("000009", "0000000000900000"));
    files(sentLines, returnLines);
    ASSERT_TRUE(run()) << fx.events.texts().front();

    const std::string written = test::readFile(dest);
    std::vector<std::string> lines;
    for (size_t at = 0; at < written.size(); at = written.find("\r\n", at) + 2) {
        lines.push_back(written.substr(at, written.find("\r\n", at) - at));
    }
    ASSERT_EQ(lines.size(), 10u);
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(lines[i + 1].substr(28, 2), cases[i].second) << cases[i].first;
    }
    EXPECT_EQ(lines[9], sentLines[9].substr(0, 17) + "00000010000" + "00" + "SENTKEEP000000009" +
                            sentLines[9].substr(47));
    EXPECT_EQ(rows().size(), 8u);
}

TEST_F(Comparison, InputChecksStopInOrderBeforeAnythingIsWritten) {
    fx.store.append("DDR_FileCompare", {{"Account_No", std::string("EARLIER")}});
    request = {};
    EXPECT_FALSE(run());
    request.sentPath = sent;
    EXPECT_FALSE(run());
    request.returnPath = ret;
    EXPECT_FALSE(run());
    request.destinationPath = dest;

    ThreeDebits d;
    d.sent[0][3] = 'X';  // the control record must start with eight blanks
    files(d.sent, d.ret);
    EXPECT_FALSE(run());
    d = ThreeDebits();
    d.ret[0].replace(0, 3, "002");
    files(d.sent, d.ret);
    EXPECT_FALSE(run());
    d = ThreeDebits();
    d.ret[0].replace(259, 6, "261209");
    files(d.sent, d.ret);
    EXPECT_FALSE(run());
    d = ThreeDebits();
    d.ret[4].replace(3, 6, "000004");
    files(d.sent, d.ret);
    EXPECT_FALSE(run());
    d = ThreeDebits();
    d.ret.pop_back();  // no trailer: count and amount stay 0
    files(d.sent, d.ret);
    EXPECT_FALSE(run());
    d = ThreeDebits();
    d.ret[4].replace(9, 16, "0000000004500001");  // one thousandth more
    files(d.sent, d.ret);
    EXPECT_FALSE(run());

    // The totals that differ follow the words, the amounts to the last decimal that differs.
    const std::string sentTotals = "Sent file: record count 3, total 4,500.00 baht. ";
    EXPECT_EQ(errors(),
              (std::vector<std::string>{
                  "Please Input file ", "Please Input file of Direct Debit Return File ",
                  "Please Select Destination file ", "Incorrect file input. Please Check file",
                  "Incorrect file input. Please Check file Direct Debit Return", "Incorrect Value Date",
                  " Record is not match. " + sentTotals +
                      "Return file line 5: record count 4, total 4,500.00 baht.",
                  " Record is not match. " + sentTotals + "Return file: no trailer record.",
                  " Amount is not match. " + sentTotals +
                      "Return file line 5: record count 3, total 4,500.001 baht."}));
    // A folder named as the return file is a file that cannot be read, as a missing one.
    files(ThreeDebits().sent, ThreeDebits().ret);
    request.returnPath = fx.out;
    EXPECT_THROW(run(), QrvError);
    EXPECT_FALSE(std::filesystem::exists(dest));
    ASSERT_EQ(rows().size(), 1u);  // the table is not emptied before the writing phase
    EXPECT_TRUE(fx.events.reports.empty());
}

TEST_F(Comparison, ARunStoppedWhileWritingLeavesNoComparisonFile) {
    const std::string earlier = "EARLIER COMPARISON\r\n";
    // A short return file: the third sent debit meets the trailer, whose result column is blank.
    {
        ThreeDebits d;
        d.ret.erase(d.ret.begin() + 3);
        files(d.sent, d.ret);
        test::writeFile(dest, earlier);
        EXPECT_FALSE(run());
        EXPECT_EQ(test::readFile(dest), earlier);
        EXPECT_EQ(rows().size(), 2u);  // the rows appended so far stay
    }
    std::filesystem::remove(dest);
    {
        ThreeDebits d;
        d.ret[2].replace(9, 25, fixedLine(25, {{1, "12345679"}}));
        files(d.sent, d.ret);
        EXPECT_FALSE(run());
        EXPECT_FALSE(std::filesystem::exists(dest));
    }
    {
        ThreeDebits d;
        d.ret[3].replace(268, 11, "00000150001");
        files(d.sent, d.ret);
        test::writeFile(dest, earlier);
        EXPECT_FALSE(run());
        EXPECT_EQ(test::readFile(dest), earlier);
    }
    {
        // The return file runs out: its trailer, whose result reads "S", pairs with the third debit.
        ThreeDebits d;
        d.sent.push_back(sentDetail("4444444444", "00000000000", "SENTREF0000000004", rest("FOURTH")));
        d.sent[0] = sentControl(kName, "081226", "00004", "00000450000");
        d.ret.erase(d.ret.begin() + 3);
        d.ret.back() = returnTrailer("000004", "0000000004500000");
        d.ret.back()[313] = 'S';
        files(d.sent, d.ret);
        EXPECT_FALSE(run());
    }
    {
        ThreeDebits d;
        d.sent[2].replace(17, 11, "000002000X0");  // an amount that reads as no number
        files(d.sent, d.ret);
        EXPECT_THROW(run(), QrvError);
        EXPECT_EQ(test::readFile(dest), earlier);
    }
    // Each names the debit: its line and values in both files.
    const std::string third = "Sent file line 4: account 5555555555, amount 1,500.00. ";
    EXPECT_EQ(
        errors(),
        (std::vector<std::string>{
            "Status Error. " + third + "Return file line 4: result \" \" is none of S, F, V, P.",
            "Total Account is not match. Sent file line 3: account 0012345678, amount 2,000.00. "
            "Return file line 3: account 12345679, amount 2,000.00.",
            "Total Amount is not match. " + third +
                "Return file line 4: account 5555555555, amount 1,500.01.",
            "Status Error. Sent file line 5: account 4444444444, amount 0.00. Return file: no record left "
            "for it."}));
    EXPECT_TRUE(fx.events.reports.empty());
    EXPECT_EQ(test::listFolder(fx.out), (std::vector<std::string>{"compare.txt", "return.txt", "sent.txt"}));
}

}  // namespace
}  // namespace qrv
