#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "layout/Field.h"

// The source file of a product as it is built from a spreadsheet: its header and detail layouts, which
// header fields are computed, which fields hold a home-bank account, and what tells the header's form.
namespace qrv {

struct SourceForm {
    std::string_view title;
    const layout::Layout* header;
    const layout::Layout* detail;
    const layout::Field* count;                  // the header's number of entries, computed
    const layout::Field* total;                  // the header's total of the amounts, computed; or none
    std::vector<std::string_view> homeAccounts;  // fields checked for a home-bank account's check digit
    const layout::Field* mark;                   // written with `markText` into every header; or none
    std::string_view markText;
    bool trimLines;        // a line ends after its last character that is not a blank
    bool datesAfterToday;  // a date is later than today (Media Clearing); otherwise today or later
};

// The form of a product code (DCP, PAY, PA2, PA3, MCL, PA4, PA5, PA6, DDR; any letter case); none for
// another code.
const SourceForm* sourceFormFor(std::string_view product);
// The codes sourceFormFor takes, for a usage line.
std::string sourceFormProducts();

// One field a mapping fills, by its name as `qrv layout` prints it: where it stands in the header and
// detail layouts (a name both hold, as the effective date of a direct-debit file, fills both).
struct MappedField {
    std::string name;
    std::vector<const layout::Field*> inHeader;
    std::vector<const layout::Field*> inDetail;
    bool required = false;    // a number, amount, date or code of several values: no default would do
    std::string_view preset;  // a code of one value: written when the mapping leaves the field out
};

// The fields of a form a mapping may fill, header first, in layout order: every named field except
// blanks, unread columns and the computed count and total.
std::vector<MappedField> mappedFields(const SourceForm& form);

}  // namespace qrv
