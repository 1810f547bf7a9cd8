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
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"
#include "upload/ErrorListings.h"
#include "upload/RecordText.h"
#include "upload/UploadRecords.h"

namespace qrv {

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

}  // namespace

bool IsOverLimitCredit(std::string_view line) {
    const std::optional<Money> value = Money::fromImpliedDecimals(Columns(line, 58, 69), 2);
    return Columns(line, 28, 30) != kHomeBankCode && value && *value > kLimit;
}

namespace {

constexpr std::string_view kNewBank = "New bank";
constexpr std::string_view kNewBranch = "New branch";

std::string blanks(int n) {
    return FillString(" ", n);
}

// The English name of a reference row, as the record takes it: its first 35 characters.
std::string first35(const std::string& utf8, const std::string& field) {
    std::string text = recordText(utf8, field);
    if (text.size() > 35) {
        text.resize(35);
    }
    return text;
}

// Bank.DAT look-up. An unknown code (or one whose English name is blank) is registered as "New bank":
// a new row, or the blank name of the existing row filled in (codes are unique).
std::string bankName(TableStore& store, std::string_view bankCode) {
    const std::string code = cp874::toUtf8(bankCode);
    const std::optional<Row> row = store.lookup("Bank", "BANK_CODE", code);
    std::string name =
        row ? first35(row->text("BANK_NAME_EN"), "English name of bank " + code) : std::string();
    if (!Trim(name).empty()) {
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
    const std::vector<Row> rows = store.query(
        "SELECT BRANCH_NAME_EN FROM BRANCH WHERE BANK_CODE = ? AND BRANCH_CODE = ? ORDER BY rowid LIMIT 1",
        {bank, branch});
    std::string name = rows.empty() ? std::string()
                                    : first35(rows.front().text("BRANCH_NAME_EN"),
                                              "English name of branch " + branch + " of bank " + bank);
    if (!Trim(name).empty()) {
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

bool creditAccountPasses(std::string_view line, bool homeBank) {
    if (homeBank) {
        return IsValidAccountNo(Columns(line, 18, 27));
    }
    const std::string_view account = Columns(line, 17, 27);
    return account != "00000000000" && Trim(account).size() == 11 && IsNumeric(account);
}

bool codePasses(std::string_view code, size_t length) {
    return IsNumeric(code) && Trim(code).size() == length;
}

// One kind of listing entry: its count, the line of its last entry and its listing.
struct EntryKind {
    std::string_view kind;
    std::string_view suffix;
    std::int64_t count = 0;
    std::int64_t lastLine = 0;
};

std::optional<std::int64_t> lastLineOf(const EntryKind& k) {
    return k.count > 0 ? std::optional<std::int64_t>(k.lastLine) : std::nullopt;
}

class MediaClearingRun {
  public:
    explicit MediaClearingRun(ReformatRun& run)
        : run_(run),
          request_(run.request),
          store_(run.services.store),
          print_(run.request.printDetail),
          listings_(*run.listings) {}

    void execute();

  private:
    void detailLine(std::string_view line, std::int64_t lineNo);
    void accept(std::string_view line, std::int64_t lineNo, std::string_view bank, std::string_view branch,
                const std::string& bankName, const std::string& branchName);
    void entry(EntryKind& kind, std::int64_t lineNo, const std::string& columns, const std::string& message,
               const char* fieldName, const char* colNo, const std::string& desErr);
    void errorRow(std::int64_t lineNo, const char* fieldName, const char* colNo, const std::string& desErr);
    void progress(const LineReader& reader);
    void finish(const std::string& header);
    const std::string& cachedBankName(std::string_view bank);
    const std::string& cachedBranchName(std::string_view bank, std::string_view branch);

    ReformatRun& run_;
    const ReformatRequest& request_;
    TableStore& store_;
    const bool print_;
    ErrorListings& listings_;  // the run's, put in place when it ends
    std::unique_ptr<CreditUploadFile> upload_;

    EntryKind account_{kInvalidAcct, kInvalidAcctSuffix};
    EntryKind zero_{kCreditZeroAmount, kCreditZeroAmountSuffix};
    EntryKind invalid_{kCreditAmountInvalid, kCreditAmountInvalidSuffix};
    EntryKind bankBranch_{kBankBranchCode, kBankBranchCodeSuffix};
    std::int64_t overLimit_ = 0;
    bool keepUpload_ = true;  // false once a line voids the upload
    std::int64_t credits_ = 0;
    Money total_;
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
    recordCount_ = ToInteger(Columns(header, 41, 46)).value_or(0);

    const std::string_view yyyy = Columns(header, 35, 38);
    const std::string_view mm = Columns(header, 33, 34);
    const std::string_view dd = Columns(header, 31, 32);
    if (!IsValidDate(yyyy, mm, dd)) {
        run_.stop("Invalid  EFFECTIVE DATE OF TRANSFER", false);
        return;
    }
    const std::string effective = std::string(yyyy) + std::string(mm) + std::string(dd);
    if (!(effective > run_.services.clock.today().yyyymmdd())) {
        run_.stop("EFFECTIVE DATE OF TRANSFER should be future date", false);
        return;
    }
    if (print_) {
        store_.reset("Mcl_Detail");
        store_.reset("Dcp_Err");
    }

    std::string_view line;
    while (reader.next(line)) {
        // Every line names the account to debit; a bad one stops the run where it stands.
        if (!IsValidAccountNo(Columns(line, 36, 45))) {
            listings_.close();
            run_.stop("Invalid QRV debit account", haveLast_);
            return;
        }
        detailLine(line, reader.lineNumber());
        progress(reader);
    }
    listings_.close();
    finish(header);
}

void MediaClearingRun::detailLine(std::string_view line, std::int64_t lineNo) {
    ResetRecordFields(run_.records, run_.services.settings.Print);
    lastLine_.assign(line);
    haveLast_ = true;

    // Codes are registered before the checks, so those of lines rejected below are known next time.
    const std::string_view bank = Columns(line, 10, 12);
    const std::string_view branch = Columns(line, 13, 16);
    const std::string& bankText = cachedBankName(bank);
    const std::string& branchText = cachedBranchName(bank, branch);

    const bool homeBank = bank == kHomeBankCode;
    const bool accountOk = creditAccountPasses(line, homeBank);
    const std::string_view amount = Columns(line, 58, 69);
    const bool zeroAmount = amount == "000000000000";
    // Only twelve plain digits make an amount; anything else IsNonNegativeNumber lets through (blanks,
    // a sign, a point, an exponent, a short line) is an invalid amount too.
    const bool amountOk = IsNonNegativeNumber(amount) && amount.size() == 12 && IsDigits(amount);
    const bool codesOk = codePasses(bank, 3) && codePasses(branch, 4);

    if (accountOk && !zeroAmount && amountOk && codesOk) {
        accept(line, lineNo, bank, branch, bankText, branchText);
        return;
    }
    if (!accountOk) {
        if (homeBank) {
            entry(account_, lineNo, "17-27", "  Credit account is invalid QRV account", "Account", "17-27",
                  "Credit account is invalid QRV account");
        } else {
            entry(account_, lineNo, "17-27", "  Credit account is zero or not numeric or invalid length",
                  "Account", "17-27", "Credit account is invalid account");
        }
    }
    if (zeroAmount) {
        entry(zero_, lineNo, "58-69", "  Credit amount is zero", "Amount", "58-69", "Credit amount is zero");
    }
    if (!amountOk) {
        entry(invalid_, lineNo, "58-69", "  Credit amount less than zero or invalid number", "Amount",
              "58-69", "Credit amount less than zero or invalid number");
    }
    if (!codesOk) {
        entry(bankBranch_, lineNo, "10-12 Column: 13-16", " invalid code", "Bank Code,Branch Code",
              "10-12,13-16",
              "Bank " + std::string(bank) + " branch " + std::string(branch) + " invalid code");
    }
}

void MediaClearingRun::accept(std::string_view line, std::int64_t lineNo, std::string_view bank,
                              std::string_view branch, const std::string& bankText,
                              const std::string& branchText) {
    const std::string_view amount = Columns(line, 58, 69);
    const Money value = *Money::fromImpliedDecimals(amount, 2);
    if (IsOverLimitCredit(line)) {
        // Over the limit: still written and totalled, but the whole upload is void.
        ++overLimit_;
        run_.reject("OverLimit", lineNo);
        keepUpload_ = false;
        if (print_) {
            errorRow(lineNo, "Amount", "58-69", "Detail Amount have not over 2,000,000");
        }
    }
    ++credits_;
    const std::string sequence = NumberField(credits_, 6, "credit sequence number");
    const std::string_view account =
        Columns(line, 17, 17) == "0" ? Columns(line, 18, 27) : Columns(line, 17, 27);

    Record003& r3 = run_.records.r003;
    r3.CreditSequence = sequence;
    r3.CreditAccount = std::string(account) + blanks(25 - static_cast<int>(account.size()));
    r3.Amount = "000" + std::string(amount) + "0";
    r3.DebitSequence = "00000001";
    r3.BankCode = std::string(bank);
    r3.BankName = PadText(bankText, 35);
    r3.BranchCode = std::string(branch);
    r3.BranchName = PadText(branchText, 35);
    const std::string_view serviceType = Columns(line, 54, 55);
    r3.ServiceType = std::string(serviceType);
    upload_->writeRecord(r3.text());
    total_.add(value, "line " + std::to_string(lineNo) + " of " + request_.sourcePath.string());

    Record004& r4 = run_.records.r004;
    r4.DebitSequence = "00000001";
    r4.CreditSequence = sequence;
    const std::string_view payee = Columns(line, 190, 199);
    r4.PayeeCode = payee == "0000000000" ? blanks(15) : std::string(payee) + blanks(5);
    const std::string_view name = Columns(line, 200, 222);
    if (HasThaiChar(name, 23)) {
        r4.NameThai = std::string(name) + blanks(77);
    } else {
        r4.NameEnglish = std::string(name) + blanks(47);
    }
    upload_->writeRecord(r4.text());

    if (print_) {
        store_.append("Mcl_Detail", {{"Acct", cp874::toUtf8(r3.CreditAccount)},
                                     {"BankCode", cp874::toUtf8(bank)},
                                     {"BranchCode", cp874::toUtf8(branch)},
                                     {"Amount", value.toDouble()},
                                     {"ServiceType", std::string(MediaClearingServiceType(serviceType))},
                                     {"Name", cp874::toUtf8(name)}});
    }
}

void MediaClearingRun::entry(EntryKind& kind, std::int64_t lineNo, const std::string& columns,
                             const std::string& message, const char* fieldName, const char* colNo,
                             const std::string& desErr) {
    // The four products share the listings named with "MCL".
    listings_.AppendErrorLine(run_.listingPath(kind.suffix).string(), ListingLine(lineNo, columns, message));
    run_.reject(kind.kind, lineNo);
    keepUpload_ = false;
    ++kind.count;
    kind.lastLine = lineNo;
    if (print_) {
        errorRow(lineNo, fieldName, colNo, desErr);
    }
}

void MediaClearingRun::errorRow(std::int64_t lineNo, const char* fieldName, const char* colNo,
                                const std::string& desErr) {
    store_.append("Dcp_Err", {{"LnNo", std::to_string(lineNo)},
                              {"FieldName", std::string(fieldName)},
                              {"ColNo", std::string(colNo)},
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

void MediaClearingRun::finish(const std::string& header) {
    const std::string totalField = AmountField(total_, 16, "total amount of record 002 and the trailer");
    upload_->writeRecord(TrailerRecord(1, credits_, totalField));

    ResultCounters& c = run_.result.counters;
    c.TotalZeroAcct = account_.count;
    c.NoZeroAcct = lastLineOf(account_);
    c.TotalZeroAm = zero_.count;
    c.NoZeroAm = lastLineOf(zero_);
    c.TotalNagativeAm = invalid_.count;
    c.NoNagativeAm = lastLineOf(invalid_);
    c.TotalBNKBRN = bankBranch_.count;
    c.Error2million = overLimit_;
    c.TotalReject = account_.count + zero_.count + invalid_.count + bankBranch_.count + overLimit_;

    // The debit account and its branch come from the last detail line.
    Record002& r2 = run_.records.r002;
    r2.ProductCode = run_.productCode;
    r2.ValueDate = std::string(Columns(header, 35, 38)) + std::string(Columns(header, 33, 34)) +
                   std::string(Columns(header, 31, 32));
    r2.TotalAmount = totalField;
    r2.DebitSequence = "00000001";
    r2.CreditCount = NumberField(credits_, 6, "credit count of record 002");
    std::string debitAccount;
    if (haveLast_) {
        debitAccount = Columns(lastLine_, 36, 45);
        r2.DebitAccount = debitAccount + blanks(15);
        r2.DebitAccountType = "0" + std::string(Columns(debitAccount, 4, 4));
        r2.DebitBranch = std::string(Columns(lastLine_, 31, 34));
        r2.FeeAccount = r2.DebitAccount;
        r2.FeeAccountType = r2.DebitAccountType;
        r2.FeeBranch = r2.DebitBranch;
    }
    const std::string valueDate = std::string(Columns(header, 31, 32)) + "/" +
                                  std::string(Columns(header, 33, 34)) + "/" +
                                  std::string(Columns(header, 35, 38));

    // A voided upload (a rejected or over-limit line) is hashed and reported but never written, so an
    // earlier file of that name stays and nothing is archived.
    const bool totalAboveZero = total_ > Money();
    const bool write = totalAboveZero && keepUpload_;
    CreditUploadFile::Result result =
        upload_->complete(r2.text(), write && run_.writes(), true, request_.sourcePath);
    run_.takeUpload(result);
    run_.result.records = credits_;
    run_.result.total = total_;
    run_.result.hashShown = true;
    run_.finish(write);
    if (write) {
        run_.result.hash = result.hash;
        run_.completed();
    } else if (totalAboveZero) {
        run_.result.hash = result.hash;
        run_.message("Reformat data fail because some transactions are rejected");
    } else {
        run_.message("Reformat data fail because data are rejected all transactions");
    }

    const std::string label(productLabel(*run_.request.product));
    const std::string comName(Columns(header, 53, 82));
    if (print_) {
        if (run_.writes()) {
            ReportRunners& reports = run_.services.reports;
            ReportRunner& runner = reports.result;
            runner.loadLayout(reports.layout("rptMclDetail.frf"));
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
                         {0, label, totalAboveZero ? "000001" : "000000", PadNumber(credits_, 6), totalField,
                          valueDate, comName, "Company Name : "},
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
