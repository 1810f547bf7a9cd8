#include <gtest/gtest.h>

#include <array>
#include <map>

#include "base/QrvError.h"
#include "convert/ResultCounters.h"
#include "convert/debit/DirectDebit100MReformatter.h"
#include "core/convert/debit/Ddr100MFixture.h"

namespace qrv {
namespace {

using test::detailRecord;
using test::ErrorRow;
using test::kAcct1;
using test::kAcct2;
using test::kAcct3;
using test::kToday;
using test::kYesterday;

using Checks = test::Ddr100MFixture;

// The account of an empty line: its columns 1-10 read as blanks.
const std::string kBlankAccount(10, ' ');

const std::string kErrorData = "<<--- !! Error Data ,you can view Error Report after This Message .--->> ";

// An error row of the tables C1-C6, D1-D7 and T1-T2 (T1F/T2F: the wording after the full error scan,
// T1Q/T2Q: after a clean quick pass): line, account, error_col, column, field.
ErrorRow e(const std::string& no, const std::string& line = "1", const std::string& account = "-") {
    static const std::map<std::string, std::array<const char*, 3>> kRows = {
        {"C1", {" Invalid ,Amount have not space .", " 59-69 ", "CONTROL,TOTAL-AMOUNT"}},
        {"C2", {" Amount must be 100M pattern.", " 59-69 ", "CONTROL,TOTAL-AMOUNT"}},
        {"C3", {" Invalid numeric .", " 59-69 ", "CONTROL,TOTAL-AMOUNT"}},
        {"C4", {"Invalid EFFECTIVE-DATE", " 48-53 ", "CONTROL,EFFECTIVE-DATE"}},
        {"C5", {"EFFECTIVE-DATE should be today or future date", " 48-53 ", "CONTROL,EFFECTIVE-DATE"}},
        {"C6", {"Character have not over 80 Character.", " This line ", "CONTROL"}},
        {"D1", {"Invalid EFFECTIVE-DATE", " 11-16 ", "DETAIL,EFFECTIVE-DATE"}},
        {"D2", {"EFFECTIVE-DATE should be today or future date", " 11-16 ", "DETAIL,EFFECTIVE-DATE"}},
        {"D3", {"sign error", " 17 ", "DETAIL,SIGN"}},
        {"D4", {"Invalid QRV debit account.", "1-10", "DETAIL,ACCOUNT NO."}},
        {"D5", {"Amount must be 100M pattern.", " 18-28 ", "DETAIL,AMOUNT."}},
        {"D6", {" Invalid numeric .", " 18-28 ", "DETAIL,AMOUNT."}},
        {"D7", {"Character have not over 80 Character.", " This line ", "DETAIL"}},
        {"T1F", {"Invalid Input File,Sum Amount not equal Total Amount.", " 59-69 ", "CONTROL,TOTAL-AMOUNT"}},
        {"T1Q",
         {"column59-69 ,Invalid Input File,Sum Amount not equal Total Amount  .", " 59-69 ",
          "CONTROL,TOTAL-AMOUNT"}},
        {"T2F",
         {" Invalid Input File,No.of Debit not equal Total Record .", " 54-58 ", "CONTROL,TOTAL-RECORD"}},
        {"T2Q",
         {"column54-58 ,Invalid Input File,No.of Debit not equal Total Record  .", " 54-58 ",
          "CONTROL,TOTAL-RECORD"}}};
    const auto& r = kRows.at(no);
    return {line, account, r[0], r[1], r[2]};
}

std::vector<ErrorRow> rows(std::initializer_list<ErrorRow> r) {
    return r;
}

// Removes the upload file and archive of an earlier run of the test.
void clearOutputs(Checks& t) {
    std::filesystem::remove(t.out / "upload.txt");
    std::filesystem::remove(t.out / "2026-12-08V5CORP01_DDR.zip");
}

// A run that failed: no upload file, no archive, no work file.
void expectFailed(Checks& t) {
    EXPECT_FALSE(std::filesystem::exists(t.out / "upload.txt"));
    EXPECT_FALSE(std::filesystem::exists(t.out / "2026-12-08V5CORP01_DDR.zip"));
    EXPECT_FALSE(t.last.wrote(OutputKind::Upload));
    t.expectNoWorkFile();
}

TEST_F(Checks, FileOfTheControlRecordOnlyFailsLineTwoWithoutTotals) {
    run({test::controlRecord(kToday, "00001", "00000100000")});
    EXPECT_EQ(errors(),
              rows({e("D1", "2", kBlankAccount), e("D2", "2", kBlankAccount), e("D3", "2", kBlankAccount),
                    e("D4", "2", kBlankAccount), e("D6", "2", kBlankAccount)}));
    EXPECT_EQ(events.texts(), std::vector<std::string>{kErrorData});
    ASSERT_EQ(events.reports.size(), 1u);
    EXPECT_EQ(events.reports[0].layoutFile, "rptResultNoUpload.frf");
    EXPECT_EQ(last.outcome, Outcome::AllRejected);
    const std::vector<std::pair<const char*, const char*>> expected = {{"PayType", "Direct Debit"},
                                                                       {"DebitRecord", "0"},
                                                                       {"CreditRecord", "0"},
                                                                       {"Amount", "0."},
                                                                       {"ValueDate", "08/12/2026"},
                                                                       {"CusCap", "Company Name : "},
                                                                       {"ToFile", ""},
                                                                       {"SpaceAmount", "0"},
                                                                       {"InvalidAmount", "1"},
                                                                       {"InvalidEffect", "1"},
                                                                       {"FutureEffect", "1"},
                                                                       {"Length", "0"},
                                                                       {"SignErr", "1"},
                                                                       {"invalidDebitAcct", "1"},
                                                                       {"totalAmount", "0"},
                                                                       {"TotalRecord", "0"},
                                                                       {"TotalError", "5"},
                                                                       {"Error2million", "0"}};
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(variable(name), value) << name;
    }
    EXPECT_EQ(variable("ComName"), "ACME TRADING CO LTD" + std::string(11, ' '));
    EXPECT_EQ(events.reports.back().layoutFile, "rptResultNoUpload.frf");
    expectFailed(*this);
}

TEST_F(Checks, AShiftedControlDateThatIsNoDateIsRefusedNotWritten) {
    // Columns 1-9 blank: 48-53 hold a date, but 49-54, the date the record would take, hold "212260".
    run({test::controlRecord("121226", "00001", "00000050000", true),
         detailRecord(kAcct1, kToday, "1", "00000050000")});
    EXPECT_EQ(errors(), rows({e("C4")}));
    EXPECT_FALSE(std::filesystem::exists(out / "upload.txt"));
    expectFailed(*this);
}

TEST_F(Checks, ControlRecordErrorWithCleanDetailsStillRunsTheTotals) {
    // Day 32: only C4; the details are sound, so the totals are checked after the full scan.
    run({test::controlRecord("321226", "00002", "00000150000"),
         detailRecord(kAcct1, kToday, "1", "00000100000"), detailRecord(kAcct2, kToday, "1", "00000050000")});
    EXPECT_EQ(errors(), rows({e("C4")}));
    EXPECT_EQ(events.texts(), std::vector<std::string>{kErrorData});
    EXPECT_EQ(variable("InvalidEffect"), "1");
    EXPECT_EQ(variable("TotalError"), "1");
    expectFailed(*this);

    run({test::controlRecord("321226", "00003", "00000150000"),
         detailRecord(kAcct1, kToday, "1", "00000100000"), detailRecord(kAcct2, kToday, "1", "00000050000")});
    EXPECT_EQ(errors(), rows({e("C4"), e("T2F")}));
    EXPECT_EQ(variable("TotalRecord"), "1");
    EXPECT_EQ(variable("TotalError"), "2");
}

TEST_F(Checks, ZeroDetailAmountIsOfNoPatternInACleanFileAsInAFailingOne) {
    // The first reading applies every rule of the full error scan: a zero debit sends the file there.
    run({test::controlRecord(kToday, "00002", "00000100000"),
         detailRecord(kAcct1, kToday, "1", "00000050000"), detailRecord(kAcct2, kToday, "1", "00000050000")});
    ASSERT_TRUE(std::filesystem::exists(out / "upload.txt"));
    const std::string upload = test::readFile(out / "upload.txt");
    run({test::controlRecord(kToday, "00002", "00000050000"),
         detailRecord(kAcct1, kToday, "1", "00000050000"), detailRecord(kAcct2, kToday, "1", "00000000000")});
    EXPECT_EQ(errors(), rows({e("D5", "3", kAcct2)}));
    EXPECT_EQ(events.texts(), std::vector<std::string>{kErrorData});

    run({test::controlRecord(kToday, "00003", "00000050000"),
         detailRecord(kAcct1, kToday, "1", "00000050000"), detailRecord(kAcct2, kToday, "1", "00000000000"),
         detailRecord(kAcct3, kToday, "2", "00000000000")});
    // Amount errors keep the totals from being checked.
    EXPECT_EQ(errors(), rows({e("D5", "3", kAcct2), e("D3", "4", kAcct3), e("D5", "4", kAcct3)}));
    EXPECT_EQ(variable("InvalidAmount"), "2");
    EXPECT_EQ(variable("SignErr"), "1");
    EXPECT_EQ(test::readFile(out / "upload.txt"), upload) << "a failed run leaves the earlier file";
    EXPECT_EQ(variable("ToFile"), "");
    EXPECT_FALSE(last.wrote(OutputKind::Upload));
    expectNoWorkFile();
}

TEST_F(Checks, TotalsErrorsTakeTheWordingOfThePassThatCheckedThem) {
    const auto details = [](const char* thirdSign) {
        return std::vector<std::string>{detailRecord(kAcct1, kToday, "1", "00000010000"),
                                        detailRecord(kAcct2, kToday, "1", "00000020000"),
                                        detailRecord(kAcct3, kToday, thirdSign, "00000030000"),
                                        detailRecord(kAcct1, kToday, "1", "00000040000")};
    };
    const auto file = [&](const char* records, const char* total, const char* sign) {
        std::vector<std::string> lines = {test::controlRecord(kToday, records, total)};
        for (const std::string& d : details(sign)) {
            lines.push_back(d);
        }
        return lines;
    };
    // A clean quick pass: the totals check alone fails the run, with no message box.
    run(file("00003", "00000100000", "1"));
    EXPECT_EQ(errors(), rows({e("T2Q")}));
    EXPECT_TRUE(events.messages.empty());
    EXPECT_EQ(variable("TotalRecord"), "1");
    expectFailed(*this);
    run(file("00004", "00000100001", "1"));
    EXPECT_EQ(errors(), rows({e("T1Q")}));
    EXPECT_EQ(variable("totalAmount"), "1");
    // A sign "2" sends the file through the full error scan, whose wording the totals then take.
    run(file("00003", "00000100001", "2"));
    EXPECT_EQ(errors(), rows({e("D3", "4", kAcct3), e("T1F"), e("T2F")}));
    EXPECT_EQ(events.texts(), std::vector<std::string>{kErrorData});
    EXPECT_EQ(variable("TotalError"), "3");
    expectFailed(*this);
}

TEST_F(Checks, EightyCharactersPassAndEightyOneFail) {
    std::string control = test::controlRecord(kToday, "00001", "00000050000");
    test::put(control, 80, "Z");
    const std::string detail = detailRecord(kAcct1, kToday, "1", "00000050000", std::string(50, 'N'));
    ASSERT_EQ(control.size(), 80u);
    ASSERT_EQ(detail.size(), 80u);
    run({control, detail});
    EXPECT_TRUE(errors().empty());
    EXPECT_TRUE(std::filesystem::exists(out / "upload.txt"));

    clearOutputs(*this);
    run({control + "Z", detail + "Z"});
    EXPECT_EQ(errors(), rows({e("C6"), e("D7", "2", kAcct1)}));
    EXPECT_EQ(variable("Length"), "2");
    expectFailed(*this);
}

TEST_F(Checks, TodayPassesAndYesterdayFails) {
    run({test::controlRecord(kYesterday, "00002", "00000030000"),
         detailRecord(kAcct1, kToday, "1", "00000010000"),
         detailRecord(kAcct2, kYesterday, "1", "00000020000")});
    EXPECT_EQ(errors(), rows({e("C5"), e("D2", "3", kAcct2)}));
    EXPECT_EQ(variable("FutureEffect"), "2");
    EXPECT_EQ(variable("ValueDate"), "07/12/2026");
    expectFailed(*this);
}

TEST_F(Checks, BlankControlColumnsOneToNineShiftTheDatesCompared) {
    // 8 December 2031 at columns 48-53; shifted, 49-54 read "812310": "20102381", before today.
    const std::string detail = detailRecord(kAcct1, kToday, "1", "00000050000");
    run({test::controlRecord("081231", "00001", "00000050000"), detail});
    EXPECT_TRUE(errors().empty());
    clearOutputs(*this);
    run({test::controlRecord("081231", "00001", "00000050000", true), detail});
    EXPECT_EQ(errors(), rows({e("C4"), e("C5")}));
    EXPECT_EQ(variable("ValueDate"), "81/23/2010");
    expectFailed(*this);

    // The quick test reads a detail's date from columns 12-17 too: "081231" then sign "1" gives
    // "20112381". The control's shifted date, "212260" in 49-54, is no date: the control date's row.
    run({test::controlRecord("121226", "00001", "00000050000", true),
         detailRecord(kAcct1, "081231", "1", "00000050000")});
    EXPECT_EQ(errors(), rows({e("C4")}));
    EXPECT_EQ(events.texts(), std::vector<std::string>{kErrorData});
    expectFailed(*this);
}

TEST_F(Checks, ControlTotalWithALeadingBlankIsBothShortAndNotOfThePattern) {
    run({test::controlRecord(kToday, "00001", " 1234567890"),
         detailRecord(kAcct1, kToday, "1", "12345678900")});
    EXPECT_EQ(errors(), rows({e("C1"), e("C2")}));
    EXPECT_EQ(variable("SpaceAmount"), "1");
    EXPECT_EQ(variable("InvalidAmount"), "1");
    EXPECT_EQ(variable("TotalError"), "2");
    expectFailed(*this);
}

TEST_F(Checks, ATabInAnAmountIsNoBlank) {
    // Eleven characters, so not short; not numeric, so not of the pattern either.
    run({test::controlRecord(kToday, "00001", "\t0000100000"),
         detailRecord(kAcct1, kToday, "1", "00000100000")});
    EXPECT_EQ(errors(), rows({e("C3")}));
    EXPECT_EQ(variable("SpaceAmount"), "0");
    expectFailed(*this);
    run({test::controlRecord(kToday, "00001", "00000100000"),
         detailRecord(kAcct1, kToday, "1", "0000100000\t")});
    EXPECT_EQ(errors(), rows({e("D6", "2", kAcct1)}));
    expectFailed(*this);
}

TEST_F(Checks, AnEmptyLastLineIsADetailRecordThatFails) {
    runBytes(test::crlfLines({test::controlRecord(kToday, "00002", "00000030000"),
                              detailRecord(kAcct1, kToday, "1", "00000010000"),
                              detailRecord(kAcct2, kToday, "1", "00000020000"), ""}));
    EXPECT_EQ(errors(),
              rows({e("D1", "4", kBlankAccount), e("D2", "4", kBlankAccount), e("D3", "4", kBlankAccount),
                    e("D4", "4", kBlankAccount), e("D6", "4", kBlankAccount)}));
    expectFailed(*this);
}

TEST_F(Checks, AnAmountWithAPointIsOfNoPattern) {
    // "1234567.890" is numeric and 11 long, but no eleven digits: the pattern's error, not a failed read.
    run({test::controlRecord(kToday, "00001", "12345678900"),
         detailRecord(kAcct1, kToday, "1", "1234567.890")});
    EXPECT_EQ(errors(), rows({e("D5", "2", kAcct1)}));
    expectFailed(*this);
}

TEST_F(Checks, AFieldTheTotalsCannotReadEndsTheRunAsAnUnexpectedError) {
    // The total record is never checked before the totals read it.
    const std::vector<std::string> badRecords = {test::controlRecord(kToday, "0000A", "00000050000"),
                                                 detailRecord(kAcct1, kToday, "1", "00000050000")};
    try {
        run(badRecords);
        FAIL() << "no error";
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("line 1, columns 54-58"), std::string::npos) << e.what();
    }
    expectFailed(*this);
}

// An amount error keeps the totals check from running: the error report's sum is 0, not the sum of the
// lines before it.
TEST_F(Checks, AnAmountErrorLeavesTheReportsSumAtZero) {
    request.printDetail = true;
    run({test::controlRecord(kToday, "00002", "00000030000"),
         detailRecord(kAcct1, kToday, "1", "00000010000"), detailRecord(kAcct2, kToday, "1", "0000002000X")});
    EXPECT_EQ(errors(), rows({e("D6", "3", kAcct2)}));
    EXPECT_EQ(variable("sumAmount"), "0");
    expectFailed(*this);
}

TEST_F(Checks, PrintDetailShowsTheErrorReportInstead) {
    request.printDetail = true;
    run({test::controlRecord(kToday, "00003", "00000030000"),
         detailRecord(kAcct1, kToday, "1", "00000010000"), detailRecord(kAcct2, kToday, "2", "00000020000")});
    EXPECT_EQ(errors(), rows({e("D3", "3", kAcct2), e("T2F")}));
    ASSERT_EQ(events.reports.size(), 1u);
    EXPECT_EQ(events.reports[0].runner, "directDebitError");
    EXPECT_EQ(events.reports[0].layoutFile, "ErrorDirectDebit100M.frf");
    EXPECT_EQ(variable("Resultdate"), "08/12/2026");
    EXPECT_EQ(variable("v5Corp"), "V5CORP01    ");
    EXPECT_EQ(variable("sumAmount"), "300");
    EXPECT_EQ(variable("creditAcct"), test::kCreditAcct);
    EXPECT_EQ(variable("DebitFeeAcct"), test::kFeeAcct);
    EXPECT_EQ(resultCounterOf(last, "TotalError"), 0)
        << "counters start at 0; the result counters are not set";
    const std::string html = RenderReportHtml(events.reports[0]);
    EXPECT_NE(html.find("sign error"), std::string::npos);
    expectFailed(*this);
}

// The totals go through the one formatter of amount fields: thousandths, zero-filled, "-" first, never
// cut (a writer refuses what does not fit its field).
TEST(AmountFormatter, WritesTheTotalsWithoutCuttingThem) {
    EXPECT_EQ(Money::fromDecimalText("1000")->toAmountField(16), "0000000001000000");
    EXPECT_EQ(Money::fromDecimalText(".01")->toAmountField(16), "0000000000000010");
    EXPECT_EQ(Money::fromDecimalText("-12.5")->toAmountField(16), "-000000000012500");
    EXPECT_EQ(Money::fromDecimalText("123456789")->toAmountField(6), "123456789000");
}

}  // namespace
}  // namespace qrv
