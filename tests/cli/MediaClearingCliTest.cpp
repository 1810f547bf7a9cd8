#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using Result = test::QrvRun;

Result qrv(std::vector<std::string> args) {
    return test::runQrv(std::move(args));
}

void put(std::string& line, size_t from, const std::string& text) {
    line.replace(from - 1, text.size(), text);
}

std::string mediaFile(const std::string& amount12, const std::string& sendingBank) {
    std::string header(82, ' ');
    put(header, 1, "101");
    put(header, 31, "09122026");
    put(header, 41, "000001");
    put(header, 53, "ACME TRADING CO");
    std::string detail(222, ' ');
    put(detail, 1, "102");
    put(detail, 10, "0020001");
    put(detail, 17, "12345678901");
    put(detail, 28, sendingBank + "0123");
    put(detail, 36, "1234567896");
    put(detail, 54, "01");
    put(detail, 58, amount12);
    put(detail, 200, "JOHN SMITH");
    return test::crlfLines({header, detail});
}

class MediaClearingCli : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(qrv({"--data", data, "init"}).status, 0); }
    test::TempDir dir;
    std::string data = (dir / "Data").string();
    std::string source = (dir / "media.txt").string();
    std::string dest = (dir / "upload.txt").string();
};

TEST_F(MediaClearingCli, ReformatWritesTheUploadAndPrintsTheHash) {
    test::writeFile(source, mediaFile("000000012345", "002"));
    const Result r = qrv({"--data", data, "reformat", "--product", "MCL", "--company-id", "ACME01",
                          "--source", source, "--dest", dest});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string upload = test::readFile(dest);
    ASSERT_GE(upload.size(), 40u);
    EXPECT_EQ(r.out, "Reformat data and add to 2026-12-08ACME01_MCL.zip completed\nHash Value: " +
                         upload.substr(0, 40) + "\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "2026-12-08ACME01_MCL.zip"));
}

// A voided file was never written: no hash of it, on standard output or in the JSON.
TEST_F(MediaClearingCli, VoidedReformatExitsOneAndShowsNoHash) {
    test::writeFile(source, mediaFile("000200000001", "002"));
    const Result r = qrv({"--data", data, "reformat", "--product", "PA5", "--company-id", "ACME01",
                          "--source", source, "--dest", dest});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "Reformat data fail because some transactions are rejected\n");
    const Result json = qrv({"--data", data, "--json", "reformat", "--product", "PA5", "--company-id",
                             "ACME01", "--source", source, "--dest", dest});
    EXPECT_NE(json.out.find("\"hash\": null"), std::string::npos) << json.out;
    EXPECT_FALSE(std::filesystem::exists(dest));
    EXPECT_FALSE(std::filesystem::exists(dir / "2026-12-08ACME01_PA5.zip"));
}

TEST_F(MediaClearingCli, TierFeeProducesTheFeeReport) {
    test::writeFile(source, mediaFile("000000012345", "002"));
    const std::string reports = (dir / "reports").string();
    const Result r = qrv({"--data", data, "--report-out", reports, "tier-fee", "--source", source});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string json = test::readFile(dir / "reports" / "DeductFee.json");
    EXPECT_NE(json.find("\"report_range1\":\"1\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"report_total_fee_range1\":\"10\""), std::string::npos) << json;

    const Result missing = qrv({"--data", data, "tier-fee", "--source", (dir / "none.txt").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "Source file name does not exist. Please insert valid file name and retry\n");
    EXPECT_EQ(qrv({"--data", data, "tier-fee"}).status, 2);
}

}  // namespace
}  // namespace qrv
