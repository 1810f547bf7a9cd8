#include <gtest/gtest.h>

#include <fstream>

#include "base/QrvError.h"
#include "io/FileWriter.h"
#include "io/LineReader.h"
#include "io/Platform.h"
#include "support/TestSupport.h"

// What the platform layer must do alike on every system (the Windows build runs these under Wine).
namespace qrv {
namespace {

const std::string kThai = "\xe0\xb8\x81\xe0\xb8\x82";  // "กข"

// A folder and a file named in Thai, given as UTF-8 text as a window or an option gives it: written, read
// back and listed under the same name.
TEST(Platform, ThaiNamesFromUtf8TextRoundTrip) {
    test::TempDir dir;
    const std::filesystem::path folder = dir.path() / std::filesystem::path(kThai);
    std::filesystem::create_directory(folder);
    const std::filesystem::path file = dir.path().string() + "/" + kThai + "/" + kThai + ".txt";
    {
        FileWriter out(file, FileWriter::Mode::Create);
        out.writeLine("line");
        out.close();
    }
    EXPECT_EQ(file.filename().string(), kThai + ".txt");
    EXPECT_TRUE(std::filesystem::exists(folder / std::filesystem::path(u8"กข.txt")));
    LineReader in(file);
    std::string_view line;
    ASSERT_TRUE(in.next(line));
    EXPECT_EQ(line, "line");
}

// Work files get new names and never take an existing file's; a write at an offset leaves the position.
TEST(Platform, UniqueFilesAndWritesAtAnOffset) {
    test::TempDir dir;
    const platform::CreatedTemp a = platform::createUniqueFile(dir.path(), "w.");
    const platform::CreatedTemp b = platform::createUniqueFile(dir.path(), "w.");
    EXPECT_NE(a.path, b.path);
    platform::writeAll(a.fd, "abc", 3, "a");
    platform::writeAllAt(a.fd, 0, "X", 1, "a");
    platform::writeAll(a.fd, "d", 1, "a");
    platform::closeFile(a.fd);
    platform::closeFile(b.fd);
    EXPECT_EQ(test::readFile(a.path), "Xbcd");
}

// Replacing a file that is open: on Linux it is replaced under its reader; on Windows a file another program
// holds without sharing deletion is reported after a wait and left as it was (Windows 10 1809 and later
// replace a file whose holders share deletion, as this program's own readers do; Wine cannot).
TEST(Platform, ReplacingAFileThatIsOpen) {
    test::TempDir dir;
    const auto target = dir.path() / "target.txt";
    const auto work = dir.path() / "work.txt";
    test::writeFile(target, "old");
    test::writeFile(work, "new");
#ifdef _WIN32
    std::ifstream other(target);  // the C runtime's open does not share deletion
    try {
        platform::replaceFile(work, target);
        ADD_FAILURE() << "replaced a file held without sharing";
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("open in another program"), std::string::npos) << e.what();
    }
    other.close();
    EXPECT_EQ(test::readFile(target), "old");
#else
    LineReader held(target);
    platform::replaceFile(work, target);
    EXPECT_EQ(test::readFile(target), "new");
#endif
}

}  // namespace
}  // namespace qrv
