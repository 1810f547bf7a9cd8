#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "reports/ReportRunner.h"

namespace qrv {

// Every layout file the operations ask for.
inline const std::vector<std::string>& LayoutFiles() {
    static const std::vector<std::string> kFiles = {
        "rptResult.frf",    "rptResultNoErr.frf",  "rptResultNoUpload.frf", "rptDcpDetail.frf",
        "rptMclDetail.frf", "rptMcpDetail.frf",    "CompleteDDR100M.frf",   "ErrorDirectDebit100M.frf",
        "rptGenHash.frf",   "rptGenHashError.frf", "rptCoverLetter.frf",    "rptCompareFileFromV5.frf",
        "DeductFee.frf"};
    return kFiles;
}

// The kinds of report runner: the result and the two hash runners show their preview without blocking;
// the others are modal.
struct RunnerKind {
    const char* name;
    bool modal;
};
inline constexpr RunnerKind kResultRunner{"result", false};
inline constexpr RunnerKind kDirectDebitErrorRunner{"directDebitError", true};
inline constexpr RunnerKind kDirectDebitCompleteRunner{"directDebitComplete", true};
inline constexpr RunnerKind kHashRunner{"hash", false};
inline constexpr RunnerKind kHashErrorRunner{"hashError", false};
inline constexpr RunnerKind kCoverLetterRunner{"coverLetter", true};
inline constexpr RunnerKind kComparisonRunner{"comparison", true};

// The folder the report layouts are read from. Each report a run shows gets a runner of its own, so
// that no layout or variable of one report or run carries over into the next.
struct ReportLayouts {
    explicit ReportLayouts(std::filesystem::path layoutFolder) : folder(std::move(layoutFolder)) {}

    std::filesystem::path layout(const std::string& fileName) const { return folder / fileName; }

    // A fresh runner of `kind` with the layout `fileName` of the folder loaded (none held when the file
    // is missing).
    ReportRunner open(const RunnerKind& kind, const std::string& fileName) const {
        ReportRunner runner(kind.name, kind.modal);
        runner.loadLayout(layout(fileName));
        return runner;
    }

    std::filesystem::path folder;
};

}  // namespace qrv
