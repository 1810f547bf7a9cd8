#include "convert/credit/DirectCreditReformatter.h"

#include <array>
#include <charconv>
#include <optional>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/Money.h"
#include "base/QrvError.h"
#include "convert/Reformatters.h"
#include "convert/ResultReport.h"
#include "io/LineReader.h"
#include "store/TableStore.h"
#include "upload/CreditUploadFile.h"
#include "upload/ErrorListings.h"
#include "upload/ZipOutputs.h"
#include "workbench/Workbench.h"

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
constexpr std::string_view kHomeBank = "014";

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

const char* productLabel(const std::string& productCode) {
    if (productCode == "PAY") {
        return "PayRoll";
    }
    if (productCode == "PA2") {
        return "PayRoll (Type2)";
    }
    if (productCode == "PA3") {
        return "PayRoll (Type3)";
    }
    return "Direct Credit";
}

// A workbench text going into a record: its code page 874 form.
std::string recordText(const std::string& utf8, const char* field) {
    auto text = cp874::fromUtf8(utf8);
    if (!text) {
        throw QrvError(std::string("The ") + field + " holds a character that code page 874 cannot hold");
    }
    return *text;
}

void appendNumber(std::string& s, std::int64_t n) {
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
    s.append(buf, end);
}

// The three kinds of listing entry, in the order a rejected line writes them.
enum Kind { kAccount, kZeroAmount, kInvalidAmount };

struct EntryKind {
    std::string_view suffix;
    bool RunState::*found;
    const char* fieldName;
};
constexpr std::array<EntryKind, 3> kKinds = {{
    {kInvalidAcctSuffix, &RunState::InvalidAcctFound, "Account"},
    {kCreditZeroAmountSuffix, &RunState::ZeroAmountFound, "Amount"},
    {kCreditAmountInvalidSuffix, &RunState::AmountInvalidFound, "Amount"},
}};

// One run over one source file.
class DirectCreditRun {
  public:
    explicit DirectCreditRun(Workbench& wb)
        : wb_(wb),
          run_(wb.run),
          printDetail_(wb.fields.CheckBox1),
          productCode_(wb.run.ProductCode),
          listings_(wb.run.OutputFolder) {
        for (size_t k = 0; k < kKinds.size(); ++k) {
            listingNames_[k] = ListingPath(wb, productCode_, kKinds[k].suffix).filename().string();
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

    Workbench& wb_;
    RunState& run_;
    const bool printDetail_;
    const std::string productCode_;
    ErrorListings listings_;
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
        wb_.message("Invalid EFFECTIVE-DATE");
        return false;
    }
    if ("20" + yy_ + mm_ + dd_ < wb_.clock().today().yyyymmdd()) {
        wb_.message("EFFECTIVE-DATE should be today or future date");
        return false;
    }
    return true;
}

void DirectCreditRun::entry(Kind kind, std::int64_t lineNo, std::string_view message) {
    const std::string_view columns = kind == kAccount ? std::string_view("1-10") : amountColumns_;
    line_.assign("LineNo : ");
    appendNumber(line_, lineNo);
    line_ += "  Column : ";
    line_ += columns;
    line_ += message;
    listings_.AppendErrorLine(listingNames_[kind], line_);
    if (printDetail_) {
        wb_.store().append("Dcp_Err", {{"LnNo", std::to_string(lineNo)},
                                       {"FieldName", std::string(kKinds[kind].fieldName)},
                                       {"ColNo", std::string(columns)},
                                       {"DesErr", std::string(message.substr(2))}});
    }
    ++counts_[kind];
    lastLine_[kind] = lineNo;
    run_.*kKinds[kind].found = true;
}

void DirectCreditRun::prepareRecords() {
    RecordFields& r = run_.Records;
    ResetRecordFields(r, wb_.settings().Print);
    r.r003.DebitSequence = kDebitSequence;
    r.r003.BankCode = kHomeBank;
    r.r004.DebitSequence = kDebitSequence;
    record003_ = r.r003.text();
    record004_ = r.r004.text();
}

void DirectCreditRun::accept(std::string_view line, std::string_view account, std::int64_t lineNo,
                             CreditUploadFile& upload) {
    ++accepted_;
    if (accepted_ > kMaxCredits) {
        throw QrvError("Line " + std::to_string(lineNo) + " of " + wb_.fields.edtSource +
                       ": more than 999999 credits do not fit the sequence number of the upload file");
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
        wb_.store().append("Dcp_Detail", {{"AcNo", line003_.substr(kCol003Account - 1, 25)},
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
    const std::string debit = recordText(wb_.fields.edtDebitAcct, "debit account");
    const std::string fee = recordText(wb_.fields.edtFeeAcct, "debit fee account");
    Record002 r = run_.Records.r002;
    r.ProductCode = productCode_;
    r.ValueDate = "20" + yy_ + mm_ + dd_;
    r.DebitAccount = PadText(debit, 25);
    r.DebitAccountType = "0" + std::string(Columns(debit, 4, 4));
    r.DebitBranch = "0" + std::string(Columns(debit, 1, 3));
    r.TotalAmount = total_.toAmountField(16);
    r.CreditCount = PadNumber(accepted_, 6);
    r.FeeAccount = PadText(fee, 25);
    r.FeeAccountType = "0" + std::string(Columns(fee, 4, 4));
    r.FeeBranch = "0" + std::string(Columns(fee, 1, 3));
    return r.text();
}

void DirectCreditRun::setResultValues() {
    const auto count = [this](Kind k) { return std::to_string(counts_[k]); };
    const auto last = [this](Kind k) {
        return counts_[k] > 0 ? std::to_string(lastLine_[k]) : std::string();
    };
    run_.TotalZeroAcct = count(kAccount);
    run_.NoZeroAcct = last(kAccount);
    run_.TotalZeroAm = count(kZeroAmount);
    run_.NoZeroAm = last(kZeroAmount);
    run_.TotalNagativeAm = count(kInvalidAmount);
    run_.NoNagativeAm = last(kInvalidAmount);
    run_.TotalReject = std::to_string(counts_[kAccount] + counts_[kZeroAmount] + counts_[kInvalidAmount]);
    run_.TotalBNKBRN = "0";
    run_.Error2million = "0";
}

void DirectCreditRun::showReport(const std::string& totalField, bool uploadWritten) {
    const std::string label = productLabel(productCode_);
    const std::string valueDate = dd_ + "/" + mm_ + "/20" + yy_;
    if (!printDetail_) {
        PrintResultReport(wb_, label, uploadWritten ? "000001" : "000000", std::to_string(accepted_),
                          totalField, valueDate, companyName_, "Company Name : ", uploadWritten);
        return;
    }
    ReportRunner& runner = wb_.reports().result;
    runner.loadLayout(wb_.reports().layout("rptDcpDetail.frf"));
    runner.setVariable("HashCode", wb_.fields.edtHashValue);
    runner.setVariable("ComId", wb_.fields.edtComId);
    runner.setVariable("PayType", label);
    runner.setVariable("ComName", cp874::toUtf8(companyName_));
    runner.setVariable("ValueDate", valueDate);
    runner.setVariable("Acct", wb_.fields.edtDebitAcct);
    runner.setVariable("AcctFee", wb_.fields.edtFeeAcct);
    wb_.ui().showReport(runner.prepare(wb_.store()));
}

void DirectCreditRun::execute() {
    run_.KeepUpload = true;
    run_.ResultLayout = 0;
    LineReader reader(wb_.fields.edtSource);
    CreditUploadFile upload(wb_.fields.edtDestination, run_.HeaderRecord);
    if (!readHeader(reader)) {
        return;
    }
    prepareRecords();

    std::optional<TableStore::CommandScope> scope;
    if (printDetail_) {
        scope.emplace(wb_.store());
        wb_.store().reset("Dcp_Detail");
        wb_.store().reset("Dcp_Err");
    }

    const DirectCreditProgress progress(recordCount_, reader.fileSize());
    std::string_view line;
    while (reader.next(line)) {
        const std::int64_t lineNo = reader.lineNumber();
        detailLine(line, lineNo, upload);
        wb_.setProgress(progress.percent(lineNo - 1, reader.bytesRead()));
    }
    listings_.close();

    const std::string totalField = total_.toAmountField(16);
    upload.writeRecord(TrailerRecord(1, accepted_, totalField));
    const bool anyAmount = total_ > Money();
    // Nothing shows the hash of a file that is not written (the hash field is cleared).
    const CreditUploadFile::Result result = upload.complete(record002(), anyAmount, false);
    if (result.written) {
        wb_.message("Reformat data and add to " + ArchivePath(wb_).filename().string() + " completed");
        wb_.fields.edtHashValue = result.hash;
        run_.UploadCreated = true;
    } else {
        wb_.fields.edtHashValue.clear();
        wb_.message("Reformat data fail because data are rejected all transactions");
    }
    setResultValues();
    showReport(totalField, result.written);
}

// The progress bar is back at 0 however the run ends.
struct ProgressReset {
    Workbench& wb;
    ~ProgressReset() {
        try {
            wb.setProgress(0);
        } catch (...) {
        }
    }
};

}  // namespace

void ReformatDirectCredit(Workbench& wb) {
    const ProgressReset reset{wb};
    DirectCreditRun(wb).execute();
}

}  // namespace qrv
