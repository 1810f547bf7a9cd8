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

// The system's report runner instances. The result and the two hash runners show their preview
// without blocking; the others are modal.
struct ReportRunners {
    explicit ReportRunners(std::filesystem::path folder) : reportFolder(std::move(folder)) {}

    std::filesystem::path layout(const std::string& fileName) const { return reportFolder / fileName; }

    std::filesystem::path reportFolder;
    ReportRunner result{"result", false};
    ReportRunner directDebitError{"directDebitError", true};
    ReportRunner directDebitComplete{"directDebitComplete", true};
    ReportRunner hash{"hash", false};
    ReportRunner hashError{"hashError", false};
    ReportRunner coverLetter{"coverLetter", true};
    ReportRunner comparison{"comparison", true};
};

}  // namespace qrv
