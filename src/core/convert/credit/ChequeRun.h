#pragma once

#include <cstdint>

namespace qrv {

class CreditUploadFile;
class InvoiceFile;
struct ReformatRun;

// What the cheque, tax and invoice steps of one Manager Cheque run share.
struct ChequeRun {
    ReformatRun& reformat;
    CreditUploadFile& upload;  // the work file the records go to
    InvoiceFile& invoices;
    bool printDetail = false;  // "Print detail": the detail tables are filled
    // Invoice lines that belong to cheque lines rejected since the last cheque with invoices.
    std::int64_t invoiceSkipCount = 0;
};

}  // namespace qrv
