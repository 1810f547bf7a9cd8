#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/FieldWidth.h"
#include "base/Money.h"
#include "layout/Field.h"

// Writing one record of a layout: the record's default text is prepared once, and each value set is
// formatted into its field's columns (text left-aligned and blank-filled, numbers right-aligned and
// zero-filled). Every record has exactly its layout's width: a value wider than its field is refused
// (FieldOverflow naming the field), as it would shift every field after it.
namespace qrv {
class AccountNumber;
}

namespace qrv::layout {

class RecordWriter {
  public:
    explicit RecordWriter(const Layout& layout);

    // Every field back to its default.
    void reset();
    // The values set so far become the defaults that reset() returns to (what every record of a run shares).
    void keepAsDefaults();

    // Text, left-aligned and blank-filled.
    void text(const Field& field, std::string_view value);
    // Digits, right-aligned and zero-filled.
    void digits(const Field& field, std::string_view value);
    void number(const Field& field, std::int64_t value);
    // An amount field: its value in the field's decimals (thousandths of a baht), zero-filled; a negative
    // amount with "-" first. The one way an amount is written: Money::toAmountField, never cut.
    void amount(const Field& field, Money value);
    // An account in a batch record: the account left-aligned in `account`, "0" and its type (4th
    // character) in `type`, "0" and its branch (first three) in `branch`.
    void account(const Field& account, const Field& type, const Field& branch, const AccountNumber& value);

    // The record as it stands.
    const std::string& record() const { return text_; }
    const Layout& layout() const { return layout_; }

  private:
    void put(const Field& field, std::string_view value, char fill, bool right);
    FieldOverflow overflow(const Field& field, const std::string& value) const;

    const Layout& layout_;
    std::string defaults_;
    std::string text_;
};

// The default text of a layout's record.
std::string defaultRecord(const Layout& layout);

}  // namespace qrv::layout
