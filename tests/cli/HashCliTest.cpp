#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "support/DebitHashFiles.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::HashControl;
using test::hashControlRecord;
using test::HashDetail;
using test::hashDetailRecord;

using test::QrvRun;

// qrv over a data folder made by "init", the source tree's layouts and 2026-12-08 as today.
struct HashCli {
    test::TempDir dir;
    std::string data = (dir / "Data").string();
    std::string reportOut = (dir / "reports").string();
    std::filesystem::path source = dir / "debit.txt";

    HashCli() { EXPECT_EQ(qrv({"init"}).status, 0); }

    QrvRun qrv(std::vector<std::string> args) {
        args.insert(args.begin(),
                    {"--data", data, "--reports", QRV_SOURCE_REPORTS, "--report-out", reportOut});
        return test::runQrv(std::move(args));
    }
    void write(const std::vector<std::string>& lines) { test::writeFile(source, test::crlfLines(lines)); }
    nlohmann::json report(const std::string& name) {
        return nlohmann::json::parse(test::readFile(std::filesystem::path(reportOut) / (name + ".json")));
    }
    std::string hashLine() { return "Hash Value: " + test::sha1Upper(test::readFile(source)); }
};

std::vector<std::string> cleanFile() {
    HashControl c;
    c.totalRecord = "00002";
    c.totalAmount = "0000020000";
    HashDetail second;
    second.account = "1111111114";
    second.name = "SUDA";
    return {hashControlRecord(c), hashDetailRecord(HashDetail{}, false), hashDetailRecord(second, false)};
}

TEST(HashCli, CleanFileEndsWithTheHashValue) {
    HashCli q;
    q.write(cleanFile());
    const QrvRun r = q.qrv({"hash", "--source", q.source.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.lines(), std::vector<std::string>{q.hashLine()});
    const nlohmann::json j = q.report("rptGenHash");
    EXPECT_EQ(j["layout"], "rptGenHash.frf");
    EXPECT_EQ(j["variables"]["File Name"], q.source.string());
    EXPECT_EQ(j["variables"]["Total Record"], "2");
    EXPECT_EQ(j["variables"]["PayType"], "Direct Debit ");
    ASSERT_EQ(j["datasets"]["frDBReportHash"].size(), 2u);
    EXPECT_EQ(j["datasets"]["frDBReportHash"][1]["Account_No"], "1111111114");
    EXPECT_EQ(j["datasets"]["frDBReportHash"][1]["Name"], test::padRight("SUDA", 30));
    EXPECT_EQ(j["datasets"]["frDBReportHash"][1]["Amount"], 100.0);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(q.reportOut) / "rptGenHash.html"));
}

TEST(HashCli, FaultsAndRefusals) {
    HashCli q;
    std::vector<std::string> lines = cleanFile();
    lines[2][16] = '5';  // the sign of line 3
    q.write(lines);
    const QrvRun faults = q.qrv({"hash", "--source", q.source.string()});
    EXPECT_EQ(faults.status, 1);
    EXPECT_EQ(faults.out, "");
    // Standard output holds what the window's message boxes would: none. What was found, and where its
    // report is, goes to standard error.
    EXPECT_EQ(faults.err, "Found: Sign is not 0 or 1: 1 (last at line 3). Its report rptGenHashError is in " +
                              (std::filesystem::path(q.reportOut) / "rptGenHashError.html").string() +
                              " and rptGenHashError.json there.\n");
    const nlohmann::json j = q.report("rptGenHashError");
    EXPECT_EQ(j["layout"], "rptGenHashError.frf");
    ASSERT_EQ(j["datasets"]["frDBReportHashError"].size(), 1u);
    const nlohmann::json row = j["datasets"]["frDBReportHashError"][0];
    EXPECT_EQ(row["CountLine"], 3);
    EXPECT_EQ(row["Field Name Error"], "Sign");
    EXPECT_EQ(row["Detail Error"], "Invalid Sign");

    // An amount with a sign ("+") is no amount; the totals then differ as well.
    HashDetail plus;
    plus.amount = "+00010000";
    lines = cleanFile();
    lines[1] = hashDetailRecord(plus, false);
    q.write(lines);
    const QrvRun signedAmount = q.qrv({"hash", "--source", q.source.string()});
    EXPECT_EQ(signedAmount.status, 1);
    EXPECT_EQ(signedAmount.out, "");
    EXPECT_EQ(signedAmount.err.substr(0, signedAmount.err.find(". Its report")),
              "Found: Invalid amount: 1 (last at line 2); Control total differs from the amounts: 1 (last at "
              "line 1)");
    EXPECT_EQ(q.qrv({"--json", "hash", "--source", q.source.string()}).err, "") << "the JSON object says it";

    HashControl yesterday;
    yesterday.effectiveDate = "071226";
    q.write({hashControlRecord(yesterday)});
    const QrvRun control = q.qrv({"hash", "--source", q.source.string()});
    EXPECT_EQ(control.status, 1);
    EXPECT_EQ(control.out, "EFFECTIVE DATE < Today\n");

    EXPECT_EQ(q.qrv({"hash"}).status, 2);
    const QrvRun missing = q.qrv({"hash", "--source", (q.dir / "none.txt").string()});
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(missing.out, "Unable to open source file.\n");
    EXPECT_NE(missing.err.find("none.txt"), std::string::npos);

    q.write({hashControlRecord(HashControl{}), "1234567896  x"});
    const QrvRun conversion = q.qrv({"hash", "--source", q.source.string()});
    EXPECT_EQ(conversion.status, 3);
    EXPECT_NE(conversion.err.find("line 2"), std::string::npos) << conversion.err;
}

TEST(HashCli, CoverLetterWithTheAccountGiven) {
    HashCli q;
    q.write(cleanFile());
    const QrvRun r = q.qrv({"cover-letter", "--source", q.source.string(), "--account-no", "1234567896",
                            "--account-name", "บริษัท ทดสอบ จำกัด"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.lines(), std::vector<std::string>{q.hashLine()});
    const nlohmann::json j = q.report("rptCoverLetter");
    EXPECT_EQ(j["layout"], "rptCoverLetter.frf");
    EXPECT_EQ(j["variables"]["AccountNumber"], "123-4-56789-6");
    EXPECT_EQ(j["variables"]["NameAccount"], "บริษัท ทดสอบ จำกัด");
    EXPECT_EQ(j["variables"]["TotalAmount"], "200.00");
    EXPECT_EQ(j["variables"]["HashCode"], test::sha1Upper(test::readFile(q.source)));
    EXPECT_EQ(j["datasets"]["frDBReportHash"].size(), 2u);
}

TEST(HashCli, CoverLetterRefusals) {
    HashCli q;
    q.write(cleanFile());
    const struct {
        std::string accountNo;
        std::string message;
    } refusals[] = {
        {"0000000000", "The account number is not correct"},
        {"12345678901", "Please enter the whole account number: 10 digits"},
        {"123456789", "Please fill in the whole account number and the account name"},
        {"12<b>x", "Please fill in the whole account number and the account name"},
        {"12345678X0", "The account number must be digits only"},
        {"1234567890", "The account number is not correct: its check digit does not fit its other digits"},
    };
    for (const auto& k : refusals) {
        const QrvRun r = q.qrv({"cover-letter", "--source", q.source.string(), "--account-no", k.accountNo,
                                "--account-name", "ACME"});
        EXPECT_EQ(r.status, 1) << k.accountNo;
        // GenerateHash filled the hash field, so the hash value still ends the output.
        EXPECT_EQ(r.lines(), (std::vector<std::string>{k.message, q.hashLine()})) << k.accountNo;
    }
    EXPECT_EQ(q.qrv({"cover-letter", "--source", q.source.string(), "--account-no", "1234567896",
                     "--account-name", std::string(101, 'N')})
                  .status,
              2);
    EXPECT_EQ(q.qrv({"cover-letter", "--source", q.source.string(), "--account-no", "1234567890"}).status, 2);

    // A file with faults: no hash, so the letter is refused before the dialog.
    std::vector<std::string> lines = cleanFile();
    lines[1][16] = '5';
    q.write(lines);
    const QrvRun r = q.qrv({"cover-letter", "--source", q.source.string(), "--account-no", "1234567890",
                            "--account-name", "ACME"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.lines(),
              std::vector<std::string>{
                  "Click button Generate Hash or if Generate Hash have ERROR can not Cover Letter"});
}

}  // namespace
}  // namespace qrv
