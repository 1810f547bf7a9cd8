#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrv {

// One line of an error listing read back: the source line it names, the columns of the field
// ("1-10", "47-59"; 0 when the listing names none it can read) and the message as UTF-8 text.
struct ListingEntry {
    std::int64_t line = 0;
    int firstColumn = 0;
    int lastColumn = 0;
    std::string message;
};

// The entry of a listing line as ListingLine writes it; nothing for any other text.
std::optional<ListingEntry> ParseListingLine(std::string_view text);

// Every entry of the listings, in source line order (a line rejected twice has two entries, in the
// order of the listings given). Lines of a listing that are no listing lines are skipped.
std::vector<ListingEntry> ReadListingEntries(const std::vector<std::filesystem::path>& listings);

}  // namespace qrv
