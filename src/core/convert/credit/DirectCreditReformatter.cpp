#include "convert/credit/DirectCreditReformatter.h"

#include <optional>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/Money.h"
#include "convert/ReformatRun.h"
#include "convert/RejectSink.h"
#include "convert/ResultReport.h"
#include "io/LineReader.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/SourceLine.h"
#include "layout/UploadLayouts.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"
#include "upload/RecordText.h"
#include "upload/UploadRecords.h"

namespace qrv {

using namespace layout;

DirectCreditProgress::DirectCreditProgress(std::int64_t recordCount, std::uint64_t fileSize)
    : count_(recordCount), fileSize_(fileSize) {}

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

// One run over one source file.
class DirectCreditRun {
  public:
    explicit DirectCreditRun(ReformatRun& run)
        : run_(run),
          request_(run.request),
          store_(run.services.store),
          printDetail_(run.request.printDetail),
          line_(run.request.sourcePath, SourceFile::DirectCredit),
          rejects_(run.result, &store_,
                   printDetail_ ? RejectSink::Table::CreditErrors : RejectSink::Table::None, run.listings,
                   run.listingPath("").string()),
          record003_(kRecord003),
          record004_(kRecord004) {}

    void execute();

  private:
    bool readHeader(LineReader& reader);
    void detailLine(CreditUploadFile& upload);
    void prepareRecords();
    void accept(const AccountNumber& account, Money amount, CreditUploadFile& upload);
    void reject(Reject kind, const Field& field) { rejects_.reject({kind, line_.lineNo(), &field}); }
    void showReport(bool uploadWritten);

    ReformatRun& run_;
    const ReformatRequest& request_;
    TableStore& store_;
    const bool printDetail_;

    SourceLine line_;                   // the line being read
    RejectSink rejects_;                // the run's listings and error rows
    const CreditForm* form_ = nullptr;  // the form the header chose
    std::string companyName_;           // code page 874, untrimmed
    std::int64_t recordCount_ = 0;
    Date effective_;

    std::int64_t accepted_ = 0;
    Money total_;

    RecordWriter record003_, record004_;  // with what every credit of the run shares
};

bool DirectCreditRun::readHeader(LineReader& reader) {
    if (!line_.next(reader)) {
        line_.read({}, 1);
    }
    form_ = &creditFormOf(line_.text());
    companyName_ = line_.require(line_.text(*form_->companyName));
    recordCount_ = line_.digits(*form_->recordCount).valueOr(0);
    const Reading<Date> effective = line_.date(*form_->effectiveDate);
    if (!effective) {
        run_.stop("Invalid EFFECTIVE-DATE", false);
        return false;
    }
    effective_ = *effective;
    if (effective_ < run_.services.clock.today()) {
        run_.stop("EFFECTIVE-DATE should be today or future date", false);
        return false;
    }
    return true;
}

void DirectCreditRun::prepareRecords() {
    record003_.text(r003::kDebitSequence, kFirstDebit);
    record003_.text(r003::kBankCode, kHomeBankCode);
    record003_.keepAsDefaults();
    record004_.text(r004::kDebitSequence, kFirstDebit);
    record004_.keepAsDefaults();
}

void DirectCreditRun::accept(const AccountNumber& account, Money amount, CreditUploadFile& upload) {
    ++accepted_;
    // Every other field keeps its default: the record is the default text with this credit's columns.
    record003_.reset();
    record003_.number(r003::kCreditSequence, accepted_);
    record003_.text(r003::kCreditAccount, account.text());
    record003_.amount(r003::kAmount, amount);
    const std::string_view branch = account.branch();
    const char branchText[4] = {'0', branch[0], branch[1], branch[2]};
    record003_.text(r003::kBranchCode, std::string_view(branchText, 4));
    upload.writeRecord(record003_.record());
    total_.addAt(amount, [&] { return line_.place(*form_->amount); });

    const std::string_view name = Trim(line_.require(line_.text(*form_->payeeName)));
    if (!name.empty()) {
        record004_.reset();
        record004_.number(r004::kCreditSequence, accepted_);
        const bool thai = HasThaiChar(name, static_cast<int>(name.size()));
        record004_.text(thai ? r004::kNameThai : r004::kNameEnglish, name);
        upload.writeRecord(record004_.record());
    }
    if (printDetail_) {
        store_.append("Dcp_Detail", {{"AcNo", PadText(account.text(), r003::kCreditAccount.width())},
                                     {"Amount", amount.toDouble()},
                                     {"Name", cp874::toUtf8(name)}});
    }
}

void DirectCreditRun::detailLine(CreditUploadFile& upload) {
    const Field& accountField = dcp::kCreditAccount;
    const Reading<AccountNumber> account = line_.account(accountField);
    // An amount that is not plain digits of the full width cannot become an amount field: it is an
    // invalid amount, never a wrong one in the upload file.
    const Reading<Money> amount = line_.amount(*form_->amount);
    const bool zeroAccount = line_[accountField] == kZeroAccount;
    const bool zeroAmount = amount && *amount == Money();
    if (account && amount && !zeroAmount) {
        accept(*account, *amount, upload);
        return;
    }
    if (zeroAccount) {
        reject(Reject::AccountZero, accountField);
    } else if (!account) {
        reject(Reject::AccountInvalid, accountField);
    }
    if (zeroAmount) {
        reject(Reject::AmountZero, *form_->amount);
    } else if (!amount) {
        reject(Reject::AmountInvalid, *form_->amount);
    }
}

void DirectCreditRun::showReport(bool uploadWritten) {
    const std::string label(productLabel(*request_.product));
    const std::string valueDate = effective_.ddmmyyyy();
    if (!printDetail_) {
        ShowResultReport(request_, run_.result,
                         {ResultLayout::Result, label, uploadWritten ? 1 : 0, accepted_, total_, valueDate,
                          companyName_, "Company Name : "},
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
    // Digested beside the reading, on another core: the run history takes the source's content from it.
    LineReader reader(request_.sourcePath, LineReader::Digesting::Yes);
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
    while (line_.next(reader)) {
        detailLine(upload);
        run_.progress(progress.percent(line_.lineNo() - 1, reader.bytesRead()));
    }
    run_.sourceRead = reader.finishReading();
    run_.listings->close();

    upload.writeRecord(TrailerRecord(1, accepted_, total_));
    const bool anyAmount = total_ > Money();
    // The accounts as checked: typed blanks around them are no part of the account.
    const std::string record002 = DebitRecord(
        {run_.productCode, effective_, &*run_.accounts.debit, &*run_.accounts.fee, {}, total_, accepted_});
    run_.completeCreditUpload(upload, record002, anyAmount, accepted_, total_);
    run_.result.counters = CounterSet::Credit;
    showReport(anyAmount);
}

}  // namespace

void reformatDirectCredit(ReformatRun& run) {
    const RunProgressReset reset(run);
    DirectCreditRun(run).execute();
}

}  // namespace qrv
