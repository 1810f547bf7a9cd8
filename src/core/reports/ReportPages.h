#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "reports/ReportLayout.h"

namespace qrv {

class ReportSnapshot;

// A snapshot's report cut into chunks that render on demand, each a valid HTML page of its own that
// looks as the whole report does: every chunk after the first begins with the layout's head (its
// styles) and every chunk before the last ends the page. A chunk is the report between two positions:
// its beginning, its end, or a place inside a dataset's rows where the table around them can be cut; a
// chunk that begins there repeats that table's opening (the table tag and its head), one that ends
// there closes it. By default the rows go in windows of at most `rowsPerChunk` rows (one more where a
// new table starts); a page view may cut elsewhere (where its pages break). A layout without rows, or
// with few, is one chunk. Not for two threads at once: each thread makes its own over one snapshot.
class ReportPages {
  public:
    static constexpr std::int64_t kRowsPerChunk = 250;

    // Before row `row` (0-based) of section `section`. {0, 0} is the report's beginning and
    // {sectionCount(), 0} its end; any other position is a cut: 1 <= row <= the section's rows, in a
    // section that can be cut.
    struct Position {
        size_t section = 0;
        std::int64_t row = 0;
        bool operator==(const Position&) const = default;
    };

    // Where a window of a dataset's rows went in a rendered page: the table that holds them (counting
    // "<table" tags from the page's start, from 0) and its row ("<tr" tag) where the window's first
    // row begins; each dataset row is `tableRowsPerRow` table rows (0 when they are not table rows).
    struct RowWindow {
        size_t section = 0;
        std::int64_t first = 0;
        std::int64_t count = 0;
        size_t table = 0;
        size_t firstTableRow = 0;
        size_t tableRowsPerRow = 0;
    };
    struct MarkedPage {
        std::string html;
        std::vector<RowWindow> windows;
        std::vector<size_t> tableRows;  // "<tr" tags per table, in the order the tables open
    };

    explicit ReportPages(std::shared_ptr<const ReportSnapshot> snapshot,
                         std::int64_t rowsPerChunk = kRowsPerChunk);

    const ReportSnapshot& snapshot() const { return *snapshot_; }
    const std::shared_ptr<const ReportSnapshot>& sharedSnapshot() const { return snapshot_; }

    // The default chunks.
    size_t chunkCount() const { return starts_.size(); }
    Position chunkStart(size_t chunk) const { return starts_.at(chunk); }
    Position chunkEnd(size_t chunk) const { return chunk + 1 < starts_.size() ? starts_[chunk + 1] : end(); }
    // Dataset rows in the chunk.
    std::int64_t chunkRows(size_t chunk) const { return rowsBetween(chunkStart(chunk), chunkEnd(chunk)); }
    void render(size_t chunk, std::ostream& out) const { render(chunkStart(chunk), chunkEnd(chunk), out); }
    std::string render(size_t chunk) const;
    // The report as one page, as RenderReportHtml writes it.
    void renderWhole(std::ostream& out) const;

    // Positions and the report between any two of them.
    Position begin() const { return {0, 0}; }
    Position end() const { return {layout_.sectionCount(), 0}; }
    size_t sectionCount() const { return layout_.sectionCount(); }
    // Rows the section shows (0 when the dataset is empty or the section is not shown).
    std::int64_t sectionRows(size_t section) const { return rows_.at(section); }
    // True when a chunk may begin or end inside the section's rows.
    bool cuttable(size_t section) const;
    // Dataset rows from one position to a later one.
    std::int64_t rowsBetween(Position from, Position to) const;
    void render(Position from, Position to, std::ostream& out) const;
    std::string render(Position from, Position to) const;
    // As render, with where each window of rows went.
    MarkedPage renderMarked(Position from, Position to) const;
    // What every chunk after the first begins with: the layout up to and with its <body> tag.
    const std::string& head() const { return head_; }

  private:
    // Writes the range; `window` (when given) is told of each window of rows before (true) and after
    // (false) it is written.
    using WindowHook =
        std::function<void(size_t section, std::int64_t first, std::int64_t count, bool before)>;
    void renderRange(Position from, Position to, std::ostream& out, const WindowHook& window) const;

    std::shared_ptr<const ReportSnapshot> snapshot_;
    ReportLayout layout_;
    std::vector<std::int64_t> rows_;  // per section
    std::vector<Position> starts_;    // of the default chunks
    std::string head_;
    std::string tail_;  // what ends the page: from the layout's </body>
};

}  // namespace qrv
