#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "core/convert/debit/DebitReturnSamples.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::fixedLine;

using test::QrvRun;

QrvRun qrv(std::vector<std::string> args) {
    return test::runQrv(std::move(args));
}

struct ReturnCommands : ::testing::Test {
    test::TempDir dir;
    std::string data = (dir / "D").string();
    std::filesystem::path sent = dir / "sent.txt";
    std::filesystem::path ret = dir / "return.txt";
    std::filesystem::path dest = dir / "out.txt";

    void SetUp() override { ASSERT_EQ(qrv({"--data", data, "init"}).status, 0); }
    std::vector<std::string> compare(std::vector<std::string> options) {
        std::vector<std::string> args = {"--data", data, "--reports", QRV_SOURCE_REPORTS};
        args.insert(args.end(), options.begin(), options.end());
        return args;
    }
    void comparisonFiles(const std::string& returnDate) {
        const std::string name = fixedLine(30, {{1, "CLI COMPANY"}});
        test::writeFile(sent,
                        test::crlfLines({test::sentControl(name, "081226", "00001", "00000012345"),
                                         test::sentDetail("1234567890", "00000012345", "SENTREF0000000001",
                                                          fixedLine(31, {{1, "REST"}}))}));
        test::writeFile(
            ret, test::crlfLines({test::returnHeader(returnDate),
                                  test::returnDetail(fixedLine(25, {{1, "1234567890"}}), "RETREF00000000001",
                                                     "00000012345", "0000000000123450", "V"),
                                  test::returnTrailer("000001", "0000000000123450")}));
    }
};

TEST_F(ReturnCommands, CompareReturnWritesTheFileAndTheReport) {
    comparisonFiles("261208");
    const std::string reports = (dir / "R").string();
    const QrvRun run = qrv(compare({"--report-out", reports, "compare-return", "--source", sent.string(),
                                    "--return", ret.string(), "--dest", dest.string()}));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string sentDetail = test::readFile(sent).substr(80, 78);
    EXPECT_EQ(test::readFile(dest), test::readFile(sent).substr(0, 80) + sentDetail.substr(0, 17) +
                                        "00000012345" + "23" + "RETREF00000000001" + sentDetail.substr(47) +
                                        "\r\n");
    const nlohmann::json json =
        nlohmann::json::parse(test::readFile(dir / "R" / "rptCompareFileFromV5.json"));
    EXPECT_EQ(json["layout"], "rptCompareFileFromV5.frf");
    EXPECT_EQ(json["variables"]["TransDate"], "08/12/26");
    EXPECT_EQ(json["variables"]["Destination"], dest.string());
    ASSERT_EQ(json["datasets"]["frDBDataSet8"].size(), 1u);
    EXPECT_EQ(json["datasets"]["frDBDataSet8"][0]["Reference_Id"], "RETREF00000000001");
    EXPECT_DOUBLE_EQ(json["datasets"]["frDBDataSet8"][0]["Amount"].get<double>(), 123.45);
    EXPECT_TRUE(std::filesystem::exists(dir / "R" / "rptCompareFileFromV5.html"));
}

TEST_F(ReturnCommands, CompareReturnStopsWithItsMessages) {
    comparisonFiles("261207");
    QrvRun run = qrv(compare(
        {"compare-return", "--source", sent.string(), "--return", ret.string(), "--dest", dest.string()}));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Incorrect Value Date\n");
    EXPECT_FALSE(std::filesystem::exists(dest));
    run = qrv(compare({"compare-return", "--source", sent.string()}));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Please Input file of Direct Debit Return File \n");
    run = qrv(compare({"compare-return", "--source", sent.string(), "--return", ret.string(), "--dest",
                       dest.string(), "--unknown"}));
    EXPECT_EQ(run.status, 2);
}

TEST_F(ReturnCommands, Convert100MWritesTheConvertedFile) {
    const std::filesystem::path input = dir / "in.txt";
    test::writeFile(input,
                    test::crlfLines({fixedLine(200, {{189, "261208"}}),
                                     fixedLine(268, {{11, "00000001000"}, {23, "5000000001"}, {221, "F"}}),
                                     fixedLine(30, {{1, "599"}, {7, "00001"}, {17, "00000001000"}})}));
    // The company code as typed, six Thai characters (code page 874 A1 A2 A4 A7 A8 A9).
    QrvRun run = qrv(
        {"convert-100m", "--source", input.string(), "--company-code", "กขคงจฉ", "--dest", dest.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Convert 100 Million Complete\n");
    EXPECT_EQ(test::readFile(dest), std::string(8, ' ') + "M\xA1\xA2\xA4\xA7\xA8\xA9" + std::string(30, ' ') +
                                        "CA081226" + "00001" + "00000001000" + "\r\n" + "5000000001" +
                                        "081226" + "0" + "00000001000" + "01" + std::string(47, ' '));

    const std::string earlier = test::readFile(dest);
    run = qrv(
        {"convert-100m", "--source", input.string(), "--company-code", "ABCDEFG", "--dest", dest.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    run = qrv({"convert-100m", "--source", input.string(), "--dest", dest.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Please Input Company Code\n");
    run = qrv({"convert-100m", "--source", (dir / "missing.txt").string(), "--company-code", "A", "--dest",
               dest.string()});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("missing.txt"), std::string::npos) << run.err;
    EXPECT_EQ(test::readFile(dest), earlier);
}

}  // namespace
}  // namespace qrv
