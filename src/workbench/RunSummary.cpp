#include "workbench/RunSummary.h"

#include <system_error>

#include "base/Cp874.h"
#include "reports/AmountDisplay.h"

namespace qrv {

namespace {

const char* outcomeText(Outcome outcome) {
    switch (outcome) {
        case Outcome::Written:
            return "Output written";
        case Outcome::AllRejected:
            return "No output: every entry rejected or the output voided";
        case Outcome::Refused:
            break;
    }
    return "Stopped before any output";
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

std::vector<std::string> RunSummaryLines(const RunResult& result) {
    std::vector<std::string> lines{outcomeText(result.outcome),
                                   "Accepted: " + std::to_string(result.records)};
    std::int64_t rejected = 0;
    for (const RejectedEntries& r : result.rejected) {
        rejected += r.count;
    }
    lines.push_back("Rejected: " + std::to_string(rejected));
    for (const RejectedEntries& r : result.rejected) {
        lines.push_back("    " + r.kind + ": " + std::to_string(r.count) + " (last at line " +
                        std::to_string(r.lastLine) + ")");
    }
    if (result.total) {
        lines.push_back("Total: " + BahtDisplay(*result.total) + " baht");
    }
    return lines;
}

std::string WrittenFileLine(const WrittenFile& file) {
    return std::string(OutputKindName(file.kind)) + ": " + fullPath(file.path);
}

}  // namespace qrv
