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
#include "store/TableStore.h"

namespace qrv {

using namespace ddr100m;

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

Money ReadNinePlusTwo(std::string_view line, int from, int to, std::int64_t lineNumber,
                      const std::filesystem::path& file) {
    const std::string text =
        std::string(Columns(line, from, to - 2)) + "." + std::string(Columns(line, to - 1, to));
    const std::optional<Money> value = Money::fromDecimalText(text);
    if (!value) {
        throw QrvError("Cannot read the amount \"" + cp874::toUtf8(Columns(line, from, to)) + "\" of line " +
                       std::to_string(lineNumber) + ", columns " + std::to_string(from) + "-" +
                       std::to_string(to) + ", of \"" + cp874::sanitizeUtf8(file.string()) +
                       "\" as a number");
    }
    return *value;
}

std::string V5CorpText(const std::string& id) {
    return cp874::toUtf8(PadText(cp874::fromUtf8(id).value_or(id), 12));
}

namespace {

constexpr const char* kErrorTable = "ErrorDirect100M";
// Lines between two looks at whether the person cancelled the run.
constexpr std::int64_t kCancelEvery = 4096;
constexpr const char* kErrorDataMessage =
    "<<--- !! Error Data ,you can view Error Report after This Message .--->> ";

// Which reading runs the totals check: its two errors are worded differently.
enum class Wording { FullScan, CleanQuickPass };

// The error counters of one run, by the result-report variable each feeds (and the kind of rejected
// entry each names).
struct Counters {
    std::int64_t SpaceAmount = 0, InvalidAmount = 0, InvalidEffect = 0, FutureEffect = 0, Length = 0,
                 SignErr = 0, invalidDebitAcct = 0, totalAmount = 0, TotalRecord = 0;
    std::int64_t total() const {
        return SpaceAmount + InvalidAmount + InvalidEffect + FutureEffect + Length + SignErr +
               invalidDebitAcct + totalAmount + TotalRecord;
    }
};

// The name of a counter, as its rejected entries are kinded.
const char* kindOf(const Counters& n, const std::int64_t& counter) {
    const std::pair<const std::int64_t*, const char*> kinds[] = {{&n.SpaceAmount, "SpaceAmount"},
                                                                 {&n.InvalidAmount, "InvalidAmount"},
                                                                 {&n.InvalidEffect, "InvalidEffect"},
                                                                 {&n.FutureEffect, "FutureEffect"},
                                                                 {&n.Length, "Length"},
                                                                 {&n.SignErr, "SignErr"},
                                                                 {&n.invalidDebitAcct, "invalidDebitAcct"},
                                                                 {&n.totalAmount, "totalAmount"},
                                                                 {&n.TotalRecord, "TotalRecord"}};
    for (const auto& [c, name] : kinds) {
        if (c == &counter) {
            return name;
        }
    }
    return "";
}

std::string str(std::string_view s) {
    return std::string(s);
}

// "20" + year + month + day of a ddmmyy date starting at column `from`.
std::string yyyymmddAt(std::string_view line, int from) {
    return "20" + str(Columns(line, from + 4, from + 5)) + str(Columns(line, from + 2, from + 3)) +
           str(Columns(line, from, from + 1));
}

bool isValidDdmmyy(std::string_view line, int from) {
    return IsPositiveNumber6(Columns(line, from, from + 5)) &&
           IsValidDate("20" + str(Columns(line, from + 4, from + 5)), Columns(line, from + 2, from + 3),
                       Columns(line, from, from + 1));
}

class DirectDebit100MRun {
  public:
    explicit DirectDebit100MRun(ReformatRun& run)
        : run_(run), source_(run.request.sourcePath), today_(run.services.clock.today().yyyymmdd()) {}

    void run();

  private:
    void start();
    bool quickPass();
    bool passesQuickTest(std::string_view detail) const;
    void checkControl();
    void fullScan(const std::filesystem::path& copy);
    void checkDetail(std::string_view detail, std::int64_t lineNumber);
    bool totalsCheck(const std::filesystem::path& file, Wording wording);
    void errorReport();
    void row(std::string account, std::int64_t line, const char* errorCol, const char* column,
             const char* field);
    void tally(std::int64_t& counter, std::int64_t line);

    ReformatRun& run_;
    std::filesystem::path source_;
    std::string today_;
    std::string control_;
    int shift_ = 0;
    std::string reportDate_;
    bool controlError_ = false;
    bool amountError_ = false;
    Counters n_;
    Money sum_;
    std::int64_t count_ = 0;
    std::string sumText_;
};

void DirectDebit100MRun::row(std::string account, std::int64_t line, const char* errorCol, const char* column,
                             const char* field) {
    run_.services.store.append(kErrorTable, {{"account", std::move(account)},
                                             {"line", std::to_string(line)},
                                             {"error_col", std::string(errorCol)},
                                             {"column", std::string(column)},
                                             {"field", std::string(field)}});
}

void DirectDebit100MRun::tally(std::int64_t& counter, std::int64_t line) {
    ++counter;
    run_.reject(kindOf(n_, counter), line);
}

void DirectDebit100MRun::start() {
    ResultCounters& c = run_.result.counters;
    for (std::optional<std::int64_t>* counter :
         {&c.SpaceAmount, &c.InvalidAmount, &c.InvalidEffect, &c.FutureEffect, &c.Length, &c.SignErr,
          &c.invalidDebitAcct, &c.totalAmount, &c.TotalRecord, &c.TotalError}) {
        *counter = 0;
    }
    run_.services.store.reset(kErrorTable);
}

void DirectDebit100MRun::checkControl() {
    const std::string_view c = control_;
    const auto error = [this](const char* errorCol, const char* column, const char* field,
                              std::int64_t& counter) {
        row("-", 1, errorCol, column, field);
        tally(counter, 1);
        controlError_ = true;
    };
    const std::string_view total = Columns(c, kTotalAmountFrom, kTotalAmountTo);
    const bool numeric = IsNumeric(Trim(total));
    if (Trim(total).size() != 11) {
        error(" Invalid ,Amount have not space .", " 59-69 ", "CONTROL,TOTAL-AMOUNT", n_.SpaceAmount);
        amountError_ = true;
    }
    if (numeric && !IsPositiveNumber11(total)) {
        error(" Amount must be 100M pattern.", " 59-69 ", "CONTROL,TOTAL-AMOUNT", n_.InvalidAmount);
        amountError_ = true;
    }
    if (!numeric) {
        error(" Invalid numeric .", " 59-69 ", "CONTROL,TOTAL-AMOUNT", n_.InvalidAmount);
        amountError_ = true;
    }
    if (!isValidDdmmyy(c, kControlDateFrom)) {
        error("Invalid EFFECTIVE-DATE", " 48-53 ", "CONTROL,EFFECTIVE-DATE", n_.InvalidEffect);
    }
    if (yyyymmddAt(c, kControlDateFrom + shift_) < today_) {
        error("EFFECTIVE-DATE should be today or future date", " 48-53 ", "CONTROL,EFFECTIVE-DATE",
              n_.FutureEffect);
    }
    if (c.size() > kMaxLine) {
        error("Character have not over 80 Character.", " This line ", "CONTROL", n_.Length);
    }
}

bool DirectDebit100MRun::passesQuickTest(std::string_view d) const {
    const std::string_view amount = Columns(d, kAmountFrom, kAmountTo);
    return d.size() <= kMaxLine && Columns(d, kSign, kSign) == "1" &&
           IsValidAccountNo(Columns(d, kAccountFrom, kAccountTo)) && Trim(amount).size() == 11 &&
           IsNumeric(amount) && !controlError_ && isValidDdmmyy(d, kDetailDateFrom) &&
           !(yyyymmddAt(d, kDetailDateFrom + shift_) < today_);
}

bool DirectDebit100MRun::quickPass() {
    LineReader reader(source_);
    std::string_view line;
    control_ = reader.next(line) ? str(line) : std::string();
    shift_ = Columns(control_, kShiftFrom, kShiftTo) == "         " ? 1 : 0;
    const int d = kControlDateFrom + shift_;
    reportDate_ = str(Columns(control_, d, d + 1)) + "/" + str(Columns(control_, d + 2, d + 3)) + "/20" +
                  str(Columns(control_, d + 4, d + 5));
    checkControl();
    // The line after the control record is a detail record even when the file ends there.
    if (!reader.next(line)) {
        line = {};
    }
    for (std::int64_t n = 1;; ++n) {
        if (n % kCancelEvery == 0) {
            run_.services.checkCancelled();
        }
        if (!passesQuickTest(line)) {
            return false;
        }
        if (!reader.next(line)) {
            return true;
        }
    }
}

void DirectDebit100MRun::checkDetail(std::string_view d, std::int64_t lineNumber) {
    const std::string account = cp874::toUtf8(Columns(d, kAccountFrom, kAccountTo));
    const auto error = [&](const char* errorCol, const char* column, const char* field,
                           std::int64_t& counter) {
        row(account, lineNumber, errorCol, column, field);
        tally(counter, lineNumber);
    };
    if (!isValidDdmmyy(d, kDetailDateFrom)) {
        error("Invalid EFFECTIVE-DATE", " 11-16 ", "DETAIL,EFFECTIVE-DATE", n_.InvalidEffect);
    }
    if (yyyymmddAt(d, kDetailDateFrom) < today_) {
        error("EFFECTIVE-DATE should be today or future date", " 11-16 ", "DETAIL,EFFECTIVE-DATE",
              n_.FutureEffect);
    }
    if (Columns(d, kSign, kSign) != "1") {
        error("sign error", " 17 ", "DETAIL,SIGN", n_.SignErr);
    }
    if (!IsValidAccountNo(Columns(d, kAccountFrom, kAccountTo))) {
        error("Invalid QRV debit account.", "1-10", "DETAIL,ACCOUNT NO.", n_.invalidDebitAcct);
    }
    const std::string_view amount = Columns(d, kAmountFrom, kAmountTo);
    const bool numeric = IsNumeric(Trim(amount));
    if (numeric && !IsPositiveNumber11(amount)) {
        error("Amount must be 100M pattern.", " 18-28 ", "DETAIL,AMOUNT.", n_.InvalidAmount);
        amountError_ = true;
    }
    if (!numeric) {
        error(" Invalid numeric .", " 18-28 ", "DETAIL,AMOUNT.", n_.InvalidAmount);
        amountError_ = true;
    }
    if (d.size() > kMaxLine) {
        error("Character have not over 80 Character.", " This line ", "DETAIL", n_.Length);
    }
}

void DirectDebit100MRun::fullScan(const std::filesystem::path& copy) {
    run_.message(kErrorDataMessage);
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
        checkDetail(line, lineNumber);
        if (!reader.next(line)) {
            break;
        }
    }
}

bool DirectDebit100MRun::totalsCheck(const std::filesystem::path& file, Wording wording) {
    LineReader reader(file);
    std::string_view line;
    const std::string control = reader.next(line) ? str(line) : std::string();
    Money sum;
    std::int64_t count = 0;
    while (reader.next(line)) {
        const std::int64_t lineNumber = reader.lineNumber();
        if (lineNumber % kCancelEvery == 0) {
            run_.services.checkCancelled();
        }
        sum.add(
            ReadNinePlusTwo(line, kAmountFrom, kAmountTo, lineNumber, source_),
            "line " + std::to_string(lineNumber) + " of \"" + cp874::sanitizeUtf8(source_.string()) + "\"");
        ++count;
    }
    sum_ = sum;
    count_ = count;
    sumText_ = FormatAmountField(ThreeDecimalText(sum), "F", 16);
    const Money total = ReadNinePlusTwo(control, kTotalAmountFrom, kTotalAmountTo, 1, source_);
    const std::string totalText = FormatAmountField(ThreeDecimalText(total), "F", 16);
    const std::string_view records = Columns(control, kTotalRecordFrom, kTotalRecordTo);
    const std::optional<std::int64_t> declared = ToInteger(records);
    if (!declared) {
        throw QrvError("Cannot read the total record \"" + cp874::toUtf8(records) +
                       "\" of line 1, columns 54-58, of \"" + cp874::sanitizeUtf8(source_.string()) +
                       "\" as an integer");
    }
    const bool full = wording == Wording::FullScan;
    bool sound = true;
    if (sumText_ != totalText) {
        row("-", 1,
            full ? "Invalid Input File,Sum Amount not equal Total Amount."
                 : "column59-69 ,Invalid Input File,Sum Amount not equal Total Amount  .",
            " 59-69 ", "CONTROL,TOTAL-AMOUNT");
        tally(n_.totalAmount, 1);
        sound = false;
    }
    if (count != *declared) {
        row("-", 1,
            full ? " Invalid Input File,No.of Debit not equal Total Record ."
                 : "column54-58 ,Invalid Input File,No.of Debit not equal Total Record  .",
            " 54-58 ", "CONTROL,TOTAL-RECORD");
        tally(n_.TotalRecord, 1);
        sound = false;
    }
    return sound;
}

void DirectDebit100MRun::errorReport() {
    const ReformatRequest& request = run_.request;
    ResultCounters& c = run_.result.counters;
    run_.result.outcome = Outcome::AllRejected;
    if (request.printDetail) {
        // The error report shows the table; the counters stay at 0.
        if (!run_.writes()) {
            return;
        }
        ReportRunners& reports = run_.services.reports;
        ReportRunner& runner = reports.directDebitError;
        runner.loadLayout(reports.layout("ErrorDirectDebit100M.frf"));
        runner.setVariable("Resultdate", cp874::toUtf8(reportDate_));
        runner.setVariable("v5Corp", V5CorpText(request.companyId));
        runner.setVariable("sumAmount", sum_.toPlainText());
        runner.setVariable("creditAcct", request.creditAccount);
        runner.setVariable("DebitFeeAcct", request.debitFeeAccount);
        run_.services.showReport(runner, run_.result);
        return;
    }
    c.SpaceAmount = n_.SpaceAmount;
    c.InvalidAmount = n_.InvalidAmount;
    c.InvalidEffect = n_.InvalidEffect;
    c.FutureEffect = n_.FutureEffect;
    c.Length = n_.Length;
    c.SignErr = n_.SignErr;
    c.invalidDebitAcct = n_.invalidDebitAcct;
    c.totalAmount = n_.totalAmount;
    c.TotalRecord = n_.TotalRecord;
    c.TotalError = n_.total();
    c.Error2million = 0;
    ShowResultReport(request, run_.result,
                     {2, "Direct Debit", "000000", "0", "0", reportDate_,
                      str(Columns(control_, kCompanyNameFrom, kCompanyNameTo)), "Company Name : "},
                     run_.services);
}

void DirectDebit100MRun::run() {
    start();
    if (!quickPass()) {
        // A private copy of the source that the full error scan reads; it never outlives the run. A
        // file that passes the quick pass needs none, and a dry run, which makes no file, reads the source.
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
        fullScan(scanned);
        if (!amountError_) {
            totalsCheck(scanned, Wording::FullScan);
        }
        errorReport();
        return;
    }
    const bool sound = totalsCheck(source_, Wording::CleanQuickPass);
    if (!sound) {
        errorReport();
        return;
    }
    WriteDirectDebitUpload(run_, DirectDebitTotals{sum_, sumText_, count_, shift_, reportDate_,
                                                   str(Columns(control_, kCompanyNameFrom, kCompanyNameTo))});
}

}  // namespace

void reformatDirectDebit100M(ReformatRun& run) {
    TableStore::CommandScope scope(run.services.store);
    DirectDebit100MRun(run).run();
}

}  // namespace qrv
