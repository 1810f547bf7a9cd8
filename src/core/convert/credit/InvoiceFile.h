#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "io/LineReader.h"

namespace qrv {

// The invoice file of a Manager Cheque run, read once front to back in step with the cheque lines.
// A file named but missing (or a folder) is not opened; the first read from it ends the run with a file
// error.
class InvoiceFile {
  public:
    // `name` as typed (UTF-8, a native path); empty when the run has no invoice file.
    explicit InvoiceFile(const std::string& name);

    bool named() const { return !name_.empty(); }
    // The next line; after the end of the file, empty lines (still counted).
    std::string_view next();
    std::int64_t lineNumber() const { return lineNumber_; }

  private:
    std::string name_;
    std::unique_ptr<LineReader> reader_;
    bool ended_ = false;
    std::int64_t lineNumber_ = 0;
};

}  // namespace qrv
