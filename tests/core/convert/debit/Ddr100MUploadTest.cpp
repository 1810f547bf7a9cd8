#include <gtest/gtest.h>

#include "core/convert/debit/Ddr100MFixture.h"
#include "support/UploadCheck.h"
#include "upload/HashFile.h"

namespace qrv {
namespace {

using test::detailRecord;
using test::kAcct1;
using test::kAcct2;
using test::kToday;

using Upload = test::Ddr100MFixture;

std::string blanks(size_t n) {
    return std::string(n, ' ');
}

// 1,000.00 baht in two debits of 400.00 and 600.00; the first detail is 78 characters long, the second 40.
const std::string kName1 = "SOMCHAI JAIDEE   " + std::string("INV-0001/2026 MONTHLY FEE DEC  ");  // 17 + 31
const std::string kName2 = "SHORT NAME";

std::vector<std::string> cleanFile() {
    return {test::controlRecord(kToday, "00002", "00000100000"),
            detailRecord(kAcct1, "101226", "1", "00000040000", kName1),
            detailRecord(kAcct2, kToday, "1", "00000060000", kName2)};
}

std::string record007(const std::string& round) {
    return "007DDR00000001"
           "20261208" +
           round + test::kCreditAcct + blanks(15) +
           "02"
           "014"
           "0014" +
           test::kFeeAcct + blanks(15) +
           "00"
           "014"
           "0555"
           "THB"
           "0000000001000000"
           "000002" +
           blanks(183);
}

TEST_F(Upload, CleanFileGivesTheHashedUploadFileByteForByte) {
    ASSERT_EQ(kName1.size(), 48u);
    run(cleanFile());
    EXPECT_TRUE(errors().empty());
    const std::string header = "001V5CORP01    " + blanks(32) +
                               "20261208"
                               "000000"
                               "BCM" +
                               blanks(32);
    const std::string r008a =
        "00800000001"
        "000001" +
        std::string(kAcct1) + blanks(15) + "THB" +
        "0000"
        "00000040000"
        "0" +
        kName1.substr(0, 17) + "   " + kName1.substr(17, 31) + blanks(88);
    const std::string r008b =
        "00800000001"
        "000002" +
        std::string(kAcct2) + blanks(15) + "THB" +
        "0000"
        "00000060000"
        "0" +
        kName2 + blanks(7) + "   " + blanks(31) + blanks(88);  // a short detail's missing columns: blanks
    const std::string trailer =
        "999"
        "000002"
        "000001"
        "0000000001000000";
    const std::string body = test::crlfLines({header, record007("00"), r008a, r008b, trailer});
    Sha1 sha;
    sha.update(body);
    const std::string hash = HexUpper(sha.finish());
    EXPECT_EQ(test::readFile(out / "upload.txt"), hash + "\r\n" + body);
    EXPECT_EQ(record007("00").size(), 300u);
    EXPECT_EQ(r008a.size(), 200u);
    EXPECT_EQ(r008b.size(), 200u);

    EXPECT_EQ(last.hash, hash);
    EXPECT_TRUE(last.wrote(OutputKind::Upload));
    EXPECT_EQ(events.texts(),
              std::vector<std::string>{"Reformat data and add to 2026-12-08V5CORP01_DDR.zip completed"});
    EXPECT_EQ(test::listFolder(out),
              (std::vector<std::string>{"2026-12-08V5CORP01_DDR.zip", "debits.txt", "upload.txt"}));

    ASSERT_EQ(events.reports.size(), 1u);
    EXPECT_EQ(events.reports[0].layoutFile, "rptResultNoErr.frf");
    const std::vector<std::pair<const char*, std::string>> expected = {
        {"ToFile", (out / "upload.txt").string()},
        {"HashCode", hash},
        {"PayType", "Direct Debit"},
        {"DebitRecord", "1"},
        {"CreditRecord", "2"},
        {"Amount", "0000000001000.000"},
        {"ValueDate", "08/12/2026"},
        {"ComName", "ACME TRADING CO LTD" + blanks(11)},
        {"TotalError", "0"},
        {"TotalZeroAcct", "0"},
        {"Error2million", "0"}};
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(variable(name), value) << name;
    }
}

TEST_F(Upload, ProcessingRoundGoesIntoRecord007) {
    const std::vector<std::pair<ProcessingRound, const char*>> rounds = {{ProcessingRound::Immediately, "00"},
                                                                         {ProcessingRound::EndOfDay, "01"},
                                                                         {ProcessingRound::StartOfDay, "02"}};
    request.again = true;  // the same file, once per round
    for (const auto& [round, code] : rounds) {
        request.processingRound = round;
        run(cleanFile());
        const std::string upload = test::readFile(out / "upload.txt");
        EXPECT_EQ(upload.substr(42 + 98, 300), record007(code)) << code;
        expectNoWorkFile();
    }
}

TEST_F(Upload, ShiftedControlDatesGoIntoRecord007AndTheReport) {
    // Columns 1-9 blank: the date is read from 49-54, "011230" (the total record's first digit last), and
    // 48-53 hold a date too.
    run({test::controlRecord("101123", "00001", "00000050000", true),
         detailRecord(kAcct1, kToday, "1", "00000050000")});
    EXPECT_TRUE(errors().empty());
    const std::string upload = test::readFile(out / "upload.txt");
    EXPECT_EQ(upload.substr(42 + 98 + 14, 8), "20301201");
    EXPECT_EQ(variable("ValueDate"), "01/12/2030");
    expectNoWorkFile();
}

TEST_F(Upload, PrintDetailShowsTheCompletionReportWithItsRows) {
    request.printDetail = true;
    run(cleanFile());
    ASSERT_EQ(events.reports.size(), 1u);
    EXPECT_EQ(events.reports[0].runner, "directDebitComplete");
    EXPECT_EQ(events.reports[0].layoutFile, "CompleteDDR100M.frf");
    EXPECT_EQ(variable("Resultdate"), "08/12/2026");
    EXPECT_EQ(variable("v5Corp"), "V5CORP01    ");
    EXPECT_EQ(variable("sumAmount"), "1000");
    EXPECT_EQ(variable("hashVal"), last.hash);
    EXPECT_EQ(variable("creditAcct"), test::kCreditAcct);
    EXPECT_EQ(variable("DebitFeeAcct"), test::kFeeAcct);
    EXPECT_EQ(variable("SumDebitAccut"), "2");
    const auto rows = store.query("select * from completeDirectDebit100M order by rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text("account"), kAcct1);
    EXPECT_EQ(rows[0].text("line"), "2");
    EXPECT_EQ(std::get<double>(*rows[0].find("error_col")), 400.0);
    // Columns 31-80 of each detail, those past its end blank.
    EXPECT_EQ(rows[0].text("name"), kName1 + blanks(2));
    EXPECT_EQ(rows[1].text("line"), "3");
    EXPECT_EQ(std::get<double>(*rows[1].find("error_col")), 600.0);
    EXPECT_EQ(rows[1].text("name"), kName2 + blanks(40));
    EXPECT_TRUE(std::filesystem::exists(out / "2026-12-08V5CORP01_DDR.zip"));
    expectNoWorkFile();
}

}  // namespace
}  // namespace qrv
