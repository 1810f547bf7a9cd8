#include "convert/debit/Convert100M.h"

#include <algorithm>
#include <filesystem>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "convert/OutputNames.h"
#include "convert/RunCommit.h"
#include "io/InputGuards.h"
#include "io/LineReader.h"
#include "io/Platform.h"
#include "io/WorkFile.h"

namespace qrv {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEightBlanks = "        ";
constexpr size_t kCopyBlock = 1 << 16;

// A control record begins with eight blanks; every other record is a detail record.
bool isControlRecord(std::string_view record) {
    return Columns(record, 1, 8) == kEightBlanks;
}

// Copies the records of `from` that are (or are not) control records to `to`, in their order.
void copyRecords(const fs::path& from, FileWriter& to, bool controls) {
    LineReader reader(from);
    std::string_view record;
    while (reader.next(record)) {
        if (isControlRecord(record) == controls) {
            to.writeLine(record);
        }
    }
}

}  // namespace

std::string ConvertResultCode(std::string_view inputLine, const std::string& previous) {
    const std::string_view letter = Columns(inputLine, 221, 221);
    if (letter == "S") {
        return "00";
    }
    if (letter == "F") {
        return "01";
    }
    return previous;
}

Convert100MResult convertTo100M(const Convert100MRequest& request, Services& services) {
    Convert100MResult result;
    const fs::path& source = request.sourcePath;
    const fs::path& destination = request.destinationPath;
    if (const auto refusal = notCodePage874(source)) {
        services.message(*refusal);
        result.refuse(RequestField::Source);
        return result;
    }
    LineReader input(source);
    std::string_view line;
    input.next(line);
    const std::string valueDate = std::string(Columns(line, 193, 194)) +
                                  std::string(Columns(line, 191, 192)) + std::string(Columns(line, 189, 190));
    if (request.companyCode.empty()) {
        services.message("Please Input Company Code");
        result.refuse(RequestField::CompanyCode);
        return result;
    }
    const std::optional<std::string> companyCode = cp874::fromUtf8(request.companyCode);
    if (!companyCode) {
        services.message("The company code holds a character that code page 874 cannot write");
        return result;
    }

    // Last of the checks: the converted file may not replace the source, nor a file of the data folder.
    if (const auto refusal = overwritesInput(destination, source, "source")) {
        services.message(*refusal);
        return result;
    }
    if (const auto refusal = outputCollision(destination, {}, services.store.dataFolder())) {
        services.message(*refusal);
        return result;
    }
    RunCommit commit(services, RunCommit::Tables::Untouched);

    // The converted records in input order ("Temp1").
    WorkFile converted = workFileFor(destination, "Temp1");
    std::string code;
    std::string record;
    while (input.next(line)) {
        if (Columns(line, 1, 3) == "599") {
            record.assign(kEightBlanks);
            record += "M";
            record += *companyCode;
            record += FillString(" ", 30);
            record += "CA";
            record += valueDate;
            record += Columns(line, 7, 11);
            record += Columns(line, 17, 27);
        } else {
            code = ConvertResultCode(line, code);
            record.assign(Columns(line, 23, 32));
            record += valueDate;
            record += "0";
            record += Columns(line, 11, 21);
            record += code;
            record += Columns(line, 222, 268);
        }
        converted.writer().writeLine(record);
        ++result.records;
    }
    converted.close();

    // The control records first, then the detail records ("Temp2").
    WorkFile ordered = workFileFor(destination, "Temp2");
    copyRecords(converted.path(), ordered.writer(), true);
    copyRecords(converted.path(), ordered.writer(), false);
    const std::uint64_t total = ordered.writer().size();
    ordered.close();

    // The output holds every record with the last one's line end left off; it replaces the destination
    // only when whole.
    const std::uint64_t keep = total >= 2 ? total - 2 : 0;
    AtomicFile output(destination);
    std::uint64_t copied = 0;
    platform::readBlocks(ordered.path(), kCopyBlock, [&](std::string_view block) {
        const std::uint64_t take = std::min<std::uint64_t>(block.size(), keep - copied);
        if (take == 0) {
            return;
        }
        output.writer().write(block.substr(0, take));
        copied += take;
        services.checkCancelled();
        services.events.setProgress(static_cast<int>((copied * 200 + keep) / (2 * keep)));
    });
    commit.outputs().add(CommitStep::Upload, std::move(output));
    commit.tellAfter("Convert 100 Million Complete");
    commit.commit();
    result.outcome = Outcome::Written;
    result.written.push_back({OutputKind::Converted, destination});
    return result;
}

}  // namespace qrv
