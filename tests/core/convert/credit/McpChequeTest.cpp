#include <gtest/gtest.h>

#include "base/QrvError.h"
#include "support/McpTestSupport.h"
#include "upload/HashFile.h"

// Manager Cheque credits: records 002, 003, 004 and the trailer, the stops, the rejected lines and the
// outcome of a run.
namespace qrv {
namespace {

using test::Blanks;
using test::Cheque;
using test::McpBench;
using test::Pad;
using test::Zeros;

const std::string kListingZero = "_CreditZeroAmountRecord.txt";
const std::string kListingInvalid = "_CreditAmountInvalidRecord.txt";
const std::string kCompleted = "Reformat data and add to 2026-12-08ACME01_MCP.zip completed";
const std::string kAllRejected = "Reformat data fail because data are rejected all transactions";

std::string join(const std::vector<std::string>& fields) {
    std::string s;
    for (const auto& f : fields) {
        s += f;
    }
    return s;
}

// Record 003 of the default cheque, field by field, with the pickup branch and its location code.
std::string defaultRecord003(const std::string& sequence, const std::string& branch = "0111") {
    return join({"003",
                 sequence,
                 Blanks(25),
                 "0000000001000000",
                 "THB",
                 "00000001",
                 "N",
                 "N",
                 "N",
                 "P",
                 Blanks(4),
                 "01",
                 "RUN00000000001",
                 "000123",
                 "00",
                 Zeros(16),
                 "000000",
                 Zeros(16),
                 "1",
                 Pad("FREE TEXT", 40),
                 "20261201",
                 "014",
                 Blanks(35),
                 branch,
                 Blanks(35),
                 "C",
                 "N",
                 Pad("REF-0001", 20),
                 "1",
                 Blanks(3),
                 Blanks(2),
                 Blanks(70)});
}

std::string defaultRecord004(const std::string& sequence) {
    return join({"004", "00000001", sequence, Pad("PAYEE0001", 15), Blanks(100), Pad("1 MAIN ROAD", 70),
                 Pad("SILOM", 50) + Blanks(20), Pad("BANGKOK 10500", 50) + Blanks(20), "3101234567",
                 Pad("JOHN SMITH CO., LTD.", 70), Blanks(10), Blanks(10), Blanks(64), Blanks(100), Blanks(70),
                 Blanks(70), Blanks(70)});
}

std::string sha1Hex(const std::string& bytes) {
    Sha1 sha;
    sha.update(bytes);
    return HexUpper(sha.finish());
}

TEST(McpCheque, OneChequeWritesEveryRecordHashedAndPacked) {
    McpBench b;
    b.source({Cheque().line()});
    EXPECT_EQ(b.press(), std::vector<std::string>{kCompleted});

    const std::string header = join(
        {"001", Pad("ACME01", 12), "20261208", Blanks(24), "20261208000000", "BCM", "20261208", Blanks(24)});
    const std::string r002 =
        join({"002", "MCP", "20261208", Pad("1234567896", 25), "04", "0123", "THB", "0000000001000000",
              "00000001", "000001", Pad("1234567896", 25), "04", "0123"});
    const std::string r999 =
        "999"
        "000001"
        "000001"
        "0000000001000000";
    const std::vector<std::string> body = {header, r002, defaultRecord003("000001"),
                                           defaultRecord004("000001"), r999};
    const std::vector<std::string> lines = b.upload();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), body);
    EXPECT_EQ(lines[2].size(), 109u);
    EXPECT_EQ(lines[3].size(), 355u);
    EXPECT_EQ(lines[4].size(), 816u);
    EXPECT_EQ(lines[0], sha1Hex(test::crlfLines(body)));
    EXPECT_EQ(b.last.hash, lines[0]);
    EXPECT_TRUE(b.last.wrote(OutputKind::Upload));

    // No work file and no empty listing stays; the archive holds the upload file.
    EXPECT_EQ(test::listFolder(b.out),
              (std::vector<std::string>{"2026-12-08ACME01_MCP.zip", "chq.txt", "up.txt"}));

    ASSERT_EQ(b.events.reports.size(), 1u);
    EXPECT_EQ(b.events.reports[0].layoutFile, "rptResult.frf");
    EXPECT_EQ(b.variable("PayType"), "Manager Cheque");
    EXPECT_EQ(b.variable("DebitRecord"), "1");
    EXPECT_EQ(b.variable("CreditRecord"), "1");
    EXPECT_EQ(b.variable("Amount"), "0000000001000.000");
    EXPECT_EQ(b.variable("ValueDate"), "08/12/2026");
    EXPECT_EQ(b.variable("ToFile"), b.uploadPath().string());
    EXPECT_EQ(b.variable("TotalReject"), "0");
    EXPECT_EQ(b.events.progress, (std::vector<int>{100, 0})) << "one line: a divisor of 1, then back to 0";
}

TEST(McpCheque, DueDateAndDebitAccountStopTheRun) {
    struct Case {
        int column;
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {37, "2026/12/07", "CHEQUE_DUE_DATE should be today or future date"},
        {37, "2026/13/08", "Invalid  CHEQUE_DUE_DATE"},
        {37, "2027/02/29", "Invalid  CHEQUE_DUE_DATE"},
        {27, "1234567895", "Invalid QRV debit account"},
    };
    for (const Case& c : cases) {
        McpBench b;
        b.source({Cheque().line(), Cheque().with(c.column, c.text).line(), Cheque().line()});
        EXPECT_EQ(b.press(), std::vector<std::string>{c.message}) << c.text;
        EXPECT_TRUE(b.events.reports.empty());
        EXPECT_FALSE(b.last.wrote(OutputKind::Upload));
        EXPECT_EQ(test::listFolder(b.out), std::vector<std::string>{"chq.txt"}) << c.text;
    }
    // Today itself passes.
    McpBench today;
    today.source({Cheque().with(37, "2026/12/08").line()});
    EXPECT_EQ(today.press(), std::vector<std::string>{kCompleted});
}

TEST(McpCheque, StopOnLine5KeepsTheListingsOfLines1To4AndTheEarlierUpload) {
    McpBench b;
    test::writeFile(b.uploadPath(), "an earlier upload file\r\n");
    b.source({Cheque().with(47, Zeros(13)).line(), Cheque().line(), Cheque().with(47, "00000000001X0").line(),
              Cheque().with(47, Zeros(13)).line(), Cheque().with(37, "2026/12/01").line(), Cheque().line()});
    EXPECT_EQ(b.press(), std::vector<std::string>{"CHEQUE_DUE_DATE should be today or future date"});
    EXPECT_EQ(test::readFile(b.listing(kListingZero)),
              test::crlfLines({"LineNo : 1  Column : 47-59   Credit amount is zero",
                               "LineNo : 4  Column : 47-59   Credit amount is zero"}));
    EXPECT_EQ(
        test::readFile(b.listing(kListingInvalid)),
        test::crlfLines({"LineNo : 3  Column : 47-59   Credit amount less than zero or invalid number"}));
    EXPECT_EQ(test::readFile(b.uploadPath()), "an earlier upload file\r\n");
    EXPECT_EQ(b.last.outcome, Outcome::AllRejected);
    EXPECT_EQ(b.last.hash, "") << "no hash is issued";
    EXPECT_TRUE(b.events.reports.empty());
    EXPECT_EQ(test::listFolder(b.out),
              (std::vector<std::string>{"ACME01_MCP" + kListingInvalid, "ACME01_MCP" + kListingZero,
                                        "chq.txt", "up.txt"}));
}

TEST(McpCheque, RejectedAmountsGetOneEntryEachAndNoSequenceNumber) {
    McpBench b;
    b.source({Cheque().line(), Cheque().with(47, Zeros(13)).line(), Cheque().with(47, "-000000010000").line(),
              Cheque().with(47, "ABCDEFGHIJKLM").line(), Cheque().with(47, "0000000000250").line()});
    EXPECT_EQ(b.press(), std::vector<std::string>{kCompleted});
    EXPECT_EQ(test::readFile(b.listing(kListingZero)),
              test::crlfLines({"LineNo : 2  Column : 47-59   Credit amount is zero"}));
    EXPECT_EQ(
        test::readFile(b.listing(kListingInvalid)),
        test::crlfLines({"LineNo : 3  Column : 47-59   Credit amount less than zero or invalid number",
                         "LineNo : 4  Column : 47-59   Credit amount less than zero or invalid number"}));
    const auto r003 = b.records("003");
    ASSERT_EQ(r003.size(), 2u);
    EXPECT_EQ(r003[0].substr(3, 6), "000001");
    EXPECT_EQ(r003[1].substr(3, 6), "000002");
    EXPECT_EQ(r003[1].substr(34, 16), "0000000000002500");
    EXPECT_EQ(b.records("004")[1].substr(11, 6), "000002");
    // 1,000.00 + 2.50; two credits.
    EXPECT_EQ(b.records("999"), std::vector<std::string>{"999000001000002"
                                                         "0000000001002500"});
    EXPECT_EQ(b.records("002")[0].substr(48, 16), "0000000001002500");
    EXPECT_EQ(b.records("002")[0].substr(72, 6), "000002");
    EXPECT_EQ(b.variable("TotalZeroAm"), "1");
    EXPECT_EQ(b.variable("NoZeroAm"), "2");
    EXPECT_EQ(b.variable("TotalNagativeAm"), "2");
    EXPECT_EQ(b.variable("NoNagativeAm"), "4");
    EXPECT_EQ(b.variable("TotalReject"), "3");
    EXPECT_EQ(b.variable("TotalZeroAcct"), "0");
    EXPECT_EQ(b.variable("CreditRecord"), "2");
    // Five lines scale the bar by four (lines minus one), never past 100.
    EXPECT_EQ(b.events.progress, (std::vector<int>{25, 50, 75, 100, 0}));
}

// A total past what an amount holds stops the run and names the line where the sum overflowed.
TEST(McpCheque, ATotalPastTheAmountsRangeNamesItsLine) {
    McpBench b;
    b.source(std::vector<std::string>(9300, Cheque().with(47, "9999999999999").line()));
    std::string error;
    try {
        b.press();
    } catch (const QrvError& e) {
        error = e.what();
    }
    EXPECT_EQ(error, "Amount total overflows at \"" + (b.out / "chq.txt").string() +
                         "\" line 9224, columns 47-59 (cheque amount)");
    EXPECT_FALSE(std::filesystem::exists(b.uploadPath()));
}

TEST(McpCheque, AllRejectedWritesNoUploadAndSaysSo) {
    McpBench b;
    test::writeFile(b.uploadPath(), "earlier\r\n");
    b.source({Cheque().with(47, Zeros(13)).line(), Cheque().with(47, "-000000000001").line()});
    EXPECT_EQ(b.press(), std::vector<std::string>{kAllRejected});
    EXPECT_EQ(test::readFile(b.uploadPath()), "earlier\r\n") << "an earlier file of that name stays";
    EXPECT_EQ(b.last.outcome, Outcome::AllRejected);
    EXPECT_EQ(b.last.hash, "");
    EXPECT_FALSE(b.last.wrote(OutputKind::Upload));
    ASSERT_EQ(b.events.reports.size(), 1u);
    EXPECT_EQ(b.variable("DebitRecord"), "0");
    EXPECT_EQ(b.variable("CreditRecord"), "0");
    EXPECT_EQ(b.variable("ToFile"), "");
    EXPECT_EQ(b.variable("Amount"), "0000000000000.000");
    EXPECT_EQ(b.variable("TotalReject"), "2");

    McpBench empty;
    empty.source({});
    EXPECT_EQ(empty.press(), std::vector<std::string>{kAllRejected});
    EXPECT_EQ(empty.variable("CreditRecord"), "0");
}

TEST(McpCheque, BatchRecordTakesTheLineReadLast) {
    McpBench b;
    b.source({Cheque().with(37, "2027/01/15").line(),
              Cheque().with(27, "9876543214").with(37, "2026/12/31").line(),
              Cheque().with(27, "1111111114").with(37, "2027/03/01").with(47, Zeros(13)).line()});
    b.press();
    ASSERT_EQ(b.records("002").size(), 1u);
    const std::string r002 = b.records("002")[0];
    EXPECT_EQ(r002.substr(6, 8), "20270301");
    EXPECT_EQ(r002.substr(14, 25), Pad("1111111114", 25));
    EXPECT_EQ(r002.substr(39, 2), "01");
    EXPECT_EQ(r002.substr(41, 4), "0111");
    EXPECT_EQ(r002.substr(78, 31), Pad("1111111114", 25) + "01" + "0111");
    EXPECT_EQ(b.variable("ValueDate"), "01/03/2027");
}

TEST(McpCheque, PayeeNameGoesToTheThaiOrTheEnglishField) {
    const std::string thai = "\xCA\xC1\xAA\xD2\xC2 \xE3\xA8\xB4\xD5";  // code page 874
    McpBench b;
    b.source({Cheque().with(148, thai).line(), Cheque().with(148, "ACME TRADING").line()});
    b.press();
    const auto r004 = b.records("004");
    ASSERT_EQ(r004.size(), 2u);
    EXPECT_EQ(r004[0].substr(32, 100), Pad(thai, 100));
    EXPECT_EQ(r004[0].substr(352, 70), Blanks(70));
    EXPECT_EQ(r004[1].substr(32, 100), Blanks(100));
    EXPECT_EQ(r004[1].substr(352, 70), Pad("ACME TRADING", 70));
    EXPECT_EQ(r004[0].size(), 816u);
}

std::string iniWithBranch(const std::string& line) {
    return "[ReFormat]\nMCP=TRUE\nDefault=MCP\n" + line + "\n";
}

TEST(McpCheque, PickupBranchAndLocationCode) {
    struct Case {
        std::string setting;
        std::string columns601;
        std::string branch;
        std::string location;  // with delivery code "2"
    };
    const std::vector<Case> cases = {
        {"DefaultBranchCode=FALSE", "     ", "0001", "C002"},
        {"DefaultBranchCode=false", "     ", "0001", "C002"},
        {"DefaultBranchCode=FaLsE", "     ", "0001", "C002"},
        {"", "     ", "0111", "C001"},
        {"DefaultBranchCode=0001", "     ", "0111", "C001"},
        {"DefaultBranchCode=FALSE", "   12", "0012", Blanks(4)},
        {"DefaultBranchCode=FALSE", "00111", "0111", "C001"},
    };
    for (const Case& c : cases) {
        McpBench b(iniWithBranch(c.setting));
        b.source({Cheque().with(127, "2").with(601, c.columns601).line(),
                  Cheque().with(601, c.columns601).line()});
        b.press();
        const auto r003 = b.records("003");
        ASSERT_EQ(r003.size(), 2u) << c.setting;
        EXPECT_EQ(r003[0].substr(218, 4), c.branch) << c.setting << c.columns601;
        EXPECT_EQ(r003[0].substr(64, 5), "C" + c.location) << c.setting << c.columns601;
        EXPECT_EQ(r003[1].substr(64, 5), "P" + Blanks(4)) << "no location without delivery code 2";
    }
}

TEST(McpCheque, FlagsAndCodesOfRecord003) {
    McpBench b;
    b.source({Cheque()
                  .with(127, "3")
                  .with(128, "2")
                  .with(414, "7")
                  .with(104, "1")
                  .with(86, "000001000")
                  .with(60, "0000000010000")
                  .line(),
              Cheque().with(127, "X").with(414, "3").line(),
              Cheque().with(414, "4").with(439, "     ").line(), Cheque().with(414, "9").line()});
    b.press();
    const auto r = b.records("003");
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].substr(61, 4), "YNNM");
    EXPECT_EQ(r[0].substr(69, 2), "53");
    EXPECT_EQ(r[0].substr(91, 2), "01") << "one tax item";
    EXPECT_EQ(r[0].substr(93, 16), "0000000000010000");
    EXPECT_EQ(r[0][279], '4');
    EXPECT_EQ(r[1].substr(64, 1), " ");
    EXPECT_EQ(r[1].substr(69, 2), "02");
    EXPECT_EQ(r[2].substr(69, 2), "03");
    EXPECT_EQ(r[2].substr(85, 6), "000000");
    EXPECT_EQ(r[3].substr(69, 2), "00");
}

}  // namespace
}  // namespace qrv
