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
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"
#include "upload/ErrorListings.h"
#include "upload/RecordText.h"

namespace qrv {

DirectCreditLayout DirectCreditLayout::forHeader(std::string_view header) {
    DirectCreditLayout l;
    l.shortAmount = Columns(header, 1, 9) == "         ";
    if (l.shortAmount) {
        l.companyNameFrom = 17;
        l.dayFrom = 49;
        l.recordCountFrom = 55;
        l.amountTo = 26;
        l.nameFrom = 27;
    }
    return l;
}

bool DirectCreditAmountField(std::string_view sourceAmount, int width, std::string& field) {
    if (static_cast<int>(sourceAmount.size()) != width || !IsDigits(sourceAmount)) {
        return false;
    }
    field.assign(static_cast<size_t>(16 - 1 - width), '0');
    field += sourceAmount;
    field += '0';
    return true;
}

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
constexpr std::string_view kZeroAmountField = "0000000000000000";
constexpr std::string_view kDebitSequence = "00000001";

// Columns of records 003 and 004 that a credit fills (the rest keep their defaults).
constexpr size_t kCol003Sequence = 4;         // 4-9
constexpr size_t kCol003Account = 10;         // 10-34: the account, then blanks
constexpr size_t kCol003Amount = 35;          // 35-50
constexpr size_t kCol003Branch = 219;         // 219-222: "0" and the account's branch
constexpr size_t kCol004Sequence = 12;        // 12-17
constexpr size_t kCol004NameThai = 33;        // 33-132
constexpr size_t kCol004NameEnglish = 353;    // 353-422
constexpr std::int64_t kMaxCredits = 999999;  // the sequence number has six digits

void writeSequence(char* six, std::int64_t n) {
    for (int i = 5; i >= 0; --i) {
        six[i] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
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
    const char* fieldName;
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
          listings_(*run.listings) {
        for (size_t k = 0; k < kKinds.size(); ++k) {
            listingNames_[k] = run.listingPath(kKinds[k].suffix).string();
        }
    }

    void execute();

  private:
    bool readHeader(LineReader& reader);
    void detailLine(std::string_view line, std::int64_t lineNo, CreditUploadFile& upload);
    void prepareRecords();
    void accept(std::string_view line, std::string_view account, std::int64_t lineNo,
                CreditUploadFile& upload);
    void entry(Kind kind, std::int64_t lineNo, std::string_view message);
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

    DirectCreditLayout layout_;
    std::string amountColumns_;  // "18-28" or "18-26"
    std::string companyName_;    // code page 874, untrimmed
    std::string recordCount_;
    std::string dd_, mm_, yy_;

    std::int64_t accepted_ = 0;
    Money total_;
    std::array<std::int64_t, 3> counts_{};
    std::array<std::int64_t, 3> lastLine_{};

    std::string record003_, record004_;  // the records of a credit with their defaults
    std::string line003_, line004_;      // reused per credit
    std::string amountField_;            // reused per line
    std::string line_;                   // listing line being built
    std::string where_;                  // names the line for an overflowing total
};

bool DirectCreditRun::readHeader(LineReader& reader) {
    std::string_view header;
    if (!reader.next(header)) {
        header = {};
    }
    layout_ = DirectCreditLayout::forHeader(header);
    amountColumns_ = std::to_string(DirectCreditLayout::kAmountFrom) + "-" + std::to_string(layout_.amountTo);
    companyName_ = std::string(Columns(header, layout_.companyNameFrom,
                                       layout_.companyNameFrom + DirectCreditLayout::kCompanyNameWidth - 1));
    const int d = layout_.dayFrom;
    dd_ = std::string(Columns(header, d, d + 1));
    mm_ = std::string(Columns(header, d + 2, d + 3));
    yy_ = std::string(Columns(header, d + 4, d + 5));
    recordCount_ = std::string(Columns(header, layout_.recordCountFrom,
                                       layout_.recordCountFrom + DirectCreditLayout::kRecordCountWidth - 1));

    // The date goes into record 002 as it stands, so each part must be two digits ("1 " or "+1" would
    // pass the calendar check and corrupt the record).
    const auto twoDigits = [](const std::string& s) { return s.size() == 2 && IsDigits(s); };
    if (!twoDigits(dd_) || !twoDigits(mm_) || !twoDigits(yy_) || !IsValidDate("20" + yy_, mm_, dd_)) {
        run_.stop("Invalid EFFECTIVE-DATE", false);
        return false;
    }
    if ("20" + yy_ + mm_ + dd_ < run_.services.clock.today().yyyymmdd()) {
        run_.stop("EFFECTIVE-DATE should be today or future date", false);
        return false;
    }
    return true;
}

void DirectCreditRun::entry(Kind kind, std::int64_t lineNo, std::string_view message) {
    const std::string_view columns = kind == kAccount ? std::string_view("1-10") : amountColumns_;
    ListingLine(line_, lineNo, columns, message);
    listings_.AppendErrorLine(listingNames_[kind], line_);
    if (printDetail_) {
        store_.append("Dcp_Err", {{"LnNo", std::to_string(lineNo)},
                                  {"FieldName", std::string(kKinds[kind].fieldName)},
                                  {"ColNo", std::string(columns)},
                                  {"DesErr", std::string(message.substr(2))}});
    }
    ++counts_[kind];
    lastLine_[kind] = lineNo;
    run_.reject(kKinds[kind].kind, lineNo);
}

void DirectCreditRun::prepareRecords() {
    RecordFields& r = run_.records;
    ResetRecordFields(r, run_.services.settings.Print);
    r.r003.DebitSequence = kDebitSequence;
    r.r003.BankCode = kHomeBankCode;
    r.r004.DebitSequence = kDebitSequence;
    record003_ = r.r003.text();
    record004_ = r.r004.text();
}

void DirectCreditRun::accept(std::string_view line, std::string_view account, std::int64_t lineNo,
                             CreditUploadFile& upload) {
    ++accepted_;
    if (accepted_ > kMaxCredits) {
        throw FieldOverflow("credit sequence number of line " + std::to_string(lineNo),
                            std::to_string(accepted_), 6);
    }
    char sequence[6];
    writeSequence(sequence, accepted_);

    // Every other field keeps its default: the record is the default text with this credit's columns.
    line003_.assign(record003_);
    line003_.replace(kCol003Sequence - 1, 6, sequence, 6);
    line003_.replace(kCol003Account - 1, account.size(), account);
    line003_.replace(kCol003Amount - 1, 16, amountField_);
    line003_[kCol003Branch - 1] = '0';
    line003_.replace(kCol003Branch, 3, account.substr(0, 3));
    upload.writeRecord(line003_);

    const std::string_view source = Columns(line, DirectCreditLayout::kAmountFrom, layout_.amountTo);
    where_.assign("line ");
    appendNumber(where_, lineNo);
    where_ += " of the source file (total amount)";
    total_.add(*Money::fromImpliedDecimals(source, 2), where_);

    const std::string_view name = Trim(Columns(line, layout_.nameFrom, layout_.nameTo()));
    if (!name.empty()) {
        line004_.assign(record004_);
        line004_.replace(kCol004Sequence - 1, 6, sequence, 6);
        const bool thai = HasThaiChar(name, static_cast<int>(name.size()));
        line004_.replace((thai ? kCol004NameThai : kCol004NameEnglish) - 1, name.size(), name);
        upload.writeRecord(line004_);
    }
    if (printDetail_) {
        store_.append("Dcp_Detail", {{"AcNo", line003_.substr(kCol003Account - 1, 25)},
                                     {"Amount", Money::fromAmountField(amountField_)->toDouble()},
                                     {"Name", cp874::toUtf8(name)}});
    }
}

void DirectCreditRun::detailLine(std::string_view line, std::int64_t lineNo, CreditUploadFile& upload) {
    const std::string_view account =
        Columns(line, DirectCreditLayout::kAccountFrom, DirectCreditLayout::kAccountTo);
    const std::string_view source = Columns(line, DirectCreditLayout::kAmountFrom, layout_.amountTo);
    // An amount that is not plain digits of the full width cannot become an amount field: it is an
    // invalid amount, never a wrong one in the upload file.
    const bool amountValid = DirectCreditAmountField(source, layout_.amountWidth(), amountField_);
    const bool zeroAccount = account == kZeroAccount;
    const bool zeroAmount = amountValid && amountField_ == kZeroAmountField;
    const bool validAccount = !zeroAccount && IsValidAccountNo(account);
    if (validAccount && amountValid && !zeroAmount) {
        accept(line, account, lineNo, upload);
        return;
    }
    if (zeroAccount) {
        entry(kAccount, lineNo, "  Account is zero");
    } else if (!validAccount) {
        entry(kAccount, lineNo, "  Account is invalid QRV account");
    }
    if (zeroAmount) {
        entry(kZeroAmount, lineNo, "  Credit amount is zero");
    } else if (!amountValid) {
        entry(kInvalidAmount, lineNo, "  Credit amount less than zero or invalid number");
    }
}

std::string DirectCreditRun::record002() const {
    const std::string debit = recordText(request_.debitAccount, "debit account");
    const std::string fee = recordText(request_.feeAccount, "debit fee account");
    Record002 r = run_.records.r002;
    r.ProductCode = productCode_;
    r.ValueDate = "20" + yy_ + mm_ + dd_;
    r.DebitAccount = PadText(debit, 25);
    r.DebitAccountType = "0" + std::string(Columns(debit, 4, 4));
    r.DebitBranch = "0" + std::string(Columns(debit, 1, 3));
    r.TotalAmount = AmountField(total_, 16, "total amount of record 002");
    r.CreditCount = NumberField(accepted_, 6, "credit count of record 002");
    r.FeeAccount = PadText(fee, 25);
    r.FeeAccountType = "0" + std::string(Columns(fee, 4, 4));
    r.FeeBranch = "0" + std::string(Columns(fee, 1, 3));
    return r.text();
}

void DirectCreditRun::setResultValues() {
    ResultCounters& c = run_.result.counters;
    const auto last = [this](Kind k) {
        return counts_[k] > 0 ? std::optional<std::int64_t>(lastLine_[k]) : std::nullopt;
    };
    c.TotalZeroAcct = counts_[kAccount];
    c.NoZeroAcct = last(kAccount);
    c.TotalZeroAm = counts_[kZeroAmount];
    c.NoZeroAm = last(kZeroAmount);
    c.TotalNagativeAm = counts_[kInvalidAmount];
    c.NoNagativeAm = last(kInvalidAmount);
    c.TotalReject = counts_[kAccount] + counts_[kZeroAmount] + counts_[kInvalidAmount];
    c.TotalBNKBRN = 0;
    c.Error2million = 0;
}

void DirectCreditRun::showReport(const std::string& totalField, bool uploadWritten) {
    const std::string label(productLabel(*request_.product));
    const std::string valueDate = dd_ + "/" + mm_ + "/20" + yy_;
    if (!printDetail_) {
        ShowResultReport(request_, run_.result,
                         {0, label, uploadWritten ? "000001" : "000000", std::to_string(accepted_),
                          totalField, valueDate, companyName_, "Company Name : "},
                         run_.services);
        return;
    }
    if (!run_.writes()) {
        return;
    }
    ReportRunners& reports = run_.services.reports;
    ReportRunner& runner = reports.result;
    runner.loadLayout(reports.layout("rptDcpDetail.frf"));
    runner.setVariable("HashCode", run_.result.hash);
    runner.setVariable("ComId", request_.companyId);
    runner.setVariable("PayType", label);
    runner.setVariable("ComName", cp874::toUtf8(companyName_));
    runner.setVariable("ValueDate", valueDate);
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
        detailLine(line, lineNo, upload);
        run_.progress(progress.percent(lineNo - 1, reader.bytesRead()));
    }
    listings_.close();

    const std::string totalField = AmountField(total_, 16, "total amount of the trailer");
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
