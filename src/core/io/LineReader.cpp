#include "io/LineReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/QrvError.h"
#include "io/Platform.h"

namespace qrv {
namespace {
constexpr size_t kBlock = 1 << 16;
}

FileChangedWhileRead::FileChangedWhileRead(const std::filesystem::path& file)
    : QrvError("The file \"" + file.string() +
               "\" changed while it was read: it is not the same in every reading (another program is "
               "writing it). Nothing was written. Run again when the file is complete") {}

void RequireSameReading(const std::filesystem::path& file, const FileReading& first,
                        const FileReading& again) {
    if (!first.steady || !again.steady || first.stamp != again.stamp || first.digest != again.digest) {
        throw FileChangedWhileRead(file);
    }
}

QrvError LineReader::longLine(const std::string& file, std::int64_t lineNumber) {
    return QrvError("Line " + std::to_string(lineNumber) + " of \"" + file + "\" is longer than " +
                    std::to_string(kMaxLineBytes / (1024 * 1024)) + " MiB: not a payment file");
}

void LineReader::refuseLongLine() const {
    throw longLine(name_, lineNumber_ + 1);
}

ReadOnlyFile::ReadOnlyFile(const std::filesystem::path& path) : name_(path.string()) {
#ifdef _WIN32
    // Windows refuses to open a folder as a file ("Permission denied"): name it as the check below does.
    if (std::filesystem::is_directory(platform::fileStatus(path, true))) {
        throw QrvError("Cannot read file \"" + name_ + "\": it is a folder");
    }
#endif
    fd_ = platform::openForReading(path);
    if (fd_ < 0) {
        throw QrvError("Cannot open file \"" + name_ + "\" for reading: " + platform::lastErrorText());
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            platform::closeFile(fd_);
            throw QrvError("Cannot read file \"" + name_ + "\": it is a folder");
        }
        size_ = static_cast<std::uint64_t>(st.st_size);
    }
}

ReadOnlyFile::~ReadOnlyFile() {
    platform::closeFile(fd_);
}

// Where the first line that starts at `from` or after it starts: right after the next line end (all of a
// CR LF), or the end of the file.
std::uint64_t ReadOnlyFile::nextLineStart(std::uint64_t from) const {
    std::string block(kBlock, '\0');
    std::uint64_t at = from;
    bool afterCr = false;  // the byte before `at` is a CR whose line end an LF may still complete
    for (;;) {
        const size_t n = platform::readAt(fd_, at, block.data(), block.size(), name_);
        if (n == 0) {
            return at;
        }
        for (size_t i = 0; i < n; ++i) {
            if (afterCr) {
                return block[i] == '\n' ? at + i + 1 : at + i;
            }
            if (block[i] == '\n') {
                return at + i + 1;
            }
            afterCr = block[i] == '\r';
        }
        at += n;
    }
}

std::vector<ByteRange> ReadOnlyFile::linesInParts(int parts) const {
    std::vector<ByteRange> ranges;
    std::uint64_t from = 0;
    for (int k = 1; k < parts && from < size_; ++k) {
        const std::uint64_t middle =
            size_ / static_cast<std::uint64_t>(parts) * static_cast<std::uint64_t>(k);
        const std::uint64_t cut = nextLineStart(middle > from ? middle : from);
        if (cut >= size_) {
            break;
        }
        ranges.push_back({from, cut});
        from = cut;
    }
    ranges.push_back({from, size_});
    return ranges;
}

LineReader::LineReader(const std::filesystem::path& path, Digesting digesting)
    : own_(std::in_place, path), fd_(own_->fd()), name_(own_->name()), fileSize_(own_->size()) {
    buffer_.resize(kBlock);
    if (digesting == Digesting::Yes) {
        start_ = platform::fileStampOf(fd_, name_);
        sha_.emplace();
    }
}

LineReader::LineReader(const ReadOnlyFile& file, ByteRange range)
    : fd_(file.fd()), range_(range), name_(file.name()), fileSize_(range.to - range.from) {
    buffer_.resize(kBlock);
}

// Reads from the file's position, or (a range's reader) from the range's next byte up to its end.
size_t LineReader::readSome(char* data, size_t size) {
    if (!range_) {
        for (;;) {
            const ssize_t n = ::read(fd_, data, size);
            if (n >= 0) {
                return static_cast<size_t>(n);
            }
            if (errno != EINTR) {
                throw QrvError("Cannot read file \"" + name_ + "\": " + platform::lastErrorText());
            }
        }
    }
    const std::uint64_t left = range_->to - range_->from;
    const size_t n = platform::readAt(fd_, range_->from, data, left < size ? left : size, name_);
    range_->from += n;
    return n;
}

bool LineReader::fill() {
    if (eof_) {
        return false;
    }
    crKnown_ = heldKnown_ = false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() - end_ < kBlock / 2) {
        buffer_.resize(buffer_.size() * 2);
    }
    const size_t n = readSome(buffer_.data() + end_, buffer_.size() - end_);
    if (n == 0) {
        eof_ = true;
        return false;
    }
    if (sha_) {
        sha_->update(std::string_view(buffer_.data() + end_, n));
    }
    end_ += n;
    return true;
}

FileReading LineReader::finishReading() {
    if (!sha_) {
        throw QrvError("The reading of \"" + name_ + "\" keeps no digest");
    }
    // The bytes already in the buffer were taken into the digest as they were read.
    do {
        begin_ = end_ = 0;
    } while (fill());
    FileReading reading;
    reading.stamp = start_;
    reading.digest = sha_->finish();
    reading.steady = platform::fileStampOf(fd_, name_) == start_;
    sha_.reset();
    return reading;
}

bool LineReader::next(std::string_view& line) {
    size_t scan = begin_;
    for (;;) {
        const char* data = buffer_.data();
        // The first CR or LF: two vectorised searches instead of a loop over every byte.
        size_t i = end_;
        if (scan < end_) {
            if (!crKnown_ || crAt_ < scan) {
                const void* cr = std::memchr(data + scan, '\r', end_ - scan);
                crAt_ = cr != nullptr ? static_cast<size_t>(static_cast<const char*>(cr) - data) : end_;
                crKnown_ = true;
            }
            const size_t crAt = crAt_;
            const void* lf = std::memchr(data + scan, '\n', crAt - scan);
            i = lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - data) : crAt;
        }
        if (i < end_) {
            size_t lineEnd = i + 1;
            if (data[i] == '\r') {
                if (i + 1 == end_ && !eof_) {
                    // A CR at the end of the block: the next block tells whether an LF follows.
                    const size_t offset = i - begin_;
                    fill();
                    scan = begin_ + offset;
                    continue;
                }
                if (i + 1 < end_ && data[i + 1] == '\n') {
                    lineEnd = i + 2;
                }
            }
            if (i - begin_ > kMaxLineBytes) {
                refuseLongLine();
            }
            line = std::string_view(data + begin_, i - begin_);
            lineBegin_ = begin_;
            lineEnd_ = i;
            consumed_ += lineEnd - begin_;
            begin_ = lineEnd;
            ++lineNumber_;
            return true;
        }
        const size_t offset = end_ - begin_;
        if (offset > kMaxLineBytes) {
            refuseLongLine();
        }
        if (!fill()) {
            if (begin_ < end_) {
                line = std::string_view(buffer_.data() + begin_, end_ - begin_);
                lineBegin_ = begin_;
                lineEnd_ = end_;
                consumed_ += end_ - begin_;
                begin_ = end_;
                ++lineNumber_;
                return true;
            }
            return false;
        }
        scan = begin_ + offset;
    }
}

// Finds the next `byte` from the current line to the end of the buffer, for lineHolds() to reuse.
bool LineReader::searchLineFor(char byte) {
    const char* data = buffer_.data();
    const void* at = std::memchr(data + lineBegin_, byte, end_ - lineBegin_);
    heldAt_ = at != nullptr ? static_cast<size_t>(static_cast<const char*>(at) - data) : end_;
    heldByte_ = byte;
    heldKnown_ = true;
    return heldAt_ < lineEnd_;
}

std::int64_t CountDataLines(const std::filesystem::path& file) {
    LineReader reader(file);
    std::string_view line;
    std::int64_t count = 0;
    while (reader.next(line)) {
        ++count;
    }
    return count - 1;
}

}  // namespace qrv
