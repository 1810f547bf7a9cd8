#include "gui/language/ReportLanguage.h"

#include <fstream>
#include <iterator>

#include "gui/language/Language.h"

namespace qrv::gui {

ShownReport ReportInLanguage(ShownReport report, const std::filesystem::path& layoutFolder) {
    if (InstalledLanguage() != Language::Thai || report.layoutFile.empty() || layoutFolder.empty()) {
        return report;
    }
    const std::filesystem::path name(report.layoutFile);
    const std::filesystem::path thai =
        layoutFolder / (name.stem().string() + "_th" + name.extension().string());
    std::ifstream in(thai, std::ios::binary);
    if (!in) {
        return report;  // no Thai copy: the English layout
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.bad()) {
        report.templateText = std::move(text);
    }
    return report;
}

}  // namespace qrv::gui
