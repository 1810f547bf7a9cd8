// Runs that meet: two runs into one folder, or into one data folder, at the same time. They take turns
// where they must (putting outputs into a folder, changing the tables) and never fail on each other; a run
// that cannot get its turn within its wait says so, and writes nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <thread>

#include "ReliabilitySupport.h"
#include "cli/QrvRunner.h"
#include "convert/Reformat.h"
#include "io/Platform.h"
#include "store/TableStore.h"
#include "support/workbench/WorkbenchFixture.h"

namespace qrv {
namespace {

using namespace std::chrono_literals;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::atomic<bool> g_waitedForFolder{false};

// Another run putting its outputs into the destination's folder holds it: this run prepares everything,
// then waits for that folder before it puts anything in place, so the archive and the upload beside it
// never come from two runs.
TEST(RunsMeet, ACommitWaitsWhileAnotherRunPutsItsOutputsIntoTheFolder) {
    test::WorkbenchFixture fx;
    const std::filesystem::path upload = fx.out / "upload.txt";
    test::prepareReformat(fx, test::Family::DirectCredit, fx.out / "credit.txt", upload);
    std::optional<platform::FolderLocks> other(std::in_place, std::vector{fx.out}, 1s);
    g_waitedForFolder = false;
    platform::setFolderLockWaitForTests([](const std::filesystem::path&) { g_waitedForFolder = true; });

    std::future<ReformatResult> run = std::async(std::launch::async, [&fx] { return fx.reformat(); });
    while (!g_waitedForFolder && run.wait_for(10ms) != std::future_status::ready) {
    }
    EXPECT_TRUE(g_waitedForFolder) << "the run put its outputs in place while another run held the folder";
    EXPECT_FALSE(std::filesystem::exists(upload));
    other.reset();
    const ReformatResult result = run.get();
    platform::setFolderLockWaitForTests(nullptr);
    EXPECT_EQ(result.outcome, Outcome::Written) << testing::PrintToString(fx.ui.texts());
    const std::vector<test::ZipEntry> archive = test::readZip(fx.out / "2026-12-08ACME01_DCP.zip");
    ASSERT_EQ(archive.size(), 1u);
    EXPECT_EQ(archive[0].content, test::readFile(upload));
}

// Two names of one folder are one lock; folders are taken in one order whatever order they are named in.
TEST(RunsMeet, FolderLocksTakeEachFolderOnceInOneOrder) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "a");
    std::filesystem::create_directories(dir / "b");
    const platform::FolderLocks both({dir / "b", dir / "a", dir / "a" / ".." / "b"}, 1s);
    // Another run asks on a thread of its own, as runs do (on Windows a mutex's owning thread may take it
    // again).
    std::string error;
    std::thread([&] {
        error = test::errorOf([&] { platform::FolderLocks again({dir / "a"}, 100ms); });
    }).join();
    EXPECT_TRUE(
        has(error, "Another run is putting its outputs into the folder \"" + (dir / "a").string() + "\""))
        << error;
    EXPECT_NO_THROW(platform::FolderLocks({dir.path(), dir / "missing"}, 100ms));
}

// A Media Clearing line whose receiving bank 999 (columns 10-12) no table knows.
std::string newBankSource() {
    std::string source = test::mediaSource();
    const size_t line = source.find("\r\n102") + 2;
    EXPECT_EQ(source.substr(line + 9, 3), "002");
    source.replace(line + 9, 3, "999");
    return source;
}

// Another run registers the same new bank while this one converts: this one finds it registered when it
// gets the data folder, instead of failing on the unique bank code.
TEST(RunsMeet, ANewBankThatAnotherRunRegisteredMeanwhileIsNoFault) {
    test::WorkbenchFixture fx;
    test::prepareReformat(fx, test::Family::MediaClearing, fx.out / "media.txt", fx.out / "upload.txt");
    test::writeFile(fx.out / "media.txt", newBankSource());
    std::promise<void> holding;
    std::thread other([&] {
        TableStore store(fx.store.dataFolder());
        TableStore::CommandScope command(store);
        store.append("Bank", {{"BANK_CODE", std::string("999")}, {"BANK_NAME_EN", std::string("New bank")}});
        holding.set_value();
        std::this_thread::sleep_for(300ms);
    });
    holding.get_future().wait();
    const std::string error = test::errorOf([&] { fx.reformat(); });
    other.join();
    EXPECT_EQ(error, "<no error>");
    EXPECT_EQ(fx.last.outcome, Outcome::Written) << testing::PrintToString(fx.ui.texts());
    EXPECT_EQ(fx.store.query("SELECT * FROM Bank WHERE BANK_CODE = '999'").size(), 1u);
}

// Another run holds the data folder past the wait: the command says so in words and stops (exit 1, not an
// unexpected error), and writes nothing.
TEST(RunsMeet, ARunThatCannotGetTheDataFolderSaysSoAndWritesNothing) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    ASSERT_EQ(test::runQrv({"--data", data, "init"}).status, 0);
    std::filesystem::create_directories(dir / "out");
    test::writeFile(dir / "media.txt", newBankSource());
    TableStore other(data);
    TableStore::CommandScope command(other);
    other.reset("Dcp_Err");
    const std::map<std::string, std::string> before = test::snapshot(dir.path());
    const test::QrvRun run =
        test::runQrv({"--data", data, "reformat", "--product", "MCL", "--company-id", "ACME01", "--source",
                      (dir / "media.txt").string(), "--dest", (dir / "out" / "mcl.txt").string()});
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_EQ(run.lines(), std::vector<std::string>{"Another run is using the data folder \"" + data +
                                                    "\" (its table store \"" +
                                                    (std::filesystem::path(data) / "QRV_DB.sqlite").string() +
                                                    "\" stayed locked for 1.5 s). Nothing was "
                                                    "written. Try again when it ends"})
        << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(test::changedFiles(before, test::snapshot(dir.path())), std::vector<std::string>{});

    const test::QrvRun json = test::runQrv(
        {"--data", data, "--json", "refdata", "import", "--banks", (dir / "media.txt").string()});
    EXPECT_EQ(json.status, 1);
    EXPECT_TRUE(has(json.out, "\"outcome\": \"refused\"")) << json.out;
    EXPECT_TRUE(has(json.out, "Another run is using the data folder")) << json.out;
}

}  // namespace
}  // namespace qrv
