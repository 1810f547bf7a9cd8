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
    // True for an installed program (no Report/ beside the executable).
    bool installed = false;
};

// Creates `target` with the default settings and sample reference files of `source`; files already
// there are kept. Throws QrvError when the folder cannot be made or a file cannot be copied.
void CreateDataFolder(const std::filesystem::path& target, const std::filesystem::path& source);

}  // namespace qrv
