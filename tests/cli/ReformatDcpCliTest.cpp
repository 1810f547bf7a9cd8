#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "support/TestSupport.h"
#include "upload/HashFile.h"

// "qrv reformat" for Direct Credit and Payroll: exit statuses, messages, the hash line and the report
// files.
namespace qrv {
namespace {

using Result = test::QrvRun;

// A data folder made by "init", the source tree's layouts and a source file in the long-amount form.
struct DcpCli {
    test::TempDir dir;
    std::string data = (dir / "Data").string();
    std::string src = (dir / "src.txt").string();
    std::string dest = (dir / "up.txt").string();

    DcpCli() { EXPECT_EQ(run({"init"}).status, 0); }

    Result run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--data", data, "--reports", QRV_SOURCE_REPORTS});
        return test::runQrv(std::move(args));
    }
    // "reformat" of DCP with valid accounts, the fee account as given.
    Result reformat(const std::string& feeAccount = "1234567896") const {
        return run({"reformat", "--product", "DCP", "--company-id", "ACME01", "--source", src, "--dest", dest,
                    "--debit-account", "1234567896", "--fee-account", feeAccount});
    }
    // Header: date 48-53, record count 54-58; detail: account 1-10, amount 18-28, name 29-88.
    void source(const std::string& account, const std::string& amount) const {
        std::string header = "H01ACME0000001 ACME TRADING";
        header.resize(47, ' ');
        header += "08122600001";
        std::string line = account + "0000000" + amount + "JOHN SMITH";
        test::writeFile(src, test::crlfLines({header, line}));
    }
};

TEST(CliReformatDcp, WritesTheUploadFileAndEndsWithTheHash) {
    DcpCli c;
    c.source("1234567896", "00000012345");
    const std::string reports = (c.dir / "reports").string();
    Result r =
        c.run({"--report-out", reports, "reformat", "--product", "DCP", "--company-id", "ACME01", "--source",
               c.src, "--dest", c.dest, "--debit-account", "1234567896", "--fee-account", "1234567896"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::string upload = test::readFile(c.dest);
    const std::string hash = upload.substr(0, 40);
    Sha1 sha;
    sha.update(upload.substr(42));
    EXPECT_EQ(hash, HexUpper(sha.finish()));
    EXPECT_EQ(r.out,
              "Reformat data and add to 2026-12-08ACME01_DCP.zip completed\nHash Value: " + hash + "\n");
    EXPECT_TRUE(std::filesystem::exists(c.dir / "2026-12-08ACME01_DCP.zip"));

    EXPECT_TRUE(std::filesystem::exists(c.dir / "reports" / "rptResult.html"));
    const auto json = nlohmann::json::parse(test::readFile(c.dir / "reports" / "rptResult.json"));
    EXPECT_EQ(json["layout"], "rptResult.frf");
    EXPECT_EQ(json["variables"]["Amount"], "0000000000123.450");
    EXPECT_EQ(json["variables"]["HashCode"], hash);
    EXPECT_EQ(json["variables"]["ComName"], std::string("ACME TRADING") + std::string(18, ' '));
    EXPECT_EQ(json["variables"]["ToFile"], c.dest);
    EXPECT_EQ(json["datasets"], nlohmann::json::object()) << "the result layout shows no dataset";
}

TEST(CliReformatDcp, PrintDetailWritesTheDetailReportWithItsRows) {
    DcpCli c;
    c.source("0000000000", "00000012345");  // rejected: no upload file
    const std::string reports = (c.dir / "reports").string();
    Result r = c.run({"--report-out", reports, "reformat", "--product", "PA2", "--company-id", "ACME01",
                      "--source", c.src, "--dest", c.dest, "--debit-account", "1234567896", "--fee-account",
                      "1234567896", "--print-detail"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Reformat data fail because data are rejected all transactions\n");  // no hash line
    EXPECT_FALSE(std::filesystem::exists(c.dest));
    const auto json = nlohmann::json::parse(test::readFile(c.dir / "reports" / "rptDcpDetail.json"));
    EXPECT_EQ(json["layout"], "rptDcpDetail.frf");
    EXPECT_EQ(json["variables"]["PayType"], "PayRoll (Type2)");
    EXPECT_EQ(json["variables"]["HashCode"], "");
    EXPECT_EQ(json["variables"]["Acct"], "1234567896");
    ASSERT_EQ(json["datasets"]["frDBDataSet2"].size(), 1u);
    EXPECT_EQ(json["datasets"]["frDBDataSet2"][0]["LnNo"], "2");
    EXPECT_EQ(json["datasets"]["frDBDataSet2"][0]["DesErr"], "Account is zero");
    EXPECT_EQ(json["datasets"]["frDBDataSet1"].size(), 0u);
    const std::string html = test::readFile(c.dir / "reports" / "rptDcpDetail.html");
    EXPECT_NE(html.find("Account is zero"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(c.dir / "ACME01_PA2_InvalidAcctRecord.txt"));
}

TEST(CliReformatDcp, StatusesOfStopsUsageAndUnexpectedErrors) {
    DcpCli c;
    c.source("1234567896", "00000012345");
    // A refused check: status 1, its message alone.
    Result stopped = c.reformat("1234567895");
    EXPECT_EQ(stopped.status, 1);
    EXPECT_EQ(stopped.out, "Invalid debit fee account\n");
    // An effective date in the past.
    std::string header = "H01ACME0000001 ACME";
    header.resize(47, ' ');
    test::writeFile(c.src, test::crlfLines({header + "07122600001", "1234567896000000000000012345"}));
    Result past = c.reformat();
    EXPECT_EQ(past.status, 1);
    EXPECT_EQ(past.out, "EFFECTIVE-DATE should be today or future date\n");
    EXPECT_FALSE(std::filesystem::exists(c.dest));

    // Usage: a 13-character company id, an unknown product.
    EXPECT_EQ(c.run({"reformat", "--product", "DCP", "--company-id", "ABCDEFGHIJKLM"}).status, 2);
    EXPECT_EQ(c.run({"reformat", "--product", "XYZ", "--company-id", "A"}).status, 2);
    EXPECT_EQ(c.run({"reformat", "--product", "DCP", "--company-id", "ABCDEFGHIJKL", "--source", c.src,
                     "--dest", c.dest})
                  .status,
              1)
        << "twelve characters fit";

    // Unexpected: the destination's folder does not exist.
    c.source("1234567896", "00000012345");
    const std::string nowhere = (c.dir / "missing" / "up.txt").string();
    Result unexpected =
        c.run({"reformat", "--product", "DCP", "--company-id", "ACME01", "--source", c.src, "--dest", nowhere,
               "--debit-account", "1234567896", "--fee-account", "1234567896"});
    EXPECT_EQ(unexpected.status, 3);
    EXPECT_NE(unexpected.err.find("missing"), std::string::npos) << unexpected.err;
}

// --dry-run: the same checks and hash as the real run, what it would write printed, nothing written.
TEST(CliReformatDcp, DryRunPrintsWhatARealRunWouldWriteAndWritesNothing) {
    DcpCli c;
    c.source("1234567896", "00000012345");
    const std::vector<std::string> args = {"reformat",   "--product",       "DCP",        "--company-id",
                                           "ACME01",     "--source",        c.src,        "--dest",
                                           c.dest,       "--debit-account", "1234567896", "--fee-account",
                                           "1234567896", "--print-detail"};
    std::vector<std::string> dry = args;
    dry.push_back("--dry-run");
    const Result would = c.run(dry);
    EXPECT_EQ(would.status, 0) << would.out << would.err;
    EXPECT_EQ(test::listFolder(c.dir.path()), (std::vector<std::string>{"Data", "src.txt"}));

    const Result real = c.run(args);
    ASSERT_EQ(real.status, 0) << real.out << real.err;
    const std::string hash = test::readFile(c.dest).substr(0, 40);
    EXPECT_EQ(would.out, "Would write upload: " + c.dest +
                             "\nWould write archive: " + (c.dir / "2026-12-08ACME01_DCP.zip").string() +
                             "\nRecords: 1\nTotal: 123.45\nHash Value: " + hash + "\n");

    c.source("0000000000", "00000012345");  // every line rejected: exit 1 as a real run
    const Result rejected = c.run(dry);
    EXPECT_EQ(rejected.status, 1);
    EXPECT_EQ(rejected.lines(),
              (std::vector<std::string>{
                  "Reformat data fail because data are rejected all transactions",
                  "Would write listing: " + (c.dir / "ACME01_DCP_InvalidAcctRecord.txt").string(),
                  "Records: 0", "Total: 0.00", "Rejected InvalidAcct: 1 (last line 2)"}));
    EXPECT_FALSE(std::filesystem::exists(c.dir / "ACME01_DCP_InvalidAcctRecord.txt"));
}

}  // namespace
}  // namespace qrv
