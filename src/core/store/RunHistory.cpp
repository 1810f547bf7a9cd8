#include "store/RunHistory.h"

#include <nlohmann/json.hpp>

#include "io/WorkFile.h"
#include "store/Schema.h"

namespace qrv {

namespace {

constexpr const char* kColumns =
    "RanAt, UserName, Origin, Product, CompanyId, SourcePath, SourceSize, SourceSha1, Destination, "
    "UploadHash, Records, Total, Rejected, Outcome, Written";

std::string writtenJson(const std::vector<RunFile>& files) {
    nlohmann::json list = nlohmann::json::array();
    for (const RunFile& f : files) {
        list.push_back({{"kind", f.kind}, {"path", f.path}});
    }
    return list.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// The files of a row; a text that is not the list the program writes gives none.
std::vector<RunFile> writtenFiles(const std::string& text) {
    std::vector<RunFile> files;
    const nlohmann::json list = nlohmann::json::parse(text, nullptr, false);
    if (!list.is_array()) {
        return files;
    }
    for (const nlohmann::json& f : list) {
        if (f.is_object() && f.value("path", nlohmann::json()).is_string()) {
            files.push_back({f.value("kind", std::string()), f["path"].get<std::string>()});
        }
    }
    return files;
}

// The fields of a row in the order of "RunId, " + kColumns.
enum Field {
    kRunId,
    kRanAt,
    kUserName,
    kOrigin,
    kProduct,
    kCompanyId,
    kSourcePath,
    kSourceSize,
    kSourceSha1,
    kDestination,
    kUploadHash,
    kRecords,
    kTotal,
    kRejected,
    kOutcome,
    kWritten
};

const Value& field(const Row& row, Field f) {
    return row.fields()[static_cast<size_t>(f)].second;
}
std::string text(const Row& row, Field f) {
    const auto* s = std::get_if<std::string>(&field(row, f));
    return s != nullptr ? *s : std::string();
}
std::int64_t integer(const Row& row, Field f) {
    const auto* i = std::get_if<std::int64_t>(&field(row, f));
    return i != nullptr ? *i : 0;
}

RunEntry entryOf(const Row& row, RunFiles files) {
    RunEntry e;
    e.id = integer(row, kRunId);
    e.ranAt = text(row, kRanAt);
    e.userName = text(row, kUserName);
    e.origin = text(row, kOrigin);
    e.product = text(row, kProduct);
    e.companyId = text(row, kCompanyId);
    e.sourcePath = text(row, kSourcePath);
    e.sourceSize = integer(row, kSourceSize);
    e.sourceSha1 = text(row, kSourceSha1);
    e.destination = text(row, kDestination);
    e.uploadHash = text(row, kUploadHash);
    e.records = integer(row, kRecords);
    if (const auto* total = std::get_if<Money>(&field(row, kTotal))) {
        e.total = *total;
    }
    e.rejected = integer(row, kRejected);
    e.outcome = text(row, kOutcome);
    if (files == RunFiles::Read) {
        e.written = writtenFiles(text(row, kWritten));
    }
    return e;
}

}  // namespace

std::string_view runOriginName(RunOrigin origin) {
    return origin == RunOrigin::Window ? "window" : "qrv";
}

void RunHistory::record(const RunEntry& e) {
    TableStore::CommandScope scope(store_);
    for (const std::string& statement : runHistoryStatements()) {
        store_.execute(statement);
    }
    store_.execute(
        std::string("INSERT INTO RunHistory (") + kColumns +
            ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {e.ranAt, e.userName, e.origin, e.product, e.companyId, e.sourcePath, e.sourceSize, e.sourceSha1,
         e.destination, e.uploadHash, e.records, e.total ? Value(*e.total) : Value(std::monostate{}),
         e.rejected, e.outcome, writtenJson(e.written)});
    scope.commit();
}

bool RunHistory::exists() {
    return !store_
                .query("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?",
                       {std::string(kRunHistoryTable)})
                .empty();
}

void RunHistory::select(const std::string& where, const Binds& binds, RunFiles files,
                        const std::function<bool(const RunEntry&)>& each) {
    if (!exists()) {
        return;
    }
    // Without the files, their column is read as an empty text.
    std::string columns = std::string("RunId, ") + kColumns;
    if (files == RunFiles::Skipped) {
        columns.replace(columns.rfind("Written"), 7, "''");
    }
    store_.forEachRow("SELECT " + columns + " FROM RunHistory" +
                          (where.empty() ? std::string() : " WHERE " + where) +
                          " ORDER BY RanAt DESC, RunId DESC",
                      binds, [&each, files](const Row& row) { return each(entryOf(row, files)); });
}

void RunHistory::forEach(const RunFilter& filter, const std::function<bool(const RunEntry&)>& each,
                         RunFiles files) {
    std::string where;
    Binds binds;
    const auto add = [&where, &binds](const char* condition, std::string value) {
        where += (where.empty() ? "" : " AND ") + std::string(condition);
        binds.emplace_back(std::move(value));
    };
    if (!filter.companyId.empty()) {
        add("CompanyId = ?", filter.companyId);
    }
    if (!filter.product.empty()) {
        add("Product = ?", filter.product);
    }
    if (!filter.since.empty()) {
        add("RanAt >= ?", filter.since);
    }
    if (!filter.until.empty()) {
        add("RanAt <= ?", filter.until + " 99");  // every time of that day
    }
    select(where, binds, files, each);
}

std::vector<RunEntry> RunHistory::list(const RunFilter& filter, RunFiles files) {
    std::vector<RunEntry> entries;
    forEach(
        filter,
        [&entries](const RunEntry& e) {
            entries.push_back(e);
            return true;
        },
        files);
    return entries;
}

bool RunHistory::anyCompleted(std::string_view companyId, std::string_view product, std::int64_t sourceSize) {
    return exists() && !store_
                            .query(
                                "SELECT 1 FROM RunHistory WHERE CompanyId = ? AND Product = ? AND "
                                "SourceSize = ? AND Outcome = ? LIMIT 1",
                                {std::string(companyId), std::string(product), sourceSize,
                                 std::string(run_outcome::kCompleted)})
                            .empty();
}

std::optional<RunEntry> RunHistory::latestCompleted(std::string_view companyId, std::string_view product,
                                                    std::int64_t sourceSize, std::string_view sourceSha1) {
    std::optional<RunEntry> found;
    select("CompanyId = ? AND Product = ? AND SourceSize = ? AND SourceSha1 = ? AND Outcome = ?",
           {std::string(companyId), std::string(product), sourceSize, std::string(sourceSha1),
            std::string(run_outcome::kCompleted)},
           RunFiles::Read, [&found](const RunEntry& e) {
               found = e;
               return false;
           });
    return found;
}

namespace {

// A CSV field: quoted when it holds a separator, a quote or a line end. A text that a spreadsheet would
// take for a formula ("=", "+", "-", "@" first) gets a "'" in front, so that opening the file runs nothing.
std::string csvField(std::string text, bool isText = true) {
    if (isText && !text.empty() &&
        std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
        text.insert(0, "'");
    }
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string csvLine(const RunEntry& e) {
    std::string files;
    for (const RunFile& f : e.written) {
        files += (files.empty() ? "" : "; ") + f.kind + ": " + f.path;
    }
    const std::vector<std::string> fields = {
        csvField(e.ranAt),
        csvField(e.userName),
        csvField(e.origin),
        csvField(e.product),
        csvField(e.companyId),
        csvField(e.sourcePath),
        std::to_string(e.sourceSize),
        csvField(e.sourceSha1),
        csvField(e.destination),
        csvField(e.uploadHash),
        std::to_string(e.records),
        e.total ? e.total->toText2() : std::string(),
        std::to_string(e.rejected),
        csvField(e.outcome),
        csvField(files),
    };
    std::string line;
    for (const std::string& f : fields) {
        line += (line.empty() ? "" : ",") + f;
    }
    return line;
}

}  // namespace

std::int64_t exportRunHistoryCsv(RunHistory& history, const RunFilter& filter,
                                 const std::filesystem::path& file) {
    AtomicFile csv(file);
    FileWriter& out = csv.writer();
    // The byte order mark tells a spreadsheet program that the file is UTF-8 (Thai names and paths).
    out.write("\xEF\xBB\xBF");
    std::string header = kColumns;
    for (size_t comma = header.find(", "); comma != std::string::npos; comma = header.find(", ", comma)) {
        header.erase(comma + 1, 1);
    }
    out.writeLine(header);
    std::int64_t count = 0;
    history.forEach(filter, [&out, &count](const RunEntry& e) {
        out.writeLine(csvLine(e));
        ++count;
        return true;
    });
    csv.commit();
    return count;
}

}  // namespace qrv
