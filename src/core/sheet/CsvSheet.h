#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "sheet/Sheet.h"
#include "sheet/TextEncoding.h"

namespace qrv {

// A CSV file as a spreadsheet program saves it: fields separated by commas, semicolons or tabs (whichever
// the first row holds most of, unless given), a field in double quotes may hold separators, quotes ("")
// and line breaks. The text is UTF-16 or UTF-32 with a byte-order mark (a spreadsheet's "Unicode text"),
// UTF-8 with or without one, or code page 874: without a UTF-16 or UTF-32 mark a first reading of the
// whole file weighs the evidence (EncodingSurvey), and the bytes of a UTF-8 file that are not UTF-8 are
// read as U+FFFD and counted in the description. A row is a record, so a line break inside quotes does
// not start a row; an empty line is a row holding nothing.
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
    // Reads and decodes the next block into `buffer_`; false at the end of the file.
    bool fill();
    bool readRecord(SheetRow& row);
    void endField(SheetRow& row, std::string& field, bool quoted);

    std::ifstream in_;
    std::optional<TextDecoder> decoder_;  // none for a file read as it is (ASCII, UTF-8 without stray bytes)
    bool decoderFinished_ = false;
    std::string raw_;
    std::string buffer_;  // UTF-8
    size_t pos_ = 0;
    size_t end_ = 0;
    TextEncoding encoding_ = TextEncoding::Ascii;
    std::int64_t strayBytes_ = 0;
    std::int64_t firstStrayLine_ = 0;
    char separator_ = ',';
    SheetLimits limits_;
    std::int64_t record_ = 0;
    std::uint64_t rowBytes_ = 0;  // text of the row read so far
};

}  // namespace qrv
