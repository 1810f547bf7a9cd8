#include "gui/reports/PagePlan.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <cmath>
#include <optional>

namespace qrv::gui {

namespace {

using Position = ReportPages::Position;

// Rows a chunk of a dataset holds on its first page and on each later one.
struct Rates {
    std::int64_t first = 0;
    std::int64_t next = 0;
    bool known() const { return first > 0 && next > 0; }
};

// The tables of a document in the order their tags open.
void collectTables(QTextFrame* frame, std::vector<QTextTable*>& tables) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            tables.push_back(table);
        }
        collectTables(child, tables);
    }
}

// A laid-out candidate chunk with its rows found on its pages.
class Measured {
  public:
    Measured(const ReportPages::MarkedPage& page, QTextDocument& doc) : page_(page), doc_(doc) {
        pages_ = std::max(1, doc.pageCount());
        collectTables(doc.rootFrame(), tables_);
        valid_ = tables_.size() == page.tableRows.size();
        for (size_t t = 0; valid_ && t < tables_.size(); ++t) {
            valid_ = static_cast<size_t>(tables_[t]->rows()) == page.tableRows[t];
        }
    }
    int pages() const { return pages_; }
    bool valid() const { return valid_; }

    // The page (0-based) where table row `row` of a window's table begins.
    int pageOfTableRow(const ReportPages::RowWindow& w, size_t row) const {
        QTextTable* table = tables_[w.table];
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(static_cast<int>(row), c);
            if (cell.isValid() && cell.row() == static_cast<int>(row)) {
                const QRectF rect =
                    doc_.documentLayout()->blockBoundingRect(cell.firstCursorPosition().block());
                return static_cast<int>(rect.top() / doc_.pageSize().height());
            }
        }
        return -1;
    }
    // The page where dataset row `r` of the window begins, and where it ends.
    int firstPage(const ReportPages::RowWindow& w, std::int64_t r) const {
        return pageOfTableRow(w, w.firstTableRow + static_cast<size_t>(r - w.first) * w.tableRowsPerRow);
    }
    int lastPage(const ReportPages::RowWindow& w, std::int64_t r) const {
        return pageOfTableRow(w,
                              w.firstTableRow + static_cast<size_t>(r - w.first + 1) * w.tableRowsPerRow - 1);
    }

    // Where to cut so that the chunk ends before its last page: right after the last row that ends
    // before that page, when nothing else of that page comes before it; and the pages before the cut.
    std::optional<std::pair<Position, int>> cut(const ReportPages& report, Position from) const {
        const int last = pages_ - 1;
        if (!valid_ || last == 0) {
            return std::nullopt;
        }
        std::optional<std::pair<Position, int>> best;
        for (const ReportPages::RowWindow& w : page_.windows) {
            if (w.tableRowsPerRow == 0) {
                continue;
            }
            for (std::int64_t r = w.first; r < w.first + w.count; ++r) {
                const int ends = lastPage(w, r);
                if (firstPage(w, r) >= last || ends >= last) {
                    return best;  // this row reaches the last page
                }
                // After row r: a cut inside the rows, or at the dataset's end.
                const Position after{w.section, r + 1};
                const bool inside = r + 1 < w.first + w.count;
                if (report.cuttable(w.section) && !(after == from) &&
                    (inside || r + 1 == report.sectionRows(w.section))) {
                    best = {after, ends + 1};
                }
            }
        }
        return best;
    }

    // The rows a chunk that begins inside window 0's dataset holds on its first and its second page,
    // each counted only when the rows go on past that page (so that the page is full).
    Rates rates() const {
        Rates rates;
        if (!valid_ || page_.windows.empty() || page_.windows.front().tableRowsPerRow == 0) {
            return rates;
        }
        const ReportPages::RowWindow& w = page_.windows.front();
        std::int64_t onPage[3] = {0, 0, 0};
        for (std::int64_t r = w.first; r < w.first + w.count; ++r) {
            const int page = firstPage(w, r);
            if (page < 0 || page > 2) {
                break;
            }
            ++onPage[page];
        }
        if (onPage[1] > 0) {
            rates.first = onPage[0];
        }
        if (onPage[2] > 0) {
            rates.next = onPage[1];
        }
        return rates;
    }

  private:
    const ReportPages::MarkedPage& page_;
    QTextDocument& doc_;
    std::vector<QTextTable*> tables_;
    int pages_ = 1;
    bool valid_ = false;
};

// The position `rows` rows after `from` where a chunk may end: inside a dataset that can be cut, or
// after a dataset that cannot (all its rows go together), or the report's end.
Position advance(const ReportPages& report, Position from, std::int64_t rows) {
    Position at = from;
    std::int64_t left = rows;
    while (at.section < report.sectionCount()) {
        const std::int64_t remaining = report.sectionRows(at.section) - at.row;
        if (left < remaining && report.cuttable(at.section)) {
            return {at.section, at.row + std::max<std::int64_t>(1, left)};
        }
        left -= std::max<std::int64_t>(0, remaining);
        at = {at.section + 1, 0};
        if (left <= 0 && at.section < report.sectionCount() && report.cuttable(at.section) &&
            report.sectionRows(at.section) > 0) {
            return {at.section,
                    1};  // a new table takes its first row, so that no chunk ends with an empty one
        }
    }
    return report.end();
}

}  // namespace

std::vector<PlannedChunk> PagePlan::make(const ReportPages& report, const LayOut& layOut,
                                         std::int64_t rowsPerChunk, const Stop& stop) {
    rowsPerChunk = std::max<std::int64_t>(1, rowsPerChunk);
    std::vector<PlannedChunk> plan;
    std::vector<Rates> rates(report.sectionCount());
    // Pages per row where a dataset's rates cannot be counted (its rows are not table rows).
    std::int64_t seenRows = 0;
    std::int64_t seenPages = 0;
    Position at = report.begin();
    if (at == report.end()) {  // no dataset: one chunk, the whole page
        const std::unique_ptr<QTextDocument> doc = layOut(QString::fromStdString(report.render(at, at)));
        plan.push_back({at, at, std::max(1, doc->pageCount()), true});
        return plan;
    }
    while (!(at == report.end()) && !(stop && stop())) {
        const size_t section = at.section;
        if (!(at == report.begin()) && section < report.sectionCount()) {
            const std::int64_t left = report.sectionRows(section) - at.row;
            const Rates& r = rates[section];
            if (r.known() && r.first < left) {
                // Whole pages of this dataset, a few at a time; the last rows go with what follows.
                const std::int64_t most = std::max<std::int64_t>(1, rowsPerChunk / r.next);
                const std::int64_t pages = std::min(most, 1 + (left - 1 - r.first) / r.next);
                const Position to{section, at.row + r.first + (pages - 1) * r.next};
                plan.push_back({at, to, static_cast<int>(pages), false});
                at = to;
                continue;
            }
            if (r.first < 0 && seenRows > 0 && left > rowsPerChunk) {
                // Not countable: windows of rows, their pages reckoned from those laid out so far.
                const Position to = advance(report, at, rowsPerChunk);
                const double pages = static_cast<double>(report.rowsBetween(at, to)) * seenPages / seenRows;
                plan.push_back({at, to, std::max(1, static_cast<int>(std::ceil(pages - 0.25))), false});
                at = to;
                continue;
            }
        }
        const Position candidate = advance(report, at, rowsPerChunk);
        const ReportPages::MarkedPage page = report.renderMarked(at, candidate);
        const std::unique_ptr<QTextDocument> doc = layOut(QString::fromStdString(page.html));
        const Measured measured(page, *doc);
        if (!(at == report.begin()) && section < report.sectionCount() && !rates[section].known()) {
            const Rates found = measured.rates();
            rates[section] = found.known() ? found : Rates{-1, -1};
        }
        const auto cut = candidate == report.end() ? std::nullopt : measured.cut(report, at);
        const Position to = cut ? cut->first : candidate;
        const int pages = cut ? cut->second : measured.pages();
        seenRows += report.rowsBetween(at, to);
        seenPages += pages;
        plan.push_back({at, to, pages, true});
        at = to;
    }
    return plan;
}

}  // namespace qrv::gui
