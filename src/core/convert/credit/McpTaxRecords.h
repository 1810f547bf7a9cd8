#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Money.h"
#include "convert/credit/ChequeRun.h"

namespace qrv {

// One withholding-tax item of a cheque: where its tax and income are, and its description (80
// characters, or blanks).
struct TaxItem {
    const layout::Field* tax;
    const layout::Field* income;
    std::string description;
};

// The items of a cheque that carries withholding tax, in the order written; `itemCount` is record 003
// field 15.
std::vector<TaxItem> TaxItemsOf(const layout::SourceLine& cheque, std::string_view itemCount);
// The first amount of the items that holds no amount, if any.
std::optional<BadAmount> BadTaxAmount(const layout::SourceLine& cheque, const std::vector<TaxItem>& items);

// The withholding-tax records 005 of an accepted cheque, numbered "01" upward in the order written, with
// their Wht_Detail rows when "Print detail" is ticked. The amounts have been checked. Ends the run
// (QrvError) at an item whose income is zero.
void WriteTaxRecords(ChequeRun& run, const layout::SourceLine& cheque, const std::vector<TaxItem>& items,
                     std::int64_t sequence);

// The tax rate of an item in whole per cent: tax / income x 100, halves to the even number, at least
// two digits. `income` must not be zero.
std::string TaxRateText(Money tax, Money income);

}  // namespace qrv
