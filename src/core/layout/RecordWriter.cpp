#include "layout/RecordWriter.h"

#include <algorithm>
#include <charconv>

#include "base/Cp874.h"
#include "base/FieldWidth.h"

namespace qrv::layout {

std::string defaultRecord(const Layout& layout) {
    std::string text;
    text.reserve(static_cast<size_t>(layout.length));
    for (const Field& f : layout.fields) {
        if (!f.preset.empty()) {
            text += f.preset;
        } else {
            const bool number = f.kind == Kind::Digits || f.kind == Kind::Amount;
            text.append(static_cast<size_t>(f.width()), number ? '0' : ' ');
        }
    }
    return text;
}

RecordWriter::RecordWriter(const Layout& layout)
    : layout_(layout), defaults_(defaultRecord(layout)), text_(defaults_) {}

void RecordWriter::reset() {
    text_.assign(defaults_);
    irregular_.assign(defaultIrregular_.begin(), defaultIrregular_.end());
}

void RecordWriter::keepAsDefaults() {
    defaults_ = text_;
    defaultIrregular_ = irregular_;
}

void RecordWriter::put(const Field& field, std::string_view value, char fill, bool right) {
    const size_t width = static_cast<size_t>(field.width());
    if (value.size() > width) {
        throw FieldOverflow(std::string(field.name) + " of " + std::string(layout_.name),
                            cp874::toUtf8(value), field.width());
    }
    forget(field);
    char* at = text_.data() + (field.first - 1);
    const size_t pad = width - value.size();
    if (right) {
        std::fill_n(at, pad, fill);
        std::copy(value.begin(), value.end(), at + pad);
    } else {
        std::copy(value.begin(), value.end(), at);
        std::fill_n(at + value.size(), pad, fill);
    }
}

void RecordWriter::text(const Field& field, std::string_view value) {
    put(field, value, ' ', false);
}

void RecordWriter::digits(const Field& field, std::string_view value) {
    put(field, value, '0', true);
}

void RecordWriter::number(const Field& field, std::int64_t value) {
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    digits(field, std::string_view(buf, static_cast<size_t>(end - buf)));
}

void RecordWriter::amount(const Field& field, Money value) {
    const std::string text = value.toAmountField(field.width());
    if (static_cast<int>(text.size()) > field.width()) {
        throw FieldOverflow(std::string(field.name) + " of " + std::string(layout_.name),
                            value.toText2() + " baht", field.width());
    }
    put(field, text, '0', true);
}

void RecordWriter::amountDigits(const Field& field, std::string_view digits, int decimals) {
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative) {
        digits.remove_prefix(1);
    }
    char buf[64];
    const size_t extra = static_cast<size_t>(field.decimals > decimals ? field.decimals - decimals : 0);
    const size_t size = digits.size() + extra;
    if (size + (negative ? 1 : 0) > static_cast<size_t>(field.width()) || size > sizeof buf) {
        throw FieldOverflow(std::string(field.name) + " of " + std::string(layout_.name),
                            cp874::toUtf8(digits), field.width());
    }
    std::copy(digits.begin(), digits.end(), buf);
    std::fill_n(buf + digits.size(), extra, '0');
    put(field, std::string_view(buf, size), '0', true);
    if (negative) {
        text_[static_cast<size_t>(field.first - 1)] = '-';
    }
}

void RecordWriter::copy(const Field& field, std::string_view value, const Field& from) {
    text(field, value);
    if (static_cast<int>(value.size()) < from.width()) {
        irregular_.push_back({&field, field.width() - (from.width() - static_cast<int>(value.size())), {}});
    }
}

void RecordWriter::putWhole(const Field& field, std::string_view value, char fill, bool right) {
    if (static_cast<int>(value.size()) <= field.width()) {
        put(field, value, fill, right);
        return;
    }
    forget(field);
    irregular_.push_back({&field, 0, std::string(value)});
}

void RecordWriter::forget(const Field& field) {
    if (!irregular_.empty()) {
        std::erase_if(irregular_, [&field](const Irregular& i) { return i.field->first == field.first; });
    }
}

void RecordWriter::wholeText(const Field& field, std::string_view value) {
    putWhole(field, value, ' ', false);
}

void RecordWriter::wholeDigits(const Field& field, std::string_view value) {
    putWhole(field, value, '0', true);
}

const std::string& RecordWriter::record() {
    if (irregular_.empty()) {
        return text_;
    }
    // The fields in order, each irregular one as long as its value.
    std::sort(irregular_.begin(), irregular_.end(),
              [](const Irregular& a, const Irregular& b) { return a.field->first < b.field->first; });
    joined_.clear();
    size_t next = 0;
    for (const Irregular& i : irregular_) {
        const size_t begin = static_cast<size_t>(i.field->first - 1);
        joined_.append(text_, next, begin - next);
        if (i.text.empty()) {
            joined_.append(text_, begin, static_cast<size_t>(std::max(i.length, 0)));
        } else {
            joined_ += i.text;
        }
        next = static_cast<size_t>(i.field->last);
    }
    joined_.append(text_, next, std::string::npos);
    return joined_;
}

}  // namespace qrv::layout
