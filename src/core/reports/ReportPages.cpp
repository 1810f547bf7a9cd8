#include "reports/ReportPages.h"

#include <algorithm>
#include <sstream>

#include "reports/ReportSnapshot.h"

namespace qrv {

ReportPages::ReportPages(std::shared_ptr<const ReportSnapshot> snapshot, std::int64_t rowsPerChunk)
    : snapshot_(std::move(snapshot)), layout_(snapshot_->report(), snapshot_->reader()) {
    rowsPerChunk = std::max<std::int64_t>(1, rowsPerChunk);
    chunks_.push_back({{Piece::Kind::Part, 0}});
    std::int64_t filled = 0;  // rows in the current chunk
    for (size_t i = 0; i < layout_.sectionCount(); ++i) {
        const std::int64_t rows = layout_.shown(i) ? snapshot_->rowCount(layout_.link(i)) : 0;
        std::int64_t at = 0;
        while (at < rows) {
            // A table already begun is cut here; a new one takes its first row in this chunk, so that no
            // chunk ends with an empty table.
            if (filled >= rowsPerChunk && at > 0 && layout_.splittable(i)) {
                chunks_.back().push_back({Piece::Kind::Close, i});
                chunks_.push_back({{Piece::Kind::Open, i}});
                filled = 0;
            }
            const std::int64_t room = std::max<std::int64_t>(1, rowsPerChunk - filled);
            const std::int64_t take = layout_.splittable(i) ? std::min(rows - at, room) : rows - at;
            chunks_.back().push_back({Piece::Kind::Rows, i, at, take});
            at += take;
            filled += take;
        }
        chunks_.back().push_back({Piece::Kind::Part, i + 1});
    }
}

std::int64_t ReportPages::chunkRows(size_t chunk) const {
    std::int64_t rows = 0;
    for (const Piece& piece : chunks_.at(chunk)) {
        rows += piece.kind == Piece::Kind::Rows ? piece.count : 0;
    }
    return rows;
}

void ReportPages::render(size_t chunk, std::ostream& out) const {
    for (const Piece& piece : chunks_.at(chunk)) {
        switch (piece.kind) {
            case Piece::Kind::Part:
                out << layout_.part(piece.index);
                break;
            case Piece::Kind::Open:
                out << layout_.tableOpen(piece.index);
                break;
            case Piece::Kind::Rows:
                layout_.renderRows(piece.index, piece.first, piece.count, out);
                break;
            case Piece::Kind::Close:
                out << layout_.tableClose(piece.index);
                break;
        }
    }
}

std::string ReportPages::render(size_t chunk) const {
    std::ostringstream out;
    render(chunk, out);
    return out.str();
}

void ReportPages::renderWhole(std::ostream& out) const {
    for (size_t i = 0; i < layout_.sectionCount(); ++i) {
        out << layout_.part(i);
        layout_.renderRows(i, 0, -1, out);
    }
    out << layout_.part(layout_.sectionCount());
}

}  // namespace qrv
