#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace qrv {

// Hands a stream of bytes from one thread (the writer) to another (the reader) in chunks, the writer at
// most a few chunks ahead: memory stays bounded whatever the stream's length. Chunks the reader is done
// with go back to the writer to be filled again.
class ChunkQueue {
  public:
    ChunkQueue(size_t chunkBytes, size_t chunksAhead);
    ChunkQueue(const ChunkQueue&) = delete;
    ChunkQueue& operator=(const ChunkQueue&) = delete;

    // Writer: the next bytes; a full chunk is handed over, waiting while the reader is behind. Once the
    // reader has stopped, bytes are dropped.
    void add(std::string_view bytes);
    // Writer: hands over `chunk` as it is (no copy; chunks of any size up to chunkBytes), waiting while
    // the reader is behind; `chunk` comes back empty, with room for chunkBytes, to be filled again.
    void give(std::string& chunk);
    // Writer: every byte given (the last chunk is handed over).
    void close();
    // Writer: the reader is to stop; its take() gives false from now on.
    void abandon();
    // Bytes given so far.
    std::size_t given() const { return given_; }

    // Reader: the next chunk into `chunk` (its former content goes back to the writer); false at the end
    // of the stream or when abandoned.
    bool take(std::string& chunk);
    bool abandoned();
    // Reader: it takes no more (done or failed); the writer no longer waits.
    void stopReading();

  private:
    void handOver();

    const size_t chunkBytes_;
    const size_t chunksAhead_;
    std::string gathering_;  // the writer's next chunk
    std::size_t given_ = 0;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> chunks_;  // given, not yet taken
    std::vector<std::string> spare_;  // taken and read, to be filled again
    bool closed_ = false;
    bool abandoned_ = false;
    bool readerStopped_ = false;
};

}  // namespace qrv
