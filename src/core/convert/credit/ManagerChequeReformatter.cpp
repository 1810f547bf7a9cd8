#include <cctype>
#include <string>
#include <vector>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "convert/ReformatRun.h"
#include "convert/RejectSink.h"
#include "convert/ResultReport.h"
#include "convert/credit/ChequeRun.h"
#include "convert/credit/InvoiceFile.h"
#include "convert/credit/McpDetailReport.h"
#include "convert/credit/McpInvoiceRecords.h"
#include "convert/credit/McpTaxRecords.h"
#include "io/LineReader.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/UploadLayouts.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"
#include "upload/ErrorListings.h"
#include "upload/RecordText.h"
#include "upload/UploadRecords.h"

// Manager Cheque (MCP): each 700-character line of the source file asks for one cheque. Accepted lines
// become records 003 and 004 with their withholding-tax records 005 and invoice records 006; zero and
// invalid amounts are rejected into the listings; a bad due date or debit account stops the run.
namespace qrv {

using namespace layout;

namespace {

std::string upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string_view yesNo(bool yes) {
    return yes ? "Y" : "N";
}

// The "Print" setting fills record 006's print flag: one character of code page 874, or the run is
// refused before anything is written.
std::optional<std::string> printFlagOf(const std::string& setting) {
    const std::optional<std::string> flag = cp874::fromUtf8(setting);
    if (!flag || static_cast<int>(flag->size()) != r006::kPrintFlag.width()) {
        return std::nullopt;
    }
    return flag;
}

std::string_view taxFormCode(std::string_view form) {
    return form == "1" ? "01" : form == "3" ? "02" : form == "4" ? "03" : form == "7" ? "53" : "00";
}

std::string_view deliveryCode(std::string_view delivery) {
    return delivery == "1" ? "P" : delivery == "2" ? "C" : delivery == "3" ? "M" : "";
}

// The values of an accepted cheque that records 003 and 004 and its detail row take, read once.
struct ChequeValues {
    std::int64_t sequence = 0;
    Money amount, taxAmount, vatAmount, invoiceTotal;
    std::string_view taxFlag, invoiceFlag, itemCount;
    std::string_view delivery, location, taxForm;
    std::string_view runningNo, taxPaid, freeText, reference, chequeType;
    std::string attachNo;  // six characters, zero-filled
    DateParts taxDate;
    std::string branch;  // four digits
    std::string_view payeeCode, name, address1, address2, address3, taxId;
};

class ManagerChequeReformatter {
  public:
    ManagerChequeReformatter(ReformatRun& run, CreditUploadFile& upload, InvoiceFile& invoices,
                             const std::string& printFlag)
        : rs_(run),
          cheques_{run,
                   upload,
                   invoices,
                   run.request.printDetail,
                   0,
                   RecordWriter(kRecord005),
                   RecordWriter(kRecord006),
                   SourceLine(run.request.invoicePath, SourceFile::Invoice)},
          defaultBranch_(upper(run.services.settings.DefaultBranchCode) != "FALSE" ? "0111" : "0001"),
          today_(run.services.clock.today()),
          line_(run.request.sourcePath, SourceFile::ManagerCheque),
          rejects_(run.result, &run.services.store, RejectSink::Table::None, run.listings,
                   run.listingPath("").string()),
          record003_(kRecord003),
          record004_(kRecord004) {
        record003_.text(r003::kDebitSequence, kFirstDebit);
        record003_.text(r003::kBankCode, kHomeBankCode);
        record003_.text(r003::kChequeFlag, "C");
        record003_.keepAsDefaults();
        record004_.text(r004::kDebitSequence, kFirstDebit);
        record004_.keepAsDefaults();
        cheques_.record005.text(r005::kDebitSequence, kFirstDebit);
        cheques_.record005.keepAsDefaults();
        cheques_.record006.text(r006::kDebitSequence, kFirstDebit);
        cheques_.record006.text(r006::kPrintFlag, printFlag);
        cheques_.record006.keepAsDefaults();
    }

    void run(LineReader& source, std::int64_t dataLines);

  private:
    // Whether the line's due date and debit account let the run go on; the run stops otherwise.
    bool checkLine();
    // Accepts one cheque line; false when the run stopped.
    bool accept(Money& amount);
    // An amount of the cheque's data that holds none: the line is rejected as an invalid amount. A cheque
    // with tax whose other amounts hold gets its tax items in `items`, read once for the check and the
    // records.
    std::optional<BadAmount> badAmount(bool invoicesFollow, std::string_view itemCount,
                                       std::vector<TaxItem>& items) const;
    void reject();
    std::int64_t skippedInvoices() const;
    void rejectAmount(const BadAmount& bad);
    std::string_view itemCount(bool withTax) const;
    ChequeValues valuesOf(bool withTax, std::string_view invoiceFlag, std::int64_t sequence) const;
    void writeRecord003(const ChequeValues& v);
    void writeRecord004(const ChequeValues& v);
    void detailRow(const ChequeValues& v);
    std::string pickupBranch() const;
    void finish(Money total);
    void stop(const std::string& text) {
        rs_.listings->close();
        rs_.stop(text, linesDone_ > 0);
    }

    ReformatRun& rs_;
    ChequeRun cheques_;
    std::string defaultBranch_;
    Date today_;       // the run's day, read once: every cheque's due date is compared with it
    SourceLine line_;  // the cheque line being read
    RejectSink rejects_;
    RecordWriter record003_, record004_;
    std::int64_t linesDone_ = 0;  // cheque lines converted or rejected before the current one
    std::int64_t sequence_ = 0;
    // The due date and debit account of the line read last, for record 002 and the report.
    std::optional<Date> dueDate_;
    std::optional<AccountNumber> debitAccount_;
};

bool ManagerChequeReformatter::checkLine() {
    // The due date goes into record 002: its digits, a calendar date.
    const Reading<Date> due = line_.date(mcp::kDueDate);
    if (!due) {
        stop("Invalid  CHEQUE_DUE_DATE");
        return false;
    }
    if (*due < today_) {
        stop("CHEQUE_DUE_DATE should be today or future date");
        return false;
    }
    Reading<AccountNumber> account = line_.account(mcp::kDebitAccount);
    if (!account) {
        stop("Invalid QRV debit account");
        return false;
    }
    dueDate_ = *due;
    debitAccount_ = *account;
    return true;
}

void ManagerChequeReformatter::run(LineReader& source, std::int64_t dataLines) {
    TableStore& store = rs_.services.store;
    if (cheques_.printDetail) {
        for (const char* table : {"Dcp_Err", "Mcp_Detail", "Wht_Detail", "Invoice_Detail"}) {
            store.reset(table);
        }
    }
    Money total;
    while (line_.next(source)) {
        const std::int64_t lineNo = line_.lineNo();
        linesDone_ = lineNo - 1;
        if (!checkLine()) {
            return;
        }
        Money amount;
        const Reading<Money> cheque = line_.amount(mcp::kChequeAmount);
        if (cheque && *cheque > Money()) {
            if (!accept(amount)) {
                rs_.result.outcome = linesDone_ > 0 ? Outcome::AllRejected : Outcome::Refused;
                return;
            }
        } else {
            reject();
        }
        const std::int64_t percent = (lineNo * 100 + dataLines - 1) / dataLines;
        rs_.progress(static_cast<int>(percent < 100 ? percent : 100));
        total.addAt(amount, [&] { return line_.place(mcp::kChequeAmount); });
    }
    finish(total);
}

void ManagerChequeReformatter::finish(Money total) {
    cheques_.upload.writeRecord(TrailerRecord(1, sequence_, total));
    rs_.listings->close();
    rs_.result.counters = CounterSet::Credit;

    // The batch record takes the due date and debit account of the line read last.
    const AccountNumber* account = debitAccount_ ? &*debitAccount_ : nullptr;
    const std::string record002 = DebitRecord({"MCP", dueDate_, account, account, {}, total, sequence_});
    const bool positive = total > Money();
    rs_.completeCreditUpload(cheques_.upload, record002, positive, sequence_, total);

    const std::string valueDate = dueDate_ ? dueDate_->ddmmyyyy() : std::string();
    if (cheques_.printDetail) {
        // The 25-character debit account field of record 002; nothing when no line was read.
        PrintMcpDetailReport(
            rs_, valueDate,
            account != nullptr ? PadText(account->text(), r002::kDebitAccount.width()) : std::string());
    } else {
        ShowResultReport(
            rs_.request, rs_.result,
            {ResultLayout::Result, "Manager Cheque", positive ? 1 : 0, sequence_, total, valueDate, "", ""},
            rs_.services);
    }
}

std::string ManagerChequeReformatter::pickupBranch() const {
    if (line_[mcp::kPickupBranch] == "     ") {
        return defaultBranch_;
    }
    const std::int64_t number = line_.require(line_.number(mcp::kPickupBranch));
    std::string branch = PadNumber(number, r003::kBranchCode.width());
    if (static_cast<int>(branch.size()) > r003::kBranchCode.width()) {
        // A branch of five digits would shift every field after it for the host.
        line_.fail({line_.lineNo(), &mcp::kPickupBranch, Rule::Fits, std::string(line_[mcp::kPickupBranch]),
                    &r003::kBranchCode});
    }
    return branch;
}

std::optional<BadAmount> ManagerChequeReformatter::badAmount(bool invoicesFollow, std::string_view itemCount,
                                                             std::vector<TaxItem>& items) const {
    // The amounts every cheque carries into record 003 or the detail table, and the invoice amount when
    // record 003 takes it.
    for (const Field* field : {&mcp::kTaxAmount, &mcp::kVatAmount}) {
        if (!line_.amount(*field)) {
            return BadAmount{field, 0};
        }
    }
    if (invoicesFollow && !line_.amount(mcp::kInvoiceAmount)) {
        return BadAmount{&mcp::kInvoiceAmount, 0};
    }
    if (line_[mcp::kTaxFlag] == "1") {
        items = TaxItemsOf(line_, itemCount);
        return BadTaxAmount(line_, items);
    }
    return std::nullopt;
}

std::string_view ManagerChequeReformatter::itemCount(bool withTax) const {
    if (!withTax) {
        return "00";
    }
    if (line_[mcp::kIncomeType] != "6") {
        return "01";
    }
    int items = 0;
    for (const Field* tax : {&mcp::kItemTax1, &mcp::kItemTax2, &mcp::kItemTax3}) {
        items += line_[*tax] != "000000000" ? 1 : 0;
    }
    static constexpr std::string_view kCounts[] = {"00", "01", "02", "03"};
    return kCounts[items];
}

ChequeValues ManagerChequeReformatter::valuesOf(bool withTax, std::string_view invoiceFlag,
                                                std::int64_t sequence) const {
    const auto text = [this](const Field& field) { return line_.require(line_.text(field)); };
    ChequeValues v;
    v.sequence = sequence;
    v.amount = *line_.amount(mcp::kChequeAmount);
    v.taxAmount = *line_.amount(mcp::kTaxAmount);
    v.vatAmount = *line_.amount(mcp::kVatAmount);
    v.taxFlag = yesNo(withTax);
    v.invoiceFlag = invoiceFlag;
    v.itemCount = itemCount(withTax);
    if (invoiceFlag == "Y" && line_[mcp::kInvoiceCount] != "000") {
        v.invoiceTotal = *line_.amount(mcp::kInvoiceAmount);
    }
    v.delivery = deliveryCode(line_[mcp::kDeliveryCode]);
    v.taxForm = taxFormCode(line_[mcp::kTaxForm]);
    v.runningNo = text(mcp::kTaxRunningNo);
    v.attachNo = PadNumber(Trim(text(mcp::kTaxAttachNo)), r003::kTaxAttachNo.width());
    v.taxPaid = text(mcp::kTaxPaidCondition);
    v.freeText = text(mcp::kFreeText);
    v.taxDate = line_.dateParts(mcp::kTaxDate);
    v.branch = pickupBranch();
    if (v.delivery == "C") {
        v.location = v.branch == "0111" ? "C001" : v.branch == "0001" ? "C002" : "";
    }
    v.reference = text(mcp::kReferenceNo);
    v.chequeType = line_[mcp::kChequeType] == "1" ? "1" : "4";
    v.payeeCode = text(mcp::kPayeeCode);
    v.name = text(mcp::kPayeeName);
    v.address1 = text(mcp::kAddress1);
    v.address2 = text(mcp::kAddress2);
    v.address3 = text(mcp::kAddress3);
    v.taxId = text(mcp::kTaxId);
    return v;
}

void ManagerChequeReformatter::writeRecord003(const ChequeValues& v) {
    RecordWriter& r = record003_;
    r.reset();
    r.number(r003::kCreditSequence, v.sequence);
    r.amount(r003::kAmount, v.amount);
    r.text(r003::kTaxFlag, v.taxFlag);
    r.text(r003::kInvoiceFlag, v.invoiceFlag);
    r.text(r003::kDeliveryCode, v.delivery);
    r.text(r003::kTaxFormCode, v.taxForm);
    r.text(r003::kTaxRunningNo, v.runningNo);
    r.digits(r003::kTaxAttachNo, v.attachNo);
    r.text(r003::kTaxItemCount, v.itemCount);
    r.amount(r003::kTaxAmount, v.taxAmount);
    r.digits(r003::kInvoiceCount, line_[mcp::kInvoiceCount]);
    r.amount(r003::kInvoiceTotal, v.invoiceTotal);
    r.text(r003::kTaxPaidCondition, v.taxPaid);
    r.text(r003::kFreeText, v.freeText);
    r.text(r003::kTaxDate, v.taxDate.yyyymmdd());
    r.digits(r003::kBranchCode, v.branch);
    r.text(r003::kPickupLocation, v.location);
    r.text(r003::kReferenceNo, v.reference);
    r.text(r003::kChequeType, v.chequeType);
    cheques_.upload.writeRecord(r.record());
}

void ManagerChequeReformatter::writeRecord004(const ChequeValues& v) {
    RecordWriter& p = record004_;
    p.reset();
    p.number(r004::kCreditSequence, v.sequence);
    p.text(r004::kPayeeCode, v.payeeCode);
    p.text(HasThaiChar(v.name, mcp::kPayeeName.width()) ? r004::kNameThai : r004::kNameEnglish, v.name);
    p.text(r004::kAddress1, v.address1);
    p.text(r004::kAddress2, v.address2);
    p.text(r004::kAddress3, v.address3);
    p.text(r004::kTaxId, v.taxId);
    cheques_.upload.writeRecord(p.record());
}

void ManagerChequeReformatter::detailRow(const ChequeValues& v) {
    rs_.services.store.append("Mcp_Detail", {{"ID", PadNumber(v.sequence, r003::kCreditSequence.width())},
                                             {"Name", cp874::toUtf8(v.name)},
                                             {"CAmount", v.amount.toDouble()},
                                             {"WhtAmount", v.taxAmount.toDouble()},
                                             {"VatAmount", v.vatAmount.toDouble()},
                                             {"InvoiceAmount", v.invoiceTotal.toDouble()},
                                             {"RefNo", cp874::toUtf8(v.reference)},
                                             {"TaxId", cp874::toUtf8(v.taxId)},
                                             {"TaxAttach", cp874::toUtf8(v.attachNo)},
                                             {"TaxRun", cp874::toUtf8(v.runningNo)},
                                             {"TaxDate", cp874::toUtf8(v.taxDate.slashed())},
                                             {"TaxPaid", cp874::toUtf8(v.taxPaid)},
                                             {"TaxForm", std::string(v.taxForm)}});
}

bool ManagerChequeReformatter::accept(Money& amount) {
    const bool withTax = line_[mcp::kTaxFlag] == "1";
    const std::string_view invoiceFlag = yesNo(line_[mcp::kInvoiceFlag] == "1");
    if (invoiceFlag == "Y" && rs_.request.invoicePath.empty()) {
        stop("This payment file must have invoice data");
        return false;
    }
    // Every value this cheque needs is read and checked before its first record is written: a bad one
    // rejects the line, with and without "Print detail" alike.
    const bool invoicesFollow = invoiceFlag == "Y" && line_[mcp::kInvoiceCount] != "000";
    std::vector<TaxItem> items;  // the tax items when `withTax`
    if (const std::optional<BadAmount> bad = badAmount(invoicesFollow, itemCount(withTax), items)) {
        cheques_.invoiceSkipCount += skippedInvoices();
        rejectAmount(*bad);
        return true;
    }
    const bool withInvoices = !rs_.request.invoicePath.empty() && invoiceFlag == "Y";
    ChequeInvoices invoices;
    if (withInvoices) {
        invoices = ReadChequeInvoices(cheques_, line_, line_.require(line_.digits(mcp::kInvoiceCount)));
        if (invoices.mismatch) {
            rs_.message("Invoice file and payment file are missmatch");
            rs_.listings->close();
            return false;
        }
        if (invoices.badAmount) {
            rejectAmount(*invoices.badAmount);
            return true;
        }
    }

    const ChequeValues values = valuesOf(withTax, invoiceFlag, ++sequence_);
    amount = values.amount;
    writeRecord003(values);
    writeRecord004(values);
    if (cheques_.printDetail) {
        detailRow(values);
    }
    if (withTax) {
        WriteTaxRecords(cheques_, line_, items, values.sequence);
    }
    if (withInvoices) {
        WriteInvoiceRecords(cheques_, invoices, values.sequence);
    }
    return true;
}

void ManagerChequeReformatter::rejectAmount(const BadAmount& bad) {
    const std::int64_t lineNo = line_.lineNo();
    if (bad.invoiceLine == 0) {
        std::string name(bad.field->name);
        name.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(name.front())));
        rejects_.reject({Reject::ChequeFieldAmount, lineNo, bad.field, nullptr, {name, {}, {}}});
        return;
    }
    // The invoice file's fault, named on the cheque line whose invoices it holds.
    rejects_.reject(
        {Reject::InvoiceAmount,
         lineNo,
         &mcp::kInvoiceCount,
         nullptr,
         {std::to_string(bad.invoiceLine), columnsText(*bad.field), std::string(bad.field->name)}});
}

std::int64_t ManagerChequeReformatter::skippedInvoices() const {
    // Read only to skip the line's invoices: blanks around the number are let through.
    return line_.require(line_.number(mcp::kInvoiceCount));
}

void ManagerChequeReformatter::reject() {
    cheques_.invoiceSkipCount += skippedInvoices();
    const Reading<Money> amount = line_.amount(mcp::kChequeAmount);
    if (amount && *amount == Money()) {
        rejects_.reject({Reject::ChequeAmountZero, line_.lineNo(), &mcp::kChequeAmount});
    }
    if (!amount) {
        rejects_.reject({Reject::ChequeAmountInvalid, line_.lineNo(), &mcp::kChequeAmount});
    }
}

}  // namespace

void reformatManagerCheque(ReformatRun& run) {
    const RunProgressReset progressReset(run);
    const std::optional<std::string> printFlag = printFlagOf(run.services.settings.Print);
    if (!printFlag) {
        run.stop("The setting Print of section [ReFormat] in \"Default.ini\" must be one character: \"" +
                     run.services.settings.Print + "\" is not",
                 false);
        return;
    }
    // The lines of the source minus its header, counted by the check's reading when there was one.
    const std::int64_t counted = run.sourceChecked && run.sourceChecked->lines >= 0
                                     ? run.sourceChecked->lines - 1
                                     : CountDataLines(run.request.sourcePath);
    const std::int64_t dataLines = counted > 0 ? counted : 1;  // only scales the progress bar
    const TableStore::CommandScope scope(run.services.store);
    // The work file, the source and the invoice file close and go on every way out of the run.
    CreditUploadFile upload = run.creditUpload();
    LineReader source(run.request.sourcePath, LineReader::Digesting::Yes);
    InvoiceFile invoices(run.request.invoicePath.string());
    ManagerChequeReformatter(run, upload, invoices, *printFlag).run(source, dataLines);
    // Converted only if it is the file whose line lengths were checked.
    if (run.sourceChecked) {
        RequireSameReading(run.request.sourcePath, *run.sourceChecked, source.finishReading());
    }
}

}  // namespace qrv
