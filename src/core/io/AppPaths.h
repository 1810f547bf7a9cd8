#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qrv {

// Where the programs find their data folder (tables, "Default.ini", "Config.ini") and report layouts.
struct AppPaths {
    std::filesystem::path dataFolder;
    std::filesystem::path reportFolder;

    // Beside the executable ("Data/", "Report/") when run from a build folder; for an installed program
    // the layouts in the installed share folder and the data in $XDG_DATA_HOME/convertor-qrv/Data. A data
    // folder given is taken as it is (the program's own is then not looked at).
    static AppPaths defaults(const std::filesystem::path& dataFolder = {});
    // The folder that holds the shipped default settings and sample reference data.
    static std::filesystem::path defaultDataSource();
    // True for an installed program (no Report/ beside the executable).
    bool installed = false;
};

// The files a data folder is made with: the default settings and the sample reference data.
const std::vector<std::string>& DefaultDataFiles();

// What CreateDataFolder made: whether it made the folder, and the files it copied.
struct CreatedData {
    bool folderMade = false;
    std::vector<std::filesystem::path> files;
};

// Creates `target` with the default settings and sample reference files of `source`; files already
// there are kept. Each file is copied whole or not at all (a copy that stops leaves no part of it). Throws
// QrvError when the folder cannot be made or a file cannot be copied; what was made until then stays and
// is told in `made`, for the caller to remove.
void CreateDataFolder(const std::filesystem::path& target, const std::filesystem::path& source,
                      CreatedData* made = nullptr);

}  // namespace qrv
