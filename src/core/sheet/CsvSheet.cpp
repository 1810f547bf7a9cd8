#include "sheet/CsvSheet.h"

#include <algorithm>

namespace qrv {
namespace {

constexpr size_t kBlock = 64 * 1024;
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string separatorName(char separator) {
    return separator == ';' ? "semicolon-separated" : separator == '\t' ? "tab-separated" : "comma-separated";
}

}  // namespace

CsvSheet::CsvSheet(const std::filesystem::path& file, std::optional<char> separator,
                   const SheetLimits& limits)
    : limits_(limits) {
    detectEncoding(file);
    in_.open(file, std::ios::binary);
    if (!in_) {
        throw SheetError("Cannot open \"" + file.string() + "\"");
    }
    const bool asItIs = (encoding_ == TextEncoding::Ascii || encoding_ == TextEncoding::Utf8 ||
                         encoding_ == TextEncoding::Utf8WithBom) &&
                        strayBytes_ == 0;
    if (!asItIs) {
        decoder_.emplace(encoding_);
    }
    fill();
    if (std::string_view(buffer_).substr(0, kBom.size()) == kBom) {
        pos_ = kBom.size();  // the byte-order mark, in whichever encoding it came
    }
    separator_ = separator ? *separator : detectSeparator();
}

void CsvSheet::detectEncoding(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw SheetError("Cannot open \"" + file.string() + "\"");
    }
    std::string block(kBlock, '\0');
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    std::string_view bytes(block.data(), static_cast<size_t>(in.gcount()));
    if (const std::optional<TextEncoding> mark = byteOrderMark(bytes);
        mark && *mark != TextEncoding::Utf8WithBom) {
        encoding_ = *mark;
        return;
    }
    EncodingSurvey survey;
    while (!bytes.empty()) {
        survey.feed(bytes);
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        bytes = std::string_view(block.data(), static_cast<size_t>(in.gcount()));
    }
    survey.finish();
    if (survey.holdsNul()) {
        throw SheetError("The file holds NUL bytes, which no CSV text holds: it is no CSV file (or it is " +
                         std::string("UTF-16 text without its byte-order mark: save it again as CSV)"));
    }
    encoding_ = survey.verdict();
    strayBytes_ = survey.strayBytes();
    firstStrayLine_ = survey.firstStrayLine();
}

char CsvSheet::detectSeparator() const {
    int commas = 0;
    int semicolons = 0;
    int tabs = 0;
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
            tabs += c == '\t';
        }
    }
    if (tabs > commas && tabs > semicolons) {
        return '\t';
    }
    return semicolons > commas ? ';' : ',';
}

bool CsvSheet::fill() {
    pos_ = 0;
    end_ = 0;
    while (end_ == 0) {
        if (!in_) {
            if (!decoder_ || decoderFinished_) {
                return false;
            }
            buffer_.clear();
            decoder_->finish(buffer_);
            decoderFinished_ = true;
        } else if (!decoder_) {
            buffer_.resize(kBlock);
            in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
            buffer_.resize(static_cast<size_t>(in_.gcount()));
        } else {
            raw_.resize(kBlock);
            in_.read(raw_.data(), static_cast<std::streamsize>(raw_.size()));
            buffer_.clear();
            decoder_->decode(std::string_view(raw_.data(), static_cast<size_t>(in_.gcount())), buffer_);
        }
        end_ = buffer_.size();
    }
    return true;
}

std::string CsvSheet::description() const {
    std::string text = "CSV, " + std::string(encodingName(encoding_)) + ", " + separatorName(separator_);
    if (strayBytes_ > 0) {
        text += ", " + std::to_string(strayBytes_) +
                (strayBytes_ == 1 ? " byte that is" : " bytes that are") +
                " not UTF-8 read as U+FFFD (the first on line " + std::to_string(firstStrayLine_) + ")";
    }
    return text;
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
        cell.text = std::move(field);
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
