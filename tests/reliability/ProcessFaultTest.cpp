// Faults that need other processes: a run stopped by a signal while its work files are open, and runs
// that share one data folder at the same time.
#ifndef _WIN32  // signals, fork and the processes these tests stop and start are POSIX
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <utility>

#include "ReliabilitySupport.h"
#include "cli/QrvRunner.h"
#include "io/WorkFile.h"
#include "store/TableStore.h"
#include "upload/ZipOutputs.h"

namespace qrv {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A child process that runs `body`, then tells the parent it is ready and waits to be stopped or let go.
class Child {
  public:
    template <class Body>
    explicit Child(Body body) {
        int ready[2];
        int go[2];
        if (::pipe(ready) != 0 || ::pipe(go) != 0) {
            throw std::runtime_error("pipe");
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(go[1]);
            body();
            char c = 'r';
            (void)!::write(ready[1], &c, 1);
            (void)!::read(go[0], &c, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(go[0]);
        go_ = go[1];
        char c = 0;
        ready_ = ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
    }
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(go_);
    }
    bool ready() const { return ready_; }
    // Stops the child with `signal`; returns how it ended (waitpid's status).
    int stop(int signal) {
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    int letGo() {
        ::close(go_);
        go_ = -1;
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

  private:
    pid_t pid_ = -1;
    int go_ = -1;
    bool ready_ = false;
};

// TERM, INT and HUP while an upload file, its work copies and an archive are being written: the work
// files go, the earlier upload stays, and the process still ends by that signal.
TEST(WorkFileSignals, TermIntHupRemoveTheRunsWorkFiles) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        test::TempDir dir;
        test::writeFile(dir / "up.txt", "earlier upload");
        Child child([&] {
            static AtomicFile upload(dir / "up.txt");
            upload.writer().write(std::string(100'000, 'u'));
            upload.writer().flush();
            static WorkFile copy = workFileFor(dir / "up.txt", "Temp1");
            static WorkFile body = workFileFor(dir / "up.txt", "Temp2");
        });
        ASSERT_TRUE(child.ready());
        EXPECT_EQ(test::listFolder(dir.path()).size(), 4u);
        const int status = child.stop(signal);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"up.txt"});
        EXPECT_EQ(test::readFile(dir / "up.txt"), "earlier upload");
    }
}

struct ProcessRun {
    int status = -1;
    std::string out;
    std::string err;
    double seconds = 0;
};

// Runs the built qrv as a process of its own; as user `uid` when given (permissions do not hold for root),
// with a file-size limit (ulimit -f) when given.
ProcessRun runProcess(const std::filesystem::path& scratch, const std::vector<std::string>& args,
                      uid_t uid = 0, rlim_t fileSizeLimit = RLIM_INFINITY) {
    const auto outFile = scratch / "stdout";
    const auto errFile = scratch / "stderr";
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<const char*> argv{QRV_BINARY};
        for (const auto& a : args) {
            argv.push_back(a.c_str());
        }
        argv.push_back(nullptr);
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        if (!std::freopen(outFile.c_str(), "w", stdout) || !std::freopen(errFile.c_str(), "w", stderr) ||
            (uid != 0 && (::setgid(uid) != 0 || ::setuid(uid) != 0)) ||
            ::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(127);
        }
        ::execv(QRV_BINARY, const_cast<char* const*>(argv.data()));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ProcessRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = test::readFile(outFile);
    run.err = test::readFile(errFile);
    return run;
}

// Another run holds the write lock of the data folder (a command in the middle of its changes): the
// commands that only read go on without waiting; one that must write says that another run is using
// the data folder and to try again, and succeeds once the other run ends.
TEST(DataFolderLock, ReadersNeverWaitAndAWriterIsToldToTryAgain) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    ASSERT_EQ(test::runQrv({"--data", data, "init"}).status, 0);
    test::writeFile(dir / "media.txt", test::mediaSource());
    test::writeFile(dir / "banks.csv", "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n999,X,Own bank\n");
    const std::vector<std::string> importBanks = {"--data", data,      "refdata",
                                                  "import", "--banks", (dir / "banks.csv").string()};
    // What the two readers take with no lock held, on this machine at this moment: a reader that waited
    // for the lock would take the store's busy timeout (1.5 s) more.
    const auto readers = [&] {
        const ProcessRun banks = runProcess(dir.path(), {"--data", data, "banks", "list"});
        const ProcessRun fee =
            runProcess(dir.path(), {"--data", data, "tier-fee", "--source", (dir / "media.txt").string()});
        return std::pair{banks, fee};
    };
    const auto [freeBanks, freeFee] = readers();
    const double unlocked = std::max(freeBanks.seconds, freeFee.seconds);

    Child writer([&] {
        static TableStore store(dir / "Data");
        static TableStore::CommandScope command(store);
        store.append("Dcp_Err", {{"LnNo", std::string("1")}});
    });
    ASSERT_TRUE(writer.ready());

    // A reader that waited for the lock would wait each time; a busy moment of a loaded machine does not
    // come back three times in a row.
    const double bound = std::max(1.4, 2 * unlocked + 0.5);
    double locked = 0;
    for (int attempt = 0; attempt < 3 && (attempt == 0 || locked >= bound); ++attempt) {
        const auto [banks, fee] = readers();
        EXPECT_EQ(banks.status, 0) << banks.err;
        EXPECT_TRUE(has(banks.out, "014\t"));
        EXPECT_EQ(fee.status, 0) << fee.err;
        locked = std::max(banks.seconds, fee.seconds);
    }
    EXPECT_LT(locked, bound) << "no reader waited for the lock";

    const ProcessRun blocked = runProcess(dir.path(), importBanks);
    EXPECT_EQ(blocked.status, 1);
    EXPECT_TRUE(has(blocked.out, "Another run is using the data folder") && has(blocked.out, "Try again"))
        << blocked.out << blocked.err;

    EXPECT_EQ(writer.letGo(), 0);
    const ProcessRun after = runProcess(dir.path(), importBanks);
    EXPECT_EQ(after.status, 0) << after.out << after.err;
    EXPECT_TRUE(has(runProcess(dir.path(), {"--data", data, "banks", "list"}).out, "999\tX\tOwn bank"));
}

// TERM, INT and HUP while the archive is packed: the archive library writes into the run's work file, so
// the signal leaves no file of its own behind either (it used to leave "<work file>.XXXXXX").
TEST(WorkFileSignals, NoArchiveFileSurvivesTermIntHupWhilePacking) {
    std::string bytes(2 << 20, '\0');
    std::uint32_t x = 12345;
    for (char& c : bytes) {
        x = x * 1103515245 + 12345;  // incompressible, so the archive grows as the bytes come
        c = static_cast<char>(x >> 24);
    }
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        test::TempDir dir;
        test::writeFile(dir / "up.txt", bytes);
        Child child([&] {
            static ArchivePacker packer(dir / "day.zip", dir / "up.txt", "up.txt", bytes.size());
            packer.add(std::string_view(bytes).substr(0, bytes.size() / 2));
            // Until the archive's first bytes are out: the library is writing it.
            for (int i = 0; i < 500; ++i) {
                for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
                    if (e.path().filename() != "up.txt" && e.file_size() > 0) {
                        return;
                    }
                }
                ::usleep(10'000);
            }
        });
        ASSERT_TRUE(child.ready());
        const int status = child.stop(signal);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"up.txt"});
    }
}

// A file-size limit (ulimit -f) goes the way of a full disk: the command says what it could not write,
// exits 3 with its JSON object, and leaves no work file; before, SIGXFSZ ended it without a word.
TEST(WorkFileSignals, AFileSizeLimitIsAFailedWriteNotAKill) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    ASSERT_EQ(test::runQrv({"--data", data, "init"}).status, 0);
    std::filesystem::create_directory(dir / "out");
    // The built program runs on the system's clock: the header dated two days from now.
    const std::time_t later = std::time(nullptr) + 2 * 24 * 3600;
    char ddmmyy[8];
    std::strftime(ddmmyy, sizeof ddmmyy, "%d%m%y", std::localtime(&later));
    std::string source = test::creditSource();
    source.replace(source.find("081226"), 6, ddmmyy);
    const std::string line = source.substr(source.find("\r\n") + 2);
    for (int i = 0; i < 2000; ++i) {
        source += line;  // an upload of more than 64 KiB
    }
    test::writeFile(dir / "credit.txt", source);
    test::writeFile(dir / "out" / "up.txt", "earlier upload");
    const ProcessRun run =
        runProcess(dir.path(),
                   {"--data", data, "--json", "reformat", "--product", "DCP", "--company-id", "ACME01",
                    "--source", (dir / "credit.txt").string(), "--dest", (dir / "out" / "up.txt").string(),
                    "--debit-account", "1234567896", "--fee-account", "1234567896"},
                   0, 64 * 1024);
    EXPECT_EQ(run.status, 3) << run.out << run.err;
    EXPECT_TRUE(has(run.err, "File too large (past the file-size limit of this process, ulimit -f)"))
        << run.err;
    EXPECT_TRUE(has(run.out, "\"exit\": 3")) << run.out;
    EXPECT_EQ(test::listFolder(dir / "out"), std::vector<std::string>{"up.txt"});
    EXPECT_EQ(test::readFile(dir / "out" / "up.txt"), "earlier upload");
}

// A data folder and a report folder that cannot be written: the message names the folder, says what is
// wrong and what to do, instead of the text of a database statement or of a later step.
TEST(ReadOnlyFolders, DataAndReportFoldersSayWhatToDo) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    ASSERT_EQ(test::runQrv({"--data", data, "init"}).status, 0);
    test::writeFile(dir / "media.txt", test::mediaSource());
    const uid_t user = ::geteuid() == 0 ? 65534 : 0;  // root writes anywhere: run as "nobody"
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    std::filesystem::permissions(
        dir / "Data", std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                          std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                          std::filesystem::perms::others_exec);
    const ProcessRun readOnly = runProcess(dir.path(), {"--data", data, "banks", "list"}, user);
    EXPECT_EQ(readOnly.status, 3);
    EXPECT_TRUE(
        has(readOnly.err, "data folder \"" + data + "\": Permission denied. Make the folder writable"))
        << readOnly.err;

    std::filesystem::permissions(dir / "Data", std::filesystem::perms::all);
    for (const auto& entry : std::filesystem::directory_iterator(dir / "Data")) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::all);
    }
    std::filesystem::create_directory(dir / "reports");
    std::filesystem::permissions(dir / "reports", std::filesystem::perms::owner_all);
    const ProcessRun reports = runProcess(dir.path(),
                                          {"--data", data, "--report-out", (dir / "reports").string(),
                                           "tier-fee", "--source", (dir / "media.txt").string()},
                                          user);
    EXPECT_EQ(reports.status, 3);
    EXPECT_TRUE(has(reports.err, "Cannot write the reports into the folder \"" + (dir / "reports").string() +
                                     "\" (--report-out): Permission denied. Choose a folder"))
        << reports.err;
}

}  // namespace
}  // namespace qrv

#endif  // _WIN32
