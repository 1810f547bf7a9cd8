#include "convert/credit/McpInvoiceRecords.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
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

// The values of one invoice line, read once for its record and its detail row.
struct InvoiceValues {
    std::string_view number;
    Money amount, vat, charge, tax;
    DateParts date;
    std::string_view poNo;
};

InvoiceValues valuesOf(const SourceLine& invoice) {
    return {invoice.require(invoice.text(mcp::kInvoiceNo)),
            *invoice.amount(mcp::kInvoiceLineAmount),
            *invoice.amount(mcp::kInvoiceVat),
            *invoice.amount(mcp::kInvoiceCharge),
            *invoice.amount(mcp::kInvoiceTax),
            invoice.dateParts(mcp::kInvoiceDate),
            invoice.require(invoice.text(mcp::kPoNo))};
}

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
        // Its texts, refused here when they hold a control character.
        invoice.require(invoice.text(mcp::kInvoiceNo));
        invoice.require(invoice.text(mcp::kPoNo));
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
        const InvoiceValues v = valuesOf(invoice);
        r.reset();
        r.number(r006::kCreditSequence, sequence);
        r.number(r006::kInvoiceLineNo, n);
        r.text(r006::kInvoiceNo, v.number);
        r.amount(r006::kInvoiceAmount, v.amount);
        r.text(r006::kInvoiceDate, v.date.yyyymmdd());
        r.text(r006::kPoNo, v.poNo);
        r.amount(r006::kVatAmount, v.vat);
        r.amount(r006::kChargeAmount, v.charge);
        r.amount(r006::kTaxAmount, v.tax);
        run.upload.writeRecord(r.record());
        if (!run.printDetail) {
            continue;
        }
        rr.services.store.append("Invoice_Detail",
                                 {{"CreditId", PadNumber(sequence, r006::kCreditSequence.width())},
                                  {"InvoiceId", PadNumber(n, r006::kInvoiceLineNo.width())},
                                  {"InvoiceNo", cp874::toUtf8(v.number)},
                                  {"InvoiceAmount", v.amount.toDouble()},
                                  {"InvoiceDate", cp874::toUtf8(v.date.slashed())},
                                  {"PoNo", cp874::toUtf8(v.poNo)},
                                  {"VatAmount", v.vat.toDouble()},
                                  {"ChargeAmount", v.charge.toDouble()},
                                  {"WhtAmount", v.tax.toDouble()}});
    }
}

}  // namespace qrv
