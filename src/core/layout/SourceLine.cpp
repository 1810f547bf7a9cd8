#include "layout/SourceLine.h"

#include <algorithm>
#include <cstring>

#include "base/Cp874.h"
#include "io/LineReader.h"

namespace qrv::layout {

namespace {

constexpr std::string_view kAdvice = ". Please save it as Thai (code page 874) and retry";

// Whether a byte of the text is a control character (below 32, or 127): eight bytes at a time, as every
// text field of every line passes here.
bool holdsControl(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t x = 0;
        std::memcpy(&x, text.data() + i, 8);
        const std::uint64_t below32 = (x - kOnes * 0x20) & ~x & kHighs;
        const std::uint64_t del = x ^ (kOnes * 0x7F);
        const std::uint64_t is127 = (del - kOnes) & ~del & kHighs;
        if ((below32 | is127) != 0) {
            return true;
        }
    }
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

size_t widestLayout(SourceFile kind) {
    int widest = 0;
    for (const Layout* l : sourceLayouts(kind).layouts) {
        widest = std::max(widest, l->length);
    }
    return static_cast<size_t>(widest);
}

}  // namespace

TextNotCodePage874::TextNotCodePage874(const std::filesystem::path& file, const std::string& where)
    : SourceRefusal(
          file, "The file \"" + cp874::sanitizeUtf8(file.string()) + "\" " + where + std::string(kAdvice)) {}

void refuseUtf8Line(const std::filesystem::path& file, std::string_view line, std::int64_t lineNo,
                    bool mayHoldThai) {
    if (lineNo == 1 && line.starts_with(kUtf8ByteOrderMark)) {
        throw TextNotCodePage874(file, "starts with a UTF-8 byte-order mark");
    }
    if (mayHoldThai && isUtf8Thai(line)) {
        throw TextNotCodePage874(file,
                                 "holds Thai text saved as UTF-8 (line " + std::to_string(lineNo) + ")");
    }
}

SourceLine::SourceLine(const std::filesystem::path& path, SourceFile kind)
    : path_(path), width_(widestLayout(kind)) {
    buffer_.reserve(width_);
}

bool SourceLine::next(LineReader& reader) {
    std::string_view line;
    if (!reader.next(line)) {
        return false;
    }
    take(line, reader.lineNumber(), reader.lineHolds('\xE0'));
    return true;
}

void SourceLine::read(std::string_view text, std::int64_t lineNo) {
    take(text, lineNo, text.find('\xE0') != std::string_view::npos);
}

void SourceLine::take(std::string_view text, std::int64_t lineNo, bool mayHoldThai) {
    refuseUtf8Line(path_, text, lineNo, mayHoldThai);
    text_ = text;
    lineNo_ = lineNo;
    if (text.size() >= width_) {
        padded_ = text;
        return;
    }
    buffer_.assign(text);
    buffer_.resize(width_, ' ');
    padded_ = buffer_;
}

std::string_view SourceLine::operator[](const Field& field) const {
    return columnsOf(padded_, field);
}

Reading<std::int64_t> SourceLine::digits(const Field& field) const {
    const std::string_view t = (*this)[field];
    if (const std::optional<std::int64_t> n = numberOf(t, field)) {
        return *n;
    }
    return {lineNo_, field, Rule::Digits, t};
}

Reading<std::int64_t> SourceLine::number(const Field& field) const {
    const std::string_view t = (*this)[field];
    const size_t first = t.find_first_not_of(' ');
    const size_t last = t.find_last_not_of(' ');
    std::string_view digits =
        first == std::string_view::npos ? std::string_view() : t.substr(first, last - first + 1);
    if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos) {
        // Leading zeros are no part of the number: an account in a wide field is as long as it is.
        const size_t significant = std::min(digits.find_first_not_of('0'), digits.size() - 1);
        digits.remove_prefix(significant);
        if (digits.size() <= 18) {
            std::int64_t v = 0;
            for (const char c : digits) {
                v = v * 10 + (c - '0');
            }
            return v;
        }
    }
    return {lineNo_, field, Rule::Number, t};
}

Reading<Money> SourceLine::amount(const Field& field) const {
    const std::string_view t = (*this)[field];
    if (const std::optional<Money> value = amountOf(t, field)) {
        return *value;
    }
    return {lineNo_, field, Rule::Amount, t};
}

Reading<Date> SourceLine::date(const Field& field) const {
    const std::string_view t = (*this)[field];
    if (const std::optional<Date> date = dateOf(t, field)) {
        return *date;
    }
    return {lineNo_, field, Rule::Date, t};
}

Reading<std::string_view> SourceLine::code(const Field& field) const {
    const std::string_view t = (*this)[field];
    if (isCodeOf(t, field)) {
        return t;
    }
    return {lineNo_, field, Rule::Code, t};
}

Reading<AccountNumber> SourceLine::account(const Field& field) const {
    const std::string_view t = (*this)[field];
    if (std::optional<AccountNumber> account = AccountNumber::checked(t)) {
        return std::move(*account);
    }
    return {lineNo_, field, Rule::Account, t};
}

Reading<std::string_view> SourceLine::text(const Field& field) const {
    const std::string_view t = (*this)[field];
    if (holdsControl(t)) {
        return {lineNo_, field, Rule::Text, t};
    }
    return t;
}

void SourceLine::fail(const FieldFault& fault) const {
    if (fault.rule == Rule::Text || fault.rule == Rule::Fits) {
        throw SourceRefusal(path_, fault.message(path_));
    }
    throw FieldFaultError(path_, fault);
}

std::string SourceLine::place(const Field& field) const {
    return "\"" + cp874::sanitizeUtf8(path_.string()) + "\" " +
           FieldFault{lineNo_, &field, Rule::Digits, {}, nullptr}.place();
}

}  // namespace qrv::layout
