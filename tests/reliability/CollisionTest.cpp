// An output named like another output of the same run, or like a file of the data folder, is refused
// before anything is written, the message naming both.
#include <gtest/gtest.h>

#include "ReliabilitySupport.h"
#include "cli/QrvRunner.h"
#include "core/convert/debit/DebitReturnSamples.h"
#include "store/TableStore.h"

namespace qrv {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct Collisions : ::testing::Test {
    test::TempDir dir;
    std::string data = (dir / "Data").string();
    std::filesystem::path out = dir / "out";
    std::filesystem::path rep = dir / "rep";
    std::string source = (dir / "src.txt").string();

    void SetUp() override {
        ASSERT_EQ(test::runQrv({"--data", data, "init"}).status, 0);
        std::filesystem::create_directory(out);
        // One credit and a zero account: the run writes an upload, an account listing and an archive.
        test::writeFile(source,
                        test::creditSource() + test::crlfLines({"0000000000       00000012345NOBODY"}));
    }
    test::QrvRun reformat(const std::filesystem::path& dest, bool again = false) {
        std::vector<std::string> args = {
            "--data",        data,        "--report-out", rep.string(),      "reformat",
            "--product",     "DCP",       "--company-id", "ACME01",          "--source",
            source,          "--dest",    dest.string(),  "--debit-account", "1234567896",
            "--fee-account", "1234567896"};
        if (again) {
            args.emplace_back("--again");
        }
        return test::runQrv(args);
    }
    // Refused with exit 1, the message naming both files, and not a byte written anywhere.
    void expectRefused(const std::filesystem::path& dest, const std::filesystem::path& other,
                       const std::string& what) {
        SCOPED_TRACE(dest.string());
        const auto before = test::snapshot(dir.path());
        const std::string store = test::readFile(dir / "Data" / TableStore::kFileName);
        const test::QrvRun run = reformat(dest);
        EXPECT_EQ(run.status, 1) << run.out << run.err;
        EXPECT_EQ(run.lines().at(0), "The destination file \"" + dest.string() + "\" " + what + " \"" +
                                         other.string() + "\". Please choose another destination file");
        EXPECT_EQ(test::changedFiles(before, test::snapshot(dir.path())), std::vector<std::string>{});
        EXPECT_EQ(test::readFile(dir / "Data" / TableStore::kFileName), store);
    }
};

// The listing, the day's archive and a report file of the same run, under the name given or another
// name of that file (a hard link).
TEST_F(Collisions, AnOutputOfTheSameRun) {
    expectRefused(out / "ACME01_DCP_InvalidAcctRecord.txt", out / "ACME01_DCP_InvalidAcctRecord.txt",
                  "is also this run's error listing");
    test::writeFile(out / "2026-12-08ACME01_DCP.zip", "an earlier archive");
    expectRefused(out / "2026-12-08ACME01_DCP.zip", out / "2026-12-08ACME01_DCP.zip",
                  "is also this run's archive");
    std::filesystem::create_hard_link(out / "2026-12-08ACME01_DCP.zip", out / "same.txt");
    expectRefused(out / "same.txt", out / "2026-12-08ACME01_DCP.zip", "is also this run's archive");
    expectRefused(rep / "rptResult.html", rep / "rptResult.html", "is also this run's report file");
    // Another layout's report of this command is refused as well: which one the run shows is known only
    // at its end.
    expectRefused(rep / "rptResultNoErr.json", rep / "rptResultNoErr.json", "is also this run's report file");
}

// The table store (whose replacement would lose every table), its journal, and the settings.
TEST_F(Collisions, AFileOfTheDataFolder) {
    for (const char* name : {"QRV_DB.sqlite", "QRV_DB.sqlite-wal", "Default.ini", "Bank.csv"}) {
        expectRefused(dir / "Data" / name, dir / "Data", "is a file of the data folder");
    }
    test::writeFile(dir / "c100m.txt", test::crlfLines({test::fixedLine(200, {{189, "261208"}}), "599"}));
    const test::QrvRun converted =
        test::runQrv({"--data", data, "convert-100m", "--source", (dir / "c100m.txt").string(),
                      "--company-code", "ACME01", "--dest", (dir / "Data" / "Config.ini").string()});
    EXPECT_EQ(converted.status, 1);
    EXPECT_TRUE(has(converted.out, "is a file of the data folder")) << converted.out;
    EXPECT_NE(test::readFile(dir / "Data" / "Config.ini").find("ThreeTierRate"), std::string::npos);
}

// Names apart from every other output are written as before, a destination in the data folder included.
TEST_F(Collisions, NamesApartAreWritten) {
    EXPECT_EQ(reformat(out / "up.txt").status, 0);
    EXPECT_EQ(reformat(dir / "Data" / "upload.txt", true).status, 0);  // the same source again
}

}  // namespace
}  // namespace qrv
