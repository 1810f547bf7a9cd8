#include "convert/credit/McpTaxRecords.h"

#include <vector>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "convert/ReformatRun.h"
#include "convert/credit/ChequeRun.h"
#include "convert/credit/McpLine.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"

namespace qrv {

namespace {

constexpr const char* kNoTax = "000000000";

struct TaxItem {
    int taxFrom, taxTo;        // 7+2 tax
    int incomeFrom, incomeTo;  // 11+2 income
    std::string description;   // 80 characters, or blanks
};

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

void WriteTaxRecords(ChequeRun& run, const McpLine& cheque, const std::string& sequence) {
    ReformatRun& rr = run.reformat;  // the whole reformat run
    const Record003& r003 = rr.records.r003;
    const std::string incomeType = cheque.col(444);
    std::vector<TaxItem> items;
    if (incomeType != "6") {
        if (cheque.cols(86, 94) != kNoTax) {
            items.push_back({86, 94, 60, 72, FillString(" ", 80)});
        }
    } else {
        if (cheque.cols(616, 624) != kNoTax) {
            const std::string description = r003.WhtItemCount == "01"
                                                ? cheque.cols(445, 514) + FillString(" ", 10)
                                                : cheque.cols(445, 464) + FillString(" ", 60);
            items.push_back({616, 624, 634, 646, description});
        }
        if (cheque.cols(625, 633) != kNoTax) {
            items.push_back({625, 633, 647, 659, cheque.cols(465, 484) + FillString(" ", 60)});
        }
        const std::string tax3 = cheque.cols(660, 668);
        if (tax3 != kNoTax && tax3 != std::string(9, ' ')) {
            items.push_back({660, 668, 669, 681, cheque.cols(485, 514) + FillString(" ", 50)});
        }
    }

    int itemNo = 0;
    for (const TaxItem& item : items) {
        Record005& r = rr.records.r005;
        const std::string tax16 = cheque.amount9(item.taxFrom, item.taxTo);
        const std::string income16 = cheque.amount13(item.incomeFrom, item.incomeTo);
        // Both values before anything is written: a field without a number never reaches a record.
        const Money tax = cheque.value(tax16, item.taxFrom, item.taxTo);
        const Money income = cheque.value(income16, item.incomeFrom, item.incomeTo);
        if (income.units() == 0) {
            cheque.fail(item.incomeFrom, item.incomeTo,
                        "the income of a withholding-tax item is zero, so it has no tax rate");
        }
        ++itemNo;
        r.DebitSequence = r003.DebitSequence;
        r.CreditSequence = sequence;
        r.ItemNo = "0" + std::to_string(itemNo);
        r.WhtAmount = tax16;
        r.IncomeType = "    " + incomeType;
        r.Description = PadText(item.description, 80);
        r.TaxRate = TaxRateText(tax, income);
        r.IncomeAmount = income16;
        run.upload.writeRecord(r.text());
        if (run.printDetail) {
            rr.services.store.append("Wht_Detail", {{"CreditId", sequence},
                                                    {"WhtId", r.ItemNo},
                                                    {"IncomeAmount", income.toDouble()},
                                                    {"WhtAmount", tax.toDouble()},
                                                    {"IncomeType", cp874::toUtf8(Trim(r.IncomeType))},
                                                    {"IncomeDescription", cp874::toUtf8(r.Description)},
                                                    {"Rate", r.TaxRate}});
        }
    }
}

}  // namespace qrv
