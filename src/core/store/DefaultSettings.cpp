#include "store/DefaultSettings.h"

namespace qrv {

DefaultSettings DefaultSettings::from(const Settings& ini) {
    DefaultSettings s;
    s.DCP = ini.get("ReFormat", "DCP", "Error");
    s.PAY = ini.get("ReFormat", "PAY", "Error");
    s.MCL = ini.get("ReFormat", "MCL", "Error");
    s.MCP = ini.get("ReFormat", "MCP", "Error");
    s.Default = ini.get("ReFormat", "Default", "Error");
    s.DefaultBranchCode = ini.get("ReFormat", "DefaultBranchCode", "Error");
    s.Print = ini.get("ReFormat", "Print", "T");
    return s;
}

DefaultSettings DefaultSettings::load(const std::filesystem::path& dataFolder) {
    return from(Settings::load(dataFolder / "Default.ini"));
}

}  // namespace qrv
