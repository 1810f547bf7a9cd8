#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>
#include <memory>

class QPainter;
class QTextCursor;
class QTextDocument;

namespace qrv::gui {

// How a report's HTML becomes pages: the font used where a layout names none (the Thai fonts), lines
// that break between words only, grid lines drawn by each cell (the same lines as collapsed borders, at
// half Qt's cost), and the page size of the printer at the screen's logical resolution, so that the
// view, the printout and the PDF break pages in the same places. A plain value: any thread
// lays documents out with its copy.
struct PageStyle {
    QFont font;
    QSizeF page;    // where the text goes, in layout pixels
    QString title;  // the documents' title

    // The document read from the HTML, not laid out yet: no font is used before it is laid out, so it may
    // be read on one thread and laid out on another (which then lays it out and draws it alone).
    std::unique_ptr<QTextDocument> parse(const QString& html) const;
    // The document laid out in pages.
    std::unique_ptr<QTextDocument> layOut(const QString& html) const;
};

// Page `index` of a paginated document, drawn at the painter's origin as QTextDocument::print draws
// it; `marked` (when not null) is shown as found text.
void PaintPage(QPainter& painter, QTextDocument& doc, int index, const QTextCursor* marked = nullptr);

}  // namespace qrv::gui
