#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "convert/RunResult.h"
#include "convert/UploadCheck.h"
#include "workbench/SourceColumns.h"

namespace qrv {

// The upload viewer's model: an upload file read back and checked, which record and field hold a column of
// a line, and the check's faults as the viewer marks them.
class UploadView {
  public:
    // Reads and checks `file`; a file that cannot be read is an error (QrvError naming it).
    explicit UploadView(const std::filesystem::path& file, std::optional<Product> product = std::nullopt);

    const std::filesystem::path& file() const { return file_; }
    const UploadCheckResult& check() const { return check_; }
    // Every fault kept, in line order: its line, the columns of its field (none for a whole record or
    // line) and its words.
    std::vector<RejectedEntry> entries() const;
    // Which record and field hold `column` (1-based) of line `lineNo` (`lineText`, code page 874). The
    // hash line and a line of no record type have no layout.
    ColumnPlace placeOf(std::int64_t lineNo, std::string_view lineText, int column) const;

  private:
    std::filesystem::path file_;
    UploadCheckResult check_;
    bool directDebitHeader_ = false;
};

}  // namespace qrv
