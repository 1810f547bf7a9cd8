#include "convert/OutputNames.h"

#include "base/Cp874.h"
#include "base/Events.h"
#include "io/AppPaths.h"
#include "io/InputGuards.h"
#include "store/TableStore.h"

namespace qrv {

namespace {

bool isDataFolderFile(const std::filesystem::path& path, const std::filesystem::path& dataFolder) {
    if (!inFolder(path, dataFolder)) {
        return false;
    }
    std::vector<std::string> names = DefaultDataFiles();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        names.push_back(std::string(TableStore::kFileName) + suffix);
    }
    for (const std::string& name : names) {
        if (sameOutputFile(path, dataFolder / name)) {
            return true;
        }
    }
    return false;
}

std::string shown(const std::filesystem::path& path) {
    return "\"" + cp874::sanitizeUtf8(path.string()) + "\"";
}

}  // namespace

std::vector<OtherOutput> reportOutputs(const Events& events) {
    std::vector<OtherOutput> outputs;
    for (const std::filesystem::path& file : events.reportFiles()) {
        outputs.push_back({file, "this run's report file"});
    }
    return outputs;
}

std::optional<std::string> outputCollision(const std::filesystem::path& destination,
                                           const std::vector<OtherOutput>& others,
                                           const std::filesystem::path& dataFolder) {
    const std::string advice = ". Please choose another destination file";
    for (const OtherOutput& other : others) {
        if (sameOutputFile(destination, other.path)) {
            return "The destination file " + shown(destination) + " is also " + other.what + " " +
                   shown(other.path) + advice;
        }
    }
    if (isDataFolderFile(destination, dataFolder)) {
        return "The destination file " + shown(destination) + " is a file of the data folder " +
               shown(dataFolder) + advice;
    }
    return std::nullopt;
}

}  // namespace qrv
