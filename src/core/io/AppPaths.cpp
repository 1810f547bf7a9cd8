#include "io/AppPaths.h"

#include "base/QrvError.h"
#include "io/Platform.h"
#include "io/WorkFile.h"

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

AppPaths AppPaths::defaults(const std::filesystem::path& dataFolder) {
    const std::filesystem::path exe = platform::executableFolder();
    if (!dataFolder.empty()) {
        const bool beside = besideExecutable();
        return {dataFolder, beside ? exe / "Report" : installedShare() / "Report", !beside};
    }
    if (besideExecutable()) {
        if (writable(exe / "Data")) {
            return {exe / "Data", exe / "Report"};
        }
        return {userDataFolder(), exe / "Report", true};
    }
    return {userDataFolder(), installedShare() / "Report", true};
}

const std::vector<std::string>& DefaultDataFiles() {
    static const std::vector<std::string> kFiles = {
        "Default.ini",       "Config.ini",       "Bank.csv",        "Branch.csv",
        "WHT_FORM_TYPE.csv", "WHT_TAX_TYPE.csv", "WHT_PAY_TYPE.csv"};
    return kFiles;
}

void CreateDataFolder(const std::filesystem::path& target, const std::filesystem::path& source,
                      CreatedData* made) {
    CreatedData own;
    CreatedData& created = made != nullptr ? *made : own;
    std::error_code ec;
    created.folderMade = !std::filesystem::exists(target, ec);
    std::filesystem::create_directories(target, ec);
    if (ec) {
        throw QrvError("Cannot create the data folder \"" + target.string() + "\": " + ec.message());
    }
    for (const std::string& name : DefaultDataFiles()) {
        const std::filesystem::path from = source / name;
        const std::filesystem::path to = target / name;
        if (std::filesystem::exists(platform::fileStatus(to, false)) || !std::filesystem::exists(from, ec)) {
            continue;
        }
        AtomicFile copy(to);
        platform::readBlocks(from, 1 << 16, [&copy](std::string_view block) { copy.writer().write(block); });
        copy.commit();
        created.files.push_back(to);
    }
}

std::filesystem::path AppPaths::defaultDataSource() {
    if (besideExecutable()) {
        return platform::executableFolder() / "Data";
    }
    return installedShare() / "Data";
}

}  // namespace qrv
