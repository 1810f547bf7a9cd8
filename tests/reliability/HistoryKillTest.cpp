// The run history when a run is killed: never a broken entry, the earlier entries as they were, and the
// killed run no repeat of anything.
#ifndef _WIN32  // the runs are processes of their own, stopped by SIGKILL
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "BenchFiles.h"
#include "cli/QrvRunner.h"
#include "store/RunHistory.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The built qrv on real time (the files are dated today), its output thrown away.
pid_t startQrv(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<const char*> argv{QRV_BINARY};
        for (const auto& a : args) {
            argv.push_back(a.c_str());
        }
        argv.push_back(nullptr);
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr)) {
            ::_exit(127);
        }
        ::execv(QRV_BINARY, const_cast<char* const*>(argv.data()));
        ::_exit(127);
    }
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

bench::Day today() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

class HistoryKill : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(out);
        ASSERT_EQ(waitFor(startQrv({"--data", data.string(), "init"})), 0);
        bench::directCredit(big.string(), 20'000, today());
        bench::directCredit(small.string(), 3, today());
    }
    std::vector<std::string> reformat(const fs::path& source, const std::string& dest, bool again) const {
        std::vector<std::string> args = {"--data",
                                         data.string(),
                                         "reformat",
                                         "--product",
                                         "DCP",
                                         "--company-id",
                                         "BENCH01",
                                         "--source",
                                         source.string(),
                                         "--dest",
                                         (out / dest).string(),
                                         "--debit-account",
                                         "1234567896",
                                         "--fee-account",
                                         "1234567896"};
        if (again) {
            args.emplace_back("--again");
        }
        return args;
    }
    // Every entry whole: what a run records at its end, in one piece.
    void expectWholeHistory(size_t atLeast) {
        TableStore store(data);
        EXPECT_EQ(store.query("PRAGMA integrity_check").front().text("integrity_check"), "ok");
        const std::vector<RunEntry> runs = RunHistory(store).list({});
        EXPECT_GE(runs.size(), atLeast);
        for (const RunEntry& e : runs) {
            EXPECT_EQ(e.ranAt.size(), 19u);
            EXPECT_EQ(e.sourceSha1.size(), 40u);
            EXPECT_EQ(e.companyId, "BENCH01");
            EXPECT_EQ(e.outcome, "completed");
            EXPECT_EQ(e.uploadHash.size(), 40u);
            EXPECT_EQ(e.written.size(), 2u);  // the upload and its archive
        }
    }

    test::TempDir dir;
    fs::path data = dir / "Data";
    fs::path out = dir / "out";
    fs::path big = dir / "big.txt";
    fs::path small = dir / "small.txt";
};

TEST_F(HistoryKill, ARunKilledWhileConvertingLeavesNoEntryAndNoRepeat) {
    ASSERT_EQ(waitFor(startQrv(reformat(small, "small-up.txt", false))), 0);
    // Killed once it writes its first work file beside the destination.
    const pid_t pid = startQrv(reformat(big, "big-up.txt", false));
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (test::listFolder(out).size() <= 2 && Clock::now() < deadline) {  // the small run's upload, zip
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ::kill(pid, SIGKILL);
    EXPECT_TRUE(WIFSIGNALED(waitFor(pid)));
    EXPECT_FALSE(fs::exists(out / "big-up.txt"));
    expectWholeHistory(1);
    TableStore store(data);
    EXPECT_EQ(RunHistory(store).list({}).size(), 1u);
    store.close();
    // Not a repeat: it never completed.
    EXPECT_EQ(waitFor(startQrv(reformat(big, "big-up.txt", false))), 0);
    expectWholeHistory(2);
}

TEST_F(HistoryKill, KilledAtAnyMomentOfItsEndTheHistoryHoldsWholeEntriesOnly) {
    const auto started = Clock::now();
    ASSERT_EQ(waitFor(startQrv(reformat(small, "up.txt", false))), 0);
    const auto runTime = Clock::now() - started;
    // Killed from halfway to just past a whole run's time: at its commit and at its history's entry.
    constexpr int kKills = 8;
    for (int i = 0; i < kKills; ++i) {
        const pid_t pid = startQrv(reformat(small, "up.txt", true));
        std::this_thread::sleep_for(runTime / 2 + runTime * i / (kKills - 1) * 3 / 4);
        ::kill(pid, SIGKILL);
        waitFor(pid);
    }
    expectWholeHistory(1);
}

}  // namespace
}  // namespace qrv
#endif
