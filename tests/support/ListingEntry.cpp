#include "support/ListingEntry.h"

#include <algorithm>
#include <charconv>

#include "base/Cp874.h"
#include "io/LineReader.h"

namespace qrv {

namespace {

constexpr std::string_view kLinePrefix = "LineNo : ";
constexpr std::string_view kColumnPrefix = "  Column : ";

// Reads a decimal number at the front of `text` and drops it; nothing when none is there.
template <class Number>
std::optional<Number> takeNumber(std::string_view& text) {
    Number n{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || n < 0) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return n;
}

}  // namespace

std::optional<ListingEntry> ParseListingLine(std::string_view text) {
    if (!text.starts_with(kLinePrefix)) {
        return std::nullopt;
    }
    text.remove_prefix(kLinePrefix.size());
    ListingEntry entry;
    const std::optional<std::int64_t> line = takeNumber<std::int64_t>(text);
    if (!line || !text.starts_with(kColumnPrefix)) {
        return std::nullopt;
    }
    entry.line = *line;
    text.remove_prefix(kColumnPrefix.size());
    // "first-last" or a single column; anything else leaves the columns unknown.
    std::string_view columns = text;
    if (const std::optional<int> first = takeNumber<int>(columns)) {
        std::optional<int> last = first;
        if (columns.starts_with('-')) {
            columns.remove_prefix(1);
            last = takeNumber<int>(columns);
        }
        if (last && *first >= 1 && *last >= *first) {
            entry.firstColumn = *first;
            entry.lastColumn = *last;
            text = columns;
        }
    }
    const size_t start = text.find_first_not_of(' ');
    entry.message = cp874::toUtf8(start == std::string_view::npos ? std::string_view() : text.substr(start));
    return entry;
}

std::vector<ListingEntry> ReadListingEntries(const std::vector<std::filesystem::path>& listings) {
    std::vector<ListingEntry> entries;
    for (const std::filesystem::path& listing : listings) {
        LineReader reader(listing);
        std::string_view text;
        while (reader.next(text)) {
            if (std::optional<ListingEntry> entry = ParseListingLine(text)) {
                entries.push_back(std::move(*entry));
            }
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ListingEntry& a, const ListingEntry& b) { return a.line < b.line; });
    return entries;
}

}  // namespace qrv
