#include "gui/reports/PageStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextOption>
#include <QTextTable>

namespace qrv::gui {

namespace {

// Qt lays out and draws a table whose borders collapse about twice as slowly as one whose cells draw
// their own. A collapsed grid becomes cells that draw their right and bottom edges, the first column
// its left and the first row its top: one line between two cells, as before, at half the cost.
void separateCollapsedBorders(QTextFrame* frame) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            QTextTableFormat format = table->format();
            if (format.borderCollapse()) {
                format.setBorderCollapse(false);
                format.setCellSpacing(0);
                table->setFormat(format);
                for (int row = 0; row < table->rows(); ++row) {
                    for (int column = 0; column < table->columns(); ++column) {
                        QTextTableCell cell = table->cellAt(row, column);
                        if (cell.row() != row || cell.column() != column) {
                            continue;  // a cell spanning here, met where it starts
                        }
                        QTextTableCellFormat edges = cell.format().toTableCellFormat();
                        const bool left = column > 0 && edges.leftBorder() > 0;
                        const bool top = row > 0 && edges.topBorder() > 0;
                        if (left || top) {
                            if (left) {
                                edges.setLeftBorder(0);
                            }
                            if (top) {
                                edges.setTopBorder(0);
                            }
                            cell.setFormat(edges);
                        }
                    }
                }
            }
        }
        separateCollapsedBorders(child);
    }
}

}  // namespace

std::unique_ptr<QTextDocument> PageStyle::parse(const QString& html) const {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(font);
    // A line breaks between words only: a Thai word or a hash that does not fit stays whole.
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    doc->setDefaultTextOption(option);
    doc->setHtml(html);
    separateCollapsedBorders(doc->rootFrame());
    doc->setMetaInformation(QTextDocument::DocumentTitle, title);
    return doc;
}

std::unique_ptr<QTextDocument> PageStyle::layOut(const QString& html) const {
    std::unique_ptr<QTextDocument> doc = parse(html);
    doc->setPageSize(page);
    return doc;
}

void PaintPage(QPainter& painter, QTextDocument& doc, int index, const QTextCursor* marked) {
    const QSizeF size = doc.pageSize();
    const QRectF view(0, index * size.height(), size.width(), size.height());
    painter.save();
    painter.translate(0, -view.top());
    painter.setClipRect(view, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view;
    context.palette.setColor(QPalette::Text, Qt::black);
    if (marked != nullptr && !marked->isNull()) {
        QAbstractTextDocumentLayout::Selection found;
        found.cursor = *marked;
        found.format.setBackground(QColor(255, 200, 0));
        found.format.setForeground(Qt::black);
        context.selections.append(found);
    }
    doc.documentLayout()->draw(&painter, context);
    painter.restore();
}

}  // namespace qrv::gui
