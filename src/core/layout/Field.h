#pragma once

#include <span>
#include <string>
#include <string_view>

// One fixed-width field of a record: its name in domain words, its columns (1-based, inclusive), its
// kind and the default a record holds until the field is set. A layout is the ordered list of fields of
// one record; each is constexpr data and checked at compile time to tile its record.
namespace qrv::layout {

enum class Kind : unsigned char {
    Digits,  // a number of exactly `width` digits
    Amount,  // digits with `decimals` implied decimals (a signed amount may start with "-")
    Date,    // a date in its form
    Code,    // one value of a list
    Text,    // any text (code page 874)
    Filler,  // blanks, always
    Unread,  // columns of a source line that nothing reads
};

enum class DateForm : unsigned char {
    None,
    DdMmYy,  // the century "20" put in front of yy
    DdMmYyyy,
    YyyyMmDd,
    YyMmDd,
    YyyyMmDdSeparated,  // yyyy?mm?dd: any character between the parts
};

struct Field {
    std::string_view name;
    int first = 0;
    int last = 0;
    Kind kind = Kind::Unread;
    int decimals = 0;                // Amount
    bool isSigned = false;           // Amount: "-" in the first column, then digits
    DateForm form = DateForm::None;  // Date
    std::string_view codes;          // Code: the values, separated by "|"
    std::string_view preset;         // the default; empty: blanks (zeros for digits and amounts)
    std::string_view rule;           // what the field must hold, in words

    constexpr int width() const { return last - first + 1; }
    constexpr bool operator==(const Field& other) const {
        return first == other.first && last == other.last && name == other.name;
    }
};

// The constructors of the kinds.
constexpr Field digits(std::string_view name, int first, int last, std::string_view rule = {},
                       std::string_view preset = {}) {
    return Field{name, first, last, Kind::Digits, 0, false, DateForm::None, {}, preset, rule};
}
constexpr Field amount(std::string_view name, int first, int last, int decimals, std::string_view rule = {},
                       std::string_view preset = {}) {
    return Field{name, first, last, Kind::Amount, decimals, false, DateForm::None, {}, preset, rule};
}
constexpr Field signedAmount(std::string_view name, int first, int last, int decimals,
                             std::string_view rule = {}, std::string_view preset = {}) {
    return Field{name, first, last, Kind::Amount, decimals, true, DateForm::None, {}, preset, rule};
}
constexpr Field date(std::string_view name, int first, int last, DateForm form, std::string_view rule = {}) {
    return Field{name, first, last, Kind::Date, 0, false, form, {}, {}, rule};
}
constexpr Field code(std::string_view name, int first, int last, std::string_view codes,
                     std::string_view rule = {}, std::string_view preset = {}) {
    return Field{name, first, last, Kind::Code, 0, false, DateForm::None, codes, preset, rule};
}
constexpr Field text(std::string_view name, int first, int last, std::string_view rule = {},
                     std::string_view preset = {}) {
    return Field{name, first, last, Kind::Text, 0, false, DateForm::None, {}, preset, rule};
}
constexpr Field filler(int first, int last, std::string_view name = "reserved") {
    return Field{name, first, last, Kind::Filler, 0, false, DateForm::None, {}, {}, {}};
}
constexpr Field unread(int first, int last) {
    return Field{"not read", first, last, Kind::Unread, 0, false, DateForm::None, {}, {}, {}};
}

// The field `by` columns further on (a file that moves a field, as the control shift of a 100M file).
constexpr Field shifted(Field field, int by) {
    field.first += by;
    field.last += by;
    return field;
}

// The fields of one record, in order.
struct Layout {
    std::string_view name;
    std::span<const Field> fields;
    int length = 0;
};

// The fields follow one another from column 1 with no gap or overlap and end at the layout's length;
// every default has its field's width.
constexpr bool tiles(const Layout& layout) {
    int next = 1;
    for (const Field& f : layout.fields) {
        if (f.first != next || f.last < f.first || f.name.empty()) {
            return false;
        }
        if (!f.preset.empty() && static_cast<int>(f.preset.size()) != f.width()) {
            return false;
        }
        next = f.last + 1;
    }
    return next == layout.length + 1;
}

// A field's columns as listings and error rows print them: "18-28", or "17" for one column.
std::string columnsText(const Field& field);

// The words for a kind ("digits", "amount", ...), for people.
std::string_view kindName(Kind kind);
// The form of a date for people ("ddmmyy", "yyyy?mm?dd").
std::string_view dateFormName(DateForm form);
// A field's kind with what it takes: "amount, 2 decimals", "date ddmmyy", "code M|H|W".
std::string kindText(const Field& field);

}  // namespace qrv::layout
