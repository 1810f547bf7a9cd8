#pragma once

#include <filesystem>
#include <string>

#include "store/Settings.h"

namespace qrv {

// Section "ReFormat" of "Default.ini" (the products shown and the record defaults); every key defaults to
// "Error" except Print ("T").
struct DefaultSettings {
    std::string DCP = "Error";
    std::string PAY = "Error";
    std::string MCL = "Error";
    std::string MCP = "Error";
    std::string Default = "Error";
    std::string DefaultBranchCode = "Error";
    std::string Print = "T";

    static DefaultSettings from(const Settings& ini);
    static DefaultSettings load(const std::filesystem::path& dataFolder);
};

}  // namespace qrv
