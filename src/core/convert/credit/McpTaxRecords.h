#pragma once

#include <string>

#include "base/Money.h"

namespace qrv {

struct ChequeRun;
class McpLine;

// The withholding-tax records 005 of an accepted cheque (record 003 field 7 "Y"), numbered "01" upward
// in the order written, with their Wht_Detail rows when "Print detail" is ticked. The cheque's record 003
// is in the run state's record fields. Ends the run (QrvError) at an item amount that holds no number or
// an item whose income is zero.
void WriteTaxRecords(ChequeRun& run, const McpLine& cheque, const std::string& sequence);

// The tax rate of an item in whole per cent: tax / income x 100, halves to the even number, at least
// two digits. `income` must not be zero.
std::string TaxRateText(Money tax, Money income);

}  // namespace qrv
