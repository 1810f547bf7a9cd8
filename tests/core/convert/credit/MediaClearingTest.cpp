#include <gtest/gtest.h>

#include "base/Cp874.h"
#include "convert/ResultCounters.h"
#include "support/TestSupport.h"
#include "upload/HashFile.h"

// End-to-end runs of "Reformat Data" for the media clearing products over generated source files.
// Expected records are assembled here from the column tables of the upload file layout.
namespace qrv {
namespace {

using test::crlfLines;
using test::readFile;
using test::writeFile;

const std::string kDebit = "1234567896";  // a valid home-bank account
const std::string kToday = "20261208";

// Writes `text` into `line` from 1-based column `from`, growing the line with blanks as needed.
void put(std::string& line, int from, const std::string& text) {
    const size_t at = static_cast<size_t>(from - 1);
    if (line.size() < at + text.size()) {
        line.resize(at + text.size(), ' ');
    }
    line.replace(at, text.size(), text);
}

std::string blanks(size_t n) {
    return std::string(n, ' ');
}
std::string zeros(size_t n) {
    return std::string(n, '0');
}

std::string headerLine(const std::string& ddmmyyyy = "09122026", const std::string& count = "000003",
                       const std::string& company = "ACME TRADING CO") {
    std::string h(82, ' ');
    put(h, 1, "101");
    put(h, 31, ddmmyyyy);
    put(h, 41, count);
    put(h, 53, company);
    return h;
}

struct Detail {
    std::string bank = "002";
    std::string branch = "0001";
    std::string account = "12345678901";
    std::string sendingBank = "014";
    std::string sendingBranch = "0123";
    std::string debit = kDebit;
    std::string service = "01";
    std::string amount = "000000012345";
    std::string receiverId = "0000000000";
    std::string name = "JOHN SMITH";
};

std::string detailLine(const Detail& d) {
    std::string l(222, ' ');
    put(l, 1, "102");
    put(l, 10, d.bank);
    put(l, 13, d.branch);
    put(l, 17, d.account);
    put(l, 28, d.sendingBank);
    put(l, 31, d.sendingBranch);
    put(l, 36, d.debit);
    put(l, 54, d.service);
    put(l, 58, d.amount);
    put(l, 190, d.receiverId);
    put(l, 200, d.name + blanks(23 - d.name.size()));
    return l;
}

// Header record 001 of the fixture's day for a company id.
std::string record001(const std::string& comId) {
    return "001" + comId + blanks(12 - comId.size()) + kToday + blanks(24) + kToday + "000000" + "BCM" +
           kToday + blanks(24);
}

std::string record002(const std::string& product, const std::string& valueDate, const std::string& total16,
                      int credits, const std::string& debit = kDebit,
                      const std::string& sendingBranch = "0123") {
    const std::string count = std::to_string(credits);
    const std::string debitPart = debit + blanks(15) + "0" + debit.substr(3, 1) + sendingBranch;
    return "002" + product + valueDate + debitPart + "THB" + total16 + "00000001" + zeros(6 - count.size()) +
           count + debitPart;
}

// Record 003 with its defaults, then the media clearing fields placed at their columns.
std::string record003(int seq, const std::string& account25, const std::string& amount16,
                      const std::string& bank, const std::string& bankName, const std::string& branch,
                      const std::string& branchName, const std::string& service) {
    std::string r = "003" + std::string("000001") + blanks(25) + zeros(16) + "THB" + zeros(8) + "NNN" +
                    blanks(1) + blanks(4) + "00" + blanks(14) + "000000" + "00" + zeros(16) + "000000" +
                    zeros(16) + "0" + blanks(40) + blanks(8) + "000" + blanks(35) + "0000" + blanks(35) +
                    blanks(1) + "N" + blanks(20) + blanks(1) + blanks(3) + blanks(2) + blanks(70);
    EXPECT_EQ(r.size(), 355u);
    const std::string s = std::to_string(seq);
    put(r, 4, zeros(6 - s.size()) + s);
    put(r, 10, account25);
    put(r, 35, amount16);
    put(r, 54, "00000001");
    put(r, 181, bank);
    put(r, 184, bankName + blanks(35 - bankName.size()));
    put(r, 219, branch);
    put(r, 223, branchName + blanks(35 - branchName.size()));
    put(r, 284, service);
    return r;
}

std::string record004(int seq, const std::string& payee15, const std::string& name23, bool thai) {
    std::string r = "004" + std::string("00000001") + "000001" + blanks(816 - 17);
    const std::string s = std::to_string(seq);
    put(r, 12, zeros(6 - s.size()) + s);
    put(r, 18, payee15);
    put(r, thai ? 33 : 353, name23);
    return r;
}

std::string trailer(int credits, const std::string& total16) {
    const std::string count = std::to_string(credits);
    return "999000001" + zeros(6 - count.size()) + count + total16;
}

std::string sha1Hex(const std::string& bytes) {
    Sha1 sha;
    sha.update(bytes);
    return HexUpper(sha.finish());
}

std::string variable(const ShownReport& report, const std::string& name) {
    for (const auto& [n, v] : report.variables) {
        if (n == name) {
            return v;
        }
    }
    return "<unset>";
}

class MediaClearing : public ::testing::Test {
  protected:
    void run(Product product, const std::vector<std::string>& lines, bool printDetail = false,
             const std::string& comId = "ACME01") {
        writeFile(source, crlfLines(lines));
        ReformatRequest request;
        request.product = product;
        request.companyId = comId;
        request.sourcePath = source;
        request.destinationPath = dest;
        request.printDetail = printDetail;
        fx.reformat(request);
    }
    std::string listing(const std::string& suffix) const {
        return readFile(fx.out / ("ACME01_MCL" + suffix));
    }
    std::vector<Row> rows(const std::string& sql) { return fx.store.query(sql); }

    test::OperationFixture fx;
    std::filesystem::path source = fx.dir / "media.txt";
    std::filesystem::path dest = fx.out / "upload.txt";
};

TEST_F(MediaClearing, AcceptedFileIsWrittenByteForByteWithNamesServiceTypesAndNewCodes) {
    Detail home;  // home bank: 11 characters with a leading "0", checked and written on the last ten
    home.bank = "014";
    home.branch = "0001";
    home.account = "0" + kDebit;
    home.service = "08";
    home.amount = "000000100000";
    home.name = "";
    Detail known;  // another bank at the limit exactly, a Thai name and a receiver id
    known.sendingBank = "002";
    known.amount = "000200000000";
    known.receiverId = "9876543210";
    known.name = cp874::fromUtf8("สมชาย ใจดี").value();
    Detail unknown;  // codes the reference tables do not hold
    unknown.bank = "099";
    unknown.branch = "0777";
    unknown.service = "59";
    unknown.amount = "000000000010";
    run(Product::MediaClearing, {headerLine(), detailLine(home), detailLine(known), detailLine(unknown)},
        true);

    const std::string total16 = "0000002001000100";  // 1,000.00 + 2,000,000.00 + 0.10
    const std::string body = crlfLines({
        record001("ACME01"),
        record002("MCL", "20261209", total16, 3),
        record003(1, kDebit + blanks(15), "0000000001000000", "014", "Home Bank 014", "0001",
                  "Sample Branch 0001", "08"),
        record004(1, blanks(15), blanks(23), false),
        record003(2, "12345678901" + blanks(14), "0000002000000000", "002", "Sample Bank 002", "0001",
                  "Sample Branch 0001", "01"),
        record004(2, "9876543210" + blanks(5), known.name + blanks(23 - known.name.size()), true),
        record003(3, "12345678901" + blanks(14), "0000000000000100", "099", "New bank", "0777", "New branch",
                  "59"),
        record004(3, blanks(15), "JOHN SMITH" + blanks(13), false),
        trailer(3, total16),
    });
    const std::string hash = sha1Hex(body);
    EXPECT_EQ(readFile(dest), hash + "\r\n" + body);
    EXPECT_EQ(fx.last.hash, hash);
    EXPECT_TRUE(fx.last.wrote(OutputKind::Upload));
    EXPECT_EQ(fx.events.texts(),
              std::vector<std::string>{"Reformat data and add to 2026-12-08ACME01_MCL.zip completed"});
    // Only the upload file and its archive remain: no listing received a line, no work file is left.
    EXPECT_EQ(test::listFolder(fx.out), (std::vector<std::string>{"2026-12-08ACME01_MCL.zip", "upload.txt"}));

    const auto bank = rows("SELECT BANK_NAME_EN FROM Bank WHERE BANK_CODE = '099'");
    ASSERT_EQ(bank.size(), 1u);
    EXPECT_EQ(bank[0].text("BANK_NAME_EN"), "New bank");
    const auto branch =
        rows("SELECT BRANCH_NAME_EN FROM BRANCH WHERE BANK_CODE = '099' AND BRANCH_CODE = '0777'");
    ASSERT_EQ(branch.size(), 1u);
    EXPECT_EQ(branch[0].text("BRANCH_NAME_EN"), "New branch");

    const auto detail = rows("SELECT Acct, BankCode, BranchCode, Amount, ServiceType, Name FROM Mcl_Detail");
    ASSERT_EQ(detail.size(), 3u);
    EXPECT_EQ(detail[0].text("Acct"), kDebit + blanks(15));
    EXPECT_EQ(detail[0].text("ServiceType"), "");  // 08 has no text
    EXPECT_EQ(detail[0].text("Name"), blanks(23));
    EXPECT_EQ(detail[1].text("ServiceType"), "(01)Salary, wages, gratuity or retirement");
    EXPECT_EQ(detail[1].text("Name"), "สมชาย ใจดี" + blanks(13));
    EXPECT_DOUBLE_EQ(std::get<double>(*detail[1].find("Amount")), 2000000.0);
    EXPECT_EQ(detail[2].text("ServiceType"), "(59)Others");
    EXPECT_EQ(detail[2].text("BankCode"), "099");
    EXPECT_TRUE(rows("SELECT * FROM Dcp_Err").empty());

    ASSERT_EQ(fx.events.reports.size(), 1u);
    const ShownReport& report = fx.events.reports[0];
    EXPECT_EQ(report.layoutFile, "rptMclDetail.frf");
    EXPECT_EQ(variable(report, "HashCode"), hash);
    EXPECT_EQ(variable(report, "PayType"), "Media Clearing");
    EXPECT_EQ(variable(report, "ComName"), "ACME TRADING CO" + blanks(15));
    EXPECT_EQ(variable(report, "ValueDate"), "09/12/2026");
    EXPECT_EQ(variable(report, "Acct"), kDebit);
    EXPECT_EQ(variable(report, "AcctFee"), kDebit);
    EXPECT_NE(std::find(fx.events.progress.begin(), fx.events.progress.end(), 100), fx.events.progress.end());
}

TEST_F(MediaClearing, PayrollTwoNamesItsArchiveAfterItselfAndItsListingsAfterMediaClearing) {
    Detail bad;
    bad.amount = "000000000000";
    run(Product::MediaPayroll2, {headerLine(), detailLine(Detail{})});
    EXPECT_TRUE(std::filesystem::exists(fx.out / "2026-12-08ACME01_PA5.zip"));
    EXPECT_EQ(readFile(dest).substr(42 + 98, 6), "002PA5");
    ASSERT_EQ(fx.events.reports.size(), 1u);
    EXPECT_EQ(variable(fx.events.reports[0], "PayType"), "Media Clearing PayRoll 2 ");
    EXPECT_EQ(variable(fx.events.reports[0], "ToFile"), dest.string());

    run(Product::MediaPayroll2, {headerLine(), detailLine(bad), detailLine(Detail{})});
    EXPECT_EQ(listing("_CreditZeroAmountRecord.txt"),
              "LineNo : 2  Column : 58-69  Credit amount is zero\r\n");
}

// The voided file is made and totalled for the report, but it was never written: no hash of it is shown
// anywhere, and the credit over the limit is a rejected entry, not an accepted one.
TEST_F(MediaClearing, OverLimitLineVoidsTheUploadAndIsReportedWithoutAHash) {
    writeFile(dest, "earlier upload\r\n");
    writeFile(fx.out / "2026-12-08ACME01_MCL.zip", "earlier archive");
    Detail over;
    over.sendingBank = "002";
    over.amount = "000200000001";  // 2,000,000.01
    run(Product::MediaClearing, {headerLine(), detailLine(Detail{}), detailLine(over)}, true);

    EXPECT_EQ(fx.events.texts(),
              std::vector<std::string>{"Reformat data fail because some transactions are rejected"});
    EXPECT_EQ(fx.last.hash, "");
    EXPECT_EQ(fx.last.records, 1);
    EXPECT_EQ(fx.last.total, Money::fromUnits(1234500));
    EXPECT_FALSE(fx.last.wrote(OutputKind::Upload));
    EXPECT_EQ(fx.last.outcome, Outcome::AllRejected) << "the upload is void";
    EXPECT_EQ(readFile(dest), "earlier upload\r\n");
    EXPECT_EQ(readFile(fx.out / "2026-12-08ACME01_MCL.zip"), "earlier archive");
    EXPECT_EQ(test::listFolder(fx.out), (std::vector<std::string>{"2026-12-08ACME01_MCL.zip", "upload.txt"}));
    EXPECT_EQ(resultCounterOf(fx.last, "Error2million"), 1);
    EXPECT_EQ(resultCounterOf(fx.last, "TotalReject"), 1);
    EXPECT_EQ(resultCounterOf(fx.last, "TotalBNKBRN"), 0);
    const auto err = rows("SELECT LnNo, FieldName, ColNo, DesErr FROM Dcp_Err");
    ASSERT_EQ(err.size(), 1u);
    EXPECT_EQ(err[0].text("LnNo"), "3");
    EXPECT_EQ(err[0].text("FieldName"), "Amount");
    EXPECT_EQ(err[0].text("ColNo"), "58-69");
    EXPECT_EQ(err[0].text("DesErr"), "Detail Amount have not over 2,000,000");
    ASSERT_EQ(fx.events.reports.size(), 1u);
    EXPECT_EQ(variable(fx.events.reports[0], "HashCode"), "");
    EXPECT_EQ(rows("SELECT * FROM Mcl_Detail").size(), 2u);
}

TEST_F(MediaClearing, OverLimitResultReportNamesNoFileAndTheSameAmountFromTheHomeBankPasses) {
    Detail over;
    over.sendingBank = "002";
    over.amount = "000200000001";
    run(Product::MediaClearing, {headerLine(), detailLine(over)});
    ASSERT_EQ(fx.events.reports.size(), 1u);
    const ShownReport& report = fx.events.reports[0];
    EXPECT_EQ(report.layoutFile, "rptResult.frf");
    EXPECT_EQ(variable(report, "ToFile"), "");
    EXPECT_EQ(variable(report, "HashCode"), "");
    EXPECT_EQ(fx.last.hash, "");
    EXPECT_EQ(variable(report, "Amount"), "0000002000000.010");
    EXPECT_EQ(variable(report, "Error2million"), "1");
    EXPECT_EQ(variable(report, "DebitRecord"), "1");
    EXPECT_EQ(variable(report, "CreditRecord"), "1");
    EXPECT_FALSE(std::filesystem::exists(dest));

    over.sendingBank = "014";
    run(Product::MediaClearing, {headerLine(), detailLine(over)});
    EXPECT_TRUE(fx.last.wrote(OutputKind::Upload));
    EXPECT_EQ(resultCounterOf(fx.last, "Error2million"), 0);
    EXPECT_TRUE(std::filesystem::exists(dest));
    EXPECT_TRUE(std::filesystem::exists(fx.out / "2026-12-08ACME01_MCL.zip"));
}

TEST_F(MediaClearing, RejectedLinesGoToTheirListingsAndTablesInOrder) {
    Detail letters;  // a bank code that is no number: registered, then rejected
    letters.bank = "0A1";
    Detail elevenZeros;
    elevenZeros.account = "00000000000";
    Detail homeBad;  // home bank, bad check digit, zero amount
    homeBad.bank = "014";
    homeBad.account = "01234567895";
    homeBad.amount = zeros(12);
    Detail pointAmount;  // numeric but no plain digits, and a short branch code
    pointAmount.amount = "0000001000.0";
    pointAmount.branch = "12 ";
    run(Product::MediaPayroll1,
        {headerLine(), detailLine(letters), detailLine(elevenZeros), detailLine(homeBad),
         detailLine(pointAmount), detailLine(Detail{})},
        true);

    EXPECT_EQ(
        listing("_InvalidAcctRecord.txt"),
        crlfLines({"LineNo : 3  Column : 17-27  Credit account is zero or not numeric or invalid length",
                   "LineNo : 4  Column : 17-27  Credit account is invalid QRV account"}));
    EXPECT_EQ(listing("_CreditZeroAmountRecord.txt"),
              crlfLines({"LineNo : 4  Column : 58-69  Credit amount is zero"}));
    EXPECT_EQ(listing("_CreditAmountInvalidRecord.txt"),
              crlfLines({"LineNo : 5  Column : 58-69  Credit amount less than zero or invalid number"}));
    EXPECT_EQ(listing("_BankBranchCode.txt"),
              crlfLines({"LineNo : 2  Column : 10-12 Column: 13-16 invalid code",
                         "LineNo : 5  Column : 10-12 Column: 13-16 invalid code"}));

    const auto err = rows("SELECT LnNo, FieldName, ColNo, DesErr FROM Dcp_Err");
    std::vector<std::string> got;
    for (const Row& r : err) {
        got.push_back(r.text("LnNo") + "|" + r.text("FieldName") + "|" + r.text("ColNo") + "|" +
                      r.text("DesErr"));
    }
    EXPECT_EQ(got, (std::vector<std::string>{
                       "2|Bank Code,Branch Code|10-12,13-16|Bank 0A1 branch 0001 invalid code",
                       "3|Account|17-27|Credit account is invalid account",
                       "4|Account|17-27|Credit account is invalid QRV account",
                       "4|Amount|58-69|Credit amount is zero",
                       "5|Amount|58-69|Credit amount less than zero or invalid number",
                       "5|Bank Code,Branch Code|10-12,13-16|Bank 002 branch 12   invalid code",
                   }));
    const auto bank = rows("SELECT BANK_NAME_EN FROM Bank WHERE BANK_CODE = '0A1'");
    ASSERT_EQ(bank.size(), 1u);
    EXPECT_EQ(bank[0].text("BANK_NAME_EN"), "New bank");
    EXPECT_EQ(rows("SELECT * FROM BRANCH WHERE BANK_CODE = '002' AND BRANCH_CODE = '12  '").size(), 1u);

    const auto r = [this](std::string_view name) { return resultCounterOf(fx.last, name); };
    EXPECT_EQ(r("TotalZeroAcct"), 2);
    EXPECT_EQ(r("NoZeroAcct"), 4);
    EXPECT_EQ(r("TotalZeroAm"), 1);
    EXPECT_EQ(r("NoZeroAm"), 4);
    EXPECT_EQ(r("TotalNagativeAm"), 1);
    EXPECT_EQ(r("NoNagativeAm"), 5);
    EXPECT_EQ(r("TotalBNKBRN"), 2);
    EXPECT_EQ(r("Error2million"), 0);
    EXPECT_EQ(r("TotalReject"), 6);
    EXPECT_EQ(fx.last.outcome, Outcome::AllRejected);
    EXPECT_EQ(fx.events.texts(),
              std::vector<std::string>{"Reformat data fail because some transactions are rejected"});
    EXPECT_FALSE(std::filesystem::exists(dest));
    EXPECT_EQ(rows("SELECT * FROM Mcl_Detail").size(), 1u);
    ASSERT_EQ(fx.events.reports.size(), 1u);
    EXPECT_EQ(variable(fx.events.reports[0], "PayType"), "Media Clearing PayRoll 1 ");
}

TEST_F(MediaClearing, BlankEnglishNameIsFilledInRatherThanDuplicated) {
    fx.store.execute("UPDATE Bank SET BANK_NAME_EN = '  ' WHERE BANK_CODE = '004'");
    Detail d;
    d.bank = "004";
    run(Product::MediaClearing, {headerLine(), detailLine(d)});
    const auto bank = rows("SELECT BANK_NAME_EN FROM Bank WHERE BANK_CODE = '004'");
    ASSERT_EQ(bank.size(), 1u);
    EXPECT_EQ(bank[0].text("BANK_NAME_EN"), "New bank");
    const std::string upload = readFile(dest);
    const size_t r003 = upload.find("\r\n003");
    ASSERT_NE(r003, std::string::npos);
    EXPECT_EQ(upload.substr(r003 + 2 + 183, 35), "New bank" + blanks(27));
}

TEST_F(MediaClearing, BadDebitAccountStopsTheRunAndKeepsEarlierEntries) {
    Detail zero;
    zero.amount = zeros(12);
    Detail badDebit;
    badDebit.debit = "1234567895";
    run(Product::MediaClearing, {headerLine(), detailLine(zero), detailLine(badDebit), detailLine(Detail{})});
    EXPECT_EQ(fx.events.texts(), std::vector<std::string>{"Invalid QRV debit account"});
    EXPECT_TRUE(fx.events.reports.empty());
    EXPECT_EQ(fx.last.hash, "");
    EXPECT_EQ(test::listFolder(fx.out), std::vector<std::string>{"ACME01_MCL_CreditZeroAmountRecord.txt"});
    EXPECT_EQ(listing("_CreditZeroAmountRecord.txt"),
              "LineNo : 2  Column : 58-69  Credit amount is zero\r\n");

    // An empty last line has no debit account either.
    fx.events.messages.clear();
    run(Product::MediaClearing, {headerLine(), detailLine(Detail{}), ""});
    EXPECT_EQ(fx.events.texts(), std::vector<std::string>{"Invalid QRV debit account"});
    EXPECT_EQ(test::listFolder(fx.out), std::vector<std::string>{});
}

TEST_F(MediaClearing, EffectiveDateMustBeValidAndLaterThanToday) {
    run(Product::MediaClearing, {headerLine("08122026"), detailLine(Detail{})});
    run(Product::MediaClearing, {headerLine("31112026"), detailLine(Detail{})});
    EXPECT_EQ(fx.events.texts(), (std::vector<std::string>{"EFFECTIVE DATE OF TRANSFER should be future date",
                                                           "Invalid  EFFECTIVE DATE OF TRANSFER"}));
    EXPECT_TRUE(fx.events.reports.empty());
    EXPECT_EQ(test::listFolder(fx.out), std::vector<std::string>{});
}

TEST_F(MediaClearing, HeaderOnlyFileIsRejectedWholeWithTheResultReport) {
    run(Product::MediaPayroll3, {headerLine()});
    EXPECT_EQ(fx.events.texts(),
              std::vector<std::string>{"Reformat data fail because data are rejected all transactions"});
    EXPECT_EQ(fx.last.hash, "");
    ASSERT_EQ(fx.events.reports.size(), 1u);
    EXPECT_EQ(variable(fx.events.reports[0], "DebitRecord"), "0");
    EXPECT_EQ(variable(fx.events.reports[0], "PayType"), "Media Clearing PayRoll 3 ");
    EXPECT_EQ(test::listFolder(fx.out), std::vector<std::string>{});
}

}  // namespace
}  // namespace qrv
