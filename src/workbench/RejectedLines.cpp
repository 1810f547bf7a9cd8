#include "workbench/RejectedLines.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <string>
#include <string_view>

#include "base/FieldHelpers.h"
#include "convert/credit/MediaClearingReformatter.h"
#include "convert/debit/DirectDebitHash.h"
#include "io/LineReader.h"
#include "layout/CreditSourceLayouts.h"
#include "store/TableStore.h"
#include "workbench/SourceColumns.h"
#include "workbench/Workbench.h"

namespace qrv {

namespace {

// Where a run's rejected entries lie.
enum class Where { Listings, DirectDebitErrors, HashErrors };

// The table Direct Debit (100M) keeps its error rows in, one per fault.
constexpr const char* kDirectDebitErrors = "ErrorDirect100M";

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

// The source lines the entries name, and the first line, which picks the form of the layouts.
struct NamedLines {
    std::string first;
    std::map<std::int64_t, std::string> lines;
};

NamedLines readNamedLines(const std::filesystem::path& source, std::vector<std::int64_t> wanted) {
    NamedLines named;
    if (wanted.empty() || !std::filesystem::is_regular_file(source)) {
        return named;  // a source gone since the run: the entries keep the columns they name
    }
    std::sort(wanted.begin(), wanted.end());
    LineReader reader(source);
    std::string_view line;
    auto next = wanted.begin();
    while (next != wanted.end() && reader.next(line)) {
        const std::int64_t n = reader.lineNumber();
        if (n == 1) {
            named.first.assign(line);
        }
        next = std::lower_bound(next, wanted.end(), n);
        if (next != wanted.end() && *next == n) {
            named.lines.emplace(n, std::string(line));
        }
    }
    return named;
}

// The field of the layout that starts and ends at `first`-`last` of a line.
const layout::Field* fieldSpanning(layout::SourceFile file, const NamedLines& named, std::int64_t lineNo,
                                   const std::string& line, int first, int last) {
    const std::optional<layout::FieldAt> at = layout::fieldAt(file, named.first, lineNo, line, first);
    return at && at->field->first == first && at->field->last == last ? at->field : nullptr;
}

// A listing entry naming two fields ("10-12", and "Column: 13-16" in front of its message) is marked at
// those of them whose text breaks their kind's rule, as the layout of its line gives them.
constexpr std::string_view kFurther = "Column:";

void markFaultyFields(layout::SourceFile file, const NamedLines& named, ListingEntry& e) {
    const auto line = named.lines.find(e.line);
    if (line == named.lines.end() || e.firstColumn == 0 || !e.message.starts_with(kFurther)) {
        return;
    }
    std::string_view rest = Trim(std::string_view(e.message).substr(kFurther.size()));
    const auto [first, last] = columnsOf(rest.substr(0, rest.find(' ')));
    const layout::Field* fields[] = {
        fieldSpanning(file, named, e.line, line->second, e.firstColumn, e.lastColumn),
        first > 0 ? fieldSpanning(file, named, e.line, line->second, first, last) : nullptr};
    const layout::Field* from = nullptr;
    const layout::Field* to = nullptr;
    for (const layout::Field* f : fields) {
        if (f == nullptr) {
            return;  // columns no field of the layout has: kept as the listing names them
        }
        if (BreaksKindRule(line->second, *f)) {
            from = from == nullptr || f->first < from->first ? f : from;
            to = to == nullptr || f->last > to->last ? f : to;
        }
    }
    if (from != nullptr) {
        e.firstColumn = from->first;
        e.lastColumn = to->last;
    }
}

// The hash check names the field of a fault in its own words ("Account No", "Total Amount").
std::string_view layoutFieldName(std::string_view hashField) {
    return hashField == "Account No" ? std::string_view("account") : hashField;
}

// The columns of a hash check's error row: its field's, in the layout of its line.
void markHashField(const NamedLines& named, const std::string& fieldName, ListingEntry& e) {
    const auto line = named.lines.find(e.line);
    if (line == named.lines.end()) {
        return;
    }
    const layout::Layout* lineLayout =
        layout::layoutOfLine(layout::SourceFile::DirectDebitHash, named.first, e.line, line->second);
    const layout::Field* field =
        lineLayout != nullptr ? FieldNamed(*lineLayout, layoutFieldName(Trim(fieldName))) : nullptr;
    if (field != nullptr) {
        e.firstColumn = field->first;
        e.lastColumn = field->last;
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
        case Where::HashErrors: {
            std::vector<std::string> fields;
            store.forEachRow(std::string("SELECT CountLine, \"Field Name Error\" AS field, \"Detail Error\" "
                                         "AS detail FROM ") +
                                 debit::kHashErrorTable + " ORDER BY CountLine, rowid",
                             {}, [&entries, &fields](const Row& row) {
                                 entries.push_back({lineOf(row.text("CountLine")), 0, 0,
                                                    std::string(Trim(row.text("detail")))});
                                 fields.push_back(row.text("field"));
                                 return true;
                             });
            std::vector<std::int64_t> lines;
            for (const ListingEntry& e : entries) {
                lines.push_back(e.line);
            }
            const NamedLines named = readNamedLines(std::filesystem::path(run.source), std::move(lines));
            for (size_t i = 0; i < entries.size(); ++i) {
                markHashField(named, fields[i], entries[i]);
            }
            break;
        }
        case Where::Listings:
            entries = ReadListingEntries(listingsOf(result));
            if (const std::optional<layout::SourceFile> file = SourceFileOf(run)) {
                std::vector<std::int64_t> lines;
                for (const ListingEntry& e : entries) {
                    if (e.message.starts_with(kFurther)) {
                        lines.push_back(e.line);
                    }
                }
                const NamedLines named = readNamedLines(std::filesystem::path(run.source), std::move(lines));
                for (ListingEntry& e : entries) {
                    markFaultyFields(*file, named, e);
                }
            }
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
