#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/QrvError.h"
#include "io/Platform.h"
#include "io/ThreadedSha1.h"

namespace qrv {

// What one whole reading of a file saw: the file as it stood when the reading began (which file, its size
// and time of last change), the SHA-1 of every byte read, and whether it stood the same when the reading
// ended. Two readings that are equal and steady read the same bytes of the same file.
struct FileReading {
    platform::FileStamp stamp;
    Digest digest{};
    bool steady = true;
    std::int64_t lines = -1;  // the file's lines, when the reading counted them
};

// A file that a command reads more than once was not the same in every reading (another program wrote it
// meanwhile): nothing may be made of it.
class FileChangedWhileRead : public QrvError {
  public:
    explicit FileChangedWhileRead(const std::filesystem::path& file);
};

// Throws FileChangedWhileRead naming `file` unless both readings are steady and saw the same bytes of the
// same file, unchanged in size and time.
void RequireSameReading(const std::filesystem::path& file, const FileReading& first,
                        const FileReading& again);

// A part of a file: its bytes from `from` up to (not including) `to`.
struct ByteRange {
    std::uint64_t from = 0;
    std::uint64_t to = 0;
};

// A file opened once for reading, whose parts several LineReaders may read at once, each on its own thread.
class ReadOnlyFile {
  public:
    // Throws QrvError naming the file when it cannot be opened or is a folder.
    explicit ReadOnlyFile(const std::filesystem::path& path);
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile();

    int fd() const { return fd_; }
    std::uint64_t size() const { return size_; }
    const std::string& name() const { return name_; }
    // The file cut into at most `parts` ranges of about equal size, each of whole lines: a range ends right
    // after a line end (all of a CR LF) or at the end of the file. Fewer when the file has fewer lines.
    std::vector<ByteRange> linesInParts(int parts) const;

  private:
    std::uint64_t nextLineStart(std::uint64_t from) const;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::string name_;
};

// Reads a text file one line at a time. A line ends at CR LF, LF or CR; a last line without a line end
// is a line. Memory holds one block and the current line, whatever the file's size. A line longer than
// kMaxLineBytes (far beyond any layout) stops the reading with an error naming its line number.
class LineReader {
  public:
    static constexpr size_t kMaxLineBytes = 1 << 20;
    // The refusal of line `lineNumber` of `file`, longer than kMaxLineBytes.
    static QrvError longLine(const std::string& file, std::int64_t lineNumber);

    // Whether the reader keeps the digest of what it reads, for finishReading().
    enum class Digesting { No, Yes };

    // Throws QrvError naming the file when it cannot be opened.
    explicit LineReader(const std::filesystem::path& path, Digesting digesting = Digesting::No);
    // Reads only `range` of `file` (which must outlive the reader); its first line is line 1. Ranges from
    // ReadOnlyFile::linesInParts give every line of the file to exactly one reader.
    LineReader(const ReadOnlyFile& file, ByteRange range);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line end; the view stays valid until the next call.
    bool next(std::string_view& line);
    // Whether the line next() gave last holds `byte`. Meant for a byte that is rare in the file: it is
    // looked for once per block rather than once per line.
    bool lineHolds(char byte) {
        if (heldKnown_ && heldByte_ == byte && heldAt_ >= lineBegin_) {
            return heldAt_ < lineEnd_;
        }
        return searchLineFor(byte);
    }
    // 1 for the first line read.
    std::int64_t lineNumber() const { return lineNumber_; }
    // Bytes consumed so far (for progress).
    std::uint64_t bytesRead() const { return consumed_; }
    std::uint64_t fileSize() const { return fileSize_; }
    // Reads the rest of the file (its lines are not handed out) and tells what the whole reading saw.
    // Only for a reader made with Digesting::Yes; afterwards next() gives no more lines.
    FileReading finishReading();

  private:
    bool fill();
    size_t readSome(char* data, size_t size);
    bool searchLineFor(char byte);
    [[noreturn]] void refuseLongLine() const;
    std::optional<ReadOnlyFile> own_;  // the file, when the reader opened it itself
    int fd_ = -1;
    // Of a reader of a range: where its next read starts and where the range ends.
    std::optional<ByteRange> range_;
    std::string name_;
    std::string buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    // Where the next CR lies (end_ when none) as far as the buffer was searched: a file of LF line ends
    // has none, and searching the rest of the block at every line would cost the block once per line.
    // Known until fill() moves or grows the buffer.
    size_t crAt_ = 0;
    bool crKnown_ = false;
    // The line next() gave last, and the next place of the byte lineHolds() looks for.
    size_t lineBegin_ = 0;
    size_t lineEnd_ = 0;
    size_t heldAt_ = 0;
    char heldByte_ = 0;
    bool heldKnown_ = false;
    bool eof_ = false;
    std::int64_t lineNumber_ = 0;
    std::uint64_t consumed_ = 0;
    std::uint64_t fileSize_ = 0;
    std::optional<ThreadedSha1> sha_;  // hashed beside the reading
    platform::FileStamp start_;
};

// Lines in a text file minus one (a header and n data lines gives n; an empty file -1).
std::int64_t CountDataLines(const std::filesystem::path& file);

}  // namespace qrv
