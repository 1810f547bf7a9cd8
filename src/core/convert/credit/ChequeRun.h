#pragma once

#include <cstdint>
#include <string>

#include "layout/RecordWriter.h"
#include "layout/SourceLine.h"

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
    // Records 005 and 006 with what every record of the run shares.
    layout::RecordWriter record005;
    layout::RecordWriter record006;
    // The invoice line being read or written: one for the run, not made again for every cheque.
    layout::SourceLine invoiceLine;
};

// A field of a cheque's data that holds no amount: the cheque line is rejected into the invalid-amount
// listing, the entry naming the field (and, for the invoice file, its line).
struct BadAmount {
    const layout::Field* field = nullptr;
    std::int64_t invoiceLine = 0;  // 0: a field of the cheque line
};

}  // namespace qrv
