#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "reports/ReportLayout.h"

namespace qrv {

class ReportSnapshot;

// A snapshot's report cut into chunks that render on demand, each a valid HTML page of its own: the
// layout's parts before a dataset's rows on the first chunk, the parts after them on the last, and a
// window of at most `rowsPerChunk` rows (one more where a new table starts) in between. A chunk that
// cuts a table's rows repeats that table's opening (the table tag and its head) and closes it, so every
// chunk prints as a whole page. A layout without rows, or with few, is one chunk. Not for two threads at
// once.
class ReportPages {
  public:
    static constexpr std::int64_t kRowsPerChunk = 250;

    explicit ReportPages(std::shared_ptr<const ReportSnapshot> snapshot,
                         std::int64_t rowsPerChunk = kRowsPerChunk);

    const ReportSnapshot& snapshot() const { return *snapshot_; }
    size_t chunkCount() const { return chunks_.size(); }
    // Dataset rows in the chunk.
    std::int64_t chunkRows(size_t chunk) const;
    void render(size_t chunk, std::ostream& out) const;
    std::string render(size_t chunk) const;
    // The report as one page, as RenderReportHtml writes it.
    void renderWhole(std::ostream& out) const;

  private:
    // What a chunk is made of, in order.
    struct Piece {
        enum class Kind { Part, Open, Rows, Close } kind;
        size_t index;  // the part or section
        std::int64_t first = 0;
        std::int64_t count = 0;
    };

    std::shared_ptr<const ReportSnapshot> snapshot_;
    ReportLayout layout_;
    std::vector<std::vector<Piece>> chunks_;
};

}  // namespace qrv
