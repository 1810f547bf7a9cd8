#include "convert/credit/MediaClearingReformatter.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/FieldWidth.h"
#include "base/Money.h"
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

// Whether a credit of `amount` from `sendingBank` is over the limit.
bool overLimit(std::string_view sendingBank, Money amount) {
    return sendingBank != kHomeBankCode && amount > kLimit;
}

}  // namespace

bool IsOverLimitCredit(std::string_view line) {
    const std::optional<Money> value = amountOf(columnsOf(line, mcl::kAmount), mcl::kAmount);
    return value && overLimit(columnsOf(line, mcl::kSendingBank), *value);
}

namespace {

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
    const std::string_view account = line[mcl::kCreditAccount];
    if (homeBank) {
        return IsValidAccountNo(account.substr(account.empty() ? 0 : 1));
    }
    return line.digits(mcl::kCreditAccount) && account.find_first_not_of('0') != std::string_view::npos;
}

// One kind of listing entry and its listing.
struct EntryKind {
    std::string_view kind;
    std::string_view suffix;
};

class MediaClearingRun {
  public:
    explicit MediaClearingRun(ReformatRun& run)
        : run_(run),
          request_(run.request),
          store_(run.services.store),
          print_(run.request.printDetail),
          listings_(*run.listings),
          line_(run.request.sourcePath, "source file"),
          record002_(kRecord002),
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
    void accept(std::string_view bank, std::string_view branch, const std::string& bankName,
                const std::string& branchName);
    void entry(const EntryKind& kind, const std::string& columns, const std::string& message,
               const char* fieldName, const std::string& colNo, const std::string& desErr);
    void errorRow(const char* fieldName, const std::string& colNo, const std::string& desErr);
    void progress(const LineReader& reader);
    void finish(const DateParts& effective, const std::string& comName);
    const std::string& cachedBankName(std::string_view bank);
    const std::string& cachedBranchName(std::string_view bank, std::string_view branch);

    ReformatRun& run_;
    const ReformatRequest& request_;
    TableStore& store_;
    const bool print_;
    ErrorListings& listings_;  // the run's, put in place when it ends
    std::unique_ptr<CreditUploadFile> upload_;
    SourceLine line_;  // the line being read
    RecordWriter record002_, record003_, record004_;

    EntryKind account_{kInvalidAcct, kInvalidAcctSuffix};
    EntryKind zero_{kCreditZeroAmount, kCreditZeroAmountSuffix};
    EntryKind invalid_{kCreditAmountInvalid, kCreditAmountInvalidSuffix};
    EntryKind bankBranch_{kBankBranchCode, kBankBranchCodeSuffix};
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
    LineReader reader(request_.sourcePath);
    upload_ = std::make_unique<CreditUploadFile>(run_.creditUpload());

    std::string_view first;
    const std::string header(reader.next(first) ? first : std::string_view());
    line_.read(header, 1);
    recordCount_ = ToInteger(line_[mcl::kRecordCount]).value_or(0);
    const DateParts effective = line_.dateParts(mcl::kEffectiveDate);
    if (!line_.date(mcl::kEffectiveDate)) {
        run_.stop("Invalid  EFFECTIVE DATE OF TRANSFER", false);
        return;
    }
    if (!(effective.yyyymmdd() > run_.services.clock.today().yyyymmdd())) {
        run_.stop("EFFECTIVE DATE OF TRANSFER should be future date", false);
        return;
    }
    const std::string comName(line_.text(mcl::kCompanyName));
    if (print_) {
        store_.reset("Mcl_Detail");
        store_.reset("Dcp_Err");
    }

    std::string_view line;
    while (reader.next(line)) {
        line_.read(line, reader.lineNumber());
        // Every line names the account to debit; a bad one stops the run where it stands.
        if (!IsValidAccountNo(line_[mcl::kDebitAccount])) {
            listings_.close();
            run_.stop("Invalid QRV debit account", haveLast_);
            return;
        }
        detailLine();
        progress(reader);
    }
    listings_.close();
    finish(effective, comName);
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
    const bool zeroAmount = line_[mcl::kAmount] == "000000000000";
    // Only twelve plain digits make an amount: blanks, a sign, a point, an exponent or a short line are an
    // invalid amount.
    const bool amountOk = line_.digits(mcl::kAmount);
    const bool codesOk = line_.digits(mcl::kBankCode) && line_.digits(mcl::kBranchCode);

    if (accountOk && !zeroAmount && amountOk && codesOk) {
        accept(bank, branch, bankText, branchText);
        return;
    }
    const std::string accountColumns = columnsText(mcl::kCreditAccount);
    const std::string amountColumns = columnsText(mcl::kAmount);
    if (!accountOk) {
        if (homeBank) {
            entry(account_, accountColumns, "  Credit account is invalid QRV account", "Account",
                  accountColumns, "Credit account is invalid QRV account");
        } else {
            entry(account_, accountColumns, "  Credit account is zero or not numeric or invalid length",
                  "Account", accountColumns, "Credit account is invalid account");
        }
    }
    if (zeroAmount) {
        entry(zero_, amountColumns, "  Credit amount is zero", "Amount", amountColumns,
              "Credit amount is zero");
    }
    if (!amountOk) {
        entry(invalid_, amountColumns, "  Credit amount less than zero or invalid number", "Amount",
              amountColumns, "Credit amount less than zero or invalid number");
    }
    if (!codesOk) {
        const std::string bankColumns = columnsText(mcl::kBankCode);
        const std::string branchColumns = columnsText(mcl::kBranchCode);
        entry(bankBranch_, bankColumns + " Column: " + branchColumns, " invalid code",
              "Bank Code,Branch Code", bankColumns + "," + branchColumns,
              "Bank " + std::string(bank) + " branch " + std::string(branch) + " invalid code");
    }
}

void MediaClearingRun::accept(std::string_view bank, std::string_view branch, const std::string& bankText,
                              const std::string& branchText) {
    const std::int64_t lineNo = line_.lineNo();
    const std::string_view amount = line_[mcl::kAmount];
    const Money value = *line_.amount(mcl::kAmount);
    if (overLimit(line_[mcl::kSendingBank], value)) {
        // Over the limit: still written and totalled, but the whole upload is void; a rejected entry, not
        // an accepted one.
        run_.reject(kOverLimit, lineNo);
        keepUpload_ = false;
        overLimit_.add(value, "the credits over the limit");
        if (print_) {
            errorRow("Amount", columnsText(mcl::kAmount), "Detail Amount have not over 2,000,000");
        }
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
    record003_.amountDigits(r003::kAmount, amount, mcl::kAmount.decimals);
    record003_.text(r003::kBankCode, bank);
    record003_.text(r003::kBankName, bankText);
    record003_.text(r003::kBranchCode, branch);
    record003_.text(r003::kBranchName, branchText);
    const std::string_view serviceType = line_.text(mcl::kServiceType);
    record003_.text(r003::kServiceType, serviceType);
    upload_->writeRecord(record003_.record());
    total_.addAt(value,
                 [&] { return "line " + std::to_string(lineNo) + " of " + request_.sourcePath.string(); });

    record004_.reset();
    record004_.number(r004::kCreditSequence, credits_);
    const std::string_view payee = line_.text(mcl::kReceiverId);
    if (payee != "0000000000") {
        record004_.copy(r004::kPayeeCode, payee, mcl::kReceiverId);
    }
    const std::string_view name = line_.text(mcl::kReceiverName);
    const bool thai = HasThaiChar(name, mcl::kReceiverName.width());
    record004_.copy(thai ? r004::kNameThai : r004::kNameEnglish, name, mcl::kReceiverName);
    upload_->writeRecord(record004_.record());

    if (print_) {
        store_.append("Mcl_Detail",
                      {{"Acct", cp874::toUtf8(columnsOf(record003_.record(), r003::kCreditAccount))},
                       {"BankCode", cp874::toUtf8(bank)},
                       {"BranchCode", cp874::toUtf8(branch)},
                       {"Amount", value.toDouble()},
                       {"ServiceType", std::string(MediaClearingServiceType(serviceType))},
                       {"Name", cp874::toUtf8(name)}});
    }
}

void MediaClearingRun::entry(const EntryKind& kind, const std::string& columns, const std::string& message,
                             const char* fieldName, const std::string& colNo, const std::string& desErr) {
    const std::int64_t lineNo = line_.lineNo();
    // The four products share the listings named with "MCL".
    listings_.AppendErrorLine(run_.listingPath(kind.suffix).string(), ListingLine(lineNo, columns, message));
    run_.reject(kind.kind, lineNo);
    keepUpload_ = false;
    if (print_) {
        errorRow(fieldName, colNo, desErr);
    }
}

void MediaClearingRun::errorRow(const char* fieldName, const std::string& colNo, const std::string& desErr) {
    store_.append("Dcp_Err", {{"LnNo", std::to_string(line_.lineNo())},
                              {"FieldName", std::string(fieldName)},
                              {"ColNo", colNo},
                              {"DesErr", cp874::toUtf8(desErr)}});
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

void MediaClearingRun::finish(const DateParts& effective, const std::string& comName) {
    const std::string totalField =
        AmountField(total_, r002::kTotalAmount.width(), "total amount of record 002 and the trailer");
    upload_->writeRecord(TrailerRecord(1, credits_, totalField));

    run_.result.counters = CounterSet::Credit;

    // The debit account and its branch come from the last detail line.
    RecordWriter& r2 = record002_;
    r2.text(r002::kProductCode, run_.productCode);
    r2.text(r002::kValueDate, effective.yyyymmdd());
    r2.digits(r002::kTotalAmount, totalField);
    r2.number(r002::kCreditCount, credits_);
    std::string debitAccount;
    if (haveLast_) {
        line_.read(lastLine_, 0);
        debitAccount = line_[mcl::kDebitAccount];
        for (const auto& [account, type, branch] :
             {std::tuple{&r002::kDebitAccount, &r002::kDebitAccountType, &r002::kDebitBranch},
              std::tuple{&r002::kFeeAccount, &r002::kFeeAccountType, &r002::kFeeBranch}}) {
            WriteAccount(r2, *account, *type, *branch, debitAccount);
            r2.text(*branch, line_[mcl::kSendingBranch]);
        }
    }
    const std::string valueDate = effective.slashed();

    // A voided upload (a rejected or over-limit line) is reported but never written, nor hashed, so an
    // earlier file of that name stays and nothing is archived.
    const bool totalAboveZero = total_ > Money();
    const bool write = totalAboveZero && keepUpload_;
    CreditUploadFile::Result result =
        upload_->complete(r2.record(), write && run_.writes(), write, request_.sourcePath);
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
            runner.setVariable("ValueDate", cp874::toUtf8(valueDate));
            runner.setVariable("Acct", cp874::toUtf8(debitAccount));
            runner.setVariable("AcctFee", cp874::toUtf8(debitAccount));
            run_.services.showReport(runner, run_.result);
        }
    } else {
        ShowResultReport(request_, run_.result,
                         {ResultLayout::Result, label, totalAboveZero ? "000001" : "000000",
                          PadNumber(credits_, 6), totalField, valueDate, comName, "Company Name : "},
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
