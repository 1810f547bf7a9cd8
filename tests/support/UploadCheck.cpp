#include "support/UploadCheck.h"

#include <fstream>

#include "convert/UploadCheck.h"

namespace qrv::test {

namespace {

constexpr size_t kHashDigits = 40;

bool isHashLine(std::string_view line) {
    return line.size() == kHashDigits && line.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

}  // namespace

bool isUploadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char head[kHashDigits + 5] = {};
    in.read(head, sizeof head);
    const std::string_view start(head, static_cast<size_t>(in.gcount()));
    return start.size() == sizeof head && isHashLine(start.substr(0, kHashDigits)) &&
           start.substr(kHashDigits, 5) == "\r\n001";
}

std::vector<std::string> uploadFaults(const std::filesystem::path& file) {
    std::vector<std::string> faults;
    const UploadCheckResult result = checkUploadFile({file, std::nullopt, {}});
    for (const UploadFault& fault : result.faults) {
        faults.push_back(fault.message());
    }
    return faults;
}

std::vector<std::string> uploadFaultsIn(const std::filesystem::path& folder) {
    std::vector<std::string> faults;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(
             folder, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec) || !isUploadFile(it->path())) {
            continue;
        }
        for (const std::string& fault : uploadFaults(it->path())) {
            faults.push_back(it->path().filename().string() + " " + fault);
        }
    }
    return faults;
}

}  // namespace qrv::test
