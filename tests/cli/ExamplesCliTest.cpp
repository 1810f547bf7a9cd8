#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "support/TestSupport.h"
#include "upload/HashFile.h"

// "qrv examples": every example file goes through its own command; the valid ones are accepted and
// the mistaken ones give the listings and error reports of their kinds of mistake.
namespace qrv {
namespace {

// The lines of CR LF text, without their line ends; a last line without one counts too.
std::vector<std::string> crlfSplit(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

struct Result {
    int status;
    std::string out;
    std::string err;
};

class ExamplesCli : public ::testing::Test {
  protected:
    void SetUp() override {
        const Result made = run({"examples", ex.string()});
        ASSERT_EQ(made.status, 0) << made.err;
        ASSERT_EQ(made.out,
                  "Wrote 21 files to " + ex.string() + "; see " + (ex / "README.txt").string() + "\n");
        ASSERT_EQ(run({"--data", data, "init"}).status, 0);
        std::filesystem::create_directories(out);
    }

    Result run(std::vector<std::string> args) const {
        args.insert(args.begin(), "qrv");
        std::vector<const char*> argv;
        for (const auto& a : args) {
            argv.push_back(a.c_str());
        }
        std::ostringstream o;
        std::ostringstream e;
        const FixedClock clock(Date{2026, 12, 8});
        const int status = cli::runCli(static_cast<int>(argv.size()), argv.data(), o, e, clock);
        return {status, o.str(), e.str()};
    }
    // A command over the scratch data folder and the source tree's layouts, reports to `reports`.
    Result qrv(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--data", data, "--reports", QRV_SOURCE_REPORTS, "--report-out", reports});
        return run(args);
    }
    std::string src(const std::string& name) const { return (ex / name).string(); }
    std::string dest(const std::string& name) const { return (out / name).string(); }
    nlohmann::json report(const std::string& layout) const {
        return nlohmann::json::parse(test::readFile(std::filesystem::path(reports) / (layout + ".json")));
    }
    Result credit(const std::string& product, const std::string& id, const std::string& file,
                  const std::vector<std::string>& extra = {}) const {
        std::vector<std::string> args = {"reformat",  "--product",       product,      "--company-id",
                                         id,          "--source",        src(file),    "--dest",
                                         dest(file),  "--debit-account", "1234567896", "--fee-account",
                                         "1234567896"};
        args.insert(args.end(), extra.begin(), extra.end());
        return qrv(args);
    }
    Result ddr(const std::string& file, bool printDetail = false) const {
        std::vector<std::string> args = {
            "reformat",   "--product",          "DDR",        "--company-id",
            "V5CORP01",   "--source",           src(file),    "--dest",
            dest(file),   "--credit-account",   "0142000013", "--debit-fee-account",
            "5550001116", "--processing-round", "00"};
        if (printDetail) {
            args.push_back("--print-detail");
        }
        return qrv(args);
    }

    test::TempDir dir;
    std::filesystem::path ex = dir / "examples";
    std::filesystem::path out = dir / "out";
    std::string data = (dir / "Data").string();
    std::string reports = (dir / "reports").string();
};

// The hash line of an upload file and the message and hash printed for it.
std::string completed(const std::string& archive, const std::filesystem::path& upload) {
    const std::string bytes = test::readFile(upload);
    return "Reformat data and add to " + archive + " completed\nHash Value: " + bytes.substr(0, 40) + "\n";
}

size_t countRecords(const std::filesystem::path& upload, const std::string& type) {
    size_t n = 0;
    for (const std::string& line : crlfSplit(test::readFile(upload))) {
        n += line.compare(0, 3, type) == 0 ? 1 : 0;
    }
    return n;
}

TEST_F(ExamplesCli, DirectCreditAndPayrollExamplesAreAcceptedAndTheMistakesListed) {
    Result r = credit("DCP", "ACME01", "direct-credit.txt");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, completed("2026-12-08ACME01_DCP.zip", out / "direct-credit.txt"));
    EXPECT_EQ(countRecords(out / "direct-credit.txt", "003"), 4u);
    EXPECT_EQ(report("rptResult")["variables"]["TotalReject"], "0");

    r = credit("PAY", "ACME01", "payroll-short.txt");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(countRecords(out / "payroll-short.txt", "003"), 2u);

    // One good line goes through; every kind of rejected field has its listing line.
    r = credit("DCP", "ACME02", "direct-credit-mistakes.txt");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(countRecords(out / "direct-credit-mistakes.txt", "003"), 1u);
    const std::string account = "  Column : 1-10";
    const std::string amount = "  Column : 18-28";
    EXPECT_EQ(test::readFile(out / "ACME02_DCP_InvalidAcctRecord.txt"),
              test::crlfLines({"LineNo : 3" + account + "  Account is zero",
                               "LineNo : 4" + account + "  Account is invalid QRV account",
                               "LineNo : 7" + account + "  Account is zero"}));
    EXPECT_EQ(test::readFile(out / "ACME02_DCP_CreditZeroAmountRecord.txt"),
              test::crlfLines({"LineNo : 5" + amount + "  Credit amount is zero",
                               "LineNo : 7" + amount + "  Credit amount is zero"}));
    EXPECT_EQ(test::readFile(out / "ACME02_DCP_CreditAmountInvalidRecord.txt"),
              test::crlfLines({"LineNo : 6" + amount + "  Credit amount less than zero or invalid number"}));
    EXPECT_EQ(report("rptResult")["variables"]["TotalReject"], "6");
}

// The spreadsheet examples: the CSV file and the workbook build a source file whose upload file is the one
// of direct-credit.txt; the workbook of mistakes names each one by row and column.
TEST_F(ExamplesCli, SpreadsheetExamplesBuildTheDirectCreditUploadFile) {
    ASSERT_EQ(credit("DCP", "ACME01", "direct-credit.txt").status, 0);
    const std::string upload = test::readFile(out / "direct-credit.txt");
    for (const char* sheet : {"direct-credit.csv", "direct-credit.xlsx"}) {
        SCOPED_TRACE(sheet);
        Result r = qrv({"build-source", "--product", "DCP", "--sheet", src(sheet), "--map",
                        src("direct-credit-map.ini"), "--dest", src("from-sheet.txt")});
        ASSERT_EQ(r.status, 0) << r.out << r.err;
        r = credit("DCP", "ACME01", "from-sheet.txt", {"--again"});  // the same source from both
        ASSERT_EQ(r.status, 0) << r.out << r.err;
        EXPECT_EQ(test::readFile(out / "from-sheet.txt"), upload);
    }
    const std::vector<std::string> build = {"build-source",
                                            "--product",
                                            "DCP",
                                            "--sheet",
                                            src("direct-credit-sheet-mistakes.xlsx"),
                                            "--map",
                                            src("direct-credit-map.ini"),
                                            "--dest",
                                            src("mistakes.txt")};
    Result r = qrv(build);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Row 3, column A \"Account No.\" (credit account): the account 1234567895 is not a"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Row 9, column C \"Payee\" (payee name): holds \"\u00c9\""), std::string::npos)
        << r.out;
    EXPECT_FALSE(std::filesystem::exists(src("mistakes.txt")));
    std::vector<std::string> skipping = build;
    skipping.push_back("--skip-bad-rows");
    r = qrv(skipping);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Left out 7 rows that cannot be placed: rows 3, 4, 5, 6, 7, 8, 9"),
              std::string::npos)
        << r.out;
}

TEST_F(ExamplesCli, MediaClearingExamplesAndTheTierFee) {
    Result r = qrv({"reformat", "--product", "MCL", "--company-id", "ACME01", "--source",
                    src("media-clearing.txt"), "--dest", dest("media-clearing.txt")});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, completed("2026-12-08ACME01_MCL.zip", out / "media-clearing.txt"));
    EXPECT_EQ(countRecords(out / "media-clearing.txt", "003"), 3u);

    // Two credits from another bank: 1,500.00 in tier 1 and 150,000.00 in tier 2 (fees 10 and 25).
    r = qrv({"tier-fee", "--source", src("media-clearing.txt")});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const auto fee = report("DeductFee")["variables"];
    EXPECT_EQ(fee["report_range1"], "1");
    EXPECT_EQ(fee["report_range2"], "1");
    EXPECT_EQ(fee["report_total_fee_range"], "35");

    r = qrv({"reformat", "--product", "MCL", "--company-id", "ACME02", "--source",
             src("media-clearing-mistakes.txt"), "--dest", dest("media-clearing-mistakes.txt")});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Reformat data fail because some transactions are rejected");
    EXPECT_FALSE(std::filesystem::exists(out / "media-clearing-mistakes.txt"));
    const std::string account = "  Column : 17-27";
    const std::string amount = "  Column : 58-69";
    EXPECT_EQ(
        test::readFile(out / "ACME02_MCL_InvalidAcctRecord.txt"),
        test::crlfLines({"LineNo : 3" + account + "  Credit account is zero or not numeric or invalid length",
                         "LineNo : 4" + account + "  Credit account is invalid QRV account"}));
    EXPECT_EQ(test::readFile(out / "ACME02_MCL_CreditZeroAmountRecord.txt"),
              test::crlfLines({"LineNo : 5" + amount + "  Credit amount is zero"}));
    EXPECT_EQ(test::readFile(out / "ACME02_MCL_CreditAmountInvalidRecord.txt"),
              test::crlfLines({"LineNo : 6" + amount + "  Credit amount less than zero or invalid number"}));
    EXPECT_EQ(test::readFile(out / "ACME02_MCL_BankBranchCode.txt"),
              test::crlfLines({"LineNo : 7  Column : 10-12 Column: 13-16 invalid code"}));
    const auto result = report("rptResult")["variables"];
    EXPECT_EQ(result["Error2million"], "1");
    EXPECT_EQ(result["TotalBNKBRN"], "1");
}

TEST_F(ExamplesCli, ManagerChequeExamplesWithTaxAndInvoice) {
    Result r =
        qrv({"reformat", "--product", "MCP", "--company-id", "ACME01", "--source", src("manager-cheque.txt"),
             "--invoice", src("manager-cheque-invoices.txt"), "--dest", dest("manager-cheque.txt")});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, completed("2026-12-08ACME01_MCP.zip", out / "manager-cheque.txt"));
    EXPECT_EQ(countRecords(out / "manager-cheque.txt", "003"), 2u);
    EXPECT_EQ(countRecords(out / "manager-cheque.txt", "005"), 1u);
    EXPECT_EQ(countRecords(out / "manager-cheque.txt", "006"), 1u);

    r = qrv({"reformat", "--product", "MCP", "--company-id", "ACME02", "--source",
             src("manager-cheque-mistakes.txt"), "--dest", dest("manager-cheque-mistakes.txt")});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(countRecords(out / "manager-cheque-mistakes.txt", "003"), 1u);
    EXPECT_EQ(test::readFile(out / "ACME02_MCP_CreditZeroAmountRecord.txt"),
              test::crlfLines({"LineNo : 2  Column : 47-59   Credit amount is zero"}));
    EXPECT_EQ(
        test::readFile(out / "ACME02_MCP_CreditAmountInvalidRecord.txt"),
        test::crlfLines({"LineNo : 3  Column : 47-59   Credit amount less than zero or invalid number"}));
}

TEST_F(ExamplesCli, DirectDebit100MExamples) {
    Result r = ddr("direct-debit-100m.txt");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, completed("2026-12-08V5CORP01_DDR.zip", out / "direct-debit-100m.txt"));

    r = ddr("direct-debit-100m-mistakes.txt");
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(r.out, "<<--- !! Error Data ,you can view Error Report after This Message .--->> \n");
    EXPECT_FALSE(std::filesystem::exists(out / "direct-debit-100m-mistakes.txt"));
    // Each kind of mistake is a row of the error table, in the order of the lines (the error report of
    // "Print detail" shows them); with an amount error the totals are not checked. The result report without
    // upload counts them.
    const auto failed = report("rptResultNoUpload");
    EXPECT_EQ(ddr("direct-debit-100m-mistakes.txt", true).status, 1);
    const auto errorReport = report("ErrorDirectDebit100M");
    std::vector<std::pair<std::string, std::string>> errors;
    for (const auto& row : errorReport["datasets"]["frDBDataSet7"]) {
        errors.emplace_back(row["line"], row["error_col"]);
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"3", "sign error"},
        {"4", "Invalid QRV debit account."},
        {"5", "EFFECTIVE-DATE should be today or future date"},
        {"6", " Invalid numeric ."}};
    EXPECT_EQ(errors, expected);
    EXPECT_EQ(failed["variables"]["SignErr"], "1");
    EXPECT_EQ(failed["variables"]["invalidDebitAcct"], "1");
    EXPECT_EQ(failed["variables"]["FutureEffect"], "1");
    EXPECT_EQ(failed["variables"]["InvalidAmount"], "1");
    EXPECT_EQ(failed["variables"]["TotalError"], "4");
}

TEST_F(ExamplesCli, DirectDebitHashExamplesAndTheCoverLetter) {
    Result r = qrv({"hash", "--source", src("direct-debit-hash.txt")});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    Sha1 sha;
    sha.update(test::readFile(ex / "direct-debit-hash.txt"));
    EXPECT_EQ(r.out, "Hash Value: " + HexUpper(sha.finish()) + "\n");
    EXPECT_EQ(report("rptGenHash")["datasets"]["frDBReportHash"].size(), 3u);

    r = qrv({"cover-letter", "--source", src("direct-debit-hash.txt"), "--account-no", "1234567896",
             "--account-name", "ACME TRADING"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;

    r = qrv({"hash", "--source", src("direct-debit-hash-mistakes.txt")});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    std::vector<std::string> errors;
    const auto failed = report("rptGenHashError");
    for (const auto& row : failed["datasets"]["frDBReportHashError"]) {
        errors.push_back(std::to_string(row["CountLine"].get<int>()) + " " +
                         row["Field Name Error"].get<std::string>() + "/" +
                         row["Detail Error"].get<std::string>());
    }
    const std::vector<std::string> expected = {
        "3 Account No/Invalid Account No ", "4 Effective Date/Invalid Effective Date", "5 Sign/Invalid Sign",
        "6 Amount/Invalid Amount", "1 Total Amount/Check Total Amount Error "};
    EXPECT_EQ(errors, expected);
}

TEST_F(ExamplesCli, ReturnFileAndConvertExamples) {
    Result r = qrv({"compare-return", "--source", src("sent-100m.txt"), "--return", src("return-100m.txt"),
                    "--dest", dest("compare.txt")});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::vector<std::string> lines = crlfSplit(test::readFile(out / "compare.txt"));
    ASSERT_EQ(lines.size(), 4u);
    // Results S, F with reason 03, and V give the status codes 00, 10 and 23 in columns 29-30.
    EXPECT_EQ(lines[1].substr(28, 2), "00");
    EXPECT_EQ(lines[2].substr(28, 2), "10");
    EXPECT_EQ(lines[3].substr(28, 2), "23");

    r = qrv({"compare-return", "--source", src("sent-100m.txt"), "--return", src("return-100m-mistakes.txt"),
             "--dest", dest("compare-mistakes.txt")});
    EXPECT_EQ(r.status, 1);
    // The second debit's amount differs: the message names it in both files.
    EXPECT_EQ(r.out,
              "Total Amount is not match. Sent file line 3: account 2222222228, amount 1,250.50. "
              "Return file line 3: account 0000000000000002222222228, amount 1,250.00.\n");
    EXPECT_FALSE(std::filesystem::exists(out / "compare-mistakes.txt"));

    r = qrv({"convert-100m", "--source", src("convert-100m-input.txt"), "--company-code", "012345", "--dest",
             dest("100m.txt")});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "Convert 100 Million Complete\n");
    // The control record first (value date 081226, three debits, 1,850.50 baht), then the details.
    const std::string converted = test::readFile(out / "100m.txt");
    EXPECT_EQ(converted.substr(0, 69), std::string(8, ' ') + "M012345" + std::string(30, ' ') + "CA" +
                                           "081226" + "00003" + "00000185050");
    r = qrv({"convert-100m", "--source", src("convert-100m-input.txt"), "--dest", dest("100m-none.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Please Input Company Code\n");
}

// A first reformat in a data folder without tables (as after installing, when no "init" ran) finds
// the sample banks instead of registering them as new.
TEST_F(ExamplesCli, FirstReformatInAFreshDataFolderFindsTheSampleBanks) {
    const std::filesystem::path fresh = dir / "Fresh";
    std::filesystem::create_directories(fresh);
    for (const char* name : {"Default.ini", "Config.ini", "Bank.csv", "Branch.csv"}) {
        std::filesystem::copy_file(std::filesystem::path(QRV_SOURCE_DATA) / name, fresh / name);
    }
    Result r =
        run({"--data", fresh.string(), "--reports", QRV_SOURCE_REPORTS, "reformat", "--product", "MCL",
             "--company-id", "ACME01", "--source", src("media-clearing.txt"), "--dest", dest("mcl.txt")});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    r = run({"--data", fresh.string(), "banks", "list"});
    EXPECT_NE(r.out.find("002\t\xe0\xb8\x98"), std::string::npos) << r.out;  // its Thai name from Bank.csv
    EXPECT_EQ(r.out.find("New bank"), std::string::npos) << r.out;
}

TEST_F(ExamplesCli, ExamplesAreCodePage874WithCrLfAndDatedAWeekAhead) {
    const std::string dcp = test::readFile(ex / "direct-credit.txt");
    // The header's company name in code page 874 at 16-45 and the effective date 15 December 2026 at 48-53.
    const std::string header = crlfSplit(dcp).at(0);
    EXPECT_EQ(header.substr(15, 8), "\xba\xc3\xd4\xc9\xd1\xb7 \xb5");
    EXPECT_EQ(header.substr(47, 6), "151226");
    EXPECT_EQ(dcp.find('\n') - 1, dcp.find('\r'));
    const std::string readme = test::readFile(ex / "README.txt");
    EXPECT_NE(readme.find("cd " + ex.string()), std::string::npos);
    // Every example file that README.txt names exists.
    for (const char* name :
         {"direct-credit.txt", "payroll-short.txt", "media-clearing-mistakes.txt",
          "manager-cheque-invoices.txt", "direct-debit-100m-mistakes.txt", "direct-debit-hash-mistakes.txt",
          "return-100m-mistakes.txt", "convert-100m-input.txt", "direct-credit.csv", "direct-credit.xlsx",
          "direct-credit-map.ini", "direct-credit-sheet-mistakes.xlsx"}) {
        EXPECT_NE(readme.find(name), std::string::npos) << name;
        EXPECT_TRUE(std::filesystem::exists(ex / name)) << name;
    }
    EXPECT_EQ(run({"examples"}).status, 2);
}

}  // namespace
}  // namespace qrv
