#include "io/ThreadedSha1.h"

namespace qrv {

namespace {
// Below this a thread costs more than it saves.
constexpr std::size_t kHashHereUpTo = 1 << 20;
constexpr std::size_t kChunk = 1 << 18;
constexpr std::size_t kChunksAhead = 4;
}  // namespace

ThreadedSha1::ThreadedSha1() : queue_(kChunk, kChunksAhead) {}

ThreadedSha1::~ThreadedSha1() {
    if (thread_.joinable()) {
        queue_.abandon();
        thread_.join();
    }
}

void ThreadedSha1::update(std::string_view bytes) {
    if (!thread_.joinable()) {
        if (hashedHere_ + bytes.size() <= kHashHereUpTo) {
            sha_.update(bytes);
            hashedHere_ += bytes.size();
            return;
        }
        thread_ = std::thread([this] { run(); });
    }
    queue_.add(bytes);
}

Digest ThreadedSha1::finish() {
    if (thread_.joinable()) {
        queue_.close();
        thread_.join();
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }
    return sha_.finish();
}

void ThreadedSha1::run() {
    try {
        std::string chunk;
        while (queue_.take(chunk)) {
            sha_.update(chunk);
        }
    } catch (...) {
        failure_ = std::current_exception();
    }
    queue_.stopReading();
}

}  // namespace qrv
