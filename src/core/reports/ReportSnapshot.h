#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "reports/ReportLayout.h"
#include "reports/ReportRunner.h"

struct sqlite3;

namespace qrv {

// A shown report copied out of the run's store: the layout, its variables and the rows the report shows of
// every dataset link the layout reads (ShowsRowsOf), the rows in a temporary SQLite file of its own that goes
// with the last owner. take() reads the run's store (inside the run's transaction, so rows not yet committed
// are seen) while the caller holds it; afterwards the snapshot never touches that store and may be read from
// several threads at once (its connection is serialized), a report beside the window and a PDF on its own.
class ReportSnapshot {
  public:
    static std::shared_ptr<const ReportSnapshot> take(const ShownReport& report);
    ReportSnapshot(const ReportSnapshot&) = delete;
    ReportSnapshot& operator=(const ReportSnapshot&) = delete;
    ~ReportSnapshot();

    // The report as shown, without a store.
    const ShownReport& report() const { return report_; }
    // Rows copied for a link (0 for a link the layout does not read).
    std::int64_t rowCount(const DatasetLink& link) const;
    // The link's rows in their order, `count` of them after the first `first` (all when count < 0).
    void forEachRow(const DatasetLink& link, std::int64_t first, std::int64_t count,
                    const EachRow& each) const;
    ReadRows reader() const;
    // The temporary file (empty when the report reads no rows).
    const std::filesystem::path& file() const { return file_; }

  private:
    ReportSnapshot() = default;
    void copy(TableStore& store, const DatasetLink& link, bool rows);

    ShownReport report_;
    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
    std::map<std::string, std::int64_t> rows_;  // per link name
};

}  // namespace qrv
