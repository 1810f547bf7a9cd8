#include "convert/credit/MediaClearingReformatter.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

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

std::string_view MediaClearingServiceType(std::string_view code) {
    static constexpr std::pair<std::string_view, std::string_view> kTypes[] = {
        {"01", "(01)Salary, wages, gratuity or retirement"},
        {"02", "(02)Distribute profits"},
        {"03", "(03)Interest"},
        {"04", "(04)Expense for goods or services"},
        {"05", "(05)To sell property"},
        {"06", "(06)Tax returned"},
        {"07", "(07)Loan"},
        {"59", "(59)Others"},
    };
    for (const auto& [c, text] : kTypes) {
        if (c == code) {
            return text;
        }
    }
    return {};
}

namespace {

// Credits from another sending bank may not exceed 2,000,000.00 baht.
constexpr Money kLimit = Money::fromUnits(2'000'000LL * Money::kScale);

constexpr std::string_view kNewBank = "New bank";
constexpr std::string_view kNewBranch = "New branch";

// The English name of a reference row, as the record takes it: as many characters as the record's name
// field holds (35).
std::string first35(const std::string& utf8, const std::string& field) {
    std::string text = recordText(utf8, field);
    const size_t width = static_cast<size_t>(r003::kBankName.width());
    if (text.size() > width) {
        text.resize(width);
    }
    return text;
}

// Bank.DAT look-up. An unknown code (or one whose English name is blank) is registered as "New bank":
// a new row, or the blank name of the existing row filled in (codes are unique).
std::string bankName(TableStore& store, std::string_view bankCode) {
    const std::string code = cp874::toUtf8(bankCode);
    std::optional<Row> row;
    std::string name;
    const auto look = [&] {
        row = store.lookup("Bank", "BANK_CODE", code);
        name = row ? first35(row->text("BANK_NAME_EN"), "English name of bank " + code) : std::string();
        return !Trim(name).empty();
    };
    if (look()) {
        return name;
    }
    // Another run may register the same code meanwhile: asked again once no other run can change it.
    store.holdWriteLock();
    if (look()) {
        return name;
    }
    if (row) {
        store.execute("UPDATE Bank SET BANK_NAME_EN = ? WHERE BANK_CODE = ?", {std::string(kNewBank), code});
    } else {
        store.append("Bank", {{"BANK_CODE", code}, {"BANK_NAME_EN", std::string(kNewBank)}});
    }
    return std::string(kNewBank);
}

// Branch.DAT look-up by bank and branch code, registering an unknown branch as "New branch".
std::string branchName(TableStore& store, std::string_view bankCode, std::string_view branchCode) {
    const std::string bank = cp874::toUtf8(bankCode);
    const std::string branch = cp874::toUtf8(branchCode);
    std::vector<Row> rows;
    std::string name;
    const auto look = [&] {
        rows = store.query(
            "SELECT BRANCH_NAME_EN FROM BRANCH WHERE BANK_CODE = ? AND BRANCH_CODE = ? ORDER BY rowid LIMIT "
            "1",
            {bank, branch});
        name = rows.empty() ? std::string()
                            : first35(rows.front().text("BRANCH_NAME_EN"),
                                      "English name of branch " + branch + " of bank " + bank);
        return !Trim(name).empty();
    };
    if (look()) {
        return name;
    }
    store.holdWriteLock();
    if (look()) {
        return name;
    }
    if (!rows.empty()) {
        store.execute("UPDATE BRANCH SET BRANCH_NAME_EN = ? WHERE BANK_CODE = ? AND BRANCH_CODE = ?",
                      {std::string(kNewBranch), bank, branch});
    } else {
        store.append(
            "BRANCH",
            {{"BANK_CODE", bank}, {"BRANCH_CODE", branch}, {"BRANCH_NAME_EN", std::string(kNewBranch)}});
    }
    return std::string(kNewBranch);
}

// The home bank's accounts are checked without the first column of the field; another bank's are its
// digits, not all zeros.
bool creditAccountPasses(const SourceLine& line, bool homeBank) {
    if (homeBank) {
        return static_cast<bool>(line.account(mcl::kHomeBankAccount));
    }
    const Reading<std::int64_t> digits = line.digits(mcl::kCreditAccount);
    return digits && *digits != 0;
}

// The faulty ones of the bank and branch codes, as columns of the line.
std::pair<int, int> faultyCodes(bool bankOk, bool branchOk) {
    const Field& from = bankOk ? mcl::kBranchCode : mcl::kBankCode;
    const Field& to = branchOk ? mcl::kBankCode : mcl::kBranchCode;
    return {from.first, to.last};
}

class MediaClearingRun {
  public:
    explicit MediaClearingRun(ReformatRun& run)
        : run_(run),
          request_(run.request),
          store_(run.services.store),
          print_(run.request.printDetail),
          line_(run.request.sourcePath, SourceFile::MediaClearing),
          rejects_(run.result, &store_, print_ ? RejectSink::Table::CreditErrors : RejectSink::Table::None,
                   run.listings, run.listingPath("").string()),
          record003_(kRecord003),
          record004_(kRecord004) {
        record003_.text(r003::kDebitSequence, kFirstDebit);
        record003_.keepAsDefaults();
        record004_.text(r004::kDebitSequence, kFirstDebit);
        record004_.keepAsDefaults();
    }

    void execute();

  private:
    void detailLine();
    void rejectLine(bool homeBank, bool accountOk, const Reading<Money>& amount, bool bankOk, bool branchOk);
    void accept(std::string_view bank, std::string_view branch, const std::string& bankName,
                const std::string& branchName);
    void reject(Reject kind, const Field& field) {
        keepUpload_ = false;
        rejects_.reject({kind, line_.lineNo(), &field});
    }
    void progress(const LineReader& reader);
    void finish(const Date& effective, const std::string& comName);
    const std::string& cachedBankName(std::string_view bank);
    const std::string& cachedBranchName(std::string_view bank, std::string_view branch);

    ReformatRun& run_;
    const ReformatRequest& request_;
    TableStore& store_;
    const bool print_;
    std::unique_ptr<CreditUploadFile> upload_;
    SourceLine line_;  // the line being read
    RejectSink rejects_;
    RecordWriter record003_, record004_;

    bool keepUpload_ = true;  // false once a line voids the upload
    std::int64_t credits_ = 0;
    Money total_;
    Money overLimit_;  // the credits of total_ that are over the limit
    std::int64_t recordCount_ = 0;
    std::string lastLine_;
    bool haveLast_ = false;
    // Names looked up (or registered) in this run, by code: a file names few banks and branches, and
    // nothing else changes the reference tables while the run holds its transaction.
    std::unordered_map<std::string, std::string> bankNames_;
    std::unordered_map<std::string, std::string> branchNames_;
};

const std::string& MediaClearingRun::cachedBankName(std::string_view bank) {
    const std::string key(bank);
    auto it = bankNames_.find(key);
    if (it == bankNames_.end()) {
        it = bankNames_.emplace(key, bankName(store_, bank)).first;
    }
    return it->second;
}

const std::string& MediaClearingRun::cachedBranchName(std::string_view bank, std::string_view branch) {
    std::string key(bank);
    key += '\0';
    key += branch;
    auto it = branchNames_.find(key);
    if (it == branchNames_.end()) {
        it = branchNames_.emplace(key, branchName(store_, bank, branch)).first;
    }
    return it->second;
}

void MediaClearingRun::execute() {
    // Digested beside the reading, on another core: the run history takes the source's content from it.
    LineReader reader(request_.sourcePath, LineReader::Digesting::Yes);
    upload_ = std::make_unique<CreditUploadFile>(run_.creditUpload());

    if (!line_.next(reader)) {
        line_.read({}, 1);
    }
    recordCount_ = line_.number(mcl::kRecordCount).valueOr(0);
    const Reading<Date> effective = line_.date(mcl::kEffectiveDate);
    if (!effective) {
        run_.stop("Invalid  EFFECTIVE DATE OF TRANSFER", false);
        return;
    }
    if (!(*effective > run_.services.clock.today())) {
        run_.stop("EFFECTIVE DATE OF TRANSFER should be future date", false);
        return;
    }
    const std::string comName(line_.require(line_.text(mcl::kCompanyName)));
    if (print_) {
        store_.reset("Mcl_Detail");
        store_.reset("Dcp_Err");
    }

    while (line_.next(reader)) {
        // Every line names the account to debit; a bad one stops the run where it stands.
        if (!line_.account(mcl::kDebitAccount)) {
            run_.listings->close();
            run_.stop("Invalid QRV debit account", haveLast_);
            return;
        }
        detailLine();
        progress(reader);
    }
    run_.sourceRead = reader.finishReading();
    run_.listings->close();
    finish(*effective, comName);
}

void MediaClearingRun::detailLine() {
    lastLine_.assign(line_.text());
    haveLast_ = true;

    // Codes are registered before the checks, so those of lines rejected below are known next time.
    const std::string_view bank = line_[mcl::kBankCode];
    const std::string_view branch = line_[mcl::kBranchCode];
    const std::string& bankText = cachedBankName(bank);
    const std::string& branchText = cachedBranchName(bank, branch);

    const bool homeBank = bank == kHomeBankCode;
    const bool accountOk = creditAccountPasses(line_, homeBank);
    // Only twelve plain digits make an amount: blanks, a sign, a point, an exponent or a short line are an
    // invalid amount.
    const Reading<Money> amount = line_.amount(mcl::kAmount);
    const bool bankOk = static_cast<bool>(line_.digits(mcl::kBankCode));
    const bool branchOk = static_cast<bool>(line_.digits(mcl::kBranchCode));
    if (accountOk && amount && *amount != Money() && bankOk && branchOk) {
        accept(bank, branch, bankText, branchText);
        return;
    }
    rejectLine(homeBank, accountOk, amount, bankOk, branchOk);
}

void MediaClearingRun::rejectLine(bool homeBank, bool accountOk, const Reading<Money>& amount, bool bankOk,
                                  bool branchOk) {
    if (!accountOk) {
        reject(homeBank ? Reject::HomeBankAccount : Reject::OtherBankAccount, mcl::kCreditAccount);
    }
    if (amount && *amount == Money()) {
        reject(Reject::AmountZero, mcl::kAmount);
    }
    if (!amount) {
        reject(Reject::AmountInvalid, mcl::kAmount);
    }
    if (!bankOk || !branchOk) {
        keepUpload_ = false;
        const auto [first, last] = faultyCodes(bankOk, branchOk);
        rejects_.reject({Reject::BankBranchCode,
                         line_.lineNo(),
                         &mcl::kBankCode,
                         &mcl::kBranchCode,
                         {std::string(line_[mcl::kBankCode]), std::string(line_[mcl::kBranchCode]), {}},
                         {},
                         first,
                         last});
    }
}

void MediaClearingRun::accept(std::string_view bank, std::string_view branch, const std::string& bankText,
                              const std::string& branchText) {
    const std::int64_t lineNo = line_.lineNo();
    const Money value = *line_.amount(mcl::kAmount);
    if (line_[mcl::kSendingBank] != kHomeBankCode && value > kLimit) {
        // Over the limit: still written and totalled, but the whole upload is void; a rejected entry, not
        // an accepted one.
        keepUpload_ = false;
        overLimit_.add(value, "the credits over the limit");
        rejects_.reject({Reject::OverLimit, lineNo, &mcl::kAmount});
    }
    ++credits_;
    // A home-bank account given with a leading "0" is written as its last ten digits.
    std::string_view account = line_[mcl::kCreditAccount];
    if (account.starts_with('0')) {
        account.remove_prefix(1);
    }

    record003_.reset();
    record003_.number(r003::kCreditSequence, credits_);
    record003_.text(r003::kCreditAccount, account);
    record003_.amount(r003::kAmount, value);
    record003_.text(r003::kBankCode, bank);
    record003_.text(r003::kBankName, bankText);
    record003_.text(r003::kBranchCode, branch);
    record003_.text(r003::kBranchName, branchText);
    const std::string_view serviceType = line_.require(line_.text(mcl::kServiceType));
    record003_.text(r003::kServiceType, serviceType);
    upload_->writeRecord(record003_.record());
    total_.addAt(value, [&] { return line_.place(mcl::kAmount); });

    record004_.reset();
    record004_.number(r004::kCreditSequence, credits_);
    const std::string_view payee = line_.require(line_.text(mcl::kReceiverId));
    if (payee != "0000000000") {
        record004_.text(r004::kPayeeCode, payee);
    }
    const std::string_view name = line_.require(line_.text(mcl::kReceiverName));
    const bool thai = HasThaiChar(name, mcl::kReceiverName.width());
    record004_.text(thai ? r004::kNameThai : r004::kNameEnglish, name);
    upload_->writeRecord(record004_.record());

    if (print_) {
        store_.append("Mcl_Detail", {{"Acct", cp874::toUtf8(PadText(account, r003::kCreditAccount.width()))},
                                     {"BankCode", cp874::toUtf8(bank)},
                                     {"BranchCode", cp874::toUtf8(branch)},
                                     {"Amount", value.toDouble()},
                                     {"ServiceType", std::string(MediaClearingServiceType(serviceType))},
                                     {"Name", cp874::toUtf8(name)}});
    }
}

// The share of the header's record count read so far, rounded up; without a usable count, the share
// of the file's bytes.
void MediaClearingRun::progress(const LineReader& reader) {
    std::uint64_t done = 0;
    std::uint64_t whole = 0;
    if (recordCount_ > 0) {
        done = static_cast<std::uint64_t>(reader.lineNumber() - 1);
        whole = static_cast<std::uint64_t>(recordCount_);
    } else {
        done = reader.bytesRead();
        whole = reader.fileSize();
    }
    if (whole == 0) {
        return;
    }
    const std::uint64_t percent = std::min<std::uint64_t>(100, (done * 100 + whole - 1) / whole);
    run_.progress(static_cast<int>(percent));
}

void MediaClearingRun::finish(const Date& effective, const std::string& comName) {
    upload_->writeRecord(TrailerRecord(1, credits_, total_));
    run_.result.counters = CounterSet::Credit;

    // The debit account and its branch come from the last detail line.
    std::optional<AccountNumber> debit;
    std::string sendingBranch;
    if (haveLast_) {
        line_.read(lastLine_, line_.lineNo());
        debit = *line_.account(mcl::kDebitAccount);
        sendingBranch = line_.require(line_.text(mcl::kSendingBranch));
    }
    const std::string record002 = DebitRecord({run_.productCode, effective, debit ? &*debit : nullptr,
                                               debit ? &*debit : nullptr, sendingBranch, total_, credits_});
    const std::string debitAccount = debit ? debit->text() : std::string();
    const std::string valueDate = effective.ddmmyyyy();

    // A voided upload (a rejected or over-limit line) is reported but never written, nor hashed, so an
    // earlier file of that name stays and nothing is archived.
    const bool totalAboveZero = total_ > Money();
    const bool write = totalAboveZero && keepUpload_;
    CreditUploadFile::Result result =
        upload_->complete(record002, write && run_.writes(), write, request_.sourcePath);
    run_.takeUpload(result);
    // The credits accepted: an over-limit credit is a rejected entry, though the voided file held it.
    run_.result.records = credits_ - run_.rejectedCount(kOverLimit);
    run_.result.total = Money::fromUnits(total_.units() - overLimit_.units());  // a part of it: no overflow
    run_.finish(write);
    if (write) {
        run_.result.hash = result.hash;
        run_.completed();
    } else if (totalAboveZero) {
        // No hash of the voided file: it was never written, and a hash is read as proof that it was.
        run_.message("Reformat data fail because some transactions are rejected");
    } else {
        run_.message("Reformat data fail because data are rejected all transactions");
    }

    const std::string label(productLabel(*run_.request.product));
    if (print_) {
        if (run_.writes()) {
            ReportRunner runner = run_.services.reports.open(kResultRunner, "rptMclDetail.frf");
            runner.setVariable("HashCode", run_.result.hash);
            runner.setVariable("ComId", request_.companyId);
            runner.setVariable("PayType", label);
            runner.setVariable("ComName", cp874::toUtf8(comName));
            runner.setVariable("ValueDate", valueDate);
            runner.setVariable("Acct", cp874::toUtf8(debitAccount));
            runner.setVariable("AcctFee", cp874::toUtf8(debitAccount));
            run_.services.showReport(runner, run_.result);
        }
    } else {
        ShowResultReport(request_, run_.result,
                         {ResultLayout::Result, label, totalAboveZero ? 1 : 0, credits_, total_, valueDate,
                          comName, "Company Name : "},
                         run_.services);
    }
    run_.resetProgress();
}

}  // namespace

void reformatMediaClearing(ReformatRun& run) {
    TableStore::CommandScope scope(run.services.store);
    MediaClearingRun(run).execute();
}

}  // namespace qrv
