#include "workbench/AppPaths.h"

#include <cstdlib>

#include "store/Platform.h"

namespace qrv {

namespace {

std::filesystem::path installedShare() {
    // bin/../share/convertor-qrv
    return platform::executableFolder().parent_path() / "share" / "convertor-qrv";
}

bool besideExecutable() {
    return std::filesystem::is_directory(platform::executableFolder() / "Report");
}

std::filesystem::path userDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
        return std::filesystem::path(xdg) / "convertor-qrv" / "Data";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share" / "convertor-qrv" /
           "Data";
}

}  // namespace

AppPaths AppPaths::defaults() {
    const std::filesystem::path exe = platform::executableFolder();
    if (besideExecutable()) {
        return {exe / "Data", exe / "Report"};
    }
    return {userDataFolder(), installedShare() / "Report"};
}

std::filesystem::path AppPaths::defaultDataSource() {
    if (besideExecutable()) {
        return platform::executableFolder() / "Data";
    }
    return installedShare() / "Data";
}

}  // namespace qrv
