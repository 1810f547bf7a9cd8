#include "gui/reports/PageStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

namespace qrv::gui {

std::unique_ptr<QTextDocument> PageStyle::layOut(const QString& html) const {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(font);
    // A line breaks between words only: a Thai word or a hash that does not fit stays whole.
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    doc->setDefaultTextOption(option);
    doc->setHtml(html);
    doc->setPageSize(page);
    doc->setMetaInformation(QTextDocument::DocumentTitle, title);
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
