#pragma once

#include <string>

namespace qrv {

struct ReformatRun;

// The Manager Cheque detail report ("rptMcpDetail.frf" in the result runner): the cheques, their
// withholding-tax items and invoices through the dataset links, with the run's variables. `valueDate` is
// dd/mm/yyyy; `debitAccount` is the 25-character debit account field (code page 874).
void PrintMcpDetailReport(ReformatRun& run, const std::string& valueDate, const std::string& debitAccount);

}  // namespace qrv
