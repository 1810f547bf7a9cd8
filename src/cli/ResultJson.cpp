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

nlohmann::json runEntryJson(const RunEntry& e) {
    nlohmann::json written = nlohmann::json::array();
    for (const RunFile& f : e.written) {
        written.push_back({{"kind", f.kind}, {"path", f.path}});
    }
    return {{"ranAt", e.ranAt},
            {"user", e.userName},
            {"from", e.origin},
            {"product", e.product},
            {"companyId", e.companyId},
            {"source", e.sourcePath},
            {"sourceSize", e.sourceSize},
            {"sourceSha1", e.sourceSha1},
            {"destination", e.destination},
            {"hash", e.uploadHash.empty() ? nlohmann::json() : nlohmann::json(e.uploadHash)},
            {"records", e.records},
            {"total", e.total ? nlohmann::json(e.total->toText2()) : nlohmann::json()},
            {"rejected", e.rejected},
            {"outcome", e.outcome},
            {"written", std::move(written)}};
}

}  // namespace qrv::cli
