#include "io/ChunkQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace qrv {
namespace {

// The reader gets every byte in order, in chunks of the given size but the last.
TEST(ChunkQueue, HandsOverEveryByteInOrder) {
    ChunkQueue queue(1000, 2);
    std::string read;
    std::thread reader([&] {
        std::string chunk;
        while (queue.take(chunk)) {
            EXPECT_LE(chunk.size(), 1000u);
            read += chunk;
        }
        queue.stopReading();
    });
    std::string given;
    for (int i = 0; i < 500; ++i) {
        const std::string piece(static_cast<size_t>(i % 37) * 11, static_cast<char>('a' + i % 26));
        queue.add(piece);
        given += piece;
    }
    queue.close();
    reader.join();
    EXPECT_EQ(read, given);
    EXPECT_EQ(queue.given(), given.size());
}

// A reader that stops early (a failure) never leaves the writer waiting; an abandoned reader stops.
TEST(ChunkQueue, NeitherSideWaitsForOneThatStopped) {
    ChunkQueue failing(100, 1);
    std::thread reader([&] {
        std::string chunk;
        failing.take(chunk);
        failing.stopReading();
    });
    for (int i = 0; i < 100; ++i) {
        failing.add(std::string(100, 'x'));
    }
    failing.close();
    reader.join();

    ChunkQueue abandoned(100, 1);
    std::thread waiting([&] {
        std::string chunk;
        EXPECT_FALSE(abandoned.take(chunk));
        EXPECT_TRUE(abandoned.abandoned());
    });
    abandoned.abandon();
    waiting.join();
}

}  // namespace
}  // namespace qrv
