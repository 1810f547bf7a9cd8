#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "sheet/Sheet.h"
#include "sheet/XlsxPackage.h"
#include "sheet/XlsxWorkbook.h"
#include "sheet/XmlStream.h"

namespace qrv {

// One sheet of an XLSX workbook (the first visible one, or one named), its XML parsed as it inflates: shared
// and inline strings, numbers, booleans, formula results (their cached values), errors, and numbers whose
// style shows a date turned into that date. A merged cell's value is in its first cell, the others
// empty, as the file holds them.
class XlsxSheet final : public Sheet {
  public:
    explicit XlsxSheet(const std::filesystem::path& file, const std::string& sheetName = {},
                       const SheetLimits& limits = {});
    ~XlsxSheet() override;

    bool next(SheetRow& row) override;
    std::string description() const override;

    const XlsxWorkbook& workbook() const { return workbook_; }

  private:
    class RowHandler;
    XlsxPackage package_;
    SheetLimits limits_;
    XlsxWorkbook workbook_;
    std::string sheetName_;
    bool hidden_ = false;
    std::unique_ptr<RowHandler> handler_;
    std::unique_ptr<XmlStream> stream_;
};

// The day an Excel serial number stands for ("46037" -> 2026-01-15; with the 1904 system, days from
// 1904-01-01), as yyyy-mm-dd; a fraction (the time of day) is dropped. Nothing before the first day or
// after 9999-12-31.
std::optional<std::string> serialDate(std::string_view number, bool system1904);

}  // namespace qrv
