#pragma once

#include <filesystem>
#include <string>

#include "reports/ReportRunner.h"

namespace qrv {

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
