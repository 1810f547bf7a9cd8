#include "layout/FieldRules.h"

#include <cstdint>

#include "base/EightDigits.h"
#include "base/FieldHelpers.h"
#include "io/InputGuards.h"

namespace qrv::layout {

namespace {

bool allDigits(std::string_view text) {
    if (text.size() < 8) {
        for (const char c : text) {
            if (c < '0' || c > '9') {
                return false;
            }
        }
        return true;
    }
    for (size_t i = 0; i + 8 < text.size(); i += 8) {
        if (!AreEightDigits(text.data() + i)) {
            return false;
        }
    }
    return AreEightDigits(text.data() + text.size() - 8);  // the last eight, overlapping those before
}

// The value of a text of digits only (18 at most).
std::int64_t digitValue(std::string_view text) {
    std::int64_t v = 0;
    for (const char c : text) {
        v = v * 10 + (c - '0');
    }
    return v;
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
    if (text.size() > 18) {
        return ToInteger(text);  // it may not fit
    }
    return digitValue(text);
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

std::optional<Date> dateOf(std::string_view text, const Field& field) {
    if (static_cast<int>(text.size()) != field.width()) {
        return std::nullopt;
    }
    const DateParts parts = datePartsOf(text, field);
    if (field.form == DateForm::YyyyMmDdSeparated) {
        if (!allDigits(parts.year) || !allDigits(parts.month) || !allDigits(parts.day)) {
            return std::nullopt;
        }
    } else if (!allDigits(text)) {
        return std::nullopt;
    }
    if (!IsValidDate(parts.year, parts.month, parts.day)) {
        return std::nullopt;
    }
    return Date{static_cast<int>(digitValue(parts.year)), static_cast<int>(digitValue(parts.month)),
                static_cast<int>(digitValue(parts.day))};
}

bool holdsDate(std::string_view text, const Field& field) {
    return dateOf(text, field).has_value();
}

bool isCodeOf(std::string_view text, const Field& field) {
    // Compared by hand: the list is a few short codes, and the record type of every line comes here.
    const std::string_view codes = field.codes;
    size_t at = 0;  // where the text matches the code being walked so far, or npos once it does not
    for (const char c : codes) {
        if (c == '|') {
            if (at == text.size()) {
                return true;
            }
            at = 0;
        } else if (at != std::string_view::npos) {
            at = at < text.size() && text[at] == c ? at + 1 : std::string_view::npos;
        }
    }
    return !codes.empty() && at == text.size();
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
