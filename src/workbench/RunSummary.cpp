#include "workbench/RunSummary.h"

#include <array>
#include <string_view>
#include <system_error>
#include <utility>

#include "base/Cp874.h"
#include "convert/RejectKinds.h"
#include "reports/AmountDisplay.h"
#include "workbench/Workbench.h"

namespace qrv {

namespace {

// The first line of the summary: what the command's outcome means.
std::string outcomeText(Command command, Outcome outcome) {
    const bool written = outcome == Outcome::Written;
    switch (command) {
        case Command::Reformat:
            if (written) {
                return "Upload file written";
            }
            return outcome == Outcome::AllRejected ? "No upload file written" : "Stopped before any output";
        case Command::GenerateHash:
            if (written) {
                return "Checked: no faults, hash value issued";
            }
            return outcome == Outcome::AllRejected ? "Checked: faults found, no hash value" : "Not checked";
        case Command::CoverLetter:
            return written ? "Cover letter shown" : "No cover letter";
        case Command::CompareReturnFile:
            return written ? "Comparison file written" : "No comparison file written";
        case Command::ConvertTo100M:
            return written ? "Converted file written" : "No converted file written";
        case Command::TierRateReport:
            return written ? "Fee report shown" : "No fee report";
        case Command::None:
            break;
    }
    if (written) {
        return "Output written";
    }
    return outcome == Outcome::AllRejected ? "No output written" : "Stopped before any output";
}

// What `records` counts for each command.
const char* recordsCaption(Command command) {
    switch (command) {
        case Command::GenerateHash:
            return "Detail records checked";
        case Command::CoverLetter:
            return "Debits listed";
        case Command::CompareReturnFile:
            return "Debits compared";
        case Command::ConvertTo100M:
            return "Records converted";
        case Command::TierRateReport:
            return "Credits in the fee tiers";
        case Command::Reformat:
        case Command::None:
            break;
    }
    return "Accepted";
}

std::string counted(std::int64_t n, const char* one, const char* many) {
    return CountDisplay(n) + " " + (n == 1 ? one : many);
}

// The path as a person finds it again: absolute, shown in UTF-8.
std::string fullPath(const std::filesystem::path& path) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return cp874::sanitizeUtf8((absolute.empty() ? path : absolute).string());
}

}  // namespace

const char* OutputKindName(OutputKind kind) {
    switch (kind) {
        case OutputKind::Upload:
            return "Upload file";
        case OutputKind::Listing:
            return "Listing";
        case OutputKind::Archive:
            return "Archive";
        case OutputKind::Comparison:
            return "Comparison file";
        case OutputKind::Converted:
            break;
    }
    return "Converted file";
}

std::vector<std::string> RunSummaryLines(const LastRun& run, const RunResult& result) {
    std::vector<std::string> lines{outcomeText(run.command, result.outcome)};
    // A run that wrote nothing says why in its last message; the box is gone, the reason stays here.
    if (result.outcome != Outcome::Written && !run.messages.empty()) {
        lines.push_back("Reason: " + run.messages.back());
    }
    const bool isReformat = run.command == Command::Reformat || run.command == Command::None;
    // Entries that passed their own checks in an upload file that was voided were accepted by nothing.
    const bool voided = isReformat && result.outcome == Outcome::AllRejected && result.records > 0;
    lines.push_back(
        std::string(voided ? "Voided with the file" : recordsCaption(run.command)) + ": " +
        (isReformat ? counted(result.records, "entry", "entries") : CountDisplay(result.records)));
    std::int64_t rejected = 0;
    for (const RejectedEntries& r : result.rejected) {
        rejected += r.count;
    }
    std::string rejectedLine = run.command == Command::GenerateHash ? "Faults: " : "Rejected: ";
    if (rejected == 0) {
        rejectedLine += "none";
    } else {
        rejectedLine += counted(rejected, "entry", "entries");
        if (result.rejectedLines > 0) {
            rejectedLine += " on " + counted(result.rejectedLines, "line", "lines");
        }
    }
    lines.push_back(rejectedLine);
    for (const RejectedEntries& r : result.rejected) {
        lines.push_back("    " + rejectedKindText(r.kind) + ": " + CountDisplay(r.count) + " (last at line " +
                        CountDisplay(r.lastLine) + ")");
    }
    if (result.total) {
        lines.push_back((voided ? "Total voided: " : "Total: ") + BahtDisplay(*result.total) + " baht");
    }
    return lines;
}

std::string WrittenFileLine(const WrittenFile& file) {
    return std::string(OutputKindName(file.kind)) + ": " + fullPath(file.path);
}

}  // namespace qrv
