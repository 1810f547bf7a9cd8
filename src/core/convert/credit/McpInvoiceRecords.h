#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/credit/ChequeRun.h"

namespace qrv {

// The invoice lines of one cheque, read before anything of the cheque is written.
struct ChequeInvoices {
    std::vector<std::string> lines;
    std::int64_t firstLineNo = 0;  // the invoice file's line number of the first
    bool mismatch = false;         // a line belongs to another payment (or the file ended)
    std::optional<BadAmount> badAmount;
};

// Skips the invoice lines of the cheque lines rejected before, then reads `invoiceCount` lines and checks
// each against the cheque's payment key and its amounts (the same rule with and without "Print detail").
// Stops at the first line that is wrong.
ChequeInvoices ReadChequeInvoices(ChequeRun& run, const layout::SourceLine& cheque,
                                  std::int64_t invoiceCount);

// The invoice records 006 of an accepted cheque, numbered from 000001, each with its Invoice_Detail row
// when "Print detail" is ticked.
void WriteInvoiceRecords(ChequeRun& run, const ChequeInvoices& invoices, std::int64_t sequence);

}  // namespace qrv
