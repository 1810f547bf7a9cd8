#include <gtest/gtest.h>

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
    const nlohmann::json j = q.report("rptGenHashError");
    EXPECT_EQ(j["layout"], "rptGenHashError.frf");
    ASSERT_EQ(j["datasets"]["frDBReportHashError"].size(), 1u);
    const nlohmann::json row = j["datasets"]["frDBReportHashError"][0];
    EXPECT_EQ(row["CountLine"], 3);
    EXPECT_EQ(row["Field Name Error"], "Sign");
    EXPECT_EQ(row["Detail Error"], "Invalid Sign");

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
    const QrvRun r = q.qrv({"cover-letter", "--source", q.source.string(), "--account-no", "1234567890",
                            "--account-name", "บริษัท ทดสอบ จำกัด"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.lines(), std::vector<std::string>{q.hashLine()});
    const nlohmann::json j = q.report("rptCoverLetter");
    EXPECT_EQ(j["layout"], "rptCoverLetter.frf");
    EXPECT_EQ(j["variables"]["AccountNumber"], "123-4-56789-0");
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
        {"0000000000", "หมายเลขบัญชีไม่ถูกต้อง"},
        {"12345678901", "กรุณาใส่หมายเลขบัญชีให้ครบ"},
        {"123456789", "กรุณา กรอกข้อมูลให้ครบถ้วน"},
        {"12345678X0", "เลขที่บัญชี :กรุณาใส่ เป็นตัวเลข"},
    };
    for (const auto& k : refusals) {
        const QrvRun r = q.qrv({"cover-letter", "--source", q.source.string(), "--account-no", k.accountNo,
                                "--account-name", "ACME"});
        EXPECT_EQ(r.status, 1) << k.accountNo;
        // GenerateHash filled the hash field, so the hash value still ends the output.
        EXPECT_EQ(r.lines(), (std::vector<std::string>{k.message, q.hashLine()})) << k.accountNo;
    }
    EXPECT_EQ(q.qrv({"cover-letter", "--source", q.source.string(), "--account-no", "1234567890",
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
