#include "gui/reports/RowStamp.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <algorithm>

#include "gui/reports/PageStyle.h"

namespace qrv::gui {

StampedRows::StampedRows() = default;
StampedRows::StampedRows(StampedRows&&) noexcept = default;
StampedRows& StampedRows::operator=(StampedRows&&) noexcept = default;
StampedRows::~StampedRows() = default;
RowStamp::~RowStamp() = default;

namespace {

// A text this much narrower than its cell leaves the column's width to the table; one that fills its
// cell may have widened the column.
constexpr qreal kRoom = 2;

// True when the text is drawn with its font and a plain colour only (no lines through or under it, no
// background, no link).
bool plainText(const QTextCharFormat& format) {
    const QMap<int, QVariant> properties = format.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        const int key = it.key();
        if (key == QTextFormat::ForegroundBrush) {
            if (format.foreground().style() != Qt::SolidPattern) {
                return false;
            }
        } else if (key == QTextFormat::FontUnderline || key == QTextFormat::FontOverline ||
                   key == QTextFormat::FontStrikeOut || key == QTextFormat::TextUnderlineStyle) {
            if (it.value().toInt() != 0) {
                return false;
            }
        } else if (key == QTextFormat::TextVerticalAlignment) {
            // A cell's vertical alignment reaches its text: at the top, it is drawn as any text.
            if (format.verticalAlignment() != QTextCharFormat::AlignNormal &&
                format.verticalAlignment() != QTextCharFormat::AlignTop) {
                return false;
            }
        } else if (key < QTextFormat::FirstFontProperty || key > QTextFormat::LastFontProperty) {
            return false;
        }
    }
    return true;
}

bool sameOption(const QTextOption& a, const QTextOption& b) {
    return a.alignment() == b.alignment() && a.wrapMode() == b.wrapMode() && a.flags() == b.flags() &&
           a.textDirection() == b.textDirection() && a.tabStopDistance() == b.tabStopDistance() &&
           a.useDesignMetrics() == b.useDesignMetrics();
}

// The table that is the document's only frame, holding no frame itself.
QTextTable* onlyTable(const QTextDocument& doc) {
    const QList<QTextFrame*> frames = doc.rootFrame()->childFrames();
    auto* table = frames.size() == 1 ? qobject_cast<QTextTable*>(frames.front()) : nullptr;
    return table != nullptr && table->childFrames().isEmpty() ? table : nullptr;
}

// True when the table's width is set and no more than one of its columns takes what is left: its
// columns are then as wide whatever the cells hold, as long as each text fits its cell.
bool fixedColumns(const QTextTable& table) {
    const QTextTableFormat format = table.format();
    const QList<QTextLength> widths = format.columnWidthConstraints();
    qsizetype variable = table.columns() - widths.size();
    for (const QTextLength& width : widths) {
        variable += width.type() == QTextLength::VariableLength ? 1 : 0;
    }
    return variable <= 1 && format.width().type() != QTextLength::VariableLength;
}

QTextBlock cellBlock(const QTextTableCell& cell) {
    return cell.firstCursorPosition().block();
}

// Where each cell's text begins across, and its line's width: what the columns' widths give.
std::vector<std::pair<qreal, qreal>> placed(const QTextDocument& doc, const QTextTable& table, int row) {
    doc.documentLayout()->documentSize();  // laid out
    std::vector<std::pair<qreal, qreal>> cells;
    for (int c = 0; c < table.columns(); ++c) {
        const QTextBlock block = cellBlock(table.cellAt(row, c));
        const QTextLayout& layout = *block.layout();
        cells.emplace_back(doc.documentLayout()->blockBoundingRect(block).left(),
                           layout.lineCount() > 0 ? layout.lineAt(0).width() : 0);
    }
    return cells;
}

// The document's pages with the rows' cells emptied and laid out as they were: the columns keep their
// widths (emptied cells no longer widen them), set from where the cells begin and corrected once by
// where the emptied ones then begin. Nothing when a cell would not be where it was.
std::unique_ptr<QTextDocument> blankRows(const QTextDocument& doc, const QTextTable& table, int head) {
    std::unique_ptr<QTextDocument> blank(doc.clone());
    blank->setPageSize(doc.pageSize());
    QTextTable* blankTable = onlyTable(*blank);
    if (blankTable == nullptr || blankTable->rows() != table.rows()) {
        return nullptr;
    }
    const int columns = table.columns();
    QTextCursor edit(blank.get());
    edit.beginEditBlock();
    for (int r = head; r < table.rows(); ++r) {
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = blankTable->cellAt(r, c);
            QTextCursor clear = cell.firstCursorPosition();
            clear.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            clear.removeSelectedText();
        }
    }
    edit.endEditBlock();
    // A column is as wide as from where its text begins to where the next one's does; the last as its
    // line.
    const auto step = [columns](const std::vector<std::pair<qreal, qreal>>& cells, int c) {
        const auto at = static_cast<size_t>(c);
        return c + 1 < columns ? cells[at + 1].first - cells[at].first : cells[at].second;
    };
    const std::vector<std::pair<qreal, qreal>> wanted = placed(doc, table, head);
    std::vector<qreal> widths;
    for (int c = 0; c < columns; ++c) {
        widths.push_back(step(wanted, c));
    }
    const auto setWidths = [&widths, blankTable] {
        QList<QTextLength> lengths;
        for (const qreal width : widths) {
            lengths.append(QTextLength(QTextLength::FixedLength, width));
        }
        QTextTableFormat fixed = blankTable->format();
        fixed.setColumnWidthConstraints(lengths);
        blankTable->setFormat(fixed);
    };
    setWidths();
    const std::vector<std::pair<qreal, qreal>> once = placed(*blank, *blankTable, head);
    for (int c = 0; c < columns; ++c) {
        widths[static_cast<size_t>(c)] += step(wanted, c) - step(once, c);
    }
    setWidths();
    if (blank->pageCount() != doc.pageCount()) {
        return nullptr;
    }
    for (int r = head; r < table.rows(); ++r) {
        for (int c = 0; c < columns; ++c) {
            const QRectF was = doc.documentLayout()->blockBoundingRect(cellBlock(table.cellAt(r, c)));
            const QRectF is = blank->documentLayout()->blockBoundingRect(cellBlock(blankTable->cellAt(r, c)));
            if (was.topLeft() != is.topLeft()) {
                return nullptr;
            }
        }
    }
    return blank;
}

}  // namespace

std::optional<RowStamp::Column> RowStamp::stampedColumn(const QTextTableCell& cell, const QString& text) {
    if (cell.rowSpan() != 1 || cell.columnSpan() != 1) {
        return std::nullopt;
    }
    const QTextBlock block = cellBlock(cell);
    if (block != cell.lastCursorPosition().block() || block.text().isEmpty() || block.text() != text ||
        block.layout()->lineCount() != 1) {
        return std::nullopt;
    }
    const QTextCharFormat format = block.begin().fragment().charFormat();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat() != format) {
            return std::nullopt;
        }
    }
    if (!plainText(format)) {
        return std::nullopt;
    }
    const QTextLayout& layout = *block.layout();
    const QTextLine line = layout.lineAt(0);
    return Column{
        format.font(),
        format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor(Qt::black),
        layout.textOption(),
        line.position(),
        line.width(),
        line.naturalTextWidth()};
}

bool RowStamp::addRow(const QTextDocument& doc, const QTextTable& table, int tableRow,
                      const QStringList& texts, bool first) {
    const qreal pageHeight = doc.pageSize().height();
    int rowPage = -1;
    for (int c = 0; c < table.columns(); ++c) {
        const QTextTableCell cell = table.cellAt(tableRow, c);
        const std::optional<Column> column = stampedColumn(cell, texts[c]);
        if (!column) {
            return false;
        }
        if (first) {
            columns_.push_back(*column);
        } else {
            Column& known = columns_[static_cast<size_t>(c)];
            if (column->font != known.font || column->color != known.color ||
                !sameOption(column->option, known.option) || column->linePosition != known.linePosition ||
                column->width != known.width) {
                return false;
            }
            known.widest = std::max(known.widest, column->widest);
        }
        const QTextBlock block = cellBlock(cell);
        const QTextLayout& layout = *block.layout();
        const QTextLine line = layout.lineAt(0);
        const QRectF bounds = doc.documentLayout()->blockBoundingRect(block);
        const int page = static_cast<int>(bounds.top() / pageHeight);
        if (rowPage >= 0 && page != rowPage) {
            return false;
        }
        rowPage = page;
        cells_.push_back({bounds.topLeft() - layout.boundingRect().topLeft(), line.ascent(), line.descent(),
                          line.height()});
    }
    if (!rowPage_.empty() && rowPage < rowPage_.back()) {
        return false;
    }
    rowPage_.push_back(rowPage);
    return true;
}

std::unique_ptr<RowStamp> RowStamp::make(const QTextDocument& doc, const ChunkRows& rows) {
    const int pages = doc.pageCount();  // laid out
    const qreal pageHeight = doc.pageSize().height();
    QTextTable* table = onlyTable(doc);
    if (!rows.found() || pageHeight <= 0 || table == nullptr || !fixedColumns(*table)) {
        return nullptr;
    }
    const int head = table->format().headerRowCount();
    const int count = static_cast<int>(rows.cells.size());
    if (table->rows() != head + count) {
        return nullptr;
    }
    std::unique_ptr<RowStamp> stamp(new RowStamp);
    for (int r = 0; r < count; ++r) {
        const QStringList& texts = rows.cells[static_cast<size_t>(r)];
        if (texts.size() != table->columns() || !stamp->addRow(doc, *table, head + r, texts, r == 0)) {
            return nullptr;
        }
    }
    for (Column& column : stamp->columns_) {
        column.widened = column.widest > column.width - kRoom;
        if (column.widened && column.option.wrapMode() != QTextOption::NoWrap &&
            column.option.wrapMode() != QTextOption::ManualWrap) {
            return nullptr;
        }
    }
    stamp->blank_ = blankRows(doc, *table, head);
    if (!stamp->blank_) {
        return nullptr;
    }
    stamp->pageHeight_ = pageHeight;
    stamp->pages_ = std::max(1, pages);
    stamp->makeGrid(head);
    stamp->frame_ = ChunkRows{rows.prefix, rows.row, rows.suffix, {}};
    return stamp;
}

std::optional<StampedRows> RowStamp::lay(const ChunkRows& rows) const {
    if (!fits(rows) || rows.cells.size() != rowPage_.size()) {
        return std::nullopt;
    }
    const size_t columns = columns_.size();
    std::vector<qreal> widest(columns, 0);
    StampedRows stamped;
    stamped.cells_.reserve(cells_.size());
    for (size_t r = 0; r < rows.cells.size(); ++r) {
        const QStringList& texts = rows.cells[r];
        if (static_cast<size_t>(texts.size()) != columns) {
            return std::nullopt;
        }
        for (size_t c = 0; c < columns; ++c) {
            const Column& column = columns_[c];
            const Cell& cell = cells_[r * columns + c];
            const QString& text = texts[static_cast<qsizetype>(c)];
            if (text.isEmpty()) {
                return std::nullopt;
            }
            auto layout = std::make_unique<QTextLayout>(text, column.font);
            layout->setTextOption(column.option);
            layout->beginLayout();
            QTextLine line = layout->createLine();
            line.setLineWidth(column.width);
            line.setPosition(column.linePosition);
            const bool wraps = layout->createLine().isValid();
            layout->endLayout();
            const qreal width = line.naturalTextWidth();
            widest[c] = std::max(widest[c], width);
            if (wraps || line.textLength() != text.size() ||
                width > (column.widened ? column.widest : column.width - kRoom) ||
                line.ascent() != cell.ascent || line.descent() != cell.descent ||
                line.height() != cell.height) {
                return std::nullopt;
            }
            stamped.cells_.push_back(std::move(layout));
        }
    }
    for (size_t c = 0; c < columns; ++c) {
        if (columns_[c].widened && widest[c] != columns_[c].widest) {
            return std::nullopt;
        }
    }
    return stamped;
}

bool RowStamp::sameWidths(const RowStamp& other) const {
    return std::equal(columns_.begin(), columns_.end(), other.columns_.begin(), other.columns_.end(),
                      [](const Column& a, const Column& b) {
                          return a.widened == b.widened && (!a.widened || a.widest == b.widest);
                      });
}

void RowStamp::paint(QPainter& painter, const StampedRows& rows, int page) const {
    if (replaysGrid()) {
        paintGrid(painter, page);
    } else {
        PaintPage(painter, *blank_, page);
    }
    const size_t columns = columns_.size();
    painter.save();
    painter.translate(0, -page * pageHeight_);
    const auto first = std::lower_bound(rowPage_.begin(), rowPage_.end(), page);
    for (auto row = static_cast<size_t>(first - rowPage_.begin());
         row < rowPage_.size() && rowPage_[row] == page; ++row) {
        for (size_t c = 0; c < columns; ++c) {
            painter.setPen(columns_[c].color);
            rows.cells_[row * columns + c]->draw(&painter, cells_[row * columns + c].origin);
        }
    }
    painter.restore();
}

void RowStamp::paintGrid(QPainter& painter, int page) const {
    // The grid as recorded; the texts around the rows drawn as the document draws them, the head above
    // each page's first row.
    grid_[static_cast<size_t>(page)].replay(painter);
    painter.save();
    painter.translate(0, -page * pageHeight_);
    painter.setPen(Qt::black);
    const QPointF headShift(0, rowTop_[static_cast<size_t>(page)] - rowTop_.front());
    for (const Text& text : texts_) {
        if (text.head) {
            text.layout->draw(&painter, text.origin + headShift);
        } else if (static_cast<int>(text.top / pageHeight_) == page) {
            text.layout->draw(&painter, text.origin);
        }
    }
    painter.restore();
}

void RowStamp::makeGrid(int head) {
    std::unique_ptr<QTextDocument> grid(blank_->clone());
    grid->setPageSize(blank_->pageSize());
    QTextCursor edit(grid.get());
    edit.beginEditBlock();
    for (QTextBlock block = grid->begin(); block.isValid(); block = block.next()) {
        if (block.length() > 1) {
            QTextCursor clear(block);
            clear.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            clear.removeSelectedText();
        }
    }
    edit.endEditBlock();
    if (grid->pageCount() != blank_->pageCount()) {
        return;
    }
    const QTextTable* table = onlyTable(*blank_);
    std::vector<Text> texts;
    QTextBlock is = grid->begin();
    for (QTextBlock was = blank_->begin(); was.isValid(); was = was.next(), is = is.next()) {
        const QRectF bounds = blank_->documentLayout()->blockBoundingRect(was);
        if (!is.isValid() || grid->documentLayout()->blockBoundingRect(is) != bounds) {
            return;
        }
        if (was.length() > 1) {
            const QTextTableCell cell = table->cellAt(was.position());
            texts.push_back({was.layout(), bounds.topLeft() - was.layout()->boundingRect().topLeft(),
                             bounds.top(), cell.isValid() && cell.row() < head});
        }
    }
    // The head stands above each page's first row.
    std::vector<qreal> rowTop;
    for (int page = 0; page < pages_; ++page) {
        const auto first = std::lower_bound(rowPage_.begin(), rowPage_.end(), page);
        if (first == rowPage_.end() || *first != page) {
            return;
        }
        rowTop.push_back(cells_[static_cast<size_t>(first - rowPage_.begin()) * columns_.size()].origin.y());
    }
    std::vector<PaintRecording> recorded;
    const QSize size = blank_->pageSize().toSize();
    for (int page = 0; page < pages_; ++page) {
        std::optional<PaintRecording> drawn = PaintRecording::record(
            size, [&grid, page](QPainter& painter) { PaintPage(painter, *grid, page); });
        if (!drawn) {
            return;
        }
        recorded.push_back(std::move(*drawn));
    }
    grid_ = std::move(recorded);
    texts_ = std::move(texts);
    rowTop_ = std::move(rowTop);
}

}  // namespace qrv::gui
