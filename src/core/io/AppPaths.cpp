#include "io/AppPaths.h"

#include <cstdlib>

#include "base/QrvError.h"
#include "io/Platform.h"

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
    return {userDataFolder(), installedShare() / "Report", true};
}

void CreateDataFolder(const std::filesystem::path& target, const std::filesystem::path& source) {
    static constexpr const char* kDefaultFiles[] = {
        "Default.ini",       "Config.ini",       "Bank.csv",        "Branch.csv",
        "WHT_FORM_TYPE.csv", "WHT_TAX_TYPE.csv", "WHT_PAY_TYPE.csv"};
    std::error_code ec;
    std::filesystem::create_directories(target, ec);
    if (ec) {
        throw QrvError("Cannot create the data folder \"" + target.string() + "\": " + ec.message());
    }
    for (const char* name : kDefaultFiles) {
        const std::filesystem::path from = source / name;
        const std::filesystem::path to = target / name;
        if (std::filesystem::exists(to, ec) || !std::filesystem::exists(from, ec)) {
            continue;
        }
        std::filesystem::copy_file(from, to, ec);
        if (ec) {
            throw QrvError("Cannot copy \"" + from.string() + "\" to \"" + to.string() +
                           "\": " + ec.message());
        }
        std::filesystem::permissions(to,
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ec);
    }
}

std::filesystem::path AppPaths::defaultDataSource() {
    if (besideExecutable()) {
        return platform::executableFolder() / "Data";
    }
    return installedShare() / "Data";
}

}  // namespace qrv
