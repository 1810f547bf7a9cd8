#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/AccountNumber.h"
#include "base/Date.h"
#include "base/FieldHelpers.h"
#include "base/Money.h"
#include "base/QrvError.h"
#include "layout/Field.h"
#include "layout/FieldFault.h"
#include "layout/FieldRules.h"
#include "layout/LayoutCatalog.h"

namespace qrv {
class LineReader;
}

// The one reader of a customer's line: named fields read by the rule of their kind into typed values, or
// a fault that says where and what. Texts are code page 874 bytes as they stand in the file.
namespace qrv::layout {

// A line of a customer's file holds Thai text saved as UTF-8 (or the file starts with a UTF-8 byte-order
// mark): the run stops before anything is put in place and the person is told to save the file as code
// page 874.
class TextNotCodePage874 : public SourceRefusal {
  public:
    TextNotCodePage874(const std::filesystem::path& file, const std::string& where);
};

// What starts a file saved as UTF-8 with a byte-order mark.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Whether a whole line is Thai saved as UTF-8 (a line 1 starting with a byte-order mark included):
// throws TextNotCodePage874 naming `file` and the line. `mayHoldThai` false when the line is known to
// hold no E0 byte, which every Thai letter in UTF-8 starts with.
void refuseUtf8Line(const std::filesystem::path& file, std::string_view line, std::int64_t lineNo,
                    bool mayHoldThai);

// One line after another of a file whose lines its layouts describe. A line shorter than its layout reads
// its missing columns as blanks (an editor that strips trailing blanks changes nothing), so a field cut by
// the line's end breaks its rule as any wrong text does, and a text field copied from it is blank-filled.
// Every line is judged whole for Thai saved as UTF-8 before any of its fields is read.
class SourceLine {
  public:
    // A line of a file of `kind`: its layouts' widest line is the width a short line is read to.
    SourceLine(const std::filesystem::path& path, SourceFile kind);

    // The next line of `reader`; false at the end of the file.
    bool next(LineReader& reader);
    // `text` as line `lineNo` (a line read otherwise, or again).
    void read(std::string_view text, std::int64_t lineNo);

    // The line as it stands in the file.
    std::string_view text() const { return text_; }
    std::int64_t lineNo() const { return lineNo_; }
    const std::filesystem::path& path() const { return path_; }

    // The columns of a field, blanks past the line's end.
    std::string_view operator[](const Field& field) const;

    // Exactly the field's width of digits.
    Reading<std::int64_t> digits(const Field& field) const;
    // A whole number, blanks around it let through ("  12", "12   "); blanks only are no number.
    Reading<std::int64_t> number(const Field& field) const;
    // The field's digits with their implied decimals; "-" first in a signed amount.
    Reading<Money> amount(const Field& field) const;
    // Whether the field holds a number of any form (a sign, a point, an exponent; blanks around it): what
    // tells a number of the wrong form from no number at all.
    bool holdsNumber(const Field& field) const { return IsNumeric(Trim((*this)[field])); }
    // A calendar date in the field's form.
    Reading<Date> date(const Field& field) const;
    // The parts of the date as they stand, whatever they hold.
    DateParts dateParts(const Field& field) const { return datePartsOf((*this)[field], field); }
    // One of the field's codes.
    Reading<std::string_view> code(const Field& field) const;
    // A home-bank account with a valid check digit, not all zeros.
    Reading<AccountNumber> account(const Field& field) const;
    // Text without a control character (NUL included).
    Reading<std::string_view> text(const Field& field) const;

    // A fault that ends the run, naming this file: a refusal of the file (SourceRefusal) for a control
    // character or a value that does not fit, an unexpected error (FieldFaultError) for any other.
    [[noreturn]] void fail(const FieldFault& fault) const;
    // The value of a reading; a fault ends the run.
    template <class T>
    T require(const Reading<T>& reading) const {
        if (!reading) {
            fail(reading.fault());
        }
        return *reading;
    }
    // Where a field of this line is: "\"file\" line N, columns a-b (name)" (for an overflowing total).
    std::string place(const Field& field) const;

  private:
    void take(std::string_view text, std::int64_t lineNo, bool mayHoldThai);

    std::filesystem::path path_;
    size_t width_ = 0;
    std::string_view text_;
    std::string_view padded_;  // the line, blank-filled to width_ when shorter
    std::string buffer_;
    std::int64_t lineNo_ = 0;
};

}  // namespace qrv::layout
