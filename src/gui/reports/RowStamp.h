#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QTextOption>
#include <memory>
#include <optional>
#include <vector>

#include "gui/reports/ChunkRows.h"
#include "gui/reports/PaintRecording.h"

class QPainter;
class QString;
class QTextDocument;
class QTextTable;
class QTextTableCell;
class QTextLayout;

namespace qrv::gui {

// A chunk's rows laid out for a RowStamp: each cell's text as one line.
class StampedRows {
  public:
    StampedRows();
    StampedRows(StampedRows&&) noexcept;
    StampedRows& operator=(StampedRows&&) noexcept;
    ~StampedRows();

  private:
    friend class RowStamp;
    std::vector<std::unique_ptr<QTextLayout>> cells_;  // row by row
};

// The pages of a chunk of like table rows drawn without a document of its own. A chunk laid out and
// drawn as a document lends its pages with the rows' cells emptied (the table's head, grid lines and
// backgrounds, whatever comes before and after the rows) and where each cell's text goes. A later chunk
// with the same beginning and end and as many rows, whose every text takes one line of the same height
// as the text in its place and fits its cell, is laid out the same (same row heights, same column
// widths, same page breaks): it is drawn as those pages with its own texts in the cells, each laid out
// and drawn as the document lays out and draws a cell's line, so the pages look as the chunk's own
// document would draw them. Where the stamp's texts may have widened a column (a long row number that
// does not wrap), the chunk's widest text there must be as wide. Belongs to the thread that made it
// (its fonts and documents).
class RowStamp {
  public:
    // The stamp of a chunk laid out in pages (its document and its rows), or nothing when the chunk is
    // not one table of like rows whose texts each take one line.
    static std::unique_ptr<RowStamp> make(const QTextDocument& doc, const ChunkRows& rows);
    ~RowStamp();

    // True when `rows` begins and ends as the stamp's chunk and its rows are written alike.
    bool fits(const ChunkRows& rows) const { return frame_.sameFrame(rows); }
    // The stamp's chunk without its rows.
    const ChunkRows& frame() const { return frame_; }
    // The rows laid out, or nothing when the chunk would be laid out otherwise than the stamp's (other
    // than as many rows; a text that wraps, takes a line of another height or does not fit; an empty
    // cell).
    std::optional<StampedRows> lay(const ChunkRows& rows) const;
    int pages() const { return pages_; }
    // True when the columns that follow their texts' widths (the row number's) are as wide as `other`'s:
    // a chunk one of them cannot lay out for that width alone the other cannot either.
    bool sameWidths(const RowStamp& other) const;
    // True when the emptied pages' grid is recorded once and replayed (emptying their texts moves
    // nothing); else they are drawn from the emptied document each time.
    bool replaysGrid() const { return !grid_.empty(); }
    size_t rows() const { return rowPage_.size(); }
    // Page `page` of the laid-out rows, drawn at the painter's origin as PaintPage draws a document's.
    void paint(QPainter& painter, const StampedRows& rows, int page) const;

  private:
    // How a column's texts look, where they go across.
    struct Column {
        QFont font;
        QColor color;
        QTextOption option;
        QPointF linePosition;
        qreal width = 0;
        qreal widest = 0;      // the widest of the stamp's texts
        bool widened = false;  // the texts may have widened the column: the widest must be as wide
    };
    // Where a cell's line is drawn from (in the document), and its height.
    struct Cell {
        QPointF origin;
        qreal ascent = 0;
        qreal descent = 0;
        qreal height = 0;
    };
    RowStamp() = default;
    // How a cell's one line of plain text is drawn; nothing when the cell cannot be stamped (spans,
    // several blocks or lines, mixed formats, a text other than the row's).
    static std::optional<Column> stampedColumn(const QTextTableCell& cell, const QString& text);
    // Row `tableRow` of `table` added to the stamp (its columns, when `first`); false when a cell cannot
    // be stamped, its column differs from the rows' before, or the row spans pages or goes back a page.
    bool addRow(const QTextDocument& doc, const QTextTable& table, int tableRow, const QStringList& texts,
                bool first);
    // The grid and texts of the emptied pages, where emptying the texts moves nothing.
    void makeGrid(int head);
    void paintGrid(QPainter& painter, int page) const;

    ChunkRows frame_;  // the stamp's chunk, without its rows' texts
    std::unique_ptr<QTextDocument> blank_;
    // The emptied pages without any text either (the grid lines and backgrounds, drawn cell by cell)
    // as recorded page by page, and where the emptied pages' texts go: the head's on every page (moved
    // as the rows below it), the others where they are. Nothing when emptying the texts moves anything.
    std::vector<PaintRecording> grid_;
    struct Text {
        QTextLayout* layout = nullptr;  // of blank_
        QPointF origin;                 // where drawn on the first page it is on
        qreal top = 0;                  // in the document
        bool head = false;              // in the table's head, on every page
    };
    std::vector<Text> texts_;
    std::vector<qreal> rowTop_;  // the top of each page's first row's first cell (as each row's)
    std::vector<Column> columns_;
    std::vector<Cell> cells_;   // row by row
    std::vector<int> rowPage_;  // the page each row is on
    qreal pageHeight_ = 0;
    int pages_ = 0;
};

}  // namespace qrv::gui
