#include "support/UploadCheck.h"

#include <fstream>

#include "io/LineReader.h"
#include "layout/LayoutCatalog.h"

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
    LineReader reader(file);
    std::string_view line;
    reader.next(line);  // the hash line
    while (reader.next(line)) {
        const layout::Layout* l = layout::uploadRecordLayout(line);
        if (l == nullptr) {
            faults.push_back("line " + std::to_string(reader.lineNumber()) +
                             ": no record type of an upload file");
        } else if (static_cast<int>(line.size()) != l->length) {
            faults.push_back("line " + std::to_string(reader.lineNumber()) + ": " + std::string(l->name) +
                             " of " + std::to_string(line.size()) + " characters, not " +
                             std::to_string(l->length));
        }
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
