#include "sheet/CsvSheet.h"

#include <algorithm>

#include "base/Cp874.h"

namespace qrv {
namespace {

constexpr size_t kBlock = 64 * 1024;
constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Checks UTF-8 across blocks: a sequence cut by the end of a block is finished by the next one.
class Utf8Check {
  public:
    // False at the first byte that cannot be UTF-8.
    bool feed(std::string_view bytes) {
        for (const char ch : bytes) {
            const auto b = static_cast<unsigned char>(ch);
            if (pending_ > 0) {
                if ((b & 0xC0) != 0x80 || (first_ && (b < low_ || b > high_))) {
                    return false;
                }
                first_ = false;
                --pending_;
                continue;
            }
            if (b < 0x80) {
                continue;
            }
            nonAscii_ = true;
            first_ = true;
            low_ = 0x80;
            high_ = 0xBF;
            if (b >= 0xC2 && b <= 0xDF) {
                pending_ = 1;
            } else if (b >= 0xE0 && b <= 0xEF) {
                pending_ = 2;
                low_ = b == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
                high_ = b == 0xED ? 0x9F : 0xBF;  // no surrogates
            } else if (b >= 0xF0 && b <= 0xF4) {
                pending_ = 3;
                low_ = b == 0xF0 ? 0x90 : 0x80;
                high_ = b == 0xF4 ? 0x8F : 0xBF;
            } else {
                return false;
            }
        }
        return true;
    }
    bool complete() const { return pending_ == 0; }
    bool nonAscii() const { return nonAscii_; }

  private:
    int pending_ = 0;
    bool first_ = false;
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
    bool nonAscii_ = false;
};

}  // namespace

std::string_view encodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ascii:
            return "ASCII";
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Utf8WithBom:
            return "UTF-8 with byte-order mark";
        case TextEncoding::CodePage874:
            return "code page 874 (Windows Thai)";
    }
    return "";
}

CsvSheet::CsvSheet(const std::filesystem::path& file, std::optional<char> separator,
                   const SheetLimits& limits)
    : limits_(limits) {
    detectEncoding(file);
    in_.open(file, std::ios::binary);
    if (!in_) {
        throw SheetError("Cannot open \"" + file.string() + "\"");
    }
    buffer_.resize(kBlock);
    fill();
    if (encoding_ == TextEncoding::Utf8WithBom) {
        pos_ = kBom.size();
    }
    separator_ = separator ? *separator : detectSeparator();
}

void CsvSheet::detectEncoding(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw SheetError("Cannot open \"" + file.string() + "\"");
    }
    std::string block(kBlock, '\0');
    Utf8Check utf8;
    bool first = true;
    bool bom = false;
    std::int64_t line = 1;
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const std::string_view bytes(block.data(), static_cast<size_t>(in.gcount()));
        if (first) {
            bom = bytes.substr(0, kBom.size()) == kBom;
            first = false;
        }
        if (!utf8.feed(bytes)) {
            if (bom) {
                // Find the line of the first byte that is not UTF-8, for the message.
                Utf8Check again;
                for (size_t i = 0; i < bytes.size(); ++i) {
                    if (!again.feed(bytes.substr(i, 1))) {
                        break;
                    }
                    line += bytes[i] == '\n';
                }
                throw SheetError("The file starts as UTF-8 (byte-order mark) but line " +
                                 std::to_string(line) + " is not UTF-8");
            }
            encoding_ = TextEncoding::CodePage874;
            return;
        }
        for (const char c : bytes) {
            line += c == '\n';
        }
    }
    if (!utf8.complete()) {  // a sequence cut by the end of the file
        if (bom) {
            throw SheetError("The file starts as UTF-8 (byte-order mark) but line " + std::to_string(line) +
                             " is not UTF-8");
        }
        encoding_ = TextEncoding::CodePage874;
    } else if (bom) {
        encoding_ = TextEncoding::Utf8WithBom;
    } else {
        encoding_ = utf8.nonAscii() ? TextEncoding::Utf8 : TextEncoding::Ascii;
    }
}

char CsvSheet::detectSeparator() const {
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (size_t i = pos_; i < end_; ++i) {
        const char c = buffer_[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted) {
            commas += c == ',';
            semicolons += c == ';';
        }
    }
    return semicolons > commas ? ';' : ',';
}

bool CsvSheet::fill() {
    if (!in_) {
        return false;
    }
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    pos_ = 0;
    end_ = static_cast<size_t>(in_.gcount());
    return end_ > 0;
}

std::string CsvSheet::description() const {
    return "CSV, " + std::string(encodingName(encoding_)) + ", " +
           (separator_ == ';' ? "semicolon-separated" : "comma-separated");
}

void CsvSheet::endField(SheetRow& row, std::string& field, bool quoted) {
    if (row.cells.size() >= static_cast<size_t>(limits_.maxColumns)) {
        throw SheetError("Row " + std::to_string(row.number) + " has more than " +
                         std::to_string(limits_.maxColumns) + " columns");
    }
    rowBytes_ += field.size();
    if (rowBytes_ > limits_.maxRowBytes) {
        throw SheetError("Row " + std::to_string(row.number) + " holds more than " +
                         std::to_string(limits_.maxRowBytes) + " bytes");
    }
    SheetCell& cell = row.cells.emplace_back();
    if (!field.empty() || quoted) {
        cell.kind = field.empty() ? SheetCell::Kind::Empty : SheetCell::Kind::Text;
        cell.text = encoding_ == TextEncoding::CodePage874 ? cp874::toUtf8(field) : std::move(field);
    }
    field.clear();
}

bool CsvSheet::readRecord(SheetRow& row) {
    row.cells.clear();
    rowBytes_ = 0;
    if (pos_ >= end_ && !fill()) {
        return false;
    }
    row.number = ++record_;
    std::string field;
    bool quoted = false;     // inside quotes
    bool wasQuoted = false;  // the field began with a quote
    for (;;) {
        if (pos_ >= end_ && !fill()) {
            if (quoted) {
                throw SheetError("Row " + std::to_string(row.number) +
                                 ": a quoted field is not closed before the end of the file");
            }
            endField(row, field, wasQuoted);
            return true;
        }
        const char c = buffer_[pos_++];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (pos_ < end_ || fill()) {
                if (buffer_[pos_] == '"') {
                    field += '"';
                    ++pos_;
                } else {
                    quoted = false;
                }
            } else {
                quoted = false;
            }
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == separator_) {
            endField(row, field, wasQuoted);
            wasQuoted = false;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && (pos_ < end_ || fill()) && buffer_[pos_] == '\n') {
                ++pos_;
            }
            endField(row, field, wasQuoted);
            return true;
        } else {
            field += c;  // a quote inside an unquoted field, or text after a closing quote, is kept
        }
        if (field.size() > limits_.maxCellBytes) {
            throw SheetError("Row " + std::to_string(row.number) + ", column " +
                             columnLetters(static_cast<int>(row.cells.size())) + " holds more than " +
                             std::to_string(limits_.maxCellBytes) + " bytes");
        }
    }
}

bool CsvSheet::next(SheetRow& row) {
    while (readRecord(row)) {
        if (std::any_of(row.cells.begin(), row.cells.end(), [](const SheetCell& c) { return !c.empty(); })) {
            return true;
        }
    }
    return false;
}

}  // namespace qrv
