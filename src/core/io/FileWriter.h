#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qrv {

// A buffered writer over an open file descriptor. Every failure throws QrvError naming the file.
class FileWriter {
  public:
    enum class Mode { Create, AppendExisting };

    // Opens `path`: Create truncates or creates it (replacing a symbolic link by a new file); AppendExisting
    // appends to a regular file that must exist. A name that is a folder, FIFO or device is refused.
    FileWriter(const std::filesystem::path& path, Mode mode);
    // Takes over an already open descriptor (closed by this writer).
    FileWriter(int fd, std::string name);
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;
    ~FileWriter();

    void write(std::string_view bytes);
    void writeLine(std::string_view line) {
        write(line);
        write("\r\n");
    }
    void flush();
    // Writes `bytes` over bytes already written, from `offset` on (what is buffered goes first); the file's
    // end and the position of the next write stay where they are.
    void writeAt(std::uint64_t offset, std::string_view bytes);
    // From now on, every `every` bytes written start going to disk at once, so that sync() at the end
    // waits only for the last of them (for a file that is kept, not for a work file that goes).
    void writeBackEvery(std::uint64_t every) { writebackEvery_ = every; }
    void sync();
    void close();
    std::uint64_t size() const { return written_ + used_; }
    int fd() const { return fd_; }
    const std::string& name() const { return name_; }

  private:
    static constexpr size_t kBufferSize = 1 << 16;
    void wrote(size_t n);
    int fd_ = -1;
    std::string name_;
    std::string buffer_;
    size_t used_ = 0;
    std::uint64_t written_ = 0;
    std::uint64_t writebackEvery_ = 0;  // 0: left to the system
    std::uint64_t writebackFrom_ = 0;   // the first byte not yet handed to writeback
};

}  // namespace qrv
