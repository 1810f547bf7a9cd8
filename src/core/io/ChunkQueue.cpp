#include "io/ChunkQueue.h"

#include <algorithm>

namespace qrv {

ChunkQueue::ChunkQueue(size_t chunkBytes, size_t chunksAhead)
    : chunkBytes_(chunkBytes), chunksAhead_(chunksAhead) {}

void ChunkQueue::add(std::string_view bytes) {
    given_ += bytes.size();
    while (!bytes.empty()) {
        const size_t n = std::min(bytes.size(), chunkBytes_ - gathering_.size());
        gathering_.append(bytes.substr(0, n));
        bytes.remove_prefix(n);
        if (gathering_.size() == chunkBytes_) {
            handOver();
        }
    }
}

void ChunkQueue::give(std::string& chunk) {
    if (!gathering_.empty()) {
        handOver();  // bytes added before go first
    }
    given_ += chunk.size();
    gathering_.swap(chunk);
    handOver();
    chunk.swap(gathering_);
}

void ChunkQueue::handOver() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return chunks_.size() < chunksAhead_ || readerStopped_; });
    if (!readerStopped_) {
        chunks_.push_back(std::move(gathering_));
        changed_.notify_all();
    }
    gathering_.clear();
    if (!spare_.empty()) {
        gathering_ = std::move(spare_.back());
        spare_.pop_back();
        gathering_.clear();
    }
    gathering_.reserve(chunkBytes_);
}

void ChunkQueue::close() {
    if (!gathering_.empty()) {
        handOver();
    }
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

void ChunkQueue::abandon() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    changed_.notify_all();
}

bool ChunkQueue::take(std::string& chunk) {
    std::unique_lock lock(mutex_);
    if (!chunk.empty()) {
        spare_.push_back(std::move(chunk));
    }
    chunk.clear();
    changed_.notify_all();
    changed_.wait(lock, [this] { return !chunks_.empty() || closed_ || abandoned_; });
    if (abandoned_ || chunks_.empty()) {
        return false;
    }
    chunk = std::move(chunks_.front());
    chunks_.pop_front();
    return true;
}

bool ChunkQueue::abandoned() {
    const std::lock_guard lock(mutex_);
    return abandoned_;
}

void ChunkQueue::stopReading() {
    {
        const std::lock_guard lock(mutex_);
        readerStopped_ = true;
    }
    changed_.notify_all();
}

}  // namespace qrv
