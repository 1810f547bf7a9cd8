#include "io/AppPaths.h"

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
    return platform::userDataHome() / "convertor-qrv" / "Data";
}

// A program unzipped into a folder the user cannot write (Program Files) keeps its data per user.
bool writable(const std::filesystem::path& folder) {
    try {
        const platform::CreatedTemp probe = platform::createUniqueFile(folder, ".write-test.");
        platform::closeFile(probe.fd);
        platform::removeQuietly(probe.path);
        return true;
    } catch (const QrvError&) {
        return false;
    }
}

}  // namespace

AppPaths AppPaths::defaults() {
    const std::filesystem::path exe = platform::executableFolder();
    if (besideExecutable()) {
        if (writable(exe / "Data")) {
            return {exe / "Data", exe / "Report"};
        }
        return {userDataFolder(), exe / "Report", true};
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
