#include "cli/ResultJson.h"

#include "base/Cp874.h"

namespace qrv::cli {

std::string_view outcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::Written:
            return "written";
        case Outcome::AllRejected:
            return "all-rejected";
        default:
            return "refused";
    }
}

std::string_view outputKindName(OutputKind kind) {
    switch (kind) {
        case OutputKind::Upload:
            return "upload";
        case OutputKind::Listing:
            return "listing";
        case OutputKind::Archive:
            return "archive";
        case OutputKind::Comparison:
            return "comparison";
        default:
            return "converted";
    }
}

std::string_view messageKindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information:
            return "information";
        case MessageKind::Confirmation:
            return "confirmation";
        case MessageKind::Warning:
            return "warning";
        case MessageKind::Error:
            return "error";
        default:
            return "plain";
    }
}

nlohmann::json resultJson(const RunResult& result) {
    nlohmann::json j;
    j["outcome"] = outcomeName(result.outcome);
    j["hash"] = result.hash.empty() ? nlohmann::json() : nlohmann::json(result.hash);
    j["records"] = result.records;
    j["total"] = result.total ? nlohmann::json(result.total->toText2()) : nlohmann::json();
    nlohmann::json rejected = nlohmann::json::array();
    for (const RejectedEntries& r : result.rejected) {
        rejected.push_back({{"kind", r.kind}, {"count", r.count}, {"lastLine", r.lastLine}});
    }
    j["rejected"] = std::move(rejected);
    // The first entries, each with its line, the columns of its fields (none for the whole line or the
    // file) and its words.
    nlohmann::json entries = nlohmann::json::array();
    for (const RejectedEntry& e : result.entries) {
        nlohmann::json entry = {{"kind", rejectRow(e.kind).counter}, {"line", e.line}};
        entry["columns"] =
            e.firstColumn > 0 ? nlohmann::json::array({e.firstColumn, e.lastColumn}) : nlohmann::json();
        entry["message"] = e.message;
        entries.push_back(std::move(entry));
    }
    j["rejectedEntries"] = std::move(entries);
    j["rejectedLines"] = result.rejectedLines;
    nlohmann::json written = nlohmann::json::array();
    for (const WrittenFile& f : result.written) {
        written.push_back({{"kind", outputKindName(f.kind)}, {"path", cp874::sanitizeUtf8(f.path.string())}});
    }
    j["written"] = std::move(written);
    j["reports"] = result.reports;
    return j;
}

}  // namespace qrv::cli
