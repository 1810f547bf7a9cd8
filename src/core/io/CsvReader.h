#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qrv {

// Reads a UTF-8 CSV file (comma-separated, fields with commas, quotes or line ends in double quotes,
// "" for a quote inside). A UTF-8 byte-order mark at the start is skipped.
class CsvReader {
  public:
    explicit CsvReader(const std::filesystem::path& file);
    // The next record; `lineNumber` is the line it starts on. False at the end.
    bool next(std::vector<std::string>& fields, int& lineNumber);

  private:
    std::string text_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace qrv
