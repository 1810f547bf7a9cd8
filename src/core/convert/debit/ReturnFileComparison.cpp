#include "convert/debit/ReturnFileComparison.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/Money.h"
#include "base/QrvError.h"
#include "convert/OutputNames.h"
#include "convert/RunCommit.h"
#include "io/InputGuards.h"
#include "io/LineReader.h"
#include "io/WorkFile.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/RecordWriter.h"
#include "layout/SourceLine.h"
#include "store/TableStore.h"

namespace qrv {

using namespace layout;

namespace {

namespace fs = std::filesystem;

constexpr const char* kLayout = "rptCompareFileFromV5.frf";

std::string twoDigits(int value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", value % 100);
    return buf;
}

std::string lower(std::string_view text) {
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Where a field was read, for the conversion errors.
std::string place(const fs::path& file, std::int64_t line, const Field& field) {
    return "file \"" + file.string() + "\", line " + std::to_string(line) + ", columns " + columnsText(field);
}

// An amount field, read by the rule of amounts: its digits and implied decimals.
Money amountAt(std::string_view line, const Field& field, const fs::path& file, std::int64_t lineNo) {
    const std::string_view text = columnsOf(line, field);
    const std::optional<Money> amount = amountOf(text, field);
    if (!amount) {
        throw QrvError("'" + cp874::toUtf8(text) + "' is not a valid amount (" + place(file, lineNo, field) +
                       ")");
    }
    return *amount;
}

std::int64_t countOf(std::string_view line, const Field& field, const fs::path& file, std::int64_t lineNo) {
    const std::string_view text = columnsOf(line, field);
    const std::optional<std::int64_t> value = numberOf(text, field);
    if (!value) {
        throw QrvError("'" + cp874::toUtf8(text) + "' is not a valid record count (" +
                       place(file, lineNo, field) + ")");
    }
    return *value;
}

// An account read as a number: its digits without leading zeros, so that any length compares.
std::string accountNumber(std::string_view text, const std::string& where) {
    std::string_view digits = Trim(text);
    if (!IsDigits(digits)) {
        throw QrvError("'" + cp874::toUtf8(text) + "' is not a valid account number (" + where + ")");
    }
    while (digits.size() > 1 && digits.front() == '0') {
        digits.remove_prefix(1);
    }
    return std::string(digits);
}

// The 9+2 amount text of the comparison file from a return amount field of more digits: its last nine
// whole digits and first two decimals.
std::string_view amountTextOf(std::string_view field, const Field& of) {
    const Field& to = ddr::kAmount;
    const size_t from = static_cast<size_t>((of.width() - of.decimals) - (to.width() - to.decimals));
    return from < field.size() ? field.substr(from, static_cast<size_t>(to.width())) : std::string_view();
}

void stop(Services& services, const char* text) {
    services.events.showMessage(MessageKind::Error, text);
}

int percent(std::int64_t done, std::int64_t total) {
    if (total <= 0) {
        return 0;
    }
    return static_cast<int>(std::clamp<std::int64_t>((done * 200 + total) / (2 * total), 0, 100));
}

// What the sent file's control record gives the comparison.
struct SentControl {
    std::string record;
    std::string companyName;
    std::string valueDate;  // ddmmyy
};

}  // namespace

std::string ReturnFileProposedName(const DateTime& now) {
    return twoDigits(now.date.day) + twoDigits(now.date.month) + twoDigits(now.date.year) + "-" +
           twoDigits(now.hour) + twoDigits(now.minute) + twoDigits(now.second) + " Return File.txt";
}

std::optional<std::string> ReturnStatusCode(std::string_view returnRecord) {
    const std::string_view result = columnsOf(returnRecord, ret::kResult);
    if (result == "S") {
        return "00";
    }
    if (result == "F") {
        const std::string_view reason = columnsOf(returnRecord, ret::kReason);
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

namespace {

ReturnComparisonResult compare(const ReturnComparisonRequest& request, Services& services) {
    ReturnComparisonResult result;
    if (request.sentPath.empty()) {
        stop(services, "Please Input file ");
        return result;
    }
    if (request.returnPath.empty()) {
        stop(services, "Please Input file of Direct Debit Return File ");
        return result;
    }
    if (request.destinationPath.empty()) {
        stop(services, "Please Select Destination file ");
        return result;
    }
    const fs::path& sentPath = request.sentPath;
    const fs::path& returnPath = request.returnPath;
    const fs::path& destination = request.destinationPath;
    TableStore& store = services.store;
    RunCommit commit(services);

    // The sent file's control record. Each file is read more than once: every reading is digested, and
    // the comparison is written only when all readings of a file saw the same bytes.
    constexpr auto digested = LineReader::Digesting::Yes;
    SentControl sent;
    FileReading sentRead;
    std::int64_t sentCount = 0;
    Money sentTotal;
    {
        LineReader reader(sentPath, digested);
        std::string_view line;
        reader.next(line);
        if (columnsOf(line, ddr::kLeadingBlanks) != std::string_view("        ")) {
            stop(services, "Incorrect file input. Please Check file");
            return result;
        }
        SourceLine control(sentPath, sentPath.string());
        control.read(line, 1);
        sent.companyName = control.text(ddr::kCompanyName);
        sent.valueDate = control[ddr::kEffectiveDate];
        sent.record = line;
        sentRead = reader.finishReading();
    }
    const DateParts sentDate = datePartsOf(sent.valueDate, ddr::kEffectiveDate);
    const std::string transDate = sentDate.day + "/" + sentDate.month + "/" + sentDate.year.substr(2);

    // The return file: its lines (for the progress), header, value date and trailer.
    std::int64_t returnLines = 0;
    FileReading returnRead;
    {
        LineReader counter(returnPath, digested);
        std::string_view line;
        while (counter.next(line)) {
            ++returnLines;
        }
        returnRead = counter.finishReading();
    }
    std::string trailer;
    std::int64_t trailerLine = 0;
    {
        LineReader reader(returnPath, digested);
        std::string_view line;
        reader.next(line);
        if (!isCodeOf(columnsOf(line, ret::kHeaderCode), ret::kHeaderCode)) {
            stop(services, "Incorrect file input. Please Check file Direct Debit Return");
            return result;
        }
        const DateParts returnDate = datePartsOf(columnsOf(line, ret::kValueDate), ret::kValueDate);
        if (lower(returnDate.day + returnDate.month + returnDate.year.substr(2)) != lower(sent.valueDate)) {
            stop(services, "Incorrect Value Date");
            return result;
        }
        while (reader.next(line)) {
            if (isCodeOf(columnsOf(line, ret::kTrailerCode), ret::kTrailerCode)) {
                trailer = line;
                trailerLine = reader.lineNumber();
            }
        }
        RequireSameReading(returnPath, returnRead, reader.finishReading());
    }
    sentCount = countOf(sent.record, ddr::kTotalRecord, sentPath, 1);
    const std::int64_t receivedCount =
        trailerLine == 0 ? 0 : countOf(trailer, ret::kRecordCount, returnPath, trailerLine);
    if (sentCount != receivedCount) {
        stop(services, " Record is not match.");
        return result;
    }
    sentTotal = amountAt(sent.record, ddr::kTotalAmount, sentPath, 1);
    const Money receivedTotal =
        trailerLine == 0 ? Money() : amountAt(trailer, ret::kTotalAmount, returnPath, trailerLine);
    if (sentTotal != receivedTotal) {
        stop(services, " Amount is not match.");
        return result;
    }

    // Last of the checks (none after it refuses): the comparison file may not replace an input.
    for (const auto& [input, name] : {std::pair{&sentPath, "source"}, std::pair{&returnPath, "return"}}) {
        if (const auto refusal = overwritesInput(destination, *input, name)) {
            services.events.showMessage(MessageKind::Error, *refusal);
            return result;
        }
    }
    if (const auto refusal =
            outputCollision(destination, reportOutputs(services.events), store.dataFolder())) {
        services.events.showMessage(MessageKind::Error, *refusal);
        return result;
    }
    // Writing phase: each sent detail paired with the next return record. The comparison file replaces
    // its target only when whole.
    store.reset("DDR_FileCompare");
    LineReader sentReader(sentPath, digested);
    LineReader returnReader(returnPath, digested);
    std::string_view line;
    sentReader.next(line);
    std::string_view header;
    returnReader.next(header);
    AtomicFile output(destination);
    FileWriter& out = output.writer();
    out.writeLine(line.substr(0, static_cast<size_t>(kComparisonLine.length)));

    SourceLine detail(sentPath, sentPath.string());
    SourceLine paired(returnPath, returnPath.string());
    RecordWriter record(kComparisonLine);
    std::string amountText;  // carried to the next line when the return record is no detail
    std::int64_t k = 0;
    bool returnLeft = true;
    std::string_view sentText;
    while (sentReader.next(sentText)) {
        std::string_view retText;
        if (returnLeft && !returnReader.next(retText)) {
            returnLeft = false;
            retText = {};
        }
        const std::int64_t sentLine = sentReader.lineNumber();
        detail.read(sentText, sentLine);
        const std::string sentAccount =
            accountNumber(detail[ddr::kAccount], place(sentPath, sentLine, ddr::kAccount));
        const Money sentAmount = amountAt(sentText, ddr::kAmount, sentPath, sentLine);
        std::string_view reference = detail.text(ddr::kReference);

        const std::optional<std::string> status = ReturnStatusCode(retText);
        if (!status) {
            stop(services, "Status Error. ");
            return result;
        }
        if (isCodeOf(columnsOf(retText, ret::kDetailCode), ret::kDetailCode)) {
            const std::int64_t retLine = returnReader.lineNumber();
            paired.read(retText, retLine);
            const std::string_view accountText = paired.text(ret::kAccount);
            const std::string account = accountNumber(accountText, place(returnPath, retLine, ret::kAccount));
            const Money amount = amountAt(retText, ret::kAmount, returnPath, retLine);
            Money shown = amount;
            if (paired[ret::kResult] == "P") {
                shown = amountAt(retText, ret::kPaidAmount, returnPath, retLine);
                amountText = amountTextOf(paired[ret::kPaidAmount], ret::kPaidAmount);
            } else {
                amountText = paired[ret::kAmount];
            }
            reference = paired.text(ret::kReference);
            if (account != sentAccount) {
                stop(services, "Total Account is not match.");
                return result;
            }
            if (amount != sentAmount) {
                stop(services, "Total Amount is not match.");
                return result;
            }
            store.append("DDR_FileCompare", {{"Account_No", cp874::toUtf8(accountText)},
                                             {"Reference_Id", cp874::toUtf8(reference)},
                                             {"Amount", shown}});
        }
        // The sent detail with the result: each field as it stands, so a short one leaves the line short.
        record.reset();
        for (const Field* field : {&ddr::kAccount, &ddr::kDetailDate, &ddr::kSign}) {
            record.copy(*field, detail[*field], *field);
        }
        record.copy(ddr::kAmount, amountText, ddr::kAmount);
        record.text(ddr::kStatusCode, *status);
        record.copy(ddr::kReference, reference, ddr::kReference);
        record.copy(ddr::kNameText, detail.text(ddr::kNameText), ddr::kNameText);
        out.writeLine(record.record());
        services.checkCancelled();
        services.events.setProgress(percent(k, returnLines));
        ++k;
    }
    commit.reading([&] {
        RequireSameReading(sentPath, sentRead, sentReader.finishReading());
        RequireSameReading(returnPath, returnRead, returnReader.finishReading());
    });
    commit.outputs().add(CommitStep::Upload, std::move(output));
    result.outcome = Outcome::Written;
    result.records = k;
    result.total = sentTotal;
    result.written.push_back({OutputKind::Comparison, destination});

    ReportRunner runner = services.reports.open(kComparisonRunner, kLayout);
    runner.setVariable("ComName", cp874::toUtf8(sent.companyName));
    runner.setVariable("TransDate", cp874::toUtf8(transDate));
    runner.setVariable("SourceFile", cp874::sanitizeUtf8(sentPath.string()));
    runner.setVariable("FileFromV5", cp874::sanitizeUtf8(returnPath.string()));
    runner.setVariable("Destination", cp874::sanitizeUtf8(destination.string()));
    services.showReport(runner, result);
    commit.commit();
    return result;
}

}  // namespace

ReturnComparisonResult compareReturnFile(const ReturnComparisonRequest& request, Services& services) {
    try {
        return compare(request, services);
    } catch (const TextNotCodePage874& refusal) {
        services.events.showMessage(MessageKind::Error, refusal.what());
        return ReturnComparisonResult();
    }
}

}  // namespace qrv
