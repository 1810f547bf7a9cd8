#include "convert/source/SourceForm.h"

#include <algorithm>
#include <optional>

#include "convert/Product.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/DebitSourceLayouts.h"

namespace qrv {
namespace {

using namespace layout;

// A long-amount Direct Credit header holds something in columns 1-9 (all blanks is the short-amount
// form); nothing else reads them. "H" in column 1 says it.
constexpr Field kLongFormMark = text("long-amount form mark", 1, 1);

// Direct Credit and Payroll are built in the long-amount form, which takes every amount the short one
// takes. Their detail lines and Direct Debit 100M's (at most 80 characters) end after their last
// character; a Media Clearing line keeps its full width, as the receiver name goes whole into the upload.
const SourceForm kDirectCredit{"Direct Credit and Payroll",
                               &kCreditHeaderLong,
                               &kCreditDetailLong,
                               &dcp::kRecordCountLong,
                               nullptr,
                               {dcp::kCreditAccount.name},
                               &kLongFormMark,
                               "H",
                               true,
                               false};
const SourceForm kMediaClearing{"Media Clearing",
                                &kMediaClearingHeader,
                                &kMediaClearingDetail,
                                &mcl::kRecordCount,
                                nullptr,
                                {mcl::kDebitAccount.name},
                                nullptr,
                                {},
                                false,
                                true};
const SourceForm kDirectDebit100M{"Direct Debit (100M)",
                                  &kDebit100MControl,
                                  &kDebit100MDetail,
                                  &ddr::kTotalRecord,
                                  &ddr::kTotalAmount,
                                  {ddr::kAccount.name},
                                  nullptr,
                                  {},
                                  true,
                                  false};

// The form of a product's source file; none for Manager Cheque.
const SourceForm* formOf(ProductFamily family) {
    switch (family) {
        case ProductFamily::Credit:
            return &kDirectCredit;
        case ProductFamily::MediaClearing:
            return &kMediaClearing;
        case ProductFamily::DirectDebit100M:
            return &kDirectDebit100M;
        case ProductFamily::ManagerCheque:
            break;
    }
    return nullptr;
}

bool isMapped(const Field& f, const SourceForm& form) {
    return f.kind != Kind::Filler && f.kind != Kind::Unread && !(form.count && f == *form.count) &&
           !(form.total && f == *form.total);
}

bool isRequired(const Field& f) {
    return f.kind == Kind::Digits || f.kind == Kind::Amount || f.kind == Kind::Date ||
           (f.kind == Kind::Code && f.codes.find('|') != std::string_view::npos);
}

void add(std::vector<MappedField>& fields, const Field& f, bool header) {
    auto it =
        std::find_if(fields.begin(), fields.end(), [&f](const MappedField& m) { return m.name == f.name; });
    if (it == fields.end()) {
        it = fields.insert(fields.end(), MappedField{std::string(f.name), {}, {}, false, {}});
    }
    (header ? it->inHeader : it->inDetail).push_back(&f);
    it->required = it->required || isRequired(f);
    if (f.kind == Kind::Code && !isRequired(f)) {
        it->preset = f.codes;
    }
}

}  // namespace

const SourceForm* sourceFormFor(std::string_view product) {
    const std::optional<Product> named = productNamed(product);
    return named ? formOf(familyOf(*named)) : nullptr;
}

std::string sourceFormProducts() {
    std::string codes;
    for (const ProductInfo& p : products()) {
        if (formOf(p.family) != nullptr) {
            codes += (codes.empty() ? "" : ", ") + std::string(p.code);
        }
    }
    return codes;
}

std::vector<MappedField> mappedFields(const SourceForm& form) {
    std::vector<MappedField> fields;
    for (const Field& f : form.header->fields) {
        if (isMapped(f, form)) {
            add(fields, f, true);
        }
    }
    for (const Field& f : form.detail->fields) {
        if (isMapped(f, form)) {
            add(fields, f, false);
        }
    }
    return fields;
}

}  // namespace qrv
