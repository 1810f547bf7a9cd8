#include "layout/FieldRules.h"

#include "base/FieldHelpers.h"
#include "io/InputGuards.h"

namespace qrv::layout {

namespace {

bool allDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string_view columnsOf(std::string_view line, const Field& field) {
    return Columns(line, field.first, field.last);
}

std::string_view spanOf(std::string_view line, const Field& from, const Field& to) {
    return Columns(line, from.first, to.last);
}

bool holdsDigits(std::string_view text, const Field& field) {
    return static_cast<int>(text.size()) == field.width() && allDigits(text);
}

std::optional<std::int64_t> numberOf(std::string_view text, const Field& field) {
    if (!holdsDigits(text, field)) {
        return std::nullopt;
    }
    return ToInteger(text);
}

std::optional<Money> amountOf(std::string_view text, const Field& field) {
    if (static_cast<int>(text.size()) != field.width()) {
        return std::nullopt;
    }
    const bool negative = field.isSigned && text.front() == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    // Nothing but digits: the reading refuses anything else.
    const std::optional<Money> value = Money::fromImpliedDecimals(digits, field.decimals);
    if (!value || !negative) {
        return value;
    }
    return Money::fromUnits(-value->units());
}

DateParts datePartsOf(std::string_view text, const Field& field) {
    const auto at = [text](int from, int to) { return std::string(Columns(text, from, to)); };
    switch (field.form) {
        case DateForm::DdMmYy:
            return {"20" + at(5, 6), at(3, 4), at(1, 2)};
        case DateForm::DdMmYyyy:
            return {at(5, 8), at(3, 4), at(1, 2)};
        case DateForm::YyyyMmDd:
            return {at(1, 4), at(5, 6), at(7, 8)};
        case DateForm::YyMmDd:
            return {"20" + at(1, 2), at(3, 4), at(5, 6)};
        case DateForm::YyyyMmDdSeparated:
            return {at(1, 4), at(6, 7), at(9, 10)};
        case DateForm::None:
            break;
    }
    return {};
}

bool holdsDate(std::string_view text, const Field& field) {
    if (static_cast<int>(text.size()) != field.width()) {
        return false;
    }
    const DateParts parts = datePartsOf(text, field);
    if (field.form == DateForm::YyyyMmDdSeparated) {
        if (!allDigits(parts.year) || !allDigits(parts.month) || !allDigits(parts.day)) {
            return false;
        }
    } else if (!allDigits(text)) {
        return false;
    }
    return IsValidDate(parts.year, parts.month, parts.day);
}

bool isCodeOf(std::string_view text, const Field& field) {
    std::string_view codes = field.codes;
    while (!codes.empty()) {
        const size_t bar = codes.find('|');
        if (codes.substr(0, bar) == text) {
            return true;
        }
        codes = bar == std::string_view::npos ? std::string_view() : codes.substr(bar + 1);
    }
    return false;
}

bool isUtf8Thai(std::string_view text) {
    // Every UTF-8 sequence of the Thai block starts with E0: a text without that byte (nearly every field)
    // is let through by one fast scan.
    if (text.find('\xE0') == std::string_view::npos) {
        return false;
    }
    return looksLikeUtf8Thai(text, true);
}

}  // namespace qrv::layout
