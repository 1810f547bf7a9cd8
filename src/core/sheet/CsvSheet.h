#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "sheet/Sheet.h"

namespace qrv {

enum class TextEncoding { Ascii, Utf8, Utf8WithBom, CodePage874 };

// "ASCII", "UTF-8", "UTF-8 with byte-order mark", "code page 874 (Windows Thai)".
std::string_view encodingName(TextEncoding encoding);

// A CSV file as a spreadsheet program saves it: fields separated by commas or semicolons (whichever the
// first row holds more of, unless given), a field in double quotes may hold separators, quotes ("") and
// line breaks. The text is UTF-8, with or without a byte-order mark, or code page 874: a first reading of
// the whole file decides (UTF-8 when every byte sequence is valid UTF-8). A row is a record, so a line
// break inside quotes does not start a row; an empty line is a row holding nothing.
class CsvSheet final : public Sheet {
  public:
    explicit CsvSheet(const std::filesystem::path& file, std::optional<char> separator = std::nullopt,
                      const SheetLimits& limits = {});

    bool next(SheetRow& row) override;
    std::string description() const override;

    TextEncoding encoding() const { return encoding_; }
    char separator() const { return separator_; }

  private:
    void detectEncoding(const std::filesystem::path& file);
    char detectSeparator() const;
    bool fill();
    bool readRecord(SheetRow& row);
    void endField(SheetRow& row, std::string& field, bool quoted);

    std::ifstream in_;
    std::string buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    TextEncoding encoding_ = TextEncoding::Ascii;
    char separator_ = ',';
    SheetLimits limits_;
    std::int64_t record_ = 0;
    std::uint64_t rowBytes_ = 0;  // text of the row read so far
};

}  // namespace qrv
