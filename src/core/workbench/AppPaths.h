#pragma once

#include <filesystem>

namespace qrv {

// Where the programs find their data folder (tables, "Default.ini", "Config.ini") and report layouts.
struct AppPaths {
    std::filesystem::path dataFolder;
    std::filesystem::path reportFolder;

    // Beside the executable ("Data/", "Report/") when run from a build folder; for an installed program
    // the layouts in the installed share folder and the data in $XDG_DATA_HOME/convertor-qrv/Data.
    static AppPaths defaults();
    // The folder that holds the shipped default settings and sample reference data.
    static std::filesystem::path defaultDataSource();
};

}  // namespace qrv
