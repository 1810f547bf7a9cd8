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

std::string padded(std::string_view text, int width) {
    return PadText(text, width);
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
    const int width = r005::kDescription.width();
    std::vector<TaxItem> items;
    if (cheque[kIncomeType] != "6") {
        if (cheque[kTaxAmount] != kNoTax) {
            items.push_back({&kTaxAmount, &kInvoiceAmount, padded({}, width)});
        }
        return items;
    }
    if (cheque[kItemTax1] != kNoTax) {
        // A single item's description runs over the three items' columns.
        const std::string_view description =
            itemCount == "01" ? cheque.textSpan(kDescription1, kDescription3) : cheque.text(kDescription1);
        items.push_back({&kItemTax1, &kItemIncome1, padded(description, width)});
    }
    if (cheque[kItemTax2] != kNoTax) {
        items.push_back({&kItemTax2, &kItemIncome2, padded(cheque.text(kDescription2), width)});
    }
    const std::string_view tax3 = cheque[kItemTax3];
    if (tax3 != kNoTax && tax3 != std::string_view("         ")) {
        items.push_back({&kItemTax3, &kItemIncome3, padded(cheque.text(kDescription3), width)});
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
    const std::string incomeType(cheque.text(mcp::kIncomeType));
    std::int64_t itemNo = 0;
    for (const TaxItem& item : items) {
        const Money tax = *cheque.amount(*item.tax);
        const Money income = *cheque.amount(*item.income);
        if (income.units() == 0) {
            cheque.fail(*item.income, "the income of a withholding-tax item is zero, so it has no tax rate");
        }
        ++itemNo;
        r.reset();
        r.number(r005::kCreditSequence, sequence);
        r.number(r005::kItemNo, itemNo);
        r.amountDigits(r005::kTaxAmount, cheque[*item.tax], item.tax->decimals);
        r.text(r005::kIncomeType, "    " + incomeType);
        r.text(r005::kDescription, item.description);
        const std::string rate = TaxRateText(tax, income);
        r.wholeDigits(r005::kTaxRate, rate);  // a rate of 100 or more keeps its digits
        r.amountDigits(r005::kIncomeAmount, cheque[*item.income], item.income->decimals);
        run.upload.writeRecord(r.record());
        if (run.printDetail) {
            const std::string& record = r.record();
            run.reformat.services.store.append(
                "Wht_Detail", {{"CreditId", std::string(columnsOf(record, r005::kCreditSequence))},
                               {"WhtId", std::string(columnsOf(record, r005::kItemNo))},
                               {"IncomeAmount", income.toDouble()},
                               {"WhtAmount", tax.toDouble()},
                               {"IncomeType", cp874::toUtf8(Trim(columnsOf(record, r005::kIncomeType)))},
                               {"IncomeDescription", cp874::toUtf8(columnsOf(record, r005::kDescription))},
                               {"Rate", rate}});
        }
    }
}

}  // namespace qrv
