#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Money.h"
#include "layout/Field.h"

// Writing one record of a layout: the record's default text is prepared once, and each value set is
// formatted into its field's columns (text left-aligned and blank-filled, numbers right-aligned and
// zero-filled). A value wider than its field is refused (FieldOverflow naming the field): it would shift
// every field after it.
namespace qrv::layout {

class RecordWriter {
  public:
    explicit RecordWriter(const Layout& layout);

    // Every field back to its default.
    void reset();
    // The values set so far become the defaults that reset() returns to (what every record of a run shares),
    // a short copy or a whole text with its length.
    void keepAsDefaults();

    // Text, left-aligned and blank-filled.
    void text(const Field& field, std::string_view value);
    // Digits, right-aligned and zero-filled.
    void digits(const Field& field, std::string_view value);
    void number(const Field& field, std::int64_t value);
    // An amount field: thousandths of a baht, zero-filled; a negative amount with "-" first.
    void amount(const Field& field, Money value);
    // An amount field from the plain digits of a source amount with `decimals` implied decimals (fewer
    // than the field's): the digits, zeros appended to the field's decimals, zero-filled on the left.
    void amountDigits(const Field& field, std::string_view digits, int decimals);
    // A source field copied as it stands: when the source line ended inside it (`value` shorter than the
    // source field `from`), the record is that many characters shorter, as the value is.
    void copy(const Field& field, std::string_view value, const Field& from);
    // The fields whose longer value the records' definition writes whole, the record growing by as much
    // (the company id of the header, the cheque's pickup branch, a tax rate of 100 per cent or more):
    // text blank-filled, digits zero-filled, and never cut.
    void wholeText(const Field& field, std::string_view value);
    void wholeDigits(const Field& field, std::string_view value);

    // The record as it stands.
    const std::string& record();

  private:
    void put(const Field& field, std::string_view value, char fill, bool right);
    void putWhole(const Field& field, std::string_view value, char fill, bool right);
    void forget(const Field& field);  // a field set again is regular until made otherwise

    // A field whose text is not its width: shorter (a copy of a short source field) or longer (written
    // whole).
    struct Irregular {
        const Field* field;
        int length;        // shorter: what of the field's columns the record keeps
        std::string text;  // longer: the whole text
    };

    const Layout& layout_;
    std::string defaults_;
    std::string text_;
    std::vector<Irregular> irregular_;
    std::vector<Irregular> defaultIrregular_;
    std::string joined_;
};

// The default text of a layout's record.
std::string defaultRecord(const Layout& layout);

}  // namespace qrv::layout
