#include "io/ThreadedSha1.h"

#include <gtest/gtest.h>

#include <string>

#include "io/LineReader.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

std::string patterned(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
    }
    return bytes;
}

Digest sha1Of(std::string_view bytes) {
    Sha1 sha;
    sha.update(bytes);
    return sha.finish();
}

// The digest does not depend on where the stream is cut or on whether the thread started: pieces of
// uneven sizes cross the bytes hashed in place, the chunk boundaries and the queue's limit.
TEST(ThreadedSha1, DigestEqualsOneThreadsForAnyCutting) {
    const std::string bytes = patterned((5 << 20) + 12345);
    for (const size_t size :
         {size_t{0}, size_t{1000}, size_t{1} << 20, (size_t{1} << 20) + 1, bytes.size()}) {
        const std::string_view whole = std::string_view(bytes).substr(0, size);
        for (const size_t step : {size_t{1} << 20, size_t{65536} + 7, size_t{300000}}) {
            ThreadedSha1 sha;
            size_t piece = step / 3 + 1;
            for (size_t at = 0; at < whole.size(); at += piece, piece = piece % step + 4099) {
                sha.update(whole.substr(at, piece));
            }
            EXPECT_EQ(sha.finish(), sha1Of(whole)) << size << " bytes in pieces up to " << step;
        }
    }
}

TEST(ThreadedSha1, StopsWithoutFinishing) {
    const std::string bytes = patterned(3 << 20);
    ThreadedSha1 sha;
    sha.update(bytes);
    // Leaving it here must neither hang nor leak the thread.
}

// A reading long enough to be hashed beside it still digests every byte, the last block included.
TEST(ThreadedSha1, LongReadingDigestsEveryByte) {
    test::TempDir dir;
    std::string text;
    for (int i = 0; text.size() < (3u << 20); ++i) {
        text += std::to_string(i) + std::string(97, 'x') + "\r\n";
    }
    test::writeFile(dir / "long.txt", text);
    LineReader reader(dir / "long.txt", LineReader::Digesting::Yes);
    std::string_view line;
    for (int i = 0; i < 1000 && reader.next(line); ++i) {
    }
    EXPECT_EQ(reader.finishReading().digest, sha1Of(text));
}

}  // namespace
}  // namespace qrv
