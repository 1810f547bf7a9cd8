#include "convert/debit/ReturnFileComparison.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/Money.h"
#include "convert/OutputNames.h"
#include "convert/RunCommit.h"
#include "io/InputGuards.h"
#include "io/LineReader.h"
#include "io/WorkFile.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/RecordWriter.h"
#include "layout/SourceLine.h"
#include "reports/AmountDisplay.h"
#include "store/TableStore.h"

namespace qrv {

using namespace layout;

namespace {

namespace fs = std::filesystem;

constexpr const char* kLayout = "rptCompareFileFromV5.frf";
constexpr auto kDigested = LineReader::Digesting::Yes;

std::string twoDigits(int value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", value % 100);
    return buf;
}

// The comparison's message: it ends the run.
struct Stop {
    std::string message;
};

// A message of the system followed by where the clerk finds the difference.
std::string placed(std::string_view words, std::string_view place) {
    return std::string(words) + (words.ends_with(' ') ? "" : " ") + std::string(place);
}

// An amount in baht as read, with separators and every decimal that is not zero (at least two), so that two
// amounts that differ never read the same.
std::string exactBaht(Money amount) {
    const std::int64_t units = amount.units();
    const std::uint64_t size =
        units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    const auto scale = static_cast<std::uint64_t>(Money::kScale);
    char decimals[8];
    std::snprintf(decimals, sizeof decimals, "%04llu", static_cast<unsigned long long>(size % scale));
    std::string fraction(decimals);
    while (fraction.size() > 2 && fraction.back() == '0') {
        fraction.pop_back();
    }
    return (units < 0 ? "-" : "") + CountDisplay(static_cast<std::int64_t>(size / scale)) + "." + fraction;
}

// What the sent file's control record gives the comparison.
struct SentControl {
    std::string record;       // the line as it stands
    std::string companyName;  // 30 characters
    std::string valueDate;    // ddmmyy
    FileReading read;
};

// The return file: its lines (for the progress) and its last trailer, with the line it is on (0: none).
struct ReturnTrailer {
    std::int64_t lines = 0;
    std::string record;
    std::int64_t lineNo = 0;
    FileReading read;
};

// The numbers a control record or a trailer announces: records and their total.
struct Announced {
    std::int64_t count = 0;
    Money total;
};

SentControl readSentControl(const fs::path& sent) {
    LineReader reader(sent, kDigested);
    SourceLine control(sent, SourceFile::DirectDebit100M);
    if (!control.next(reader)) {
        control.read({}, 1);
    }
    // The check of the leading blanks looks at the line as it stands.
    if (!control.text().starts_with(std::string_view("        "))) {
        throw Stop{"Incorrect file input. Please Check file"};
    }
    SentControl s;
    s.record = control.text();
    s.companyName = control.require(control.text(ddr::kCompanyName));
    s.valueDate = control[ddr::kEffectiveDate];
    s.read = reader.finishReading();
    return s;
}

Announced sentTotals(const fs::path& file, const SentControl& sent) {
    SourceLine control(file, SourceFile::DirectDebit100M);
    control.read(sent.record, 1);
    return {control.require(control.digits(ddr::kTotalRecord)),
            control.require(control.amount(ddr::kTotalAmount))};
}

// Where the totals differ: the sent control record's and the return trailer's.
std::string totalsPlace(const Announced& sent, const Announced& returned, std::int64_t trailerLine) {
    const auto totals = [](const Announced& a) {
        return "record count " + CountDisplay(a.count) + ", total " + exactBaht(a.total) + " baht.";
    };
    const std::string returnSide =
        trailerLine == 0 ? "Return file: no trailer record."
                         : "Return file line " + std::to_string(trailerLine) + ": " + totals(returned);
    return "Sent file: " + totals(sent) + " " + returnSide;
}

Announced returnTotals(const fs::path& file, const ReturnTrailer& trailer) {
    if (trailer.lineNo == 0) {
        return {};
    }
    SourceLine line(file, SourceFile::ReturnFile);
    line.read(trailer.record, trailer.lineNo);
    return {line.require(line.digits(ret::kRecordCount)), line.require(line.amount(ret::kTotalAmount))};
}

ReturnTrailer readReturnTrailer(const fs::path& file, const std::string& sentDate) {
    ReturnTrailer totals;
    {
        LineReader counter(file, kDigested);
        std::string_view text;
        while (counter.next(text)) {
            ++totals.lines;
        }
        totals.read = counter.finishReading();
    }
    LineReader reader(file, kDigested);
    SourceLine line(file, SourceFile::ReturnFile);
    if (!line.next(reader)) {
        line.read({}, 1);
    }
    if (!line.code(ret::kHeaderCode)) {
        throw Stop{"Incorrect file input. Please Check file Direct Debit Return"};
    }
    const DateParts date = line.dateParts(ret::kValueDate);
    std::string returned = date.day + date.month + date.year.substr(2);
    std::string sent = sentDate;
    for (std::string* text : {&returned, &sent}) {
        std::transform(text->begin(), text->end(), text->begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    if (returned != sent) {
        throw Stop{"Incorrect Value Date"};
    }
    // The last trailer counts.
    while (line.next(reader)) {
        if (line.code(ret::kTrailerCode)) {
            totals.record = line.text();
            totals.lineNo = line.lineNo();
        }
    }
    RequireSameReading(file, totals.read, reader.finishReading());
    return totals;
}

// The 9+2 amount text of the comparison file from a return amount field of more digits: its last nine
// whole digits and first two decimals.
std::string_view amountTextOf(std::string_view field, const Field& of) {
    const Field& to = ddr::kAmount;
    const size_t from = static_cast<size_t>((of.width() - of.decimals) - (to.width() - to.decimals));
    return field.substr(from, static_cast<size_t>(to.width()));
}

int percent(std::int64_t done, std::int64_t total) {
    if (total <= 0) {
        return 0;
    }
    return static_cast<int>(std::clamp<std::int64_t>((done * 200 + total) / (2 * total), 0, 100));
}

// The pairing of each sent detail with the next return record, writing the comparison file.
class Pairing {
  public:
    Pairing(const ReturnComparisonRequest& request, Services& services)
        : services_(services),
          sent_(request.sentPath, SourceFile::DirectDebit100M),
          paired_(request.returnPath, SourceFile::ReturnFile),
          record_(kComparisonLine) {}

    // Pairs every detail and writes its line to `out`; the number of details paired.
    std::int64_t run(LineReader& sentReader, LineReader& returnReader, FileWriter& out, std::int64_t lines);

  private:
    void pair(bool returnLeft);
    // "Sent file line N: account A, amount X." of the sent detail.
    std::string sentPlace(Money amount) const;

    Services& services_;
    SourceLine sent_;
    SourceLine paired_;
    RecordWriter record_;
    std::string amountText_;  // carried to the next line when the return record is no detail
    std::string_view reference_;
};

std::string Pairing::sentPlace(Money amount) const {
    return "Sent file line " + std::to_string(sent_.lineNo()) + ": account " +
           cp874::toUtf8(Trim(sent_[ddr::kAccount])) + ", amount " + exactBaht(amount) + ".";
}

void Pairing::pair(bool returnLeft) {
    const std::int64_t sentAccount = sent_.require(sent_.number(ddr::kAccount));
    const Money sentAmount = sent_.require(sent_.amount(ddr::kAmount));
    reference_ = sent_.require(sent_.text(ddr::kReference));
    // A return file with fewer records gives blanks: no result, a status error.
    const std::string_view result = returnLeft ? paired_[ret::kResult] : " ";
    const std::optional<std::string> status =
        ReturnStatusCode(result, returnLeft ? paired_[ret::kReason] : "   ");
    if (!status) {
        const std::string returnSide = returnLeft ? "Return file line " + std::to_string(paired_.lineNo()) +
                                                        ": result \"" + cp874::toUtf8(result) +
                                                        "\" is none of S, F, V, P."
                                                  : std::string("Return file: no record left for it.");
        throw Stop{placed("Status Error. ", sentPlace(sentAmount) + " " + returnSide)};
    }
    if (returnLeft && paired_.code(ret::kDetailCode)) {
        const std::string_view accountText = paired_.require(paired_.text(ret::kAccount));
        const std::int64_t account = paired_.require(paired_.number(ret::kAccount));
        const Money amount = paired_.require(paired_.amount(ret::kAmount));
        Money shown = amount;
        if (paired_[ret::kResult] == "P") {
            shown = paired_.require(paired_.amount(ret::kPaidAmount));
            amountText_ = amountTextOf(paired_[ret::kPaidAmount], ret::kPaidAmount);
        } else {
            amountText_ = paired_[ret::kAmount];
        }
        reference_ = paired_.require(paired_.text(ret::kReference));
        if (account != sentAccount || amount != sentAmount) {
            const std::string place =
                sentPlace(sentAmount) + " Return file line " + std::to_string(paired_.lineNo()) +
                ": account " + cp874::toUtf8(Trim(accountText)) + ", amount " + exactBaht(amount) + ".";
            throw Stop{
                placed(account != sentAccount ? "Total Account is not match." : "Total Amount is not match.",
                       place)};
        }
        services_.store.append("DDR_FileCompare", {{"Account_No", cp874::toUtf8(accountText)},
                                                   {"Reference_Id", cp874::toUtf8(reference_)},
                                                   {"Amount", shown},
                                                   {"Result", cp874::toUtf8(result)}});
    }
    // The sent detail with the result, each field at its width.
    record_.reset();
    for (const Field* field : {&ddr::kAccount, &ddr::kDetailDate, &ddr::kSign}) {
        record_.text(*field, sent_[*field]);
    }
    record_.text(ddr::kAmount, amountText_);
    record_.text(ddr::kStatusCode, *status);
    record_.text(ddr::kReference, reference_);
    record_.text(ddr::kNameText, sent_.require(sent_.text(ddr::kNameText)));
}

std::int64_t Pairing::run(LineReader& sentReader, LineReader& returnReader, FileWriter& out,
                          std::int64_t lines) {
    std::int64_t k = 0;
    bool returnLeft = true;
    while (sent_.next(sentReader)) {
        returnLeft = returnLeft && paired_.next(returnReader);
        pair(returnLeft);
        out.writeLine(record_.record());
        services_.checkCancelled();
        services_.events.setProgress(percent(k, lines));
        ++k;
    }
    return k;
}

// The refusal of a comparison file that would replace an input or an output of the run.
std::optional<std::string> destinationRefusal(const ReturnComparisonRequest& request, Services& services) {
    for (const auto& [input, name] :
         {std::pair{&request.sentPath, "source"}, std::pair{&request.returnPath, "return"}}) {
        if (auto refusal = overwritesInput(request.destinationPath, *input, name)) {
            return refusal;
        }
    }
    return outputCollision(request.destinationPath, reportOutputs(services.events),
                           services.store.dataFolder());
}

void showComparisonReport(const ReturnComparisonRequest& request, const SentControl& sent, Services& services,
                          ReturnComparisonResult& result) {
    const DateParts date = datePartsOf(sent.valueDate, ddr::kEffectiveDate);
    ReportRunner runner = services.reports.open(kComparisonRunner, kLayout);
    runner.setVariable("ComName", cp874::toUtf8(sent.companyName));
    runner.setVariable("TransDate", cp874::toUtf8(date.day + "/" + date.month + "/" + date.year.substr(2)));
    runner.setVariable("SourceFile", cp874::sanitizeUtf8(request.sentPath.string()));
    runner.setVariable("FileFromV5", cp874::sanitizeUtf8(request.returnPath.string()));
    runner.setVariable("Destination", cp874::sanitizeUtf8(request.destinationPath.string()));
    services.showReport(runner, result);
}

ReturnComparisonResult compare(const ReturnComparisonRequest& request, Services& services) {
    ReturnComparisonResult result;
    if (request.sentPath.empty()) {
        throw Stop{"Please Input file "};
    }
    if (request.returnPath.empty()) {
        throw Stop{"Please Input file of Direct Debit Return File "};
    }
    if (request.destinationPath.empty()) {
        throw Stop{"Please Select Destination file "};
    }
    RunCommit commit(services);
    // Each file is read more than once: every reading is digested, and the comparison is written only when
    // all readings of a file saw the same bytes.
    const SentControl sent = readSentControl(request.sentPath);
    const ReturnTrailer trailer = readReturnTrailer(request.returnPath, sent.valueDate);
    const Announced sentAnnounced = sentTotals(request.sentPath, sent);
    const Announced returned = returnTotals(request.returnPath, trailer);
    if (sentAnnounced.count != returned.count) {
        throw Stop{placed(" Record is not match.", totalsPlace(sentAnnounced, returned, trailer.lineNo))};
    }
    if (sentAnnounced.total != returned.total) {
        throw Stop{placed(" Amount is not match.", totalsPlace(sentAnnounced, returned, trailer.lineNo))};
    }
    // Last of the checks (none after it refuses): the comparison file may not replace an input.
    if (const auto refusal = destinationRefusal(request, services)) {
        services.events.showMessage(MessageKind::Error, *refusal);
        return result;
    }
    // Writing phase: each sent detail paired with the next return record. The comparison file replaces
    // its target only when whole.
    services.store.reset("DDR_FileCompare");
    LineReader sentReader(request.sentPath, kDigested);
    LineReader returnReader(request.returnPath, kDigested);
    std::string_view line;
    sentReader.next(line);
    returnReader.next(line);
    AtomicFile output(request.destinationPath);
    FileWriter& out = output.writer();
    out.writeLine(std::string_view(sent.record).substr(0, static_cast<size_t>(kComparisonLine.length)));
    result.records = Pairing(request, services).run(sentReader, returnReader, out, trailer.lines);
    commit.reading([&] {
        RequireSameReading(request.sentPath, sent.read, sentReader.finishReading());
        RequireSameReading(request.returnPath, trailer.read, returnReader.finishReading());
    });
    commit.outputs().add(CommitStep::Upload, std::move(output));
    result.outcome = Outcome::Written;
    result.total = sentAnnounced.total;
    result.written.push_back({OutputKind::Comparison, request.destinationPath});
    showComparisonReport(request, sent, services, result);
    commit.commit();
    return result;
}

}  // namespace

std::string ReturnFileProposedName(const DateTime& now) {
    return twoDigits(now.date.day) + twoDigits(now.date.month) + twoDigits(now.date.year) + "-" +
           twoDigits(now.hour) + twoDigits(now.minute) + twoDigits(now.second) + " Return File.txt";
}

std::optional<std::string> ReturnStatusCode(std::string_view result, std::string_view reason) {
    if (result == "S") {
        return "00";
    }
    if (result == "F") {
        if (reason.starts_with("03")) {
            return "10";
        }
        if (reason.starts_with("11")) {
            return reason == "112" ? "21" : "20";
        }
        if (reason.starts_with("06")) {
            return "20";
        }
        return "90";
    }
    if (result == "V") {
        return "23";
    }
    if (result == "P") {
        return "03";
    }
    return std::nullopt;
}

ReturnComparisonResult compareReturnFile(const ReturnComparisonRequest& request, Services& services) {
    try {
        return compare(request, services);
    } catch (const Stop& stop) {
        services.events.showMessage(MessageKind::Error, stop.message);
    } catch (const SourceRefusal& refusal) {
        services.events.showMessage(MessageKind::Error, refusal.what());
    }
    return ReturnComparisonResult();
}

}  // namespace qrv
