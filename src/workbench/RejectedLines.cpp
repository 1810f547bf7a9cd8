#include "workbench/RejectedLines.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

#include "base/FieldHelpers.h"
#include "convert/credit/MediaClearingReformatter.h"
#include "convert/debit/DirectDebitHash.h"
#include "io/LineReader.h"
#include "layout/CreditSourceLayouts.h"
#include "store/TableStore.h"
#include "workbench/Workbench.h"

namespace qrv {

namespace {

// Where a run's rejected entries lie.
enum class Where { Listings, DirectDebitErrors, HashErrors };

// The table Direct Debit (100M) keeps its error rows in, one per fault.
constexpr const char* kDirectDebitErrors = "ErrorDirect100M";
// The kind of the Media Clearing credits that void the upload by their amount.
constexpr std::string_view kOverLimit = "OverLimit";

Where whereOf(const LastRun& run) {
    if (run.command == Command::GenerateHash) {
        return Where::HashErrors;
    }
    if (run.command == Command::Reformat && run.productCode == "DDR") {
        return Where::DirectDebitErrors;
    }
    return Where::Listings;
}

std::int64_t rejectedOf(const RunResult& result, std::string_view kind) {
    for (const RejectedEntries& r : result.rejected) {
        if (r.kind == kind) {
            return r.count;
        }
    }
    return 0;
}

std::vector<std::filesystem::path> listingsOf(const RunResult& result) {
    std::vector<std::filesystem::path> paths;
    for (const WrittenFile& f : result.written) {
        if (f.kind == OutputKind::Listing) {
            paths.push_back(f.path);
        }
    }
    return paths;
}

// "1-10", " 17 ": the columns an error row names; none for " This line " or anything else.
std::pair<int, int> columnsOf(std::string_view text) {
    text = Trim(text);
    int first = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), first);
    if (ec != std::errc() || first < 1) {
        return {0, 0};
    }
    std::string_view rest(end, static_cast<size_t>(text.data() + text.size() - end));
    if (rest.empty()) {
        return {first, first};
    }
    int last = 0;
    if (rest.front() != '-' ||
        std::from_chars(rest.data() + 1, rest.data() + rest.size(), last).ec != std::errc() || last < first) {
        return {0, 0};
    }
    return {first, last};
}

std::int64_t lineOf(const std::string& text) {
    std::int64_t line = 0;
    std::from_chars(text.data(), text.data() + text.size(), line);
    return line;
}

// The over-limit credits of a Media Clearing source: lines that passed every check (no listing names
// them) and void the upload by their amount; at most `count`, the number the run found.
void addOverLimit(const std::filesystem::path& source, std::int64_t count,
                  std::vector<ListingEntry>& entries) {
    std::vector<bool> listed;
    for (const ListingEntry& e : entries) {
        if (e.line >= static_cast<std::int64_t>(listed.size())) {
            listed.resize(static_cast<size_t>(e.line) + 1);
        }
        listed[static_cast<size_t>(e.line)] = true;
    }
    LineReader reader(source);
    std::string_view line;
    reader.next(line);  // the header
    std::int64_t found = 0;
    while (found < count && reader.next(line)) {
        const std::int64_t n = reader.lineNumber();
        const bool isListed = n < static_cast<std::int64_t>(listed.size()) && listed[static_cast<size_t>(n)];
        if (!isListed && IsOverLimitCredit(line)) {
            entries.push_back({n, layout::mcl::kAmount.first, layout::mcl::kAmount.last,
                               "Amount above 2,000,000.00 baht from another sending bank: voids the upload"});
            ++found;
        }
    }
}

std::int64_t distinctCount(TableStore& store, const std::string& table, const std::string& column) {
    const std::vector<Row> rows =
        store.query("SELECT COUNT(DISTINCT \"" + column + "\") AS n FROM \"" + table + "\"");
    return rows.empty() ? 0 : lineOf(rows.front().text("n"));
}

}  // namespace

std::vector<ListingEntry> RejectedEntriesOf(const LastRun& run, const RunResult& result, TableStore& store) {
    std::vector<ListingEntry> entries;
    if (result.rejected.empty()) {
        return entries;
    }
    switch (whereOf(run)) {
        case Where::DirectDebitErrors:
            store.forEachRow(std::string("SELECT line, \"column\", error_col FROM ") + kDirectDebitErrors +
                                 " ORDER BY CAST(line AS INTEGER), rowid",
                             {}, [&entries](const Row& row) {
                                 const auto [first, last] = columnsOf(row.text("column"));
                                 entries.push_back({lineOf(row.text("line")), first, last,
                                                    std::string(Trim(row.text("error_col")))});
                                 return true;
                             });
            break;
        case Where::HashErrors:
            store.forEachRow(std::string("SELECT CountLine, \"Detail Error\" AS detail FROM ") +
                                 debit::kHashErrorTable + " ORDER BY CountLine, rowid",
                             {}, [&entries](const Row& row) {
                                 entries.push_back({lineOf(row.text("CountLine")), 0, 0,
                                                    std::string(Trim(row.text("detail")))});
                                 return true;
                             });
            break;
        case Where::Listings:
            entries = ReadListingEntries(listingsOf(result));
            if (const std::int64_t overLimit = rejectedOf(result, kOverLimit); overLimit > 0) {
                addOverLimit(std::filesystem::path(run.source), overLimit, entries);
                std::stable_sort(
                    entries.begin(), entries.end(),
                    [](const ListingEntry& a, const ListingEntry& b) { return a.line < b.line; });
            }
            break;
    }
    return entries;
}

std::int64_t RejectedLineCount(const LastRun& run, const RunResult& result, TableStore& store) {
    if (result.rejected.empty()) {
        return 0;
    }
    switch (whereOf(run)) {
        case Where::DirectDebitErrors:
            return distinctCount(store, kDirectDebitErrors, "line");
        case Where::HashErrors:
            return distinctCount(store, debit::kHashErrorTable, "CountLine");
        case Where::Listings:
            break;
    }
    // One bit per source line up to the last one rejected.
    std::int64_t lastLine = 0;
    for (const RejectedEntries& r : result.rejected) {
        lastLine = std::max(lastLine, r.lastLine);
    }
    std::vector<bool> rejected(static_cast<size_t>(lastLine) + 1);
    std::int64_t lines = 0;
    for (const std::filesystem::path& listing : listingsOf(result)) {
        if (!std::filesystem::exists(listing)) {
            continue;  // a dry run names the listings it would write
        }
        LineReader reader(listing);
        std::string_view text;
        while (reader.next(text)) {
            const std::optional<ListingEntry> entry = ParseListingLine(text);
            if (!entry || entry->line < 0) {
                continue;
            }
            const auto at = static_cast<size_t>(entry->line);
            if (at >= rejected.size()) {
                rejected.resize(at + 1);
            }
            if (!rejected[at]) {
                rejected[at] = true;
                ++lines;
            }
        }
    }
    // Over-limit credits passed every other check: each is a line of its own.
    return lines + rejectedOf(result, kOverLimit);
}

}  // namespace qrv
