#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The code page 874 check of a file read as bytes rather than as fields (the hash of a direct-debit
// file is taken from its bytes, before any field is read): each line as a whole, as the bytes pass.
namespace qrv::layout {

class Utf8ThaiLines {
  public:
    explicit Utf8ThaiLines(const std::filesystem::path& file) : file_(file) {}

    // The next bytes of the file; throws TextNotCodePage874 at a line that is Thai saved as UTF-8, or at
    // a byte-order mark that starts the file, and QrvError at a line longer than LineReader reads.
    void feed(std::string_view bytes);
    // The end of the file: the last line, when it has no line end.
    void finish();

  private:
    // Keeps the part of a line that the next bytes end; refuses a line longer than a reading takes.
    void keep(std::string_view part);
    // Judges one whole line; `mayHoldThai` false when its bytes are known to hold no E0.
    void endLine(std::string_view line, bool mayHoldThai);

    std::filesystem::path file_;
    std::string line_;
    std::int64_t lineNo_ = 1;
    bool afterCr_ = false;
};

}  // namespace qrv::layout
