#include "io/LineReader.h"

#include <gtest/gtest.h>

#include "base/QrvError.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::vector<std::string> readLines(const std::filesystem::path& file) {
    LineReader reader(file);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

TEST(LineReader, SplitsAtCrLfLfAndCr) {
    TempDir dir;
    writeFile(dir / "a.txt", "one\r\ntwo\nthree\rfour\r\n\r\nlast");
    EXPECT_EQ(readLines(dir / "a.txt"),
              (std::vector<std::string>{"one", "two", "three", "four", "", "last"}));
    writeFile(dir / "b.txt", "");
    EXPECT_TRUE(readLines(dir / "b.txt").empty());
    writeFile(dir / "c.txt", "\r\n");
    EXPECT_EQ(readLines(dir / "c.txt"), std::vector<std::string>{""});
}

TEST(LineReader, HandlesLinesAcrossBlocksAndACrAtABlockEnd) {
    TempDir dir;
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 5000; ++i) {
        std::string line(static_cast<size_t>(i % 97), static_cast<char>('a' + i % 26));
        if (i % 7 == 0 && !line.empty()) {
            line.back() = '\xE0';  // a byte for lineHolds() to find, rare as a Thai letter is
        }
        expected.push_back(line);
        text += line + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    }
    expected.push_back(std::string(200000, 'x'));  // longer than a block
    text += expected.back();
    writeFile(dir / "big.txt", text);
    EXPECT_EQ(readLines(dir / "big.txt"), expected);
    LineReader reader(dir / "big.txt");
    std::string_view line;
    for (const std::string& want : expected) {
        ASSERT_TRUE(reader.next(line));
        ASSERT_EQ(reader.lineHolds('\xE0'), want.find('\xE0') != std::string::npos) << reader.lineNumber();
    }

    // A CR LF split exactly at the 64 KiB block boundary is one line end.
    std::string split(65535, 'y');
    split += "\r\nz";
    writeFile(dir / "split.txt", split);
    EXPECT_EQ(readLines(dir / "split.txt"), (std::vector<std::string>{std::string(65535, 'y'), "z"}));
}

// Every cut lands after a whole line end, whatever bytes lie around the middle: the parts' lines, one part
// after the other, are the file's lines.
TEST(LineReader, PartsOfAFileGiveEveryLineOnce) {
    TempDir dir;
    for (size_t lead = 0; lead < 12; ++lead) {
        const std::string text =
            std::string(lead, 'a') + "\r\nbb\rc\n\r\nddd\r\n\re\nf\r\r\ng" + std::string(lead % 3, '\r');
        writeFile(dir / "parts.txt", text);
        const std::vector<std::string> whole = readLines(dir / "parts.txt");
        const ReadOnlyFile file(dir / "parts.txt");
        for (int parts = 1; parts <= 5; ++parts) {
            std::vector<std::string> joined;
            std::uint64_t at = 0;
            for (const ByteRange& range : file.linesInParts(parts)) {
                ASSERT_EQ(range.from, at);
                ASSERT_LT(range.from, range.to);
                at = range.to;
                LineReader reader(file, range);
                std::string_view line;
                while (reader.next(line)) {
                    joined.emplace_back(line);
                }
            }
            ASSERT_EQ(at, text.size());
            EXPECT_EQ(joined, whole) << "lead " << lead << ", " << parts << " parts";
        }
    }
}

TEST(LineReader, MissingFileIsAnErrorNamingIt) {
    TempDir dir;
    try {
        LineReader reader(dir / "nope.txt");
        FAIL();
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("nope.txt"), std::string::npos);
    }
}

}  // namespace
}  // namespace qrv
