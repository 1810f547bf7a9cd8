#include <cctype>
#include <string>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/FieldWidth.h"
#include "convert/ReformatRun.h"
#include "convert/ResultReport.h"
#include "convert/credit/ChequeRun.h"
#include "convert/credit/InvoiceFile.h"
#include "convert/credit/McpDetailReport.h"
#include "convert/credit/McpInvoiceRecords.h"
#include "convert/credit/McpLine.h"
#include "convert/credit/McpTaxRecords.h"
#include "io/LineReader.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"
#include "upload/ErrorListings.h"
#include "upload/RecordText.h"

// Manager Cheque (MCP): each 700-character line of the source file asks for one cheque. Accepted lines
// become records 003 and 004 with their withholding-tax records 005 and invoice records 006; zero and
// invalid amounts are rejected into the listings; a bad due date or debit account stops the run.
namespace qrv {

namespace {

constexpr std::string_view kZeroAmount = "0000000000000";

std::string upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

class ManagerChequeReformatter {
  public:
    ManagerChequeReformatter(ReformatRun& run, CreditUploadFile& upload, InvoiceFile& invoices)
        : rs_(run),
          cheques_{run, upload, invoices, run.request.printDetail, 0},
          listings_(*run.listings),
          defaultBranch_(upper(run.services.settings.DefaultBranchCode) != "FALSE" ? "0111" : "0001") {}

    void run(LineReader& source, std::int64_t dataLines);

  private:
    // Accepts one cheque line; false when the run stopped.
    bool accept(const McpLine& line, Money& amount);
    void reject(const McpLine& line);
    std::string pickupBranch(const McpLine& line) const;
    void stop(const std::string& text) {
        listings_.close();
        rs_.stop(text, linesDone_ > 0);
    }

    ReformatRun& rs_;
    ChequeRun cheques_;
    ErrorListings& listings_;  // the run's, put in place when it ends
    std::string defaultBranch_;
    std::int64_t linesDone_ = 0;  // cheque lines converted or rejected before the current one
    std::int64_t sequence_ = 0;
    std::int64_t zeroCount_ = 0;
    std::int64_t invalidCount_ = 0;
    std::int64_t lastZeroLine_ = 0;
    std::int64_t lastInvalidLine_ = 0;
};

void ManagerChequeReformatter::run(LineReader& source, std::int64_t dataLines) {
    TableStore& store = rs_.services.store;
    if (cheques_.printDetail) {
        for (const char* table : {"Dcp_Err", "Mcp_Detail", "Wht_Detail", "Invoice_Detail"}) {
            store.reset(table);
        }
    }
    const std::string today = rs_.services.clock.today().yyyymmdd();
    std::string dueDate;
    std::string accountField;
    Money total;
    std::int64_t lineNo = 1;
    std::string_view text;
    while (source.next(text)) {
        linesDone_ = lineNo - 1;
        const McpLine line("source file", lineNo, text);
        ResetRecordFields(rs_.records, rs_.services.settings.Print);
        dueDate = line.cols(37, 40) + line.cols(42, 43) + line.cols(45, 46);
        accountField = line.cols(27, 36) + FillString(" ", 15);
        if (!IsValidDate(line.cols(37, 40), line.cols(42, 43), line.cols(45, 46))) {
            stop("Invalid  CHEQUE_DUE_DATE");
            return;
        }
        if (dueDate < today) {
            stop("CHEQUE_DUE_DATE should be today or future date");
            return;
        }
        if (!IsValidAccountNo(line.cols(27, 36))) {
            stop("Invalid QRV debit account");
            return;
        }
        const std::string amountText = line.cols(47, 59);
        Money amount;
        if (amountText != kZeroAmount && IsNonNegativeNumber(amountText)) {
            if (!accept(line, amount)) {
                rs_.result.outcome = linesDone_ > 0 ? Outcome::AllRejected : Outcome::Refused;
                return;
            }
        } else {
            reject(line);
        }
        const std::int64_t percent = (lineNo * 100 + dataLines - 1) / dataLines;
        rs_.progress(static_cast<int>(percent < 100 ? percent : 100));
        ++lineNo;
        total.add(amount, "line " + std::to_string(lineNo - 1) + " of the source file");
    }

    const std::string total16 = AmountField(total, 16, "total amount of record 002 and the trailer");
    cheques_.upload.writeRecord(TrailerRecord(1, sequence_, total16));
    listings_.close();

    ResultCounters& c = rs_.result.counters;
    c.TotalZeroAcct = 0;
    c.TotalZeroAm = zeroCount_;
    if (zeroCount_ > 0) {
        c.NoZeroAm = lastZeroLine_;
    }
    c.TotalNagativeAm = invalidCount_;
    if (invalidCount_ > 0) {
        c.NoNagativeAm = lastInvalidLine_;
    }
    c.TotalReject = zeroCount_ + invalidCount_;
    c.TotalBNKBRN = 0;
    c.Error2million = 0;

    // The batch record takes the due date and debit account of the line read last.
    Record002& r2 = rs_.records.r002;
    r2.ProductCode = "MCP";
    if (lineNo > 1) {
        r2.ValueDate = dueDate;
        r2.DebitAccount = accountField;
        r2.DebitAccountType = "0" + std::string(Columns(accountField, 4, 4));
        r2.DebitBranch = "0" + std::string(Columns(accountField, 1, 3));
        r2.FeeAccount = r2.DebitAccount;
        r2.FeeAccountType = r2.DebitAccountType;
        r2.FeeBranch = r2.DebitBranch;
    }
    r2.TotalAmount = total16;
    r2.DebitSequence = "00000001";
    r2.CreditCount = NumberField(sequence_, 6, "credit count of record 002");

    const bool positive = total > Money();
    rs_.completeCreditUpload(cheques_.upload, r2.text(), positive, sequence_, total);

    const std::string valueDate = lineNo > 1 ? DdMmYyyy(dueDate) : std::string();
    if (cheques_.printDetail) {
        PrintMcpDetailReport(rs_, valueDate, accountField);
    } else {
        ShowResultReport(rs_.request, rs_.result,
                         {0, "Manager Cheque", positive ? "0000001" : "0000000", std::to_string(sequence_),
                          total16, valueDate, "", ""},
                         rs_.services);
    }
}

std::string ManagerChequeReformatter::pickupBranch(const McpLine& line) const {
    const std::string columns = line.cols(601, 605);
    if (columns == "     ") {
        return defaultBranch_;
    }
    const std::string_view number = Trim(columns);
    if (!IsDigits(number)) {
        line.fail(601, 605, "\"" + cp874::toUtf8(columns) + "\" is not a pickup branch number");
    }
    return PadNumber(std::to_string(*ToInteger(number)), 4);
}

bool ManagerChequeReformatter::accept(const McpLine& line, Money& amount) {
    ++sequence_;
    const std::string sequence = NumberField(sequence_, 6, "credit sequence number");
    Record003& r = rs_.records.r003;
    r.CreditSequence = sequence;
    r.Amount = line.amount13(47, 59);
    r.DebitSequence = "00000001";
    r.WhtFlag = line.col(104) == "1" ? "Y" : "N";
    r.InvoiceFlag = line.col(129) == "1" ? "Y" : "N";
    r.Flag9 = "N";
    if (r.InvoiceFlag == "Y" && rs_.request.invoicePath.empty()) {
        stop("This payment file must have invoice data");
        return false;
    }
    amount = line.value(r.Amount, 47, 59);

    const std::string delivery = line.col(127);
    if (delivery == "1" || delivery == "2" || delivery == "3") {
        r.DeliveryCode = delivery == "1" ? "P" : delivery == "2" ? "C" : "M";
    }
    const std::string form = line.col(414);
    r.WhtFormCode = form == "1" ? "01" : form == "3" ? "02" : form == "4" ? "03" : form == "7" ? "53" : "00";
    r.WhtRunNo = line.cols(425, 438);
    r.WhtAttachNo = PadNumber(Trim(line.cols(439, 443)), 6);
    if (r.WhtFlag == "N") {
        r.WhtItemCount = "00";
    } else if (line.col(444) != "6") {
        r.WhtItemCount = "01";
    } else {
        int items = 0;
        for (const auto& [from, to] : {std::pair{616, 624}, std::pair{625, 633}, std::pair{660, 668}}) {
            items += line.cols(from, to) != "000000000" ? 1 : 0;
        }
        r.WhtItemCount = "0" + std::to_string(items);
    }
    r.WhtAmount = line.amount9(86, 94);
    r.InvoiceCount = "000" + line.cols(130, 132);
    r.InvoiceTotal =
        r.InvoiceFlag == "Y" && r.InvoiceCount != "000000" ? line.amount13(60, 72) : FillString("0", 16);
    r.TaxPaidCondition = line.col(515);
    r.FreeText = line.cols(516, 555);
    r.WhtDate = line.cols(415, 418) + line.cols(420, 421) + line.cols(423, 424);
    r.BankCode = kHomeBankCode;
    r.BranchCode = pickupBranch(line);
    if (r.DeliveryCode == "C") {
        r.PickupLocation = r.BranchCode == "0111"   ? "C001"
                           : r.BranchCode == "0001" ? "C002"
                                                    : FillString(" ", 4);
    }
    r.ChequeFlag = "C";
    r.Flag27 = "N";
    r.ReferenceNo = line.cols(105, 124);
    r.ChequeType = line.col(128) == "1" ? "1" : "4";

    Record004& p = rs_.records.r004;
    p.DebitSequence = r.DebitSequence;
    p.CreditSequence = sequence;
    p.PayeeCode = line.cols(133, 147);
    const std::string name = line.cols(148, 217);
    const bool thai = HasThaiChar(name, 70);
    p.NameThai = thai ? name + FillString(" ", 30) : FillString(" ", 100);
    p.Address1 = line.cols(218, 287);
    p.Address2 = line.cols(288, 337) + FillString(" ", 20);
    p.Address3 = line.cols(338, 387) + FillString(" ", 20);
    p.TaxId = line.cols(404, 413);
    p.NameEnglish = thai ? FillString(" ", 70) : name;

    // Every number this cheque needs is read before its first record is written.
    const bool withInvoices = !rs_.request.invoicePath.empty() && r.InvoiceFlag == "Y";
    const std::int64_t invoiceCount = withInvoices ? line.count("000", 130, 132) : 0;
    FieldValues detail;
    if (cheques_.printDetail) {
        detail = {{"ID", sequence},
                  {"Name", cp874::toUtf8(name)},
                  {"CAmount", amount.toDouble()},
                  {"WhtAmount", line.value(r.WhtAmount, 86, 94).toDouble()},
                  {"VatAmount", line.value(line.amount9(95, 103), 95, 103).toDouble()},
                  {"InvoiceAmount", line.value(r.InvoiceTotal, 60, 72).toDouble()},
                  {"RefNo", cp874::toUtf8(r.ReferenceNo)},
                  {"TaxId", cp874::toUtf8(p.TaxId)},
                  {"TaxAttach", cp874::toUtf8(r.WhtAttachNo)},
                  {"TaxRun", cp874::toUtf8(r.WhtRunNo)},
                  {"TaxDate", cp874::toUtf8(DdMmYyyy(r.WhtDate))},
                  {"TaxPaid", cp874::toUtf8(r.TaxPaidCondition)},
                  {"TaxForm", r.WhtFormCode}};
    }

    cheques_.upload.writeRecord(r.text());
    cheques_.upload.writeRecord(p.text());
    if (cheques_.printDetail) {
        rs_.services.store.append("Mcp_Detail", detail);
    }
    if (r.WhtFlag == "Y") {
        WriteTaxRecords(cheques_, line, sequence);
    }
    if (withInvoices && !WriteInvoiceRecords(cheques_, line, sequence, invoiceCount)) {
        listings_.close();
        return false;
    }
    return true;
}

void ManagerChequeReformatter::reject(const McpLine& line) {
    cheques_.invoiceSkipCount += line.count("", 130, 132);
    const std::string amount = line.cols(47, 59);
    const std::int64_t lineNo = line.lineNo();
    if (amount == kZeroAmount) {
        ++zeroCount_;
        lastZeroLine_ = lineNo;
        listings_.AppendErrorLine(rs_.listingPath(kCreditZeroAmountSuffix).string(),
                                  ListingLine(lineNo, "47-59 ", "  Credit amount is zero"));
        rs_.reject(kCreditZeroAmount, lineNo);
    }
    if (!IsNonNegativeNumber(amount)) {
        ++invalidCount_;
        lastInvalidLine_ = lineNo;
        listings_.AppendErrorLine(
            rs_.listingPath(kCreditAmountInvalidSuffix).string(),
            ListingLine(lineNo, "47-59 ", "  Credit amount less than zero or invalid number"));
        rs_.reject(kCreditAmountInvalid, lineNo);
    }
}

}  // namespace

void reformatManagerCheque(ReformatRun& run) {
    const RunProgressReset progressReset(run);
    const std::int64_t counted = CountDataLines(run.request.sourcePath);
    const std::int64_t dataLines = counted > 0 ? counted : 1;  // only scales the progress bar
    const TableStore::CommandScope scope(run.services.store);
    // The work file, the source and the invoice file close and go on every way out of the run.
    CreditUploadFile upload = run.creditUpload();
    LineReader source(run.request.sourcePath, LineReader::Digesting::Yes);
    InvoiceFile invoices(run.request.invoicePath.string());
    ManagerChequeReformatter(run, upload, invoices).run(source, dataLines);
    // Converted only if it is the file whose line lengths were checked.
    if (run.sourceChecked) {
        RequireSameReading(run.request.sourcePath, *run.sourceChecked, source.finishReading());
    }
}

}  // namespace qrv
