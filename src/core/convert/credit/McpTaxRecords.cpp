#include "convert/credit/McpTaxRecords.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "convert/ReformatRun.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/UploadLayouts.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"

namespace qrv {

using namespace layout;

namespace {

constexpr std::string_view kNoTax = "000000000";

std::string description(const SourceLine& cheque, const Field& field) {
    return PadText(cheque.require(cheque.text(field)), r005::kDescription.width());
}

}  // namespace

std::string TaxRateText(Money tax, Money income) {
    // Exact: tax and income are whole ten-thousandths, so the quotient's rounding is decided exactly.
    std::int64_t scaled = 0;
    if (__builtin_mul_overflow(tax.units(), 100, &scaled)) {
        throw QrvError("Withholding-tax rate out of range");
    }
    const std::int64_t den = income.units();
    std::int64_t q = scaled / den;
    const std::int64_t r = scaled % den;
    const std::int64_t twice = 2 * (r < 0 ? -r : r);
    const std::int64_t absDen = den < 0 ? -den : den;
    const bool negative = (scaled < 0) != (den < 0);
    if (twice > absDen || (twice == absDen && q % 2 != 0)) {
        q += negative ? -1 : 1;
    }
    return q < 0 ? "-" + PadNumber(-q, 2) : PadNumber(q, 2);
}

std::vector<TaxItem> TaxItemsOf(const SourceLine& cheque, std::string_view itemCount) {
    using namespace mcp;
    std::vector<TaxItem> items;
    if (cheque[kIncomeType] != "6") {
        if (cheque[kTaxAmount] != kNoTax) {
            items.push_back({&kTaxAmount, &kInvoiceAmount, std::string(r005::kDescription.width(), ' ')});
        }
        return items;
    }
    if (cheque[kItemTax1] != kNoTax) {
        // A single item's description runs over the three items' columns.
        items.push_back({&kItemTax1, &kItemIncome1,
                         description(cheque, itemCount == "01" ? kSingleDescription : kDescription1)});
    }
    if (cheque[kItemTax2] != kNoTax) {
        items.push_back({&kItemTax2, &kItemIncome2, description(cheque, kDescription2)});
    }
    const std::string_view tax3 = cheque[kItemTax3];
    if (tax3 != kNoTax && tax3 != std::string_view("         ")) {
        items.push_back({&kItemTax3, &kItemIncome3, description(cheque, kDescription3)});
    }
    return items;
}

std::optional<BadAmount> BadTaxAmount(const SourceLine& cheque, const std::vector<TaxItem>& items) {
    for (const TaxItem& item : items) {
        for (const Field* field : {item.tax, item.income}) {
            if (!cheque.amount(*field)) {
                return BadAmount{field, 0};
            }
        }
    }
    return std::nullopt;
}

void WriteTaxRecords(ChequeRun& run, const SourceLine& cheque, const std::vector<TaxItem>& items,
                     std::int64_t sequence) {
    RecordWriter& r = run.record005;
    const std::string_view incomeType = cheque.require(cheque.text(mcp::kIncomeType));
    std::int64_t itemNo = 0;
    for (const TaxItem& item : items) {
        const Money tax = *cheque.amount(*item.tax);
        const Money income = *cheque.amount(*item.income);
        if (income.units() == 0) {
            throw QrvError(cheque.place(*item.income) +
                           ": the income of a withholding-tax item is zero, so it has no tax rate");
        }
        const std::string rate = TaxRateText(tax, income);
        if (static_cast<int>(rate.size()) > r005::kTaxRate.width()) {
            // A rate of 100 per cent or more: the record would grow by a column, shifting the income.
            cheque.fail({cheque.lineNo(), item.tax, Rule::Fits, rate, &r005::kTaxRate});
        }
        ++itemNo;
        r.reset();
        r.number(r005::kCreditSequence, sequence);
        r.number(r005::kItemNo, itemNo);
        r.amount(r005::kTaxAmount, tax);
        r.text(r005::kIncomeType, "    " + std::string(incomeType));
        r.text(r005::kDescription, item.description);
        r.digits(r005::kTaxRate, rate);
        r.amount(r005::kIncomeAmount, income);
        run.upload.writeRecord(r.record());
        if (run.printDetail) {
            run.reformat.services.store.append(
                "Wht_Detail", {{"CreditId", PadNumber(sequence, r005::kCreditSequence.width())},
                               {"WhtId", PadNumber(itemNo, r005::kItemNo.width())},
                               {"IncomeAmount", income.toDouble()},
                               {"WhtAmount", tax.toDouble()},
                               {"IncomeType", cp874::toUtf8(Trim(incomeType))},
                               {"IncomeDescription", cp874::toUtf8(item.description)},
                               {"Rate", rate}});
        }
    }
}

}  // namespace qrv
