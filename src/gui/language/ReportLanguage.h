#pragma once

#include <filesystem>

#include "reports/ReportRunner.h"

namespace qrv::gui {

// The report as the window shows it in its language: in Thai, the Thai copy of its layout
// ("rptResult_th.frf" beside "rptResult.frf") where there is one; its variables and rows stay as they
// are, and so does the layout's name. The command line and the report files it writes keep the English.
ShownReport ReportInLanguage(ShownReport report, const std::filesystem::path& layoutFolder);

}  // namespace qrv::gui
