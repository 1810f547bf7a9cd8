#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qrv {

// Reads a text file one line at a time. A line ends at CR LF, LF or CR; a last line without a line end
// is a line. Memory holds one block and the current line, whatever the file's size. A line longer than
// kMaxLineBytes (far beyond any layout) stops the reading with an error naming its line number.
class LineReader {
  public:
    static constexpr size_t kMaxLineBytes = 1 << 20;

    // Throws QrvError naming the file when it cannot be opened.
    explicit LineReader(const std::filesystem::path& path);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader();

    // The next line without its line end; the view stays valid until the next call.
    bool next(std::string_view& line);
    // 1 for the first line read.
    std::int64_t lineNumber() const { return lineNumber_; }
    // Bytes consumed so far (for progress).
    std::uint64_t bytesRead() const { return consumed_; }
    std::uint64_t fileSize() const { return fileSize_; }

  private:
    bool fill();
    [[noreturn]] void refuseLongLine() const;
    int fd_ = -1;
    std::string name_;
    std::string buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
    std::int64_t lineNumber_ = 0;
    std::uint64_t consumed_ = 0;
    std::uint64_t fileSize_ = 0;
};

// Lines in a text file minus one (a header and n data lines gives n; an empty file -1).
std::int64_t CountDataLines(const std::filesystem::path& file);

}  // namespace qrv
