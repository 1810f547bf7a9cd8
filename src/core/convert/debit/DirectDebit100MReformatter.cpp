#include "convert/debit/DirectDebit100MReformatter.h"

#include <algorithm>
#include <optional>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "convert/ReformatRun.h"
#include "convert/ResultReport.h"
#include "convert/debit/DirectDebitUpload.h"
#include "io/LineReader.h"
#include "io/WorkFile.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/SourceLine.h"
#include "layout/UploadLayouts.h"
#include "store/TableStore.h"

namespace qrv {

using namespace layout;

std::string FormatAmountField(std::string_view text, std::string_view mode, int width) {
    std::string s(Trim(text));
    bool negative = false;
    if (mode == "F") {
        const std::string decimals = s.size() >= 3 ? s.substr(s.size() - 3) : s;
        const std::string whole = s.size() >= 4 ? s.substr(0, s.size() - 4) : std::string();
        s = std::string(Trim(whole)) + decimals;
        if (!s.empty() && s.front() == '-') {
            negative = true;
            s.erase(0, 1);
        }
    }
    const int missing = width - static_cast<int>(s.size());
    if (mode == "S") {
        if (missing > 0) {
            s.append(static_cast<size_t>(missing), ' ');
        }
    } else {
        if (missing > 0) {
            s.insert(0, static_cast<size_t>(missing), '0');
        }
        if (negative && !s.empty()) {
            s[0] = '-';
        }
    }
    if (width >= 0 && s.size() >= static_cast<size_t>(width)) {
        s.resize(static_cast<size_t>(width));
    }
    return s;
}

std::string ThreeDecimalText(Money value) {
    const std::int64_t units = value.units();
    const bool negative = units < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    // Thousandths, the fourth decimal rounded half away from zero.
    const std::uint64_t thousandths = (magnitude + 5) / 10;
    const std::uint64_t whole = thousandths / 1000;
    std::string frac = std::to_string(thousandths % 1000);
    frac.insert(0, 3 - frac.size(), '0');
    return (negative && thousandths != 0 ? "-" : "") + (whole == 0 ? std::string() : std::to_string(whole)) +
           "." + frac;
}

std::string V5CorpText(const std::string& id) {
    return cp874::toUtf8(PadText(cp874::fromUtf8(id).value_or(id), r001::kCompanyId.width()));
}

namespace {

using Reject = DirectDebitRejects;

constexpr const char* kErrorTable = "ErrorDirect100M";
// Lines between two looks at whether the person cancelled the run.
constexpr std::int64_t kCancelEvery = 4096;
constexpr const char* kErrorDataMessage =
    "<<--- !! Error Data ,you can view Error Report after This Message .--->> ";

// Which reading runs the totals check: its two errors are worded differently.
enum class Wording { FullScan, CleanQuickPass };

std::string str(std::string_view s) {
    return std::string(s);
}

// A field's columns as the error rows name them: " 18-28 ".
std::string column(const Field& field) {
    return " " + columnsText(field) + " ";
}

// The 100M pattern of an amount: its eleven digits, above zero.
bool isOfThePattern(const SourceLine& line, const Field& amount) {
    const std::optional<Money> value = line.amount(amount);
    return value && *value > Money();
}

// The faults D1 to D7 of one detail record.
struct DetailFaults {
    bool invalidDate = false, pastDate = false, sign = false, account = false, notPattern = false,
         notNumeric = false, length = false;
    bool any() const {
        return invalidDate || pastDate || sign || account || notPattern || notNumeric || length;
    }
};

DetailFaults detailFaults(const SourceLine& d, const std::string& today) {
    DetailFaults f;
    f.invalidDate = !d.date(ddr::kDetailDate);
    f.pastDate = d.dateParts(ddr::kDetailDate).yyyymmdd() < today;
    f.sign = !d.code(ddr::kSign);
    f.account = !IsValidAccountNo(d[ddr::kAccount]);
    const bool numeric = IsNumeric(Trim(d[ddr::kAmount]));
    f.notPattern = numeric && !isOfThePattern(d, ddr::kAmount);
    f.notNumeric = !numeric;
    f.length = static_cast<int>(d.text().size()) > ddr::kMaxLine;
    return f;
}

class DirectDebit100MRun {
  public:
    explicit DirectDebit100MRun(ReformatRun& run)
        : run_(run),
          source_(run.request.sourcePath),
          today_(run.services.clock.today().yyyymmdd()),
          line_(source_, "Direct Debit (100M) source file") {}

    void run();

  private:
    void start();
    bool checkReading();
    bool passesQuickTest(const SourceLine& detail) const;
    void checkControl();
    void fullErrorScan(const std::filesystem::path& copy);
    void checkDetail(const SourceLine& detail);
    void addToTotals(const SourceLine& detail);
    bool totalsCheck(Wording wording);
    void errorReport();
    void row(std::string account, std::int64_t line, const char* errorCol, const std::string& column,
             const char* field);
    void tally(std::string_view kind, std::int64_t line);

    ReformatRun& run_;
    std::filesystem::path source_;
    std::string today_;
    SourceLine line_;
    std::string control_;
    int shift_ = 0;
    std::string reportDate_;
    bool controlError_ = false;
    bool amountError_ = false;
    Money sum_;
    std::int64_t count_ = 0;
    std::string sumText_;
    FileReading checked_;  // what a checking reading that found nothing wrong read
};

void DirectDebit100MRun::row(std::string account, std::int64_t line, const char* errorCol,
                             const std::string& column, const char* field) {
    run_.services.store.append(kErrorTable, {{"account", std::move(account)},
                                             {"line", std::to_string(line)},
                                             {"error_col", std::string(errorCol)},
                                             {"column", column},
                                             {"field", std::string(field)}});
}

void DirectDebit100MRun::tally(std::string_view kind, std::int64_t line) {
    run_.reject(kind, line);
}

void DirectDebit100MRun::start() {
    run_.result.counters = CounterSet::DirectDebitZero;
    run_.services.store.reset(kErrorTable);
}

void DirectDebit100MRun::checkControl() {
    const SourceLine& c = line_;
    const auto error = [this](const char* errorCol, const Field* field, const char* name,
                              std::string_view kind) {
        row("-", 1, errorCol, field != nullptr ? column(*field) : std::string(" This line "), name);
        tally(kind, 1);
        controlError_ = true;
    };
    const std::string_view total = c[ddr::kTotalAmount];
    const bool numeric = IsNumeric(Trim(total));
    if (static_cast<int>(Trim(total).size()) != ddr::kTotalAmount.width()) {
        error(" Invalid ,Amount have not space .", &ddr::kTotalAmount, "CONTROL,TOTAL-AMOUNT",
              Reject::SpaceAmount);
        amountError_ = true;
    }
    if (numeric && !isOfThePattern(c, ddr::kTotalAmount)) {
        error(" Amount must be 100M pattern.", &ddr::kTotalAmount, "CONTROL,TOTAL-AMOUNT",
              Reject::InvalidAmount);
        amountError_ = true;
    }
    if (!numeric) {
        error(" Invalid numeric .", &ddr::kTotalAmount, "CONTROL,TOTAL-AMOUNT", Reject::InvalidAmount);
        amountError_ = true;
    }
    if (!c.date(ddr::kEffectiveDate)) {
        error("Invalid EFFECTIVE-DATE", &ddr::kEffectiveDate, "CONTROL,EFFECTIVE-DATE",
              Reject::InvalidEffect);
    }
    if (c.dateParts(shifted(ddr::kEffectiveDate, shift_)).yyyymmdd() < today_) {
        error("EFFECTIVE-DATE should be today or future date", &ddr::kEffectiveDate, "CONTROL,EFFECTIVE-DATE",
              Reject::FutureEffect);
    }
    if (static_cast<int>(c.text().size()) > ddr::kMaxLine) {
        error("Character have not over 80 Character.", nullptr, "CONTROL", Reject::Length);
    }
}

// The quick test applies every rule of the full error scan, so that a file it lets through holds no
// error the scan would find; with the control shift it also compares the date read one column later.
bool DirectDebit100MRun::passesQuickTest(const SourceLine& d) const {
    return !controlError_ && !detailFaults(d, today_).any() &&
           !(d.dateParts(shifted(ddr::kDetailDate, shift_)).yyyymmdd() < today_);
}

void DirectDebit100MRun::addToTotals(const SourceLine& d) {
    const Money amount = *d.amount(ddr::kAmount);
    sum_.addAt(amount, [&] {
        return "line " + std::to_string(d.lineNo()) + " of \"" + cp874::sanitizeUtf8(source_.string()) + "\"";
    });
    ++count_;
}

bool DirectDebit100MRun::checkReading() {
    LineReader reader(source_, LineReader::Digesting::Yes);
    std::string_view line;
    control_ = reader.next(line) ? str(line) : std::string();
    line_.read(control_, 1);
    line_.text(ddr::kCompanyName);
    shift_ = spanOf(control_, ddr::kLeadingBlanks, ddr::kTermPayment) == "         " ? 1 : 0;
    reportDate_ = line_.dateParts(shifted(ddr::kEffectiveDate, shift_)).slashed();
    checkControl();
    // The line after the control record is a detail record even when the file ends there.
    if (!reader.next(line)) {
        line = {};
    }
    for (std::int64_t lineNumber = 2;; ++lineNumber) {
        if (lineNumber % kCancelEvery == 0) {
            run_.services.checkCancelled();
        }
        line_.read(line, lineNumber);
        if (!passesQuickTest(line_)) {
            return false;
        }
        line_.textSpan(ddr::kReference, ddr::kTail);
        addToTotals(line_);
        if (!reader.next(line)) {
            checked_ = reader.finishReading();
            return true;
        }
    }
}

void DirectDebit100MRun::checkDetail(const SourceLine& d) {
    const std::int64_t lineNumber = d.lineNo();
    const std::string account = cp874::toUtf8(d[ddr::kAccount]);
    const auto error = [&](const char* errorCol, const std::string& col, const char* field,
                           std::string_view kind) {
        row(account, lineNumber, errorCol, col, field);
        tally(kind, lineNumber);
    };
    const DetailFaults f = detailFaults(d, today_);
    if (f.invalidDate) {
        error("Invalid EFFECTIVE-DATE", column(ddr::kDetailDate), "DETAIL,EFFECTIVE-DATE",
              Reject::InvalidEffect);
    }
    if (f.pastDate) {
        error("EFFECTIVE-DATE should be today or future date", column(ddr::kDetailDate),
              "DETAIL,EFFECTIVE-DATE", Reject::FutureEffect);
    }
    if (f.sign) {
        error("sign error", column(ddr::kSign), "DETAIL,SIGN", Reject::SignErr);
    }
    if (f.account) {
        error("Invalid QRV debit account.", columnsText(ddr::kAccount), "DETAIL,ACCOUNT NO.",
              Reject::invalidDebitAcct);
    }
    if (f.notPattern) {
        error("Amount must be 100M pattern.", column(ddr::kAmount), "DETAIL,AMOUNT.", Reject::InvalidAmount);
        amountError_ = true;
    }
    if (f.notNumeric) {
        error(" Invalid numeric .", column(ddr::kAmount), "DETAIL,AMOUNT.", Reject::InvalidAmount);
        amountError_ = true;
    }
    if (f.length) {
        error("Character have not over 80 Character.", " This line ", "DETAIL", Reject::Length);
    }
}

void DirectDebit100MRun::fullErrorScan(const std::filesystem::path& copy) {
    run_.message(kErrorDataMessage);
    sum_ = Money();
    count_ = 0;
    LineReader reader(copy);
    std::string_view line;
    reader.next(line);  // the control record
    if (!reader.next(line)) {
        line = {};
    }
    for (std::int64_t lineNumber = 2;; ++lineNumber) {
        if (lineNumber % kCancelEvery == 0) {
            run_.services.checkCancelled();
        }
        line_.read(line, lineNumber);
        checkDetail(line_);
        // The totals count only when no amount is wrong, so only readable amounts are summed.
        if (!amountError_) {
            addToTotals(line_);
        }
        if (!reader.next(line)) {
            break;
        }
    }
}

bool DirectDebit100MRun::totalsCheck(Wording wording) {
    sumText_ = FormatAmountField(ThreeDecimalText(sum_), "F", r007::kTotalAmount.width());
    line_.read(control_, 1);
    const Money total = *line_.amount(ddr::kTotalAmount);
    const std::string totalText = FormatAmountField(ThreeDecimalText(total), "F", r007::kTotalAmount.width());
    const std::string_view records = line_[ddr::kTotalRecord];
    const std::optional<std::int64_t> declared = ToInteger(records);
    if (!declared) {
        throw QrvError("Cannot read the total record \"" + cp874::toUtf8(records) + "\" of line 1, columns " +
                       columnsText(ddr::kTotalRecord) + ", of \"" + cp874::sanitizeUtf8(source_.string()) +
                       "\" as an integer");
    }
    const bool full = wording == Wording::FullScan;
    bool sound = true;
    if (sumText_ != totalText) {
        row("-", 1,
            full ? "Invalid Input File,Sum Amount not equal Total Amount."
                 : "column59-69 ,Invalid Input File,Sum Amount not equal Total Amount  .",
            column(ddr::kTotalAmount), "CONTROL,TOTAL-AMOUNT");
        tally(Reject::totalAmount, 1);
        sound = false;
    }
    if (count_ != *declared) {
        row("-", 1,
            full ? " Invalid Input File,No.of Debit not equal Total Record ."
                 : "column54-58 ,Invalid Input File,No.of Debit not equal Total Record  .",
            column(ddr::kTotalRecord), "CONTROL,TOTAL-RECORD");
        tally(Reject::TotalRecord, 1);
        sound = false;
    }
    return sound;
}

void DirectDebit100MRun::errorReport() {
    const ReformatRequest& request = run_.request;
    run_.result.outcome = Outcome::AllRejected;
    if (request.printDetail) {
        // The error report shows the table; the counters stay at 0.
        if (!run_.writes()) {
            return;
        }
        ReportRunner runner = run_.services.reports.open(kDirectDebitErrorRunner, "ErrorDirectDebit100M.frf");
        runner.setVariable("Resultdate", cp874::toUtf8(reportDate_));
        runner.setVariable("v5Corp", V5CorpText(request.companyId));
        runner.setVariable("sumAmount", sum_.toPlainText());
        runner.setVariable("creditAcct", run_.accounts.credit->text());
        runner.setVariable("DebitFeeAcct", run_.accounts.debitFee->text());
        run_.services.showReport(runner, run_.result);
        return;
    }
    run_.result.counters = CounterSet::DirectDebitErrors;
    ShowResultReport(request, run_.result,
                     {ResultLayout::NoUpload, "Direct Debit", "000000", "0", "0", reportDate_,
                      str(columnsOf(control_, ddr::kCompanyName)), "Company Name : "},
                     run_.services);
}

void DirectDebit100MRun::run() {
    start();
    // The first reading checks the whole file and sums it; the upload is written from a second reading
    // only when it found nothing wrong.
    if (!checkReading()) {
        // A private copy of the source that the full error scan reads; it never outlives the run. A dry
        // run, which makes no file, reads the source.
        std::optional<WorkFile> copy;
        if (run_.writes()) {
            copy.emplace(workFileFor(run_.request.destinationPath, "Temp1"));
            LineReader reader(source_);
            std::string_view line;
            while (reader.next(line)) {
                copy->writer().writeLine(line);
            }
            copy->close();
        }
        const std::filesystem::path& scanned = copy ? copy->path() : source_;
        fullErrorScan(scanned);
        if (!amountError_) {
            totalsCheck(Wording::FullScan);
        }
        errorReport();
        return;
    }
    if (!totalsCheck(Wording::CleanQuickPass)) {
        errorReport();
        return;
    }
    line_.read(control_, 1);
    WriteDirectDebitUpload(run_, DirectDebitTotals{sum_, sumText_, count_, shift_, reportDate_,
                                                   str(line_[ddr::kCompanyName]), checked_});
}

}  // namespace

void reformatDirectDebit100M(ReformatRun& run) {
    TableStore::CommandScope scope(run.services.store);
    DirectDebit100MRun(run).run();
}

}  // namespace qrv
