#include "io/FileWriter.h"

#include <unistd.h>

#include "base/QrvError.h"
#include "io/Platform.h"

namespace qrv {

FileWriter::FileWriter(const std::filesystem::path& path, Mode mode) : name_(path.string()) {
    fd_ = platform::openOutput(path, mode == Mode::AppendExisting);
    buffer_.reserve(capacity_);
}

FileWriter::FileWriter(int fd, std::string name) : fd_(fd), name_(std::move(name)) {
    buffer_.reserve(capacity_);
}

FileWriter::~FileWriter() {
    if (fd_ >= 0) {
        try {
            flush();
        } catch (...) {
            // A destructor reached while unwinding must not throw; the file is abandoned anyway.
        }
        thread_.reset();
        platform::closeFile(fd_);
    }
}

void FileWriter::writeOnThread() {
    if (!onThread_) {
        onThread_ = true;
        capacity_ = FileWriteThread::kChunkBytes;
        buffer_.reserve(capacity_);
    }
}

void FileWriter::write(std::string_view bytes) {
    if (bytes.empty()) {
        return;  // an empty view may hold no pointer at all
    }
    if (bytes.size() > capacity_ - buffer_.size()) {
        spill();
        if (!onThread_ && bytes.size() >= capacity_) {
            writeHere(bytes);
            return;
        }
        while (bytes.size() >= capacity_) {
            buffer_.append(bytes.data(), capacity_);
            bytes.remove_prefix(capacity_);
            spill();
        }
    }
    buffer_.append(bytes.data(), bytes.size());
}

void FileWriter::writeHere(std::string_view bytes) {
    if (!bytes.empty()) {
        platform::writeAll(fd_, bytes.data(), bytes.size(), name_);
        progress_.wrote(fd_, bytes.size());
    }
}

void FileWriter::spill() {
    if (buffer_.empty()) {
        return;
    }
    if (!onThread_) {
        writeBuffer();
        return;
    }
    if (!thread_) {
        thread_ = std::make_unique<FileWriteThread>(fd_, name_, progress_);
    } else if (thread_->failed()) {
        buffer_.clear();
        drain();
    }
    handed_ += buffer_.size();
    thread_->give(buffer_);
}

void FileWriter::writeBuffer() {
    struct Emptied {
        std::string& buffer;
        ~Emptied() { buffer.clear(); }  // what failed to be written is not written again
    } emptied{buffer_};
    writeHere(buffer_);
}

void FileWriter::drain() {
    if (thread_) {
        const std::unique_ptr<FileWriteThread> thread = std::move(thread_);
        handed_ = 0;
        progress_ = thread->finish();
    }
}

void FileWriter::flush() {
    if (thread_) {
        spill();
        drain();
    } else {
        writeBuffer();
    }
}

void FileWriter::writeAt(std::uint64_t offset, std::string_view bytes) {
    flush();
    if (offset + bytes.size() > progress_.written) {
        throw QrvError("Cannot write file \"" + name_ + "\": " + std::to_string(bytes.size()) + " bytes at " +
                       std::to_string(offset) + " would pass its end at " +
                       std::to_string(progress_.written));
    }
    platform::writeAllAt(fd_, offset, bytes.data(), bytes.size(), name_);
}

void FileWriter::sync() {
    flush();
    platform::syncFile(fd_, name_);
}

void FileWriter::close() {
    if (fd_ >= 0) {
        flush();
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            throw QrvError("Cannot close file \"" + name_ + "\": " + platform::lastErrorText());
        }
    }
}

}  // namespace qrv
