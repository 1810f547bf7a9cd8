// A run is all or nothing: its outputs are prepared whole and put in place together at its end, in a fixed
// order. Stopped at any step of that, a run leaves a state the order tells; stopped before it, or failing
// anywhere before it, a run leaves every earlier output as it was.
#ifndef _WIN32  // fork, signals and FIFOs are POSIX
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>

#include "ReliabilitySupport.h"
#include "cli/QrvRunner.h"
#include "convert/Reformat.h"
#include "io/OutputCommit.h"
#include "store/TableStore.h"
#include "support/workbench/WorkbenchFixture.h"

namespace qrv {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Direct Credit lines after a header dated `ddmmyy`: accepted credits, a zero account, a zero amount.
std::string creditFile(const std::string& ddmmyy, const std::vector<std::string>& details) {
    std::string header = "H01ACME0000001 ACME TRADING" + std::string(20, ' ') + ddmmyy + "00001";
    std::vector<std::string> lines = {header};
    lines.insert(lines.end(), details.begin(), details.end());
    return test::crlfLines(lines);
}
const std::string kCredit = "1234567896       00000012345JOHN SMITH";
const std::string kOtherCredit = "1234567896       00000054321JANE SMITH";
const std::string kZeroAccount = "0000000000       00000012345NOBODY";
const std::string kZeroAmount = "1234567896       00000000000NOTHING";

// The files of a folder but the data folder and work files (hidden names), with their bytes.
std::map<std::string, std::string> outputs(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files = test::snapshot(folder);
    std::erase_if(files, [](const auto& f) {
        return std::filesystem::path(f.first).filename().string().front() == '.' || f.first == "stdout" ||
               f.first == "stderr";
    });
    return files;
}

std::vector<std::string> hiddenFiles(const std::filesystem::path& folder) {
    std::vector<std::string> hidden;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        if (e.path().filename().string().front() == '.') {
            hidden.push_back(e.path().string());
        }
    }
    return hidden;
}

// A data folder, an output folder holding an earlier run's outputs (upload, an account listing, the
// archive, the detail report), and a second run ready that changes every one of them.
struct EarlierRun {
    test::TempDir dir;
    std::string data = (dir / "Data").string();
    std::filesystem::path out = dir / "out";
    std::filesystem::path rep = dir / "rep";
    std::string source = (dir / "second.txt").string();

    EarlierRun() {
        EXPECT_EQ(test::runQrv({"--data", data, "init"}).status, 0);
        std::filesystem::create_directory(out);
        test::writeFile(dir / "first.txt", creditFile("081226", {kCredit, kZeroAccount}));
        const test::QrvRun first = test::runQrv(args((dir / "first.txt").string()));
        EXPECT_EQ(first.status, 0) << first.out << first.err;
        test::writeFile(source, creditFile("081226", {kOtherCredit, kZeroAmount}));
        before = outputs(dir.path());
    }
    std::vector<std::string> args(const std::string& from, bool detail = true) const {
        std::vector<std::string> a = {"--data",
                                      data,
                                      "--report-out",
                                      rep.string(),
                                      "reformat",
                                      "--product",
                                      "DCP",
                                      "--company-id",
                                      "ACME01",
                                      "--source",
                                      from,
                                      "--dest",
                                      (out / "up.txt").string(),
                                      "--debit-account",
                                      "1234567896",
                                      "--fee-account",
                                      "1234567896"};
        if (detail) {
            a.push_back("--print-detail");
        }
        return a;
    }
    std::vector<std::string> changed() const { return test::changedFiles(before, outputs(dir.path())); }
    // The amounts of the detail table, which the run fills.
    std::vector<std::string> detailAmounts() const {
        TableStore store(data);
        std::vector<std::string> amounts;
        for (const Row& r : store.query("SELECT Amount FROM Dcp_Detail")) {
            amounts.push_back(r.text("Amount"));
        }
        return amounts;
    }
    std::map<std::string, std::string> before;
};

CommitStep g_stopAt = CommitStep::Tables;
int g_signal = SIGKILL;

void stopHere(CommitStep step) {
    if (step == g_stopAt) {
        ::kill(::getpid(), g_signal);
    }
}

// Runs `qrv args` in a child process that `signal` stops as commit step `step` begins; waitpid's status.
int runStoppedAt(const std::vector<std::string>& args, CommitStep step, int signal) {
    g_stopAt = step;
    g_signal = signal;
    const pid_t pid = ::fork();
    if (pid == 0) {
        setCommitStepHookForTests(stopHere);
        ::_exit(test::runQrv(args).status);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

const std::vector<std::string> kReports = {"changed rep/rptDcpDetail.html", "changed rep/rptDcpDetail.json"};
const std::vector<std::string> kListings = {"added out/ACME01_DCP_CreditZeroAmountRecord.txt",
                                            "removed out/ACME01_DCP_InvalidAcctRecord.txt"};

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// A KILL as each step begins leaves the steps before it done and none after: the tables first, then the
// report files, the listings, the upload file and last its archive. The work files it leaves go with
// the next run in that folder.
TEST(RunCommit, AKillBetweenTwoStepsLeavesTheStepsBeforeIt) {
    const std::vector<std::pair<CommitStep, std::vector<std::string>>> expected = {
        {CommitStep::Tables, {}},
        {CommitStep::Reports, {}},
        {CommitStep::Listings, kReports},
        {CommitStep::Upload, sorted({kReports[0], kReports[1], kListings[0], kListings[1]})},
        {CommitStep::Archive,
         sorted({kReports[0], kReports[1], kListings[0], kListings[1], "changed out/up.txt"})},
        {CommitStep::Told, sorted({kReports[0], kReports[1], kListings[0], kListings[1], "changed out/up.txt",
                                   "changed out/2026-12-08ACME01_DCP.zip"})}};
    for (const auto& [step, changes] : expected) {
        SCOPED_TRACE(commitStepName(step));
        EarlierRun r;
        const std::vector<std::string> firstRows = r.detailAmounts();
        const int status = runStoppedAt(r.args(r.source), step, SIGKILL);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        EXPECT_EQ(sorted(r.changed()), changes);
        EXPECT_EQ(r.detailAmounts() == firstRows, step == CommitStep::Tables)
            << "the tables are the first step";

        ASSERT_EQ(test::runQrv(r.args(r.source)).status, 0);
        EXPECT_EQ(hiddenFiles(r.dir.path()), std::vector<std::string>{})
            << "no work file outlives the next run";
    }
}

// TERM, INT and HUP wait while the outputs are put in place: the run ends by the signal with all of them
// in place and none of its work files left, before it says it completed.
TEST(RunCommit, TermDuringTheStepsWaitsUntilEveryOutputIsInPlace) {
    EarlierRun complete;
    ASSERT_EQ(test::runQrv(complete.args(complete.source)).status, 0);
    const std::vector<std::string> all = sorted(complete.changed());
    ASSERT_EQ(all.size(), 6u);
    for (const CommitStep step : {CommitStep::Tables, CommitStep::Listings, CommitStep::Archive}) {
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            SCOPED_TRACE(std::string(commitStepName(step)) + " " + strsignal(signal));
            EarlierRun r;
            const int status = runStoppedAt(r.args(r.source), step, signal);
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
            EXPECT_EQ(sorted(r.changed()), all);
            EXPECT_EQ(hiddenFiles(r.dir.path()), std::vector<std::string>{});
        }
    }
}

// A report file that cannot be written (a FIFO under its name, or a --report-out that is a file) stops the
// run before anything is in place: the earlier upload, listing, archive and reports stay, and the run
// does not say it completed.
TEST(RunCommit, AReportThatCannotBeWrittenLeavesEveryEarlierOutput) {
    EarlierRun fifo;
    std::filesystem::remove(fifo.rep / "rptDcpDetail.html");
    ASSERT_EQ(::mkfifo((fifo.rep / "rptDcpDetail.html").c_str(), 0600), 0);
    fifo.before = outputs(fifo.dir.path());
    const test::QrvRun refused = test::runQrv(fifo.args(fifo.source));
    EXPECT_EQ(refused.status, 3);
    EXPECT_TRUE(has(refused.err, (fifo.rep / "rptDcpDetail.html").string()) && has(refused.err, "FIFO"))
        << refused.err;
    EXPECT_FALSE(has(refused.out, "completed")) << refused.out;
    EXPECT_EQ(fifo.changed(), std::vector<std::string>{});
    EXPECT_EQ(hiddenFiles(fifo.dir.path()), std::vector<std::string>{});

    EarlierRun file;
    std::vector<std::string> args = file.args(file.source);
    test::writeFile(file.dir / "plain", "a file, not a folder");
    file.before = outputs(file.dir.path());
    args[3] = (file.dir / "plain").string();
    const test::QrvRun notAFolder = test::runQrv(args);
    EXPECT_EQ(notAFolder.status, 3);
    EXPECT_TRUE(has(notAFolder.err, "Cannot write the reports into the folder")) << notAFolder.err;
    EXPECT_EQ(file.changed(), std::vector<std::string>{});
    EXPECT_EQ(hiddenFiles(file.dir.path()), std::vector<std::string>{});
}

// Today as the built program's clock gives it, ddmmyy.
std::string todayDdmmyy() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char text[8];
    std::strftime(text, sizeof text, "%d%m%y", &tm);
    return text;
}

// Standard output closed before the run ends (qrv ... | true): the run is not ended by SIGPIPE halfway;
// it puts every output in place, leaves no work file, and exits 3 saying so.
TEST(RunCommit, ClosedStandardOutputIsAnErrorAfterTheCommit) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    ASSERT_EQ(test::runQrv({"--data", data, "init"}).status, 0);
    test::writeFile(dir / "src.txt", creditFile(todayDdmmyy(), {kCredit, kZeroAccount}));
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    ::close(pipeFds[0]);  // nobody reads
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 1);
        const std::string err = (dir / "stderr").string();
        if (std::freopen(err.c_str(), "w", stderr) == nullptr) {
            ::_exit(127);
        }
        const std::vector<std::string> args = {QRV_BINARY,
                                               "--data",
                                               data,
                                               "reformat",
                                               "--product",
                                               "DCP",
                                               "--company-id",
                                               "ACME01",
                                               "--source",
                                               (dir / "src.txt").string(),
                                               "--dest",
                                               (dir / "up.txt").string(),
                                               "--debit-account",
                                               "1234567896",
                                               "--fee-account",
                                               "1234567896"};
        std::vector<const char*> argv;
        for (const std::string& a : args) {
            argv.push_back(a.c_str());
        }
        argv.push_back(nullptr);
        ::execv(QRV_BINARY, const_cast<char* const*>(argv.data()));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const std::string err = test::readFile(dir / "stderr");
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 3) << err;
    EXPECT_TRUE(has(err, "Cannot write to standard output") && has(err, "outputs were written")) << err;
    for (const char* name : {"up.txt", "ACME01_DCP_InvalidAcctRecord.txt"}) {
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    }
    EXPECT_EQ(hiddenFiles(dir.path()), std::vector<std::string>{});
}

// Two runs into one folder for one company: a clean run started first, and a run with mistakes that ends
// while it runs. The clean run does not take away the other's listing, which was not there when it began;
// a later run does, as it supersedes the listing it found.
TEST(RunListings, ARunNeverRemovesAnotherRunsListings) {
    test::WorkbenchFixture fx;
    test::prepareReformat(fx, test::Family::DirectCredit, fx.dir / "clean.txt", fx.out / "clean.txt");
    const ReformatRequest clean = fx.wb.reformatRequest();
    ReformatRequest mistakes = clean;
    mistakes.sourcePath = fx.dir / "mistakes.txt";
    mistakes.destinationPath = fx.out / "mistakes.txt";
    test::writeFile(mistakes.sourcePath, creditFile("081226", {kCredit, kZeroAccount}));
    const std::filesystem::path listing = fx.out / "ACME01_DCP_InvalidAcctRecord.txt";

    test::FirstProgressEvents events([&] {
        Services other = test::servicesOf(fx);
        ASSERT_EQ(reformat(mistakes, other).outcome, Outcome::Written);
        ASSERT_TRUE(std::filesystem::exists(listing));
    });
    Services services{fx.store, fx.clock, fx.wb.reports(), fx.wb.settings(), events};
    ASSERT_EQ(reformat(clean, services).outcome, Outcome::Written);
    EXPECT_EQ(test::readFile(listing), "LineNo : 3  Column : 1-10  Account is zero\r\n");

    Services later = test::servicesOf(fx);
    ReformatRequest again = clean;
    again.again = true;
    ASSERT_EQ(reformat(again, later).outcome, Outcome::Written);
    EXPECT_FALSE(std::filesystem::exists(listing));
}

// A dry run counts and hashes in memory: it needs no folder it would write to, touches no file there (a
// work file a killed run left stays), and neither makes nor changes the table store.
TEST(DryRun, TouchesNoFolderAndNoStoreFile) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    ASSERT_EQ(test::runQrv({"--data", data, "init"}).status, 0);
    test::writeFile(dir / "src.txt", creditFile("081226", {kCredit, kZeroAccount}));
    std::filesystem::create_directory(dir / "out");
    const std::string stale = ".up.txtTemp.qrv999999999-AbC123";  // a work file of a process that is gone
    test::writeFile(dir / "out" / stale, "left by a killed run");
    const auto dry = [&](const std::filesystem::path& dest) {
        return test::runQrv({"--data", data, "--report-out", (dir / "rep").string(), "reformat", "--product",
                             "DCP", "--company-id", "ACME01", "--source", (dir / "src.txt").string(),
                             "--dest", dest.string(), "--debit-account", "1234567896", "--fee-account",
                             "1234567896", "--print-detail", "--dry-run"});
    };
    const auto store = std::filesystem::path(data) / TableStore::kFileName;
    const std::string storeBytes = test::readFile(store);
    const auto storeTime = std::filesystem::last_write_time(store);

    // It ends as the real run would: that one could not make its work files in a missing folder.
    const test::QrvRun missingFolder = dry(dir / "missing" / "up.txt");
    EXPECT_EQ(missingFolder.status, 3) << missingFolder.out << missingFolder.err;
    EXPECT_TRUE(has(missingFolder.err, "Cannot create a work file in folder \"" + (dir / "missing").string() +
                                           "\": No such file or directory"))
        << missingFolder.err;
    const test::QrvRun beside = dry(dir / "out" / "up.txt");
    EXPECT_EQ(beside.status, 0) << beside.err;
    EXPECT_TRUE(has(beside.out, "Hash Value: ")) << beside.out;
    EXPECT_EQ(test::listFolder(dir / "out"), std::vector<std::string>{stale});
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"Data", "out", "src.txt"}));
    EXPECT_EQ(test::readFile(store), storeBytes);
    EXPECT_EQ(std::filesystem::last_write_time(store), storeTime);
    for (const char* journal : {"-wal", "-shm"}) {
        EXPECT_FALSE(std::filesystem::exists(data + "/" + TableStore::kFileName + journal)) << journal;
    }

    // A deleted store is not made again by a dry run, nor is one made in a folder never initialised.
    std::filesystem::remove(store);
    EXPECT_EQ(dry(dir / "out" / "up.txt").out, beside.out);
    EXPECT_FALSE(std::filesystem::exists(store));
    std::filesystem::remove(std::filesystem::path(data) / "Bank.csv");
    EXPECT_EQ(dry(dir / "out" / "up.txt").status, 3);
    EXPECT_EQ(test::listFolder(data).size(), 6u) << "the settings and sample files only";
}

// A dry run exits as the real run would, whether or not its product reads the tables: Direct Credit without
// "Print detail" reads none, yet a data folder never initialised is refused by both.
TEST(DryRun, ExitsAsTheRealRunWould) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    std::filesystem::create_directories(data);
    std::filesystem::create_directory(dir / "out");
    test::writeFile(dir / "src.txt", creditFile("081226", {kCredit}));
    const auto run = [&](bool dryRun) {
        std::vector<std::string> args = {"--data",
                                         data,
                                         "reformat",
                                         "--product",
                                         "DCP",
                                         "--company-id",
                                         "ACME01",
                                         "--source",
                                         (dir / "src.txt").string(),
                                         "--dest",
                                         (dir / "out" / "up.txt").string(),
                                         "--debit-account",
                                         "1234567896",
                                         "--fee-account",
                                         "1234567896"};
        if (dryRun) {
            args.push_back("--dry-run");
        }
        return test::runQrv(args);
    };
    const test::QrvRun dry = run(true);
    const test::QrvRun real = run(false);
    EXPECT_EQ(real.status, 3);
    EXPECT_EQ(dry.status, real.status) << dry.out << dry.err;
    EXPECT_EQ(dry.err, real.err);
    EXPECT_TRUE(has(dry.err, "was never initialised")) << dry.err;
    EXPECT_EQ(test::listFolder(data), std::vector<std::string>{});
}

}  // namespace
}  // namespace qrv

#endif  // _WIN32
