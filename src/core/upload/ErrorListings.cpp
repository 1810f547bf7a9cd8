#include "upload/ErrorListings.h"

namespace qrv {

void ErrorListings::AppendErrorLine(const std::string& listingName, std::string_view line) {
    auto it = open_.find(listingName);
    if (it == open_.end()) {
        const std::filesystem::path path(folder_ + listingName);
        it = open_.emplace(listingName, std::make_unique<FileWriter>(path, FileWriter::Mode::AppendExisting))
                 .first;
    }
    it->second->writeLine(line);
}

void ErrorListings::close() {
    for (auto& [name, writer] : open_) {
        writer->close();
    }
    open_.clear();
}

}  // namespace qrv
