#include "convert/source/FieldFill.h"

#include <cstdio>

#include "base/FieldHelpers.h"
#include "layout/FieldRules.h"

namespace qrv {
namespace {

using layout::DateForm;
using layout::Field;
using layout::Kind;

using Filled = CellReading<FieldText>;

std::string two(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n % 100);
    return buf;
}

std::string four(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04d", n);
    return buf;
}

Filled dateText(const Date& d, DateForm form) {
    const bool twoDigitYear = form == DateForm::DdMmYy || form == DateForm::YyMmDd;
    if (twoDigitYear && (d.year < 2000 || d.year > 2099)) {
        return Filled::wrong("the year " + std::to_string(d.year) +
                             " is outside 2000-2099, which the field's two digits hold");
    }
    switch (form) {
        case DateForm::DdMmYy:
            return Filled::ok({two(d.day) + two(d.month) + two(d.year), {}, {}});
        case DateForm::DdMmYyyy:
            return Filled::ok({two(d.day) + two(d.month) + four(d.year), {}, {}});
        case DateForm::YyyyMmDd:
            return Filled::ok({four(d.year) + two(d.month) + two(d.day), {}, {}});
        case DateForm::YyMmDd:
            return Filled::ok({two(d.year) + two(d.month) + two(d.day), {}, {}});
        case DateForm::YyyyMmDdSeparated:
            return Filled::ok({four(d.year) + "/" + two(d.month) + "/" + two(d.day), {}, {}});
        case DateForm::None:
            break;
    }
    return Filled::wrong("has no date form");
}

std::string codesText(std::string_view codes) {
    std::string text;
    for (const char c : codes) {
        text += c == '|' ? std::string(", ") : std::string(1, c);
    }
    return text;
}

Filled fillAmount(const SheetCell& cell, const Field& field) {
    CellReading<SheetAmount> read = readAmount(cell, field.decimals);
    if (!read) {
        return Filled::wrong(read.fault);
    }
    if (read.value->value.units() == 0) {
        return Filled::wrong("the amount is zero; it must be above zero");
    }
    if (static_cast<int>(read.value->digits.size()) > field.width()) {
        return Filled::wrong("\"" + read.value->value.toText2() + "\" is too large for the field's " +
                             std::to_string(field.width()) + " digits");
    }
    const std::string zeros(static_cast<size_t>(field.width()) - read.value->digits.size(), '0');
    return Filled::ok({zeros + read.value->digits, read.value->value, {}});
}

}  // namespace

Filled fillField(const SheetCell& cell, const Field& field, const ReadingRules& rules, bool homeAccount) {
    switch (field.kind) {
        case Kind::Digits: {
            CellReading<std::string> read =
                homeAccount ? readAccount(cell, field.width()) : readDigits(cell, field.width());
            if (!read) {
                return Filled::wrong(read.fault);
            }
            if (homeAccount && !IsValidAccountNo(*read.value)) {
                return Filled::wrong("the account " + *read.value + " is not a valid account of the bank " +
                                     "(check digit, or all zeros)");
            }
            return Filled::ok({std::move(*read.value), {}, {}});
        }
        case Kind::Amount:
            return fillAmount(cell, field);
        case Kind::Date: {
            const CellReading<Date> read = readDate(cell, rules);
            if (!read) {
                return Filled::wrong(read.fault);
            }
            Filled filled = dateText(*read.value, field.form);
            if (filled) {
                filled.value->date = *read.value;
            }
            return filled;
        }
        case Kind::Code: {
            CellReading<std::string> read = readText(cell, field.width());
            if (read && !layout::isCodeOf(*read.value, field)) {
                return Filled::wrong(cell.empty()
                                         ? std::string("is empty")
                                         : "\"" + cell.text + "\" is not one of " + codesText(field.codes));
            }
            return read ? Filled::ok({std::move(*read.value), {}, {}}) : Filled::wrong(read.fault);
        }
        case Kind::Text: {
            CellReading<std::string> read = readText(cell, field.width());
            return read ? Filled::ok({std::move(*read.value), {}, {}}) : Filled::wrong(read.fault);
        }
        case Kind::Filler:
        case Kind::Unread:
            break;
    }
    return Filled::ok({});
}

}  // namespace qrv
