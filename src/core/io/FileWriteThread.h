#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <thread>

#include "io/ChunkQueue.h"

namespace qrv {

// Where a file's writing stands: the bytes written and, for a file whose bytes go to disk as it grows,
// the first byte not yet handed to the system's writeback.
struct WriteProgress {
    std::uint64_t written = 0;
    std::uint64_t writebackEvery = 0;  // 0: left to the system
    std::uint64_t writebackFrom = 0;

    // `n` more bytes were written to `fd`; every `writebackEvery` bytes start going to disk.
    void wrote(int fd, std::uint64_t n) noexcept;
};

// Writes chunks to an open file in the order given, on a thread of its own: the giving thread goes on
// while the system copies the bytes into the file. At most a few chunks wait, whatever the file's size.
class FileWriteThread {
  public:
    static constexpr std::size_t kChunkBytes = std::size_t{1} << 18;

    // `fd` stays open and owned by the caller; `name` names the file in a failure's message.
    FileWriteThread(int fd, std::string name, WriteProgress from);
    FileWriteThread(const FileWriteThread&) = delete;
    FileWriteThread& operator=(const FileWriteThread&) = delete;
    // Without finish(): the writing stops, chunks not yet written are dropped.
    ~FileWriteThread();

    // Hands `chunk` over; it comes back empty, with room for kChunkBytes.
    void give(std::string& chunk) { queue_.give(chunk); }
    // A write has failed; finish() throws it.
    bool failed() const { return failed_.load(std::memory_order_acquire); }
    // Waits until every chunk given is written and the thread has ended. The first failure, exactly as
    // the write threw it, shows here.
    WriteProgress finish();

  private:
    void run();

    const int fd_;
    const std::string name_;
    WriteProgress progress_;  // the writing thread's while it runs
    ChunkQueue queue_;
    std::atomic<bool> failed_{false};
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace qrv
