#include "convert/debit/DirectDebit100MReformatter.h"

#include <optional>
#include <vector>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "convert/ReformatRun.h"
#include "convert/RejectSink.h"
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

std::string V5CorpText(const std::string& id) {
    return cp874::toUtf8(PadText(cp874::fromUtf8(id).value_or(id), r001::kCompanyId.width()));
}

namespace {

constexpr const char* kErrorTable = "ErrorDirect100M";
// Lines between two looks at whether the person cancelled the run.
constexpr std::int64_t kCancelEvery = 4096;
constexpr const char* kErrorDataMessage =
    "<<--- !! Error Data ,you can view Error Report after This Message .--->> ";

// Which reading runs the totals check: its two errors are worded differently.
enum class Wording { FullScan, CleanQuickPass };

// Today, as every line's dates are compared with it.
struct Today {
    explicit Today(const Date& d) : date(d), text(d.yyyymmdd()) {}
    Date date;
    std::string text;  // yyyymmdd
};

// Whether a date read comes before today. A date compares as a date; a text that is none compares by its
// characters, as yyyymmdd.
bool beforeToday(const SourceLine& line, const Field& field, const Reading<Date>& read, const Today& today) {
    return read ? *read < today.date : line.dateParts(field).yyyymmdd() < today.text;
}

// The faults D1 to D7 of one detail record, in the order they are told.
std::vector<Reject> detailFaults(const SourceLine& d, const Today& today) {
    std::vector<Reject> faults;
    const Reading<Date> date = d.date(ddr::kDetailDate);
    if (!date) {
        faults.push_back(Reject::DetailDate);
    }
    if (beforeToday(d, ddr::kDetailDate, date, today)) {
        faults.push_back(Reject::DetailPastDate);
    }
    if (!d.code(ddr::kSign)) {
        faults.push_back(Reject::DetailSign);
    }
    if (!d.account(ddr::kAccount)) {
        faults.push_back(Reject::DetailAccount);
    }
    // The 100M pattern: the amount's eleven digits, above zero; a number of another form breaks it.
    const Reading<Money> amount = d.amount(ddr::kAmount);
    if (!(amount && *amount > Money())) {
        faults.push_back(d.holdsNumber(ddr::kAmount) ? Reject::DetailAmountPattern
                                                     : Reject::DetailAmountNumeric);
    }
    if (static_cast<int>(d.text().size()) > ddr::kMaxLine) {
        faults.push_back(Reject::DetailLength);
    }
    return faults;
}

const layout::Field* fieldOf(Reject kind) {
    switch (kind) {
        case Reject::DetailDate:
        case Reject::DetailPastDate:
            return &ddr::kDetailDate;
        case Reject::DetailSign:
            return &ddr::kSign;
        case Reject::DetailAccount:
            return &ddr::kAccount;
        case Reject::DetailAmountPattern:
        case Reject::DetailAmountNumeric:
            return &ddr::kAmount;
        default:
            return nullptr;
    }
}

class DirectDebit100MRun {
  public:
    explicit DirectDebit100MRun(ReformatRun& run)
        : run_(run),
          source_(run.request.sourcePath),
          today_(run.services.clock.today()),
          line_(source_, SourceFile::DirectDebit100M),
          rejects_(run.result, &run.services.store, RejectSink::Table::DirectDebitErrors) {}

    void run();

  private:
    bool checkReading();
    bool passesQuickTest(const SourceLine& detail) const;
    void checkControl();
    void controlError(Reject kind, const Field* field);
    void fullErrorScan(const std::filesystem::path& copy);
    void checkDetail(const SourceLine& detail);
    void addToTotals(const SourceLine& detail);
    bool totalsCheck(Wording wording);
    void errorReport();

    ReformatRun& run_;
    std::filesystem::path source_;
    Today today_;
    SourceLine line_;
    RejectSink rejects_;
    std::string control_;
    Field controlDate_ = ddr::kEffectiveDate;  // the control date where the shift puts it
    Field detailDate_ = ddr::kDetailDate;      // the detail date the quick test compares with today
    std::string reportDate_;
    bool controlError_ = false;
    bool amountError_ = false;
    Money sum_;
    std::int64_t count_ = 0;
    FileReading checked_;  // what a checking reading that found nothing wrong read
};

void DirectDebit100MRun::controlError(Reject kind, const Field* field) {
    rejects_.reject({kind, 1, field, nullptr, {}, "-"});
    controlError_ = true;
}

void DirectDebit100MRun::checkControl() {
    const SourceLine& c = line_;
    const Field& total = ddr::kTotalAmount;
    if (Trim(c[total]).size() != static_cast<size_t>(total.width())) {
        controlError(Reject::ControlAmountWidth, &total);
        amountError_ = true;
    }
    const Reading<Money> amount = c.amount(total);
    if (!(amount && *amount > Money())) {
        controlError(c.holdsNumber(total) ? Reject::ControlAmountPattern : Reject::ControlAmountNumeric,
                     &total);
        amountError_ = true;
    }
    // With the shift the date written is read one column later: it is checked as well, so the value
    // written is a value that was checked.
    if (!c.date(ddr::kEffectiveDate) || !c.date(controlDate_)) {
        controlError(Reject::ControlDate, &ddr::kEffectiveDate);
    }
    if (beforeToday(c, controlDate_, c.date(controlDate_), today_)) {
        controlError(Reject::ControlPastDate, &ddr::kEffectiveDate);
    }
    if (static_cast<int>(c.text().size()) > ddr::kMaxLine) {
        controlError(Reject::ControlLength, nullptr);
    }
}

// The quick test applies every rule of the full error scan, so that a file it lets through holds no
// error the scan would find; with the control shift it also compares the date read one column later.
bool DirectDebit100MRun::passesQuickTest(const SourceLine& d) const {
    const bool shifted = detailDate_.first != ddr::kDetailDate.first;  // else the faults compared it
    return !controlError_ && detailFaults(d, today_).empty() &&
           !(shifted && beforeToday(d, detailDate_, d.date(detailDate_), today_));
}

void DirectDebit100MRun::addToTotals(const SourceLine& d) {
    sum_.addAt(*d.amount(ddr::kAmount), [&] { return d.place(ddr::kAmount); });
    ++count_;
}

bool DirectDebit100MRun::checkReading() {
    LineReader reader(source_, LineReader::Digesting::Yes);
    if (!line_.next(reader)) {
        line_.read({}, 1);
    }
    control_ = line_.text();
    line_.require(line_.text(ddr::kCompanyName));
    const int shift = line_[ddr::kLeadingBlanks] == "        " && line_[ddr::kTermPayment] == " " ? 1 : 0;
    controlDate_ = shifted(ddr::kEffectiveDate, shift);
    detailDate_ = shifted(ddr::kDetailDate, shift);
    reportDate_ = line_.dateParts(controlDate_).slashed();
    checkControl();
    // The line after the control record is a detail record even when the file ends there.
    if (!line_.next(reader)) {
        line_.read({}, 2);
    }
    for (;;) {
        if (line_.lineNo() % kCancelEvery == 0) {
            run_.services.checkCancelled();
        }
        if (!passesQuickTest(line_)) {
            return false;
        }
        line_.require(line_.text(ddr::kCompletionName));
        addToTotals(line_);
        if (!line_.next(reader)) {
            checked_ = reader.finishReading();
            return true;
        }
    }
}

void DirectDebit100MRun::checkDetail(const SourceLine& d) {
    const std::string account(d[ddr::kAccount]);
    for (const Reject kind : detailFaults(d, today_)) {
        rejects_.reject({kind, d.lineNo(), fieldOf(kind), nullptr, {}, account});
        amountError_ =
            amountError_ || kind == Reject::DetailAmountPattern || kind == Reject::DetailAmountNumeric;
    }
}

void DirectDebit100MRun::fullErrorScan(const std::filesystem::path& copy) {
    run_.message(kErrorDataMessage);
    sum_ = Money();
    count_ = 0;
    LineReader reader(copy);
    std::string_view control;
    reader.next(control);
    // The line after the control record is a detail record even when the file ends there.
    if (!line_.next(reader)) {
        line_.read({}, 2);
    }
    do {
        if (line_.lineNo() % kCancelEvery == 0) {
            run_.services.checkCancelled();
        }
        checkDetail(line_);
        // The totals count only when no amount is wrong, so only readable amounts are summed.
        if (!amountError_) {
            addToTotals(line_);
        }
    } while (line_.next(reader));
}

bool DirectDebit100MRun::totalsCheck(Wording wording) {
    line_.read(control_, 1);
    const Money total = *line_.amount(ddr::kTotalAmount);
    const std::int64_t declared = line_.require(line_.number(ddr::kTotalRecord));
    const bool full = wording == Wording::FullScan;
    bool sound = true;
    if (sum_ != total) {
        rejects_.reject({full ? Reject::SumAfterScan : Reject::SumAfterFirstReading,
                         1,
                         &ddr::kTotalAmount,
                         nullptr,
                         {},
                         "-"});
        sound = false;
    }
    if (count_ != declared) {
        rejects_.reject({full ? Reject::CountAfterScan : Reject::CountAfterFirstReading,
                         1,
                         &ddr::kTotalRecord,
                         nullptr,
                         {},
                         "-"});
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
        // The detail sum of the totals check; 0 when an amount error kept it from running.
        runner.setVariable("sumAmount", (amountError_ ? Money() : sum_).toPlainText());
        runner.setVariable("creditAcct", run_.accounts.credit->text());
        runner.setVariable("DebitFeeAcct", run_.accounts.debitFee->text());
        run_.services.showReport(runner, run_.result);
        return;
    }
    run_.result.counters = CounterSet::DirectDebitErrors;
    line_.read(control_, 1);
    ShowResultReport(request, run_.result,
                     {ResultLayout::NoUpload, "Direct Debit", 0, 0, std::nullopt, reportDate_,
                      std::string(line_[ddr::kCompanyName]), "Company Name : "},
                     run_.services);
}

void DirectDebit100MRun::run() {
    run_.result.counters = CounterSet::DirectDebitZero;
    run_.services.store.reset(kErrorTable);
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
    // The upload is written from a reading that must equal this one; the run history takes its digest.
    run_.sourceChecked = checked_;
    if (!totalsCheck(Wording::CleanQuickPass)) {
        errorReport();
        return;
    }
    WriteDirectDebitUpload(run_, DirectDebitTotals{sum_, count_, controlDate_, reportDate_,
                                                   std::string(line_[ddr::kCompanyName]), checked_});
}

}  // namespace

void reformatDirectDebit100M(ReformatRun& run) {
    TableStore::CommandScope scope(run.services.store);
    DirectDebit100MRun(run).run();
}

}  // namespace qrv
