#include "upload/UploadRecordRules.h"

#include "layout/FieldRules.h"
#include "layout/LayoutCatalog.h"
#include "layout/UploadLayouts.h"

namespace qrv {

using namespace layout;

namespace {

// Both scans run over every byte of every record: without an early way out, so that the compiler does
// them many bytes at a time.
bool blank(std::string_view text) {
    unsigned other = 0;
    for (const char c : text) {
        other |= static_cast<unsigned>(c != ' ');
    }
    return other == 0;
}

bool holdsControl(std::string_view text) {
    unsigned control = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        control |= static_cast<unsigned>(byte < 0x20) | static_cast<unsigned>(byte == 0x7F);
    }
    return control != 0;
}

// Fields whose default is blanks and that a record may leave so: a credit without withholding tax has no
// tax date, a credit that is no cheque no delivery, pickup or cheque codes.
bool mayBeBlank(const Field& field) {
    if (field.kind == Kind::Code) {
        return field.preset.empty() && field != r002::kProductCode && field != r007::kProcessingRound;
    }
    return field == r003::kTaxDate || field == r006::kInvoiceDate;
}

// The rule `text` breaks, or nothing.
std::optional<Rule> brokenRule(const Field& field, std::string_view text) {
    switch (field.kind) {
        case Kind::Digits:
            return holdsDigits(text, field) ? std::nullopt : std::optional(Rule::Digits);
        case Kind::Amount:
            return amountOf(text, field) ? std::nullopt : std::optional(Rule::Amount);
        case Kind::Date:
            return holdsDate(text, field) || (mayBeBlank(field) && blank(text)) ? std::nullopt
                                                                                : std::optional(Rule::Date);
        case Kind::Code:
            return isCodeOf(text, field) || (mayBeBlank(field) && blank(text)) ? std::nullopt
                                                                               : std::optional(Rule::Code);
        case Kind::Text:
            return holdsControl(text) ? std::optional(Rule::Text) : std::nullopt;
        case Kind::Filler:
        case Kind::Unread:
            break;
    }
    return std::nullopt;
}

}  // namespace

const Layout* uploadLayoutOf(std::string_view record, bool directDebitHeader) {
    const Layout* found = uploadRecordLayout(record);
    if (found == &kHeaderRecord && directDebitHeader) {
        return &kDirectDebitHeaderRecord;
    }
    return found;
}

void checkRecordFields(std::int64_t line, const Layout& layout, std::string_view record,
                       UploadFaultList& faults) {
    for (const Field& f : layout.fields) {
        const std::string_view text = columnsOf(record, f);
        if (f.kind == Kind::Filler) {
            if (!blank(text)) {
                faults.add({line, &layout, &f, UploadRule::Blank, Rule::Text, std::string(text), {}});
            }
        } else if (const std::optional<Rule> broken = brokenRule(f, text)) {
            faults.add({line, &layout, &f, UploadRule::Field, *broken, std::string(text), {}});
        }
    }
}

}  // namespace qrv
