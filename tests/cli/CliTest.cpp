#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using CliResult = test::QrvRun;
using test::runQrv;

TEST(Cli, InitCreatesTheDataFolderAndListsTheSampleBanks) {
    test::TempDir dir;
    const std::string data = (dir / "D").string();
    const CliResult init = runQrv({"--data", data, "init"});
    EXPECT_EQ(init.status, 0) << init.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "D" / "Default.ini"));
    EXPECT_TRUE(std::filesystem::exists(dir / "D" / "Config.ini"));
    EXPECT_TRUE(std::filesystem::exists(dir / "D" / "QRV_DB.sqlite"));
    const CliResult banks = runQrv({"--data", data, "banks", "list"});
    EXPECT_EQ(banks.status, 0);
    EXPECT_NE(banks.out.find("014\tธนาคารหลัก 014\tHome Bank 014\n"), std::string::npos) << banks.out;
    const CliResult branches = runQrv({"--data", data, "branches", "list", "--bank", "014"});
    EXPECT_NE(branches.out.find("0001\t014\t"), std::string::npos) << branches.out;
    // A second init keeps what is there.
    test::writeFile(dir / "D" / "Default.ini", "[ReFormat]\nDefault=MCL\n");
    EXPECT_EQ(runQrv({"--data", data, "init"}).status, 0);
    EXPECT_EQ(test::readFile(dir / "D" / "Default.ini"), "[ReFormat]\nDefault=MCL\n");
}

TEST(Cli, UsageAndUnexpectedErrorsHaveTheirStatuses) {
    test::TempDir dir;
    EXPECT_EQ(runQrv({"no-such-command"}).status, 2);
    EXPECT_EQ(runQrv({"branches", "list"}).status, 2);
    const CliResult missing = runQrv({"--data", (dir / "nowhere").string(), "banks", "list"});
    EXPECT_EQ(missing.status, 3);
    EXPECT_NE(missing.err.find("nowhere"), std::string::npos);
    const CliResult version = runQrv({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("2.3.20"), std::string::npos);
}

}  // namespace
}  // namespace qrv
