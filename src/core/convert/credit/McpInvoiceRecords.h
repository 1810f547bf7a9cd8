#pragma once

#include <cstdint>
#include <string>

namespace qrv {

struct ChequeRun;
class McpLine;

// The invoice records 006 of an accepted cheque with invoices: first the invoice lines of the cheque
// lines rejected before it are skipped, then `invoiceCount` invoice lines are read, each checked against
// the cheque's payment key, written as record 006 numbered from 000001 and, with "Print detail", as an
// Invoice_Detail row. Returns false when the run stopped ("Invoice file and payment file are missmatch"
// has been shown). An amount that holds no number when its value is needed ends the run (QrvError).
bool WriteInvoiceRecords(ChequeRun& run, const McpLine& cheque, const std::string& sequence,
                         std::int64_t invoiceCount);

}  // namespace qrv
