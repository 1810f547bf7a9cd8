#include "upload/UploadReader.h"

#include <cstring>
#include <optional>

#include "io/LineReader.h"
#include "io/Platform.h"
#include "io/ThreadedSha1.h"

namespace qrv {

namespace {

constexpr std::size_t kBlock = 1 << 20;

// Cuts the blocks of a file into lines and hashes what follows the first one.
class LineSplitter {
  public:
    LineSplitter(const std::filesystem::path& file, const std::function<void(const UploadLine&)>& each)
        : file_(file), each_(each) {}

    void take(std::string_view block) {
        std::size_t at = 0;
        if (pendingCr_) {
            // A CR ended the last block: the line ends here, with the LF when one follows.
            pendingCr_ = false;
            const bool lf = block.front() == '\n';
            at = lf ? 1 : 0;
            emit(carry_, lf ? LineEnd::CrLf : LineEnd::Cr, at);
            carry_.clear();
        }
        while (at < block.size()) {
            at = takeLine(block, at);
        }
        hashFrom(block);
        offset_ += block.size();
    }

    std::string finish() {
        if (pendingCr_) {
            emit(carry_, LineEnd::Cr, 0);
        } else if (!carry_.empty()) {
            emit(carry_, LineEnd::None, 0);
        }
        if (!bodyStart_) {
            bodyStart_ = offset_;
        }
        return HexUpper(sha_.finish());
    }

  private:
    // The line starting at `at`, or its part up to the block's end; returns where the next begins.
    std::size_t takeLine(std::string_view block, std::size_t at) {
        const char* begin = block.data() + at;
        const std::size_t left = block.size() - at;
        const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', left));
        const std::size_t span = lf != nullptr ? static_cast<std::size_t>(lf - begin) : left;
        const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', span));
        if (cr != nullptr && cr + 1 != lf) {
            // A CR alone ends the line, unless it is the block's last byte and an LF starts the next.
            const std::size_t length = static_cast<std::size_t>(cr - begin);
            if (cr + 1 == block.data() + block.size()) {
                append(std::string_view(begin, length));
                pendingCr_ = true;
                return block.size();
            }
            line(std::string_view(begin, length), LineEnd::Cr, at + length + 1);
            return at + length + 1;
        }
        if (lf == nullptr) {
            append(std::string_view(begin, span));
            return block.size();
        }
        const bool crLf = cr != nullptr;
        const std::size_t length = span - (crLf ? 1 : 0);
        line(std::string_view(begin, length), crLf ? LineEnd::CrLf : LineEnd::Lf, at + span + 1);
        return at + span + 1;
    }

    void line(std::string_view text, LineEnd end, std::size_t next) {
        if (carry_.empty()) {
            emit(text, end, next);
            return;
        }
        append(text);
        emit(carry_, end, next);
        carry_.clear();
    }

    void append(std::string_view text) {
        if (carry_.size() + text.size() > LineReader::kMaxLineBytes) {
            throw LineReader::longLine(file_.string(), number_ + 1);
        }
        carry_.append(text);
    }

    // `next`: where the following line begins in the block being read.
    void emit(std::string_view text, LineEnd end, std::size_t next) {
        if (text.size() > LineReader::kMaxLineBytes) {
            throw LineReader::longLine(file_.string(), number_ + 1);
        }
        ++number_;
        if (number_ == 1) {
            bodyStart_ = offset_ + next;
        }
        each_(UploadLine{number_, text, end});
    }

    void hashFrom(std::string_view block) {
        if (!bodyStart_ || *bodyStart_ >= offset_ + block.size()) {
            return;
        }
        const std::size_t skip = *bodyStart_ > offset_ ? static_cast<std::size_t>(*bodyStart_ - offset_) : 0;
        sha_.update(block.substr(skip));
    }

    const std::filesystem::path& file_;
    const std::function<void(const UploadLine&)>& each_;
    std::string carry_;  // a line that runs on into the next block
    bool pendingCr_ = false;
    std::int64_t number_ = 0;
    std::uint64_t offset_ = 0;                // of the block being read
    std::optional<std::uint64_t> bodyStart_;  // where the second line begins
    ThreadedSha1 sha_;
};

}  // namespace

std::string_view lineEndName(LineEnd end) {
    switch (end) {
        case LineEnd::CrLf:
            return "CR LF";
        case LineEnd::Lf:
            return "LF";
        case LineEnd::Cr:
            return "CR";
        case LineEnd::None:
            break;
    }
    return "no line end";
}

std::string readUploadLines(const std::filesystem::path& file,
                            const std::function<void(const UploadLine&)>& each) {
    LineSplitter splitter(file, each);
    platform::readBlocks(file, kBlock, [&splitter](std::string_view block) { splitter.take(block); });
    return splitter.finish();
}

}  // namespace qrv
