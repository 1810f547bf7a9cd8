#pragma once

#include <QAbstractScrollArea>
#include <QSizeF>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "gui/reports/PageStyle.h"

class QPainter;
class QPrinter;
class QTextDocument;

namespace qrv::gui {

// A report's pages as they print, drawn from chunks of HTML that are laid out only when one of their
// pages comes on screen: each chunk in a QTextDocument of the printer's page size. Chunks far from the
// view are dropped again, so what is held does not grow with the report. The page count is known at
// once from the pages each chunk is given (PagePlan); a chunk laid out with another count corrects it,
// keeping the page in view where it is. Pages are one under another, or side by side in as many columns
// as fit; a page taller than the view scrolls (wheel, arrows, Page Down on the last page, Home, End).
class PageView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    using ChunkHtml = std::function<QString(int chunk)>;
    using ChunkPages = std::function<int(int chunk)>;

    PageView(const QPrinter& printer, QWidget* parent = nullptr);
    ~PageView() override;

    // `pages`: what each chunk is expected to hold.
    void setChunks(int count, ChunkHtml html, ChunkPages pages);
    void setTitle(const QString& title) { style_.title = title; }
    // How the view lays its pages out; a copy lays documents out on any thread.
    const PageStyle& style() const { return style_; }
    int chunkCount() const { return chunkCount_; }
    // The chunk laid out in pages (from the cache, or now).
    QTextDocument* document(int chunk);
    // A chunk's document not kept by the view (for finding and printing past the cache); empty, with
    // the view's font and wrapping, before setChunks.
    std::unique_ptr<QTextDocument> makeDocument(int chunk) const;
    // How many times a chunk was laid out for the view, and how many are held now.
    int layouts() const { return layouts_; }
    int heldChunks() const { return static_cast<int>(held_.size()); }

    int pageCount() const;
    // 1-based, the page at the top of the view.
    int currentPage() const;
    void setCurrentPage(int page);
    // The first page (1-based) of a chunk's page `offset` (0-based).
    int pageOf(int chunk, int offset) const;
    // The chunk of a page (1-based) and the page's offset in it.
    std::pair<int, int> chunkOf(int page) const;

    qreal zoomFactor() const { return zoom_; }
    void zoomIn(qreal step);
    void zoomOut(qreal step);
    void fitToWidth();
    void setColumns(bool many);
    // Scrolls by `pixels` (down when positive).
    void scrollBy(int pixels);
    // The found text: characters [position, position + length) of a chunk, highlighted; none with chunk -1.
    void setMatch(int chunk, int position, int length);
    // Brings a line of a chunk into view: `top` and `height` in the chunk's laid-out document, whose pages
    // stand one under another. Its page is shown from its top when the line is on screen so; otherwise the
    // view scrolls down until the line stands a third of the way down.
    void showLine(int chunk, qreal top, qreal height);

    // Every page through one painter, chunk by chunk: what is held at once stays a chunk.
    void print(QPrinter& printer);

  signals:
    void pagesChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int pagesIn(int chunk) const;
    void setExact(int chunk, int pages);
    int columns() const;
    qreal cellWidth() const { return paper_.width() * zoom_; }
    qreal cellHeight() const { return paper_.height() * zoom_; }
    int rowTop(int row) const;
    void updateBars();
    // Lays out the chunks on screen, corrects the page count and drops the chunks far away.
    void settle();
    void setLayoutZoom();

    PageStyle style_;
    QSizeF paper_;    // the whole sheet
    QPointF margin_;  // the page's offset on the sheet
    ChunkHtml html_;
    int chunkCount_ = 0;
    std::vector<int> expected_;  // pages per chunk as given
    std::vector<int> exact_;     // pages per laid-out chunk, 0 when not laid out yet
    int matchChunk_ = -1;
    int matchAt_ = 0;
    int matchLength_ = 0;
    std::map<int, std::unique_ptr<QTextDocument>> held_;
    int layouts_ = 0;
    qreal zoom_ = 1.0;
    bool fit_ = true;
    bool many_ = false;
    bool settling_ = false;
};

}  // namespace qrv::gui
