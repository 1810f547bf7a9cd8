#include <gtest/gtest.h>

#include "io/Sha1.h"
#include "support/TestSupport.h"
#include "upload/UploadReader.h"

// Reading an upload file back: every kind of line end, wherever a block of the reading ends, and the
// hash of exactly the bytes after the first line.
namespace qrv {
namespace {

struct Read {
    std::vector<std::string> lines;
    std::vector<LineEnd> ends;
    std::string hash;
};

Read readAll(const std::filesystem::path& file) {
    Read read;
    read.hash = readUploadLines(file, [&read](const UploadLine& line) {
        EXPECT_EQ(line.number, static_cast<std::int64_t>(read.lines.size()) + 1);
        read.lines.emplace_back(line.text);
        read.ends.push_back(line.end);
    });
    return read;
}

std::string sha1Of(std::string_view bytes) {
    Sha1 sha;
    sha.update(bytes);
    return HexUpper(sha.finish());
}

TEST(UploadReader, EveryLineEndIsToldAndTheHashCoversWhatFollowsTheFirstLine) {
    test::TempDir dir;
    const std::string body = "001a\r\n002b\n003c\r999d";
    test::writeFile(dir / "up.txt", "HASH\r\n" + body);
    const Read read = readAll(dir / "up.txt");
    EXPECT_EQ(read.lines, (std::vector<std::string>{"HASH", "001a", "002b", "003c", "999d"}));
    EXPECT_EQ(read.ends,
              (std::vector<LineEnd>{LineEnd::CrLf, LineEnd::CrLf, LineEnd::Lf, LineEnd::Cr, LineEnd::None}));
    EXPECT_EQ(read.hash, sha1Of(body));

    test::writeFile(dir / "one.txt", "HASH");
    EXPECT_EQ(readAll(dir / "one.txt").hash, sha1Of(""));
}

TEST(UploadReader, ALineEndOnTheEdgeOfABlockIsOneLineEnd) {
    // The reading takes 1 MiB at a time: a CR as the last byte of a block, its LF the first of the next.
    constexpr std::size_t kBlock = 1 << 20;
    test::TempDir dir;
    const std::string first = "HASH\r\n";
    const std::string longLine(kBlock - first.size() - 1, 'x');
    const std::string body = longLine + "\r\n" + std::string(kBlock - 2, 'y') + "\r" + "z\r\n";
    test::writeFile(dir / "up.txt", first + body);
    const Read read = readAll(dir / "up.txt");
    ASSERT_EQ(read.lines.size(), 4u);
    EXPECT_EQ(read.lines[1], longLine);
    EXPECT_EQ(read.ends, (std::vector<LineEnd>{LineEnd::CrLf, LineEnd::CrLf, LineEnd::Cr, LineEnd::CrLf}));
    EXPECT_EQ(read.lines[3], "z");
    EXPECT_EQ(read.hash, sha1Of(body));

    // The first line itself ends across the edge: the hash starts after its LF.
    const std::string head = std::string(kBlock - 1, 'H') + "\r\n";
    test::writeFile(dir / "edge.txt", head + "001\r\n");
    const Read edge = readAll(dir / "edge.txt");
    EXPECT_EQ(edge.lines.size(), 2u);
    EXPECT_EQ(edge.hash, sha1Of("001\r\n"));
}

}  // namespace
}  // namespace qrv
