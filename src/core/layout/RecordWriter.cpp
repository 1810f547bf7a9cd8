#include "layout/RecordWriter.h"

#include <algorithm>
#include <charconv>

#include "base/AccountNumber.h"
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
}

void RecordWriter::keepAsDefaults() {
    defaults_ = text_;
}

FieldOverflow RecordWriter::overflow(const Field& field, const std::string& value) const {
    return FieldOverflow(std::string(field.name) + " of " + std::string(layout_.name) + " (columns " +
                             columnsText(field) + ")",
                         value, field.width());
}

void RecordWriter::put(const Field& field, std::string_view value, char fill, bool right) {
    const size_t width = static_cast<size_t>(field.width());
    if (value.size() > width) {
        throw overflow(field, "\"" + cp874::toUtf8(value) + "\"");
    }
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
    const std::span<char> at(text_.data() + (field.first - 1), static_cast<size_t>(field.width()));
    if (!value.fillAmountField(at)) {
        throw overflow(field, value.toText2() + " baht");
    }
}

void RecordWriter::account(const Field& account, const Field& type, const Field& branch,
                           const AccountNumber& value) {
    text(account, value.text());
    const char typeText[2] = {'0', value.type().front()};
    text(type, std::string_view(typeText, 2));
    const std::string_view b = value.branch();
    const char branchText[4] = {'0', b[0], b[1], b[2]};
    text(branch, std::string_view(branchText, 4));
}

}  // namespace qrv::layout
