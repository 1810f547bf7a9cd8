#include "io/FileWriter.h"

#include <unistd.h>

#include <cstring>

#include "base/QrvError.h"
#include "io/Platform.h"

namespace qrv {

FileWriter::FileWriter(const std::filesystem::path& path, Mode mode) : name_(path.string()) {
    fd_ = platform::openOutput(path, mode == Mode::AppendExisting);
    buffer_.resize(kBufferSize);
}

FileWriter::FileWriter(int fd, std::string name) : fd_(fd), name_(std::move(name)) {
    buffer_.resize(kBufferSize);
}

FileWriter::~FileWriter() {
    if (fd_ >= 0) {
        try {
            flush();
        } catch (...) {
            // A destructor reached while unwinding must not throw; the file is abandoned anyway.
        }
        platform::closeFile(fd_);
    }
}

void FileWriter::write(std::string_view bytes) {
    if (bytes.empty()) {
        return;  // an empty view may hold no pointer at all
    }
    if (bytes.size() > kBufferSize - used_) {
        flush();
        if (bytes.size() >= kBufferSize) {
            platform::writeAll(fd_, bytes.data(), bytes.size(), name_);
            wrote(bytes.size());
            return;
        }
    }
    std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
}

void FileWriter::flush() {
    if (used_ > 0) {
        const size_t n = used_;
        used_ = 0;
        platform::writeAll(fd_, buffer_.data(), n, name_);
        wrote(n);
    }
}

void FileWriter::writeAt(std::uint64_t offset, std::string_view bytes) {
    flush();
    if (offset + bytes.size() > written_) {
        throw QrvError("Cannot write file \"" + name_ + "\": " + std::to_string(bytes.size()) + " bytes at " +
                       std::to_string(offset) + " would pass its end at " + std::to_string(written_));
    }
    platform::writeAllAt(fd_, offset, bytes.data(), bytes.size(), name_);
}

void FileWriter::wrote(size_t n) {
    written_ += n;
    if (writebackEvery_ > 0 && written_ - writebackFrom_ >= writebackEvery_) {
        platform::startWriteback(fd_, writebackFrom_, written_ - writebackFrom_);
        writebackFrom_ = written_;
    }
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
