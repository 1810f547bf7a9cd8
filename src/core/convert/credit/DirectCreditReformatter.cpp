#include "convert/credit/DirectCreditReformatter.h"

#include <array>
#include <charconv>
#include <optional>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/FieldWidth.h"
#include "base/Money.h"
#include "base/QrvError.h"
#include "convert/ReformatRun.h"
#include "convert/ResultReport.h"
#include "io/LineReader.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/SourceLine.h"
#include "layout/UploadLayouts.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"
#include "upload/ErrorListings.h"
#include "upload/RecordText.h"
#include "upload/UploadRecords.h"

namespace qrv {

using namespace layout;

DirectCreditProgress::DirectCreditProgress(std::string_view recordCount, std::uint64_t fileSize)
    : fileSize_(fileSize) {
    if (IsDigits(recordCount)) {
        count_ = ToInteger(recordCount).value_or(0);
    }
}

int DirectCreditProgress::percent(std::int64_t detailLinesRead, std::uint64_t bytesRead) const {
    std::uint64_t done = 0;
    std::uint64_t whole = 0;
    if (count_ > 0) {
        done = detailLinesRead < 0 ? 0 : static_cast<std::uint64_t>(detailLinesRead);
        whole = static_cast<std::uint64_t>(count_);
    } else {
        done = bytesRead;
        whole = fileSize_;
    }
    if (whole == 0 || done >= whole) {
        return whole == 0 ? 0 : 100;
    }
    return static_cast<int>((done * 100 + whole - 1) / whole);
}

namespace {

constexpr std::string_view kZeroAccount = "0000000000";

bool allZeros(std::string_view digits) {
    return digits.find_first_not_of('0') == std::string_view::npos;
}

void appendNumber(std::string& s, std::int64_t n) {
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
    s.append(buf, end);
}

// The three kinds of listing entry, in the order a rejected line writes them.
enum Kind { kAccount, kZeroAmount, kInvalidAmount };

struct EntryKind {
    std::string_view kind;
    std::string_view suffix;
    const char* fieldName;  // as the error table names it
};
constexpr std::array<EntryKind, 3> kKinds = {{
    {kInvalidAcct, kInvalidAcctSuffix, "Account"},
    {kCreditZeroAmount, kCreditZeroAmountSuffix, "Amount"},
    {kCreditAmountInvalid, kCreditAmountInvalidSuffix, "Amount"},
}};

// One run over one source file.
class DirectCreditRun {
  public:
    explicit DirectCreditRun(ReformatRun& run)
        : run_(run),
          request_(run.request),
          store_(run.services.store),
          printDetail_(run.request.printDetail),
          productCode_(run.productCode),
          listings_(*run.listings),
          line_(run.request.sourcePath, "source file"),
          record003_(kRecord003),
          record004_(kRecord004) {
        for (size_t k = 0; k < kKinds.size(); ++k) {
            listingNames_[k] = run.listingPath(kKinds[k].suffix).string();
        }
    }

    void execute();

  private:
    bool readHeader(LineReader& reader);
    void detailLine(CreditUploadFile& upload);
    void prepareRecords();
    void accept(std::string_view account, std::string_view amount, CreditUploadFile& upload);
    void entry(Kind kind, std::string_view message);
    std::string record002() const;
    void setResultValues();
    void showReport(const std::string& totalField, bool uploadWritten);

    ReformatRun& run_;
    const ReformatRequest& request_;
    TableStore& store_;
    const bool printDetail_;
    const std::string productCode_;
    ErrorListings& listings_;  // the run's, put in place when it ends
    std::array<std::string, 3> listingNames_;

    SourceLine line_;                     // the line being read
    const CreditForm* form_ = nullptr;    // the form the header chose
    std::array<std::string, 3> columns_;  // the listing columns of each kind of entry
    std::string companyName_;             // code page 874, untrimmed
    std::string recordCount_;
    DateParts effective_;

    std::int64_t accepted_ = 0;
    Money total_;

    RecordWriter record003_, record004_;  // with what every credit of the run shares
    std::string listingLine_;             // listing line being built
    std::string where_;                   // names the line for an overflowing total
};

bool DirectCreditRun::readHeader(LineReader& reader) {
    std::string_view header;
    if (!reader.next(header)) {
        header = {};
    }
    line_.read(header, 1);
    form_ = &creditFormOf(header);
    columns_ = {columnsText(dcp::kCreditAccount), columnsText(*form_->amount), columnsText(*form_->amount)};
    companyName_ = line_.text(*form_->companyName);
    recordCount_ = line_[*form_->recordCount];
    effective_ = line_.dateParts(*form_->effectiveDate);

    // The date goes into record 002 as it stands, so it must be its six digits ("1 " or "+1" would pass
    // the calendar check and corrupt the record).
    if (!line_.date(*form_->effectiveDate)) {
        run_.stop("Invalid EFFECTIVE-DATE", false);
        return false;
    }
    if (effective_.yyyymmdd() < run_.services.clock.today().yyyymmdd()) {
        run_.stop("EFFECTIVE-DATE should be today or future date", false);
        return false;
    }
    return true;
}

void DirectCreditRun::entry(Kind kind, std::string_view message) {
    const std::int64_t lineNo = line_.lineNo();
    const std::string& columns = columns_[kind];
    ListingLine(listingLine_, lineNo, columns, message);
    listings_.AppendErrorLine(listingNames_[kind], listingLine_);
    if (printDetail_) {
        store_.append("Dcp_Err", {{"LnNo", std::to_string(lineNo)},
                                  {"FieldName", std::string(kKinds[kind].fieldName)},
                                  {"ColNo", columns},
                                  {"DesErr", std::string(message.substr(2))}});
    }
    run_.reject(kKinds[kind].kind, lineNo);
}

void DirectCreditRun::prepareRecords() {
    record003_.text(r003::kDebitSequence, kFirstDebit);
    record003_.text(r003::kBankCode, kHomeBankCode);
    record003_.keepAsDefaults();
    record004_.text(r004::kDebitSequence, kFirstDebit);
    record004_.keepAsDefaults();
}

void DirectCreditRun::accept(std::string_view account, std::string_view amount, CreditUploadFile& upload) {
    ++accepted_;
    // Every other field keeps its default: the record is the default text with this credit's columns.
    record003_.reset();
    record003_.number(r003::kCreditSequence, accepted_);
    record003_.text(r003::kCreditAccount, account);
    record003_.amountDigits(r003::kAmount, amount, form_->amount->decimals);
    const char branch[4] = {'0', account[0], account[1], account[2]};
    record003_.text(r003::kBranchCode, std::string_view(branch, 4));
    upload.writeRecord(record003_.record());

    where_.assign("line ");
    appendNumber(where_, line_.lineNo());
    where_ += " of the source file (total amount)";
    const Money value = *Money::fromImpliedDecimals(amount, form_->amount->decimals);
    total_.add(value, where_);

    const std::string_view name = Trim(line_.text(*form_->payeeName));
    if (!name.empty()) {
        record004_.reset();
        record004_.number(r004::kCreditSequence, accepted_);
        const bool thai = HasThaiChar(name, static_cast<int>(name.size()));
        record004_.text(thai ? r004::kNameThai : r004::kNameEnglish, name);
        upload.writeRecord(record004_.record());
    }
    if (printDetail_) {
        store_.append("Dcp_Detail",
                      {{"AcNo", std::string(columnsOf(record003_.record(), r003::kCreditAccount))},
                       {"Amount", value.toDouble()},
                       {"Name", cp874::toUtf8(name)}});
    }
}

void DirectCreditRun::detailLine(CreditUploadFile& upload) {
    const std::string_view account = line_[dcp::kCreditAccount];
    const std::string_view amount = line_[*form_->amount];
    // An amount that is not plain digits of the full width cannot become an amount field: it is an
    // invalid amount, never a wrong one in the upload file.
    const bool amountValid = line_.digits(*form_->amount);
    const bool zeroAccount = account == kZeroAccount;
    const bool zeroAmount = amountValid && allZeros(amount);
    const bool validAccount = !zeroAccount && IsValidAccountNo(account);
    if (validAccount && amountValid && !zeroAmount) {
        accept(account, amount, upload);
        return;
    }
    if (zeroAccount) {
        entry(kAccount, "  Account is zero");
    } else if (!validAccount) {
        entry(kAccount, "  Account is invalid QRV account");
    }
    if (zeroAmount) {
        entry(kZeroAmount, "  Credit amount is zero");
    } else if (!amountValid) {
        entry(kInvalidAmount, "  Credit amount less than zero or invalid number");
    }
}

std::string DirectCreditRun::record002() const {
    // The accounts as checked: typed blanks around them are no part of the account.
    const std::string& debit = run_.accounts.debit->text();
    const std::string& fee = run_.accounts.fee->text();
    RecordWriter r(kRecord002);
    r.text(r002::kProductCode, productCode_);
    r.text(r002::kValueDate, effective_.yyyymmdd());
    WriteAccount(r, r002::kDebitAccount, r002::kDebitAccountType, r002::kDebitBranch, debit);
    r.amount(r002::kTotalAmount, total_);
    r.number(r002::kCreditCount, accepted_);
    WriteAccount(r, r002::kFeeAccount, r002::kFeeAccountType, r002::kFeeBranch, fee);
    return r.record();
}

void DirectCreditRun::setResultValues() {
    run_.result.counters = CounterSet::Credit;
}

void DirectCreditRun::showReport(const std::string& totalField, bool uploadWritten) {
    const std::string label(productLabel(*request_.product));
    const std::string valueDate = effective_.slashed();
    if (!printDetail_) {
        ShowResultReport(request_, run_.result,
                         {ResultLayout::Result, label, uploadWritten ? "000001" : "000000",
                          std::to_string(accepted_), totalField, valueDate, companyName_, "Company Name : "},
                         run_.services);
        return;
    }
    if (!run_.writes()) {
        return;
    }
    ReportRunner runner = run_.services.reports.open(kResultRunner, "rptDcpDetail.frf");
    runner.setVariable("HashCode", run_.result.hash);
    runner.setVariable("ComId", request_.companyId);
    runner.setVariable("PayType", label);
    runner.setVariable("ComName", cp874::toUtf8(companyName_));
    runner.setVariable("ValueDate", valueDate);
    // The detail report names the accounts as they were typed, blanks included.
    runner.setVariable("Acct", request_.debitAccount);
    runner.setVariable("AcctFee", request_.feeAccount);
    run_.services.showReport(runner, run_.result);
}

void DirectCreditRun::execute() {
    LineReader reader(request_.sourcePath);
    CreditUploadFile upload = run_.creditUpload();
    if (!readHeader(reader)) {
        return;
    }
    prepareRecords();

    std::optional<TableStore::CommandScope> scope;
    if (printDetail_) {
        scope.emplace(store_);
        store_.reset("Dcp_Detail");
        store_.reset("Dcp_Err");
    }

    const DirectCreditProgress progress(recordCount_, reader.fileSize());
    std::string_view line;
    while (reader.next(line)) {
        const std::int64_t lineNo = reader.lineNumber();
        line_.read(line, lineNo);
        detailLine(upload);
        run_.progress(progress.percent(lineNo - 1, reader.bytesRead()));
    }
    listings_.close();

    const std::string totalField =
        AmountField(total_, r999::kTotalAmount.width(), "total amount of the trailer");
    upload.writeRecord(TrailerRecord(1, accepted_, totalField));
    const bool anyAmount = total_ > Money();
    run_.completeCreditUpload(upload, record002(), anyAmount, accepted_, total_);
    setResultValues();
    showReport(totalField, anyAmount);
}

}  // namespace

void reformatDirectCredit(ReformatRun& run) {
    const RunProgressReset reset(run);
    DirectCreditRun(run).execute();
}

}  // namespace qrv
