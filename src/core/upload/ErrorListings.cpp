#include "upload/ErrorListings.h"

#include <charconv>

namespace qrv {

void ListingLine(std::string& out, std::int64_t lineNo, std::string_view columns, std::string_view message) {
    char number[24];
    const auto [end, ec] = std::to_chars(number, number + sizeof number, lineNo);
    out.assign("LineNo : ");
    out.append(number, end);
    out += "  Column : ";
    out += columns;
    out += message;
}

std::string ListingLine(std::int64_t lineNo, std::string_view columns, std::string_view message) {
    std::string line;
    ListingLine(line, lineNo, columns, message);
    return line;
}

void ErrorListings::AppendErrorLine(const std::string& listingName, std::string_view line) {
    if (discards_) {
        return;
    }
    auto it = open_.find(listingName);
    if (it == open_.end()) {
        const std::filesystem::path path(folder_ + listingName);
        it = open_.emplace(listingName, std::make_unique<AtomicFile>(path)).first;
    }
    it->second->writer().writeLine(line);
}

void ErrorListings::close() {
    for (auto& [name, file] : open_) {
        file->writer().flush();
    }
}

void ErrorListings::stageInto(OutputCommit& outputs) {
    for (auto& [name, file] : open_) {
        outputs.add(CommitStep::Listings, std::move(*file));
    }
    open_.clear();
}

}  // namespace qrv
