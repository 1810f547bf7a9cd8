#include "convert/credit/McpInvoiceRecords.h"

#include "base/Cp874.h"
#include "convert/ReformatRun.h"
#include "convert/credit/InvoiceFile.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/UploadLayouts.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"

namespace qrv {

using namespace layout;

namespace {

// The amounts of an invoice line, in the order of record 006.
constexpr const Field* kInvoiceAmounts[] = {&mcp::kInvoiceLineAmount, &mcp::kInvoiceVat, &mcp::kInvoiceCharge,
                                            &mcp::kInvoiceTax};

}  // namespace

ChequeInvoices ReadChequeInvoices(ChequeRun& run, const SourceLine& cheque, std::int64_t invoiceCount) {
    for (; run.invoiceSkipCount > 0; --run.invoiceSkipCount) {
        run.invoices.next();
    }
    run.invoiceSkipCount = 0;
    ChequeInvoices read;
    const std::string_view key = cheque[mcp::kPaymentKey];
    SourceLine& invoice = run.invoiceLine;
    for (std::int64_t n = 1; n <= invoiceCount; ++n) {
        const std::string_view text = run.invoices.next();
        if (n == 1) {
            read.firstLineNo = run.invoices.lineNumber();
        }
        invoice.read(text, run.invoices.lineNumber());
        // An invoice file that ended early gives empty lines, which belong to no cheque.
        if (text.empty() || invoice[mcp::kInvoicePaymentKey] != key) {
            read.mismatch = true;
            return read;
        }
        for (const Field* amount : kInvoiceAmounts) {
            if (!invoice.amount(*amount)) {
                read.badAmount = BadAmount{amount, invoice.lineNo()};
                return read;
            }
        }
        // Its texts, refused here when they are not code page 874.
        invoice.text(mcp::kInvoiceNo);
        invoice.text(mcp::kPoNo);
        read.lines.emplace_back(text);
    }
    return read;
}

void WriteInvoiceRecords(ChequeRun& run, const ChequeInvoices& invoices, std::int64_t sequence) {
    ReformatRun& rr = run.reformat;  // the whole reformat run
    RecordWriter& r = run.record006;
    SourceLine& invoice = run.invoiceLine;
    std::int64_t n = 0;
    for (const std::string& text : invoices.lines) {
        invoice.read(text, invoices.firstLineNo + n);
        ++n;
        r.reset();
        r.number(r006::kCreditSequence, sequence);
        r.number(r006::kInvoiceLineNo, n);
        r.text(r006::kInvoiceNo, invoice[mcp::kInvoiceNo]);
        r.amountDigits(r006::kInvoiceAmount, invoice[mcp::kInvoiceLineAmount],
                       mcp::kInvoiceLineAmount.decimals);
        r.text(r006::kInvoiceDate, invoice.dateParts(mcp::kInvoiceDate).yyyymmdd());
        r.text(r006::kPoNo, invoice[mcp::kPoNo]);
        r.amountDigits(r006::kVatAmount, invoice[mcp::kInvoiceVat], mcp::kInvoiceVat.decimals);
        r.amountDigits(r006::kChargeAmount, invoice[mcp::kInvoiceCharge], mcp::kInvoiceCharge.decimals);
        r.amountDigits(r006::kTaxAmount, invoice[mcp::kInvoiceTax], mcp::kInvoiceTax.decimals);
        run.upload.writeRecord(r.record());
        if (!run.printDetail) {
            continue;
        }
        const std::string& record = r.record();
        const auto value = [&invoice](const Field& field) { return invoice.amount(field)->toDouble(); };
        rr.services.store.append(
            "Invoice_Detail",
            {{"CreditId", std::string(columnsOf(record, r006::kCreditSequence))},
             {"InvoiceId", std::string(columnsOf(record, r006::kInvoiceLineNo))},
             {"InvoiceNo", cp874::toUtf8(columnsOf(record, r006::kInvoiceNo))},
             {"InvoiceAmount", value(mcp::kInvoiceLineAmount)},
             {"InvoiceDate",
              cp874::toUtf8(
                  datePartsOf(columnsOf(record, r006::kInvoiceDate), r006::kInvoiceDate).slashed())},
             {"PoNo", cp874::toUtf8(columnsOf(record, r006::kPoNo))},
             {"VatAmount", value(mcp::kInvoiceVat)},
             {"ChargeAmount", value(mcp::kInvoiceCharge)},
             {"WhtAmount", value(mcp::kInvoiceTax)}});
    }
}

}  // namespace qrv
