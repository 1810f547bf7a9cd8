#include <cctype>
#include <string>
#include <vector>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/FieldWidth.h"
#include "convert/ReformatRun.h"
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
                   SourceLine(run.request.invoicePath, "Manager Cheque invoice file")},
          listings_(*run.listings),
          defaultBranch_(upper(run.services.settings.DefaultBranchCode) != "FALSE" ? "0111" : "0001"),
          line_(run.request.sourcePath, "Manager Cheque source file"),
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
    void invalidEntry(const std::string& columns, const std::string& message);
    void fillRecord003(std::string_view taxFlag, std::string_view invoiceFlag, std::string_view itemCount,
                       std::int64_t sequence);
    void fillRecord004(std::int64_t sequence);
    std::string pickupBranch() const;
    void stop(const std::string& text) {
        listings_.close();
        rs_.stop(text, linesDone_ > 0);
    }

    ReformatRun& rs_;
    ChequeRun cheques_;
    ErrorListings& listings_;  // the run's, put in place when it ends
    std::string defaultBranch_;
    SourceLine line_;  // the cheque line being read
    RecordWriter record003_, record004_;
    std::int64_t linesDone_ = 0;  // cheque lines converted or rejected before the current one
    std::int64_t sequence_ = 0;
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
    std::string debitAccount;
    Money total;
    std::int64_t lineNo = 1;
    std::string_view text;
    while (source.next(text)) {
        linesDone_ = lineNo - 1;
        line_.read(text, lineNo);
        dueDate = line_.dateParts(mcp::kDueDate).yyyymmdd();
        debitAccount = line_[mcp::kDebitAccount];
        // The due date goes into record 002 as it stands: its digits, a calendar date.
        if (!line_.date(mcp::kDueDate)) {
            stop("Invalid  CHEQUE_DUE_DATE");
            return;
        }
        if (dueDate < today) {
            stop("CHEQUE_DUE_DATE should be today or future date");
            return;
        }
        if (!IsValidAccountNo(debitAccount)) {
            stop("Invalid QRV debit account");
            return;
        }
        Money amount;
        if (line_.digits(mcp::kChequeAmount) && *line_.amount(mcp::kChequeAmount) > Money()) {
            if (!accept(amount)) {
                rs_.result.outcome = linesDone_ > 0 ? Outcome::AllRejected : Outcome::Refused;
                return;
            }
        } else {
            reject();
        }
        const std::int64_t percent = (lineNo * 100 + dataLines - 1) / dataLines;
        rs_.progress(static_cast<int>(percent < 100 ? percent : 100));
        ++lineNo;
        total.addAt(amount, [&] { return "line " + std::to_string(lineNo - 1) + " of the source file"; });
    }

    const std::string total16 =
        AmountField(total, r002::kTotalAmount.width(), "total amount of record 002 and the trailer");
    cheques_.upload.writeRecord(TrailerRecord(1, sequence_, total16));
    listings_.close();

    rs_.result.counters = CounterSet::Credit;

    // The batch record takes the due date and debit account of the line read last.
    RecordWriter r2(kRecord002);
    r2.text(r002::kProductCode, "MCP");
    if (lineNo > 1) {
        r2.text(r002::kValueDate, dueDate);
        WriteAccount(r2, r002::kDebitAccount, r002::kDebitAccountType, r002::kDebitBranch, debitAccount);
        WriteAccount(r2, r002::kFeeAccount, r002::kFeeAccountType, r002::kFeeBranch, debitAccount);
    }
    r2.digits(r002::kTotalAmount, total16);
    r2.number(r002::kCreditCount, sequence_);

    const bool positive = total > Money();
    rs_.completeCreditUpload(cheques_.upload, r2.record(), positive, sequence_, total);

    const std::string valueDate =
        lineNo > 1 ? datePartsOf(dueDate, r002::kValueDate).slashed() : std::string();
    if (cheques_.printDetail) {
        // The 25-character debit account field of record 002; nothing when no line was read.
        const std::string accountField =
            lineNo > 1 ? std::string(columnsOf(r2.record(), r002::kDebitAccount)) : std::string();
        PrintMcpDetailReport(rs_, valueDate, accountField);
    } else {
        ShowResultReport(rs_.request, rs_.result,
                         {ResultLayout::Result, "Manager Cheque", positive ? "0000001" : "0000000",
                          std::to_string(sequence_), total16, valueDate, "", ""},
                         rs_.services);
    }
}

std::string ManagerChequeReformatter::pickupBranch() const {
    const std::string_view columns = line_[mcp::kPickupBranch];
    if (columns == "     ") {
        return defaultBranch_;
    }
    const std::string_view number = Trim(columns);
    if (!IsDigits(number)) {
        line_.fail(mcp::kPickupBranch, "\"" + cp874::toUtf8(columns) + "\" is not a pickup branch number");
    }
    return PadNumber(std::to_string(*ToInteger(number)), r003::kBranchCode.width());
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

void ManagerChequeReformatter::fillRecord003(std::string_view taxFlag, std::string_view invoiceFlag,
                                             std::string_view itemCount, std::int64_t sequence) {
    RecordWriter& r = record003_;
    r.reset();
    r.number(r003::kCreditSequence, sequence);
    r.amountDigits(r003::kAmount, line_[mcp::kChequeAmount], mcp::kChequeAmount.decimals);
    r.text(r003::kTaxFlag, taxFlag);
    r.text(r003::kInvoiceFlag, invoiceFlag);
    const std::string_view delivery = line_[mcp::kDeliveryCode];
    if (delivery == "1" || delivery == "2" || delivery == "3") {
        r.text(r003::kDeliveryCode, delivery == "1" ? "P" : delivery == "2" ? "C" : "M");
    }
    const std::string_view form = line_[mcp::kTaxForm];
    r.text(r003::kTaxFormCode, form == "1"   ? "01"
                               : form == "3" ? "02"
                               : form == "4" ? "03"
                               : form == "7" ? "53"
                                             : "00");
    r.text(r003::kTaxRunningNo, line_.text(mcp::kTaxRunningNo));
    r.digits(r003::kTaxAttachNo, Trim(line_.text(mcp::kTaxAttachNo)));
    r.text(r003::kTaxItemCount, itemCount);
    r.amountDigits(r003::kTaxAmount, line_[mcp::kTaxAmount], mcp::kTaxAmount.decimals);
    r.digits(r003::kInvoiceCount, line_[mcp::kInvoiceCount]);
    if (invoiceFlag == "Y" && columnsOf(r.record(), r003::kInvoiceCount) != "000000") {
        r.amountDigits(r003::kInvoiceTotal, line_[mcp::kInvoiceAmount], mcp::kInvoiceAmount.decimals);
    }
    r.text(r003::kTaxPaidCondition, line_.text(mcp::kTaxPaidCondition));
    r.text(r003::kFreeText, line_.text(mcp::kFreeText));
    r.text(r003::kTaxDate, line_.dateParts(mcp::kTaxDate).yyyymmdd());
    const std::string branch = pickupBranch();
    r.wholeDigits(r003::kBranchCode, branch);  // a branch of five digits keeps them
    if (delivery == "2") {
        if (branch == "0111") {
            r.text(r003::kPickupLocation, "C001");
        } else if (branch == "0001") {
            r.text(r003::kPickupLocation, "C002");
        }
    }
    r.text(r003::kReferenceNo, line_.text(mcp::kReferenceNo));
    r.text(r003::kChequeType, line_[mcp::kChequeType] == "1" ? "1" : "4");
}

void ManagerChequeReformatter::fillRecord004(std::int64_t sequence) {
    RecordWriter& p = record004_;
    p.reset();
    p.number(r004::kCreditSequence, sequence);
    p.text(r004::kPayeeCode, line_.text(mcp::kPayeeCode));
    const std::string_view name = line_.text(mcp::kPayeeName);
    p.text(HasThaiChar(name, mcp::kPayeeName.width()) ? r004::kNameThai : r004::kNameEnglish, name);
    p.text(r004::kAddress1, line_.text(mcp::kAddress1));
    p.text(r004::kAddress2, line_.text(mcp::kAddress2));
    p.text(r004::kAddress3, line_.text(mcp::kAddress3));
    p.text(r004::kTaxId, line_.text(mcp::kTaxId));
}

bool ManagerChequeReformatter::accept(Money& amount) {
    const bool withTax = line_[mcp::kTaxFlag] == "1";
    const std::string_view invoiceFlag = yesNo(line_[mcp::kInvoiceFlag] == "1");
    if (invoiceFlag == "Y" && rs_.request.invoicePath.empty()) {
        stop("This payment file must have invoice data");
        return false;
    }
    std::string itemCount = "00";
    if (withTax && line_[mcp::kIncomeType] != "6") {
        itemCount = "01";
    } else if (withTax) {
        int items = 0;
        for (const Field* tax : {&mcp::kItemTax1, &mcp::kItemTax2, &mcp::kItemTax3}) {
            items += line_[*tax] != "000000000" ? 1 : 0;
        }
        itemCount = "0" + std::to_string(items);
    }
    // Every value this cheque needs is read and checked before its first record is written: a bad one
    // rejects the line, with and without "Print detail" alike.
    const bool invoicesFollow = invoiceFlag == "Y" && line_[mcp::kInvoiceCount] != "000";
    std::vector<TaxItem> items;  // the tax items when `withTax`
    if (const std::optional<BadAmount> bad = badAmount(invoicesFollow, itemCount, items)) {
        cheques_.invoiceSkipCount += skippedInvoices();
        rejectAmount(*bad);
        return true;
    }
    const bool withInvoices = !rs_.request.invoicePath.empty() && invoiceFlag == "Y";
    ChequeInvoices invoices;
    if (withInvoices) {
        const std::optional<std::int64_t> count = line_.number(mcp::kInvoiceCount);
        if (!count) {
            line_.fail(mcp::kInvoiceCount,
                       "\"" + cp874::toUtf8(line_[mcp::kInvoiceCount]) + "\" is not a number");
        }
        invoices = ReadChequeInvoices(cheques_, line_, *count);
        if (invoices.mismatch) {
            rs_.message("Invoice file and payment file are missmatch");
            listings_.close();
            return false;
        }
        if (invoices.badAmount) {
            rejectAmount(*invoices.badAmount);
            return true;
        }
    }

    const std::int64_t sequence = ++sequence_;
    fillRecord003(yesNo(withTax), invoiceFlag, itemCount, sequence);
    fillRecord004(sequence);
    amount = *line_.amount(mcp::kChequeAmount);
    FieldValues detail;
    if (cheques_.printDetail) {
        const std::string& r = record003_.record();
        const auto value = [&r](const Field& field) {
            return Money::fromAmountField(columnsOf(r, field)).value_or(Money()).toDouble();
        };
        detail = {
            {"ID", std::string(columnsOf(r, r003::kCreditSequence))},
            {"Name", cp874::toUtf8(line_[mcp::kPayeeName])},
            {"CAmount", amount.toDouble()},
            {"WhtAmount", value(r003::kTaxAmount)},
            {"VatAmount", line_.amount(mcp::kVatAmount)->toDouble()},
            {"InvoiceAmount", value(r003::kInvoiceTotal)},
            {"RefNo", cp874::toUtf8(columnsOf(r, r003::kReferenceNo))},
            {"TaxId", cp874::toUtf8(columnsOf(record004_.record(), r004::kTaxId))},
            {"TaxAttach", cp874::toUtf8(columnsOf(r, r003::kTaxAttachNo))},
            {"TaxRun", cp874::toUtf8(columnsOf(r, r003::kTaxRunningNo))},
            {"TaxDate", cp874::toUtf8(datePartsOf(columnsOf(r, r003::kTaxDate), r003::kTaxDate).slashed())},
            {"TaxPaid", cp874::toUtf8(columnsOf(r, r003::kTaxPaidCondition))},
            {"TaxForm", std::string(columnsOf(r, r003::kTaxFormCode))}};
    }

    cheques_.upload.writeRecord(record003_.record());
    cheques_.upload.writeRecord(record004_.record());
    if (cheques_.printDetail) {
        rs_.services.store.append("Mcp_Detail", detail);
    }
    if (withTax) {
        WriteTaxRecords(cheques_, line_, items, sequence);
    }
    if (withInvoices) {
        WriteInvoiceRecords(cheques_, invoices, sequence);
    }
    return true;
}

void ManagerChequeReformatter::invalidEntry(const std::string& columns, const std::string& message) {
    const std::int64_t lineNo = line_.lineNo();
    listings_.AppendErrorLine(rs_.listingPath(kCreditAmountInvalidSuffix).string(),
                              ListingLine(lineNo, columns, message));
    rs_.reject(kCreditAmountInvalid, lineNo);
}

void ManagerChequeReformatter::rejectAmount(const BadAmount& bad) {
    if (bad.invoiceLine == 0) {
        std::string name(bad.field->name);
        name.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(name.front())));
        invalidEntry(columnsText(*bad.field) + " ", "  " + name + " less than zero or invalid number");
        return;
    }
    // The invoice file's fault, named on the cheque line whose invoices it holds.
    invalidEntry(columnsText(mcp::kInvoiceCount) + " ", "  Invoice line " + std::to_string(bad.invoiceLine) +
                                                            ", columns " + columnsText(*bad.field) +
                                                            ": invalid " + std::string(bad.field->name));
}

std::int64_t ManagerChequeReformatter::skippedInvoices() const {
    // Read only to skip the line's invoices: leading blanks are let through.
    const std::string_view count = line_[mcp::kInvoiceCount];
    const std::string_view digits = TrimLeading(count);
    if (!IsDigits(digits)) {
        line_.fail(mcp::kInvoiceCount, "\"" + cp874::toUtf8(count) + "\" is not a number");
    }
    return *ToInteger(digits);
}

void ManagerChequeReformatter::reject() {
    cheques_.invoiceSkipCount += skippedInvoices();
    const std::string columns = columnsText(mcp::kChequeAmount) + " ";
    const std::int64_t lineNo = line_.lineNo();
    if (line_[mcp::kChequeAmount] == "0000000000000") {
        listings_.AppendErrorLine(rs_.listingPath(kCreditZeroAmountSuffix).string(),
                                  ListingLine(lineNo, columns, "  Credit amount is zero"));
        rs_.reject(kCreditZeroAmount, lineNo);
    }
    if (!line_.digits(mcp::kChequeAmount)) {
        invalidEntry(columns, "  Credit amount less than zero or invalid number");
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
