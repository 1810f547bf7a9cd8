#pragma once

#include <filesystem>
#include <string>

#include "store/Settings.h"

namespace qrv {

// Section "ReFormat" of "Default.ini"; every key defaults to "Error" except Print ("T").
struct WorkbenchSettings {
    std::string DCP = "Error";
    std::string PAY = "Error";
    std::string MCL = "Error";
    std::string MCP = "Error";
    std::string Default = "Error";
    std::string DefaultBranchCode = "Error";
    std::string Print = "T";

    static WorkbenchSettings from(const Settings& ini);
    static WorkbenchSettings load(const std::filesystem::path& dataFolder);
};

}  // namespace qrv
