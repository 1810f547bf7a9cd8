#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "io/FileWriteThread.h"

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
    // Every byte given is in the file.
    void flush();
    // Writes `bytes` over bytes already written, from `offset` on (what is buffered goes first); the file's
    // end and the position of the next write stay where they are.
    void writeAt(std::uint64_t offset, std::string_view bytes);
    // From now on, every `every` bytes written start going to disk at once, so that sync() at the end
    // waits only for the last of them (for a file that is kept, not for a work file that goes).
    void writeBackEvery(std::uint64_t every) { progress_.writebackEvery = every; }
    // From now on, full buffers are written on a thread of its own (FileWriteThread): the caller only
    // copies its bytes, the system's copy into the file runs beside it. For big files: a file that never
    // fills a buffer starts no thread. A failed write shows, with its own message, at a later write()
    // or at the latest at flush(), writeAt(), sync() or close().
    void writeOnThread();
    void sync();
    void close();
    std::uint64_t size() const { return progress_.written + handed_ + buffer_.size(); }
    int fd() const { return fd_; }
    const std::string& name() const { return name_; }

  private:
    static constexpr size_t kBufferSize = 1 << 16;
    // Makes room in the buffer: written here, or handed to the thread.
    void spill();
    // Waits for the thread to write what it was given; its failure throws here.
    void drain();
    void writeHere(std::string_view bytes);
    void writeBuffer();
    int fd_ = -1;
    std::string name_;
    std::string buffer_;  // bytes not yet written nor handed over, up to capacity_
    size_t capacity_ = kBufferSize;
    bool onThread_ = false;
    std::unique_ptr<FileWriteThread> thread_;  // started by the first full buffer
    std::uint64_t handed_ = 0;                 // bytes handed to the thread, not in progress_ yet
    WriteProgress progress_;                   // the thread's while it runs
};

}  // namespace qrv
