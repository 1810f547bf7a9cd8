// Writers, work files and the line reader at their limits: long outputs, links and special files, long
// names, work files left by killed runs, and overlong lines.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "base/QrvError.h"
#include "io/FileWriter.h"
#include "io/LineReader.h"
#include "io/Platform.h"
#include "io/WorkFile.h"
#include "support/TestSupport.h"
#include "upload/ZipOutputs.h"

namespace qrv {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// 200 KB written in pieces of every size up to 3 KiB, so buffer edges fall everywhere.
std::string writeLong(FileWriter& w) {
    std::string all;
    for (size_t n = 1; all.size() < 200'000; n = n % 3072 + 1) {
        const std::string piece(n, static_cast<char>('a' + n % 26));
        w.write(piece);
        all += piece;
    }
    w.write(std::string(70'000, 'Z'));  // one write larger than the buffer
    return all + std::string(70'000, 'Z');
}

std::string errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const QrvError& e) {
        return e.what();
    }
    return "<no error>";
}

TEST(OutputFiles, LongerThanTheWriteBufferArriveWhole) {
    test::TempDir dir;
    std::string expected;
    {
        FileWriter w(dir / "plain.txt", FileWriter::Mode::Create);
        expected = writeLong(w);
        w.close();
    }
    EXPECT_EQ(test::readFile(dir / "plain.txt"), expected);
    {
        FileWriter w(dir / "plain.txt", FileWriter::Mode::AppendExisting);
        writeLong(w);
    }
    EXPECT_EQ(test::readFile(dir / "plain.txt"), expected + expected);
    {
        WorkFile work = workFileFor(dir / "x.txt", "Temp");
        writeLong(work.writer());
        work.close();
        EXPECT_EQ(test::readFile(work.path()), expected);
    }
    AtomicFile atomic(dir / "up.txt");
    writeLong(atomic.writer());
    atomic.commit();
    EXPECT_EQ(test::readFile(dir / "up.txt"), expected);
    test::packArchive(dir / "up.zip", dir / "up.txt");
    const auto entries = test::readZip(dir / "up.zip");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].content, expected);
}

#ifndef _WIN32  // FIFOs, devices and fork are POSIX
// A link under an output's name is replaced, never written through; a folder, FIFO or device under it is
// refused before anything is written.
TEST(OutputFiles, NeverThroughALinkNorIntoASpecialFile) {
    test::TempDir dir;
    test::writeFile(dir / "precious.txt", "keep");
    for (const char* name : {"listing.txt", "up.txt", "up.zip"}) {
        std::filesystem::create_symlink(dir / "precious.txt", dir / name);
    }
    FileWriter(dir / "listing.txt", FileWriter::Mode::Create).write("new");
    AtomicFile atomic(dir / "up.txt");
    atomic.writer().write("upload");
    atomic.commit();
    test::packArchive(dir / "up.zip", dir / "up.txt");
    EXPECT_EQ(test::readFile(dir / "precious.txt"), "keep");
    for (const char* name : {"listing.txt", "up.txt", "up.zip"}) {
        EXPECT_FALSE(std::filesystem::is_symlink(dir / name)) << name;
    }
    EXPECT_EQ(test::readFile(dir / "listing.txt"), "new");

    std::filesystem::create_symlink(dir / "precious.txt", dir / "appended.txt");
    EXPECT_TRUE(has(errorOf([&] { FileWriter(dir / "appended.txt", FileWriter::Mode::AppendExisting); }),
                    "symbolic link"));

    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder");
    for (const char* name : {"fifo", "folder"}) {
        const auto target = dir / name;
        for (const std::string& error :
             {errorOf([&] { FileWriter(target, FileWriter::Mode::Create); }),
              errorOf([&] { FileWriter(target, FileWriter::Mode::AppendExisting); }),
              errorOf([&] { AtomicFile{target}; }),
              errorOf([&] { test::packArchive(target, dir / "up.txt"); })}) {
            EXPECT_TRUE(has(error, target.string()) && has(error, "not a regular file")) << error;
        }
    }
    EXPECT_EQ(test::readFile(dir / "precious.txt"), "keep");
    EXPECT_EQ(test::listFolder(dir.path()),
              (std::vector<std::string>{"appended.txt", "fifo", "folder", "listing.txt", "precious.txt",
                                        "up.txt", "up.zip"}));
}

#endif

// In the temporary folder these paths also pass Windows' classic limit of 260 characters.
TEST(WorkFiles, NamesFitDestinationsOfUpTo255Bytes) {
    test::TempDir dir;
    for (const size_t length : {241u, 250u, 255u}) {
        const std::string name = std::string(length - 4, 'n') + ".txt";
        for (const char* content : {"first", "upload"}) {
            AtomicFile atomic(dir / name);
            atomic.writer().write(content);
            atomic.commit();
        }
        const std::string archive = std::string(length - 4, 'a') + ".zip";
        test::packArchive(dir / archive, dir / name);
        test::packArchive(dir / archive, dir / name);  // the archive there is read and replaced
        EXPECT_EQ(test::readFile(dir / name), "upload");
        EXPECT_EQ(test::readZip(dir / archive).size(), 1u);
        LineReader reader(dir / name);
        std::string_view line;
        EXPECT_TRUE(reader.next(line) && line == "upload");
    }
    // Thai names are shortened between characters, never inside one.
    const std::string thai = [] {
        std::string s;
        while (s.size() < 249) {
            s += "ก";
        }
        return s + ".txt";
    }();
    const WorkFile work = workFileFor(dir / thai, "Temp");
    const std::string workName = work.path().filename().string();
    EXPECT_LE(workName.size(), 247u);
    EXPECT_EQ(workName.substr(0, workName.rfind(".qrv")).size() % 3, 1u) << "a dot and whole characters";
}

#ifndef _WIN32  // a gone process made with fork
// A run killed before it could remove its work files: the next work file made in that folder removes
// those whose process is gone, and nothing else.
TEST(WorkFiles, StaleOnesOfGoneProcessesAreRemovedByTheNextRun) {
    test::TempDir dir;
    const pid_t gone = ::fork();
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const std::string deadMark = ".qrv" + std::to_string(gone) + "-";
    const std::string liveMark = ".qrv" + std::to_string(::getppid()) + "-";
    const std::vector<std::string> kept = {".up.txt" + liveMark + "Ab12Cd", ".notes.txt", "up.txt",
                                           ".up.txt.qrv-Ab12Cd"};
    for (const auto& name : kept) {
        test::writeFile(dir / name, "x");
    }
    for (const auto& name : {".up.txt" + deadMark + "Ab12Cd", ".up.zip" + deadMark + "Ab12Cd.Zz9yX8",
                             ".up.txtTemp2" + deadMark + "q1W2e3"}) {
        test::writeFile(dir / name, "left by a killed run");
    }
    const WorkFile work = workFileFor(dir / "other.txt", "");
    std::vector<std::string> expected = kept;
    expected.push_back(work.path().filename().string());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(test::listFolder(dir.path()), expected);
}

#endif

TEST(LineReaderLimits, ALineLongerThanOneMebibyteIsNotAPaymentFile) {
    test::TempDir dir;
    const std::string mib(LineReader::kMaxLineBytes, '7');
    test::writeFile(dir / "ok.txt", "H\r\n" + mib + "\r\n" + mib);
    LineReader ok(dir / "ok.txt");
    std::string_view line;
    int lines = 0;
    while (ok.next(line)) {
        ++lines;
    }
    EXPECT_EQ(lines, 3);
    for (const std::string& tail : {mib + "7\r\nT\r\n", mib + "7"}) {
        test::writeFile(dir / "long.txt", "H\r\nD\r\n" + tail);
        LineReader reader(dir / "long.txt");
        const std::string error = errorOf([&] {
            while (reader.next(line)) {
            }
        });
        EXPECT_TRUE(has(error, "Line 3 of \"" + (dir / "long.txt").string() + "\"")) << error;
        EXPECT_TRUE(has(error, "not a payment file")) << error;
    }
}

TEST(AtomicFile, ReplacesOnlyWhenCommitted) {
    TempDir dir;
    writeFile(dir / "up.txt", "earlier");
    {
        AtomicFile f(dir / "up.txt");
        f.writer().write("half");
        // no commit: as when a run stops
    }
    EXPECT_EQ(readFile(dir / "up.txt"), "earlier");
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"up.txt"});
    {
        AtomicFile f(dir / "up.txt");
        f.writer().writeLine("new");
        f.commit();
    }
    EXPECT_EQ(readFile(dir / "up.txt"), "new\r\n");
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"up.txt"});
}

TEST(AtomicFile, AFailedWriteLeavesTheEarlierFile) {
    TempDir dir;
    writeFile(dir / "up.txt", "earlier");
    EXPECT_THROW(
        {
            AtomicFile f(dir / "up.txt");
            f.writer().write("partial");
            throw QrvError("disk full");
        },
        QrvError);
    EXPECT_EQ(readFile(dir / "up.txt"), "earlier");
    EXPECT_EQ(test::listFolder(dir.path()).size(), 1u);
}

TEST(WorkFile, IsUniqueNeverReplacesAndIsRemoved) {
    TempDir dir;
    writeFile(dir / "pay.txtTemp", "someone else's");
    std::filesystem::path first;
    {
        WorkFile a = workFileFor(dir / "pay.txt", "Temp");
        WorkFile b = workFileFor(dir / "pay.txt", "Temp");
        EXPECT_NE(a.path(), b.path());
        a.writer().write("x");
        first = a.path();
        EXPECT_TRUE(std::filesystem::exists(first));
    }
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"pay.txtTemp"});
    EXPECT_EQ(readFile(dir / "pay.txtTemp"), "someone else's");
}

// Bytes written over earlier ones, some of them still buffered: the file keeps its end and the next write
// goes after it; bytes that would pass the end are refused.
TEST(FileWriter, WritesOverEarlierBytesWithoutMovingItsEnd) {
    TempDir dir;
    FileWriter w(dir / "over.txt", FileWriter::Mode::Create);
    std::string expected = writeLong(w) + "tail";
    w.write("tail");
    w.writeAt(0, "HEAD");
    w.writeAt(expected.size() - 3, "AIL");
    w.write("end");
    EXPECT_THROW(w.writeAt(expected.size() + 1, "xyz"), QrvError);
    w.close();
    EXPECT_EQ(readFile(dir / "over.txt"), "HEAD" + expected.substr(4, expected.size() - 7) + "AILend");
}

// Fails the `failAt`-th write of any file from now on with a full disk (set by the test below; the write
// runs on the writer's thread).
std::atomic<int> g_writes{0};
std::atomic<int> g_failAt{0};
int failNthWrite(const std::string&) {
    return ++g_writes == g_failAt.load() ? ENOSPC : 0;
}

// Written on a thread: every byte arrives in order whatever the pieces, size() and writeAt() see them all;
// a write that fails there reaches the writer with the message it has without a thread, and never later
// than flush().
TEST(FileWriter, OnAThreadWritesEveryByteAndReportsItsFailure) {
    TempDir dir;
    {
        FileWriter w(dir / "threaded.txt", FileWriter::Mode::Create);
        w.writeOnThread();
        std::string expected;
        while (expected.size() < 3'000'000) {  // more chunks than wait at once
            expected += writeLong(w);
        }
        EXPECT_EQ(w.size(), expected.size());
        w.writeAt(1, "XY");
        expected.replace(1, 2, "XY");
        w.write("end");
        w.close();
        EXPECT_EQ(readFile(dir / "threaded.txt"), expected + "end");
    }
    const auto failedRun = [&](bool onThread, int failAt) {
        g_writes = 0;
        g_failAt = failAt;
        platform::setWriteFaultForTests(failNthWrite);
        std::string error;
        {
            FileWriter w(dir / "full.txt", FileWriter::Mode::Create);
            if (onThread) {
                w.writeOnThread();
            }
            error = errorOf([&] {
                for (int i = 0; i < 40; ++i) {
                    w.write(std::string(100'000, 'x'));
                }
                w.flush();
            });
        }
        platform::setWriteFaultForTests(nullptr);
        return error;
    };
    const std::string full = "Cannot write file \"" + (dir / "full.txt").string() + "\": ";
    for (const int failAt : {1, 5, 16}) {  // the first write, one while chunks wait, the last one
        SCOPED_TRACE(failAt);
        const std::string here = failedRun(false, failAt);
        EXPECT_TRUE(has(here, full + "No space left on device")) << here;
        EXPECT_EQ(failedRun(true, failAt), here);
    }
}

TEST(FileWriter, AppendExistingRefusesAMissingFile) {
    TempDir dir;
    EXPECT_THROW(FileWriter(dir / "missing.txt", FileWriter::Mode::AppendExisting), QrvError);
}

}  // namespace
}  // namespace qrv
