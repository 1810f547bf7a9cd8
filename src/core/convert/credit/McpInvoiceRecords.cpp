#include "convert/credit/McpInvoiceRecords.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "convert/ReformatRun.h"
#include "convert/credit/ChequeRun.h"
#include "convert/credit/InvoiceFile.h"
#include "convert/credit/McpLine.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"

namespace qrv {

namespace {

// The value of a signed amount the detail table needs.
double valueOf(const McpLine& line, const std::string& amount16, int from, int to) {
    return line.value(amount16, from, to).toDouble();
}

}  // namespace

bool WriteInvoiceRecords(ChequeRun& run, const McpLine& cheque, const std::string& sequence,
                         std::int64_t invoiceCount) {
    for (; run.invoiceSkipCount > 0; --run.invoiceSkipCount) {
        run.invoices.next();
    }
    run.invoiceSkipCount = 0;
    ReformatRun& rr = run.reformat;  // the whole reformat run
    const std::string key = cheque.cols(1, 26);
    for (std::int64_t n = 1; n <= invoiceCount; ++n) {
        const std::string_view text = run.invoices.next();
        const McpLine invoice("invoice file", run.invoices.lineNumber(), text);
        // An invoice file that ended early gives empty lines, which belong to no cheque.
        if (text.empty() || invoice.cols(1, 26) != key) {
            rr.message("Invoice file and payment file are missmatch");
            return false;
        }
        Record006& r = rr.records.r006;
        r.DebitSequence = rr.records.r003.DebitSequence;
        r.CreditSequence = sequence;
        r.InvoiceLineNo = PadNumber(n, 6);
        r.InvoiceNo = invoice.cols(27, 41);
        r.InvoiceAmount = invoice.signedAmount(52, 64, "00");
        r.InvoiceDate = invoice.cols(65, 68) + invoice.cols(70, 71) + invoice.cols(73, 74);
        r.Description = FillString(" ", 70);
        r.PoNo = invoice.cols(125, 139);
        r.VatAmount = invoice.signedAmount(140, 148, "000000");
        r.ChargeAmount = invoice.signedAmount(149, 157, "000000");
        r.WhtAmount = invoice.signedAmount(158, 166, "000000");
        if (!run.printDetail) {
            run.upload.writeRecord(r.text());
            continue;
        }
        // The values first: an amount without a number never reaches a record.
        const double amount = valueOf(invoice, r.InvoiceAmount, 52, 64);
        const double vat = valueOf(invoice, r.VatAmount, 140, 148);
        const double charge = valueOf(invoice, r.ChargeAmount, 149, 157);
        const double wht = valueOf(invoice, r.WhtAmount, 158, 166);
        run.upload.writeRecord(r.text());
        rr.services.store.append("Invoice_Detail", {{"CreditId", sequence},
                                                    {"InvoiceId", r.InvoiceLineNo},
                                                    {"InvoiceNo", cp874::toUtf8(r.InvoiceNo)},
                                                    {"InvoiceAmount", amount},
                                                    {"InvoiceDate", cp874::toUtf8(DdMmYyyy(r.InvoiceDate))},
                                                    {"PoNo", cp874::toUtf8(r.PoNo)},
                                                    {"VatAmount", vat},
                                                    {"ChargeAmount", charge},
                                                    {"WhtAmount", wht}});
    }
    return true;
}

}  // namespace qrv
