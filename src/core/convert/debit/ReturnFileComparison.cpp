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
#include "store/TableStore.h"

namespace qrv {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLayout = "rptCompareFileFromV5.frf";
constexpr std::string_view kEightBlanks = "        ";

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
std::string place(const fs::path& file, std::int64_t line, int from, int to) {
    return "file \"" + file.string() + "\", line " + std::to_string(line) + ", columns " +
           std::to_string(from) + "-" + std::to_string(to);
}

// An amount written as whole digits and decimal digits in two column ranges.
Money amountAt(std::string_view line, int wholeFrom, int wholeTo, int decimalsTo, const std::string& where) {
    const std::string text = std::string(Columns(line, wholeFrom, wholeTo)) + "." +
                             std::string(Columns(line, wholeTo + 1, decimalsTo));
    const auto amount = Money::fromDecimalText(Trim(text));
    if (!amount) {
        throw QrvError("'" + cp874::toUtf8(text) + "' is not a valid amount (" + where + ")");
    }
    return *amount;
}

std::int64_t countOf(std::string_view text, const std::string& where) {
    const auto value = ToInteger(Trim(text));
    if (!value) {
        throw QrvError("'" + cp874::toUtf8(text) + "' is not a valid record count (" + where + ")");
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
    std::string totalRecord;
    std::string totalAmount;  // columns 59-69
};

}  // namespace

std::string ReturnFileProposedName(const DateTime& now) {
    return twoDigits(now.date.day) + twoDigits(now.date.month) + twoDigits(now.date.year) + "-" +
           twoDigits(now.hour) + twoDigits(now.minute) + twoDigits(now.second) + " Return File.txt";
}

std::optional<std::string> ReturnStatusCode(std::string_view returnRecord) {
    const std::string_view result = Columns(returnRecord, 314, 314);
    if (result == "S") {
        return "00";
    }
    if (result == "F") {
        const std::string_view reason = Columns(returnRecord, 315, 316);
        if (reason == "03") {
            return "10";
        }
        if (reason == "11") {
            return Columns(returnRecord, 315, 317) == "112" ? "21" : "20";
        }
        if (reason == "06") {
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
    for (const fs::path* input : {&sentPath, &returnPath}) {
        if (const auto refusal = notCodePage874(*input)) {
            services.events.showMessage(MessageKind::Error, *refusal);
            return result;
        }
    }
    TableStore& store = services.store;
    RunCommit commit(services);

    // The sent file's control record. Each file is read more than once: every reading is digested, and
    // the comparison is written only when all readings of a file saw the same bytes.
    constexpr auto digested = LineReader::Digesting::Yes;
    SentControl sent;
    FileReading sentRead;
    {
        LineReader reader(sentPath, digested);
        std::string_view line;
        reader.next(line);
        if (Columns(line, 1, 8) != kEightBlanks) {
            stop(services, "Incorrect file input. Please Check file");
            return result;
        }
        sent.companyName = Columns(line, 16, 45);
        sent.valueDate = Columns(line, 48, 53);
        sent.totalRecord = Columns(line, 54, 58);
        sent.totalAmount = Columns(line, 59, 69);
        sentRead = reader.finishReading();
    }
    const std::string transDate = std::string(Columns(sent.valueDate, 1, 2)) + "/" +
                                  std::string(Columns(sent.valueDate, 3, 4)) + "/" +
                                  std::string(Columns(sent.valueDate, 5, 6));

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
    std::string returnCount = "0";
    std::string returnAmount = "0";
    std::int64_t trailerLine = 0;
    {
        LineReader reader(returnPath, digested);
        std::string_view line;
        reader.next(line);
        if (Columns(line, 1, 3) != "001") {
            stop(services, "Incorrect file input. Please Check file Direct Debit Return");
            return result;
        }
        const std::string returnDate = std::string(Columns(line, 264, 265)) +
                                       std::string(Columns(line, 262, 263)) +
                                       std::string(Columns(line, 260, 261));
        if (lower(returnDate) != lower(sent.valueDate)) {
            stop(services, "Incorrect Value Date");
            return result;
        }
        while (reader.next(line)) {
            if (Columns(line, 1, 3) == "999") {
                returnCount = Columns(line, 4, 9);
                returnAmount = std::string(Columns(line, 10, 25));
                trailerLine = reader.lineNumber();
            }
        }
        RequireSameReading(returnPath, returnRead, reader.finishReading());
    }
    const std::int64_t sentCount = countOf(sent.totalRecord, place(sentPath, 1, 54, 58));
    const std::int64_t receivedCount =
        trailerLine == 0 ? 0 : countOf(returnCount, place(returnPath, trailerLine, 4, 9));
    if (sentCount != receivedCount) {
        stop(services, " Record is not match.");
        return result;
    }
    // Both totals are read against their own columns: the sent 59-67 "." 68-69, the return 10-22 "." 23-25.
    const Money sentTotal = amountAt(sent.totalAmount, 1, 9, 11, place(sentPath, 1, 59, 69));
    const Money receivedTotal =
        trailerLine == 0 ? Money()
                         : amountAt(returnAmount, 1, 13, 16, place(returnPath, trailerLine, 10, 25));
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
    const std::string control(Columns(line, 1, 78));
    std::string_view header;
    returnReader.next(header);
    AtomicFile output(destination);
    FileWriter& out = output.writer();
    out.writeLine(control);

    std::string amountText;  // carried to the next line when the return record is no detail
    std::string record;
    std::int64_t k = 0;
    bool returnLeft = true;
    std::string_view detail;
    while (sentReader.next(detail)) {
        std::string_view ret;
        if (returnLeft && !returnReader.next(ret)) {
            returnLeft = false;
            ret = {};
        }
        const std::int64_t sentLine = sentReader.lineNumber();
        const std::string sentAccount =
            accountNumber(Columns(detail, 1, 10), place(sentPath, sentLine, 1, 10));
        const Money sentAmount = amountAt(detail, 18, 26, 28, place(sentPath, sentLine, 18, 28));
        std::string reference(Columns(detail, 31, 47));

        const std::optional<std::string> status = ReturnStatusCode(ret);
        if (!status) {
            stop(services, "Status Error. ");
            return result;
        }
        if (Columns(ret, 1, 3) == "002") {
            const std::int64_t retLine = returnReader.lineNumber();
            const std::string_view accountText = Columns(ret, 10, 34);
            const std::string account = accountNumber(accountText, place(returnPath, retLine, 10, 34));
            const Money amount = amountAt(ret, 269, 277, 279, place(returnPath, retLine, 269, 279));
            Money shown = amount;
            if (Columns(ret, 314, 314) == "P") {
                shown = amountAt(ret, 281, 293, 296, place(returnPath, retLine, 281, 296));
                amountText = std::string(Columns(ret, 285, 293)) + std::string(Columns(ret, 294, 295));
            } else {
                amountText = std::string(Columns(ret, 269, 277)) + std::string(Columns(ret, 278, 279));
            }
            reference = Columns(ret, 35, 51);
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
        record.assign(Columns(detail, 1, 17));
        record += amountText;
        record += *status;
        record += reference;
        record += Columns(detail, 48, 78);
        out.writeLine(record);
        services.checkCancelled();
        services.events.setProgress(percent(k, returnLines));
        ++k;
    }
    RequireSameReading(sentPath, sentRead, sentReader.finishReading());
    RequireSameReading(returnPath, returnRead, returnReader.finishReading());
    commit.outputs().add(CommitStep::Upload, std::move(output));
    result.outcome = Outcome::Written;
    result.records = k;
    result.total = sentTotal;
    result.written.push_back({OutputKind::Comparison, destination});

    ReportRunner& runner = services.reports.comparison;
    runner.loadLayout(services.reports.layout(kLayout));
    runner.setVariable("ComName", cp874::toUtf8(sent.companyName));
    runner.setVariable("TransDate", cp874::toUtf8(transDate));
    runner.setVariable("SourceFile", cp874::sanitizeUtf8(sentPath.string()));
    runner.setVariable("FileFromV5", cp874::sanitizeUtf8(returnPath.string()));
    runner.setVariable("Destination", cp874::sanitizeUtf8(destination.string()));
    services.showReport(runner, result);
    commit.commit();
    return result;
}

}  // namespace qrv
