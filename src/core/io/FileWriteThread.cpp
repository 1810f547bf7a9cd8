#include "io/FileWriteThread.h"

#include "io/Platform.h"

namespace qrv {

namespace {
// Chunks given and not yet written: with the one being written and the one being filled, about 1.5 MB.
constexpr std::size_t kChunksAhead = 4;
}  // namespace

void WriteProgress::wrote(int fd, std::uint64_t n) noexcept {
    written += n;
    if (writebackEvery > 0 && written - writebackFrom >= writebackEvery) {
        platform::startWriteback(fd, writebackFrom, written - writebackFrom);
        writebackFrom = written;
    }
}

FileWriteThread::FileWriteThread(int fd, std::string name, WriteProgress from)
    : fd_(fd), name_(std::move(name)), progress_(from), queue_(kChunkBytes, kChunksAhead) {
    thread_ = std::thread([this] { run(); });
}

FileWriteThread::~FileWriteThread() {
    if (thread_.joinable()) {
        queue_.abandon();
        thread_.join();
    }
}

WriteProgress FileWriteThread::finish() {
    if (thread_.joinable()) {
        queue_.close();
        thread_.join();
    }
    if (failure_) {
        std::rethrow_exception(failure_);
    }
    return progress_;
}

void FileWriteThread::run() {
    try {
        std::string chunk;
        while (queue_.take(chunk)) {
            platform::writeAll(fd_, chunk.data(), chunk.size(), name_);
            progress_.wrote(fd_, chunk.size());
        }
    } catch (...) {
        failure_ = std::current_exception();
        failed_.store(true, std::memory_order_release);
    }
    // After a failure the giver no longer waits; what it gives is dropped.
    queue_.stopReading();
}

}  // namespace qrv
