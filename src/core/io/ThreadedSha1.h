#pragma once

#include <exception>
#include <string_view>
#include <thread>

#include "io/ChunkQueue.h"
#include "io/Sha1.h"

namespace qrv {

// The SHA-1 of a stream, computed on a thread of its own beside the one that gives the bytes. The first
// bytes (a short file's all) are hashed where they are given, without a thread.
class ThreadedSha1 {
  public:
    ThreadedSha1();
    ThreadedSha1(const ThreadedSha1&) = delete;
    ThreadedSha1& operator=(const ThreadedSha1&) = delete;
    // Without finish(): the hashing stops.
    ~ThreadedSha1();

    void update(std::string_view bytes);
    // Waits for the hashing of every byte given. A failure of the hashing shows here.
    Digest finish();

  private:
    void run();

    Sha1 sha_;  // the giving thread's until the hashing thread starts, then that thread's
    std::size_t hashedHere_ = 0;
    ChunkQueue queue_;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace qrv
