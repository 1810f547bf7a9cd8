#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "core/convert/debit/Ddr100MFixture.h"

namespace qrv {
namespace {

int runDdrCli(std::vector<std::string> args, std::string& out) {
    const test::QrvRun run = test::runQrv(std::move(args));
    out = run.out + run.err;
    return run.status;
}

TEST(Ddr100MCli, ReformatWritesTheUploadFileOrStopsOnAFailingFile) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    std::string out;
    ASSERT_EQ(runDdrCli({"--data", data, "init"}, out), 0) << out;
    const std::vector<std::string> reformat = {"--data",
                                               data,
                                               "--reports",
                                               QRV_SOURCE_REPORTS,
                                               "reformat",
                                               "--product",
                                               "DDR",
                                               "--company-id",
                                               "V5CORP01",
                                               "--source",
                                               (dir / "debits.txt").string(),
                                               "--dest",
                                               (dir / "upload.txt").string(),
                                               "--credit-account",
                                               test::kCreditAcct,
                                               "--debit-fee-account",
                                               test::kFeeAcct,
                                               "--processing-round",
                                               "01"};

    test::writeFile(dir / "debits.txt",
                    test::crlfLines({test::controlRecord(test::kToday, "00001", "00000050000"),
                                     test::detailRecord(test::kAcct1, test::kToday, "1", "00000050000")}));
    EXPECT_EQ(runDdrCli(reformat, out), 0) << out;
    const std::string upload = test::readFile(dir / "upload.txt");
    ASSERT_GT(upload.size(), 42u + 98u + 24u);
    EXPECT_EQ(upload.substr(42 + 98 + 22, 2), "01");
    EXPECT_TRUE(std::filesystem::exists(dir / "2026-12-08V5CORP01_DDR.zip"));
    EXPECT_EQ(out, "Reformat data and add to 2026-12-08V5CORP01_DDR.zip completed\nHash Value: " +
                       upload.substr(0, 40) + "\n");

    test::writeFile(dir / "debits.txt",
                    test::crlfLines({test::controlRecord(test::kYesterday, "00001", "00000050000"),
                                     test::detailRecord(test::kAcct1, test::kToday, "1", "00000050000")}));
    EXPECT_EQ(runDdrCli(reformat, out), 1) << out;
    // The window's message, then on standard error what was found and where its report is.
    EXPECT_EQ(
        out,
        "<<--- !! Error Data ,you can view Error Report after This Message .--->> \n"
        "Found: Effective date before today: 1 (last at line 1). Its report rptResultNoUpload was shown "
        "only: --report-out DIR writes it.\n");
    EXPECT_EQ(test::readFile(dir / "upload.txt"), upload);

    // Sound lines whose control total or count is not theirs: no message box, but what was found.
    test::writeFile(dir / "debits.txt",
                    test::crlfLines({test::controlRecord(test::kToday, "00002", "00000050001"),
                                     test::detailRecord(test::kAcct1, test::kToday, "1", "00000050000")}));
    EXPECT_EQ(runDdrCli(reformat, out), 1) << out;
    EXPECT_EQ(
        out,
        "Found: Control total differs from the amounts: 1 (last at line 1); Record count differs from the "
        "lines: 1 (last at line 1). Its report rptResultNoUpload was shown only: --report-out DIR writes "
        "it.\n");
    EXPECT_EQ(test::readFile(dir / "upload.txt"), upload);
}

}  // namespace
}  // namespace qrv
