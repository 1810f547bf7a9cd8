#include "gui/reports/PageView.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <cmath>

#include "base/QrvError.h"
#include "gui/reports/PageStyle.h"

Q_GUI_EXPORT int qt_defaultDpiX();

namespace qrv::gui {

namespace {

constexpr int kGap = 12;  // between pages and around them

}  // namespace

PageView::PageView(const QPrinter& printer, QWidget* parent) : QAbstractScrollArea(parent) {
    // Laid out at the screen's logical resolution in pages of the printer's page, so the view, the
    // printout and the PDF break pages in the same places.
    const qreal dpi = qt_defaultDpiX();
    const QRectF paper = printer.paperRect(QPrinter::Inch);
    const QRectF page = printer.pageRect(QPrinter::Inch);
    style_.page = page.size() * dpi;
    paper_ = paper.size() * dpi;
    margin_ = (page.topLeft() - paper.topLeft()) * dpi;
    // Thai glyphs come from the Thai fonts when a layout names none.
    style_.font = QFont(QStringLiteral("Loma"));
    style_.font.setFamilies({QStringLiteral("Loma"), QStringLiteral("Garuda"), QStringLiteral("Norasi")});
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(24);
    horizontalScrollBar()->setSingleStep(24);
}

PageView::~PageView() = default;

void PageView::setChunks(int count, ChunkHtml html, ChunkPages pages) {
    html_ = std::move(html);
    chunkCount_ = std::max(0, count);
    expected_.clear();
    for (int c = 0; c < chunkCount_; ++c) {
        expected_.push_back(std::max(1, pages(c)));
    }
    exact_.assign(static_cast<size_t>(chunkCount_), 0);
    held_.clear();
    matchChunk_ = -1;
    updateBars();
    verticalScrollBar()->setValue(0);
    settle();
}

std::unique_ptr<QTextDocument> PageView::makeDocument(int chunk) const {
    return style_.layOut(html_ ? html_(chunk) : QString());  // nothing to show before setChunks
}

QTextDocument* PageView::document(int chunk) {
    chunk = std::clamp(chunk, 0, std::max(0, chunkCount_ - 1));
    auto it = held_.find(chunk);
    if (it == held_.end()) {
        std::unique_ptr<QTextDocument> doc = makeDocument(chunk);
        setExact(chunk, std::max(1, doc->pageCount()));
        ++layouts_;
        it = held_.emplace(chunk, std::move(doc)).first;
    }
    return it->second.get();
}

int PageView::pagesIn(int chunk) const {
    const int known = exact_[static_cast<size_t>(chunk)];
    return known > 0 ? known : expected_[static_cast<size_t>(chunk)];
}

void PageView::setExact(int chunk, int pages) {
    exact_[static_cast<size_t>(chunk)] = pages;
}

int PageView::pageCount() const {
    int pages = 0;
    for (int c = 0; c < chunkCount_; ++c) {
        pages += pagesIn(c);
    }
    return pages;
}

int PageView::pageOf(int chunk, int offset) const {
    int page = 1;
    for (int c = 0; c < chunk && c < chunkCount_; ++c) {
        page += pagesIn(c);
    }
    return page + offset;
}

std::pair<int, int> PageView::chunkOf(int page) const {
    int first = 1;
    for (int c = 0; c < chunkCount_; ++c) {
        const int pages = pagesIn(c);
        if (page < first + pages) {
            return {c, std::max(0, page - first)};
        }
        first += pages;
    }
    return {std::max(0, chunkCount_ - 1), chunkCount_ > 0 ? std::max(0, pagesIn(chunkCount_ - 1) - 1) : 0};
}

int PageView::columns() const {
    if (!many_) {
        return 1;
    }
    return std::max(1, static_cast<int>((viewport()->width() - kGap) / (cellWidth() + kGap)));
}

int PageView::rowTop(int row) const {
    return static_cast<int>(std::lround(kGap + row * (cellHeight() + kGap)));
}

int PageView::currentPage() const {
    // Half a gap of slack: a row's top is rounded to a whole pixel, so its scroll value may fall a
    // fraction short of the row (seen with the page sizes of another screen resolution).
    const int row = static_cast<int>((verticalScrollBar()->value() + kGap / 2) / (cellHeight() + kGap));
    return std::clamp(row * columns() + 1, 1, std::max(1, pageCount()));
}

void PageView::setCurrentPage(int page) {
    // The last page is the last chunk's, however the estimate of the others changes on the way.
    for (int round = 0; round < 3; ++round) {
        const bool last = page >= pageCount() && chunkCount_ > 0;
        if (last) {
            document(chunkCount_ - 1);
            page = pageCount();
        }
        page = std::clamp(page, 1, std::max(1, pageCount()));
        updateBars();
        verticalScrollBar()->setValue(rowTop((page - 1) / columns()) - kGap);
        settle();
        if (!last || currentPage() == pageCount()) {
            break;
        }
    }
}

void PageView::updateBars() {
    const int rows = (pageCount() + columns() - 1) / columns();
    // The last page can come to the top of the view, and a page taller than the view to its bottom.
    verticalScrollBar()->setRange(
        0, std::max({0, rowTop(rows - 1) - kGap, rowTop(rows) - viewport()->height()}));
    verticalScrollBar()->setPageStep(viewport()->height());
    const int width = static_cast<int>(columns() * (cellWidth() + kGap) + kGap);
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void PageView::setLayoutZoom() {
    if (fit_) {
        zoom_ = std::max(0.05, (viewport()->width() - 2.0 * kGap) / paper_.width());
    }
}

void PageView::zoomIn(qreal step) {
    const int page = currentPage();
    fit_ = false;
    zoom_ *= step;
    updateBars();
    setCurrentPage(page);
}

void PageView::zoomOut(qreal step) {
    const int page = currentPage();
    fit_ = false;
    zoom_ = std::max(0.05, zoom_ / step);
    updateBars();
    setCurrentPage(page);
}

void PageView::fitToWidth() {
    const int page = currentPage();
    fit_ = true;
    many_ = false;
    setLayoutZoom();
    updateBars();
    setCurrentPage(page);
}

void PageView::setColumns(bool many) {
    const int page = currentPage();
    many_ = many;
    if (many) {
        fit_ = false;
        zoom_ = std::max(0.05, (viewport()->width() - 4.0 * kGap) / (3 * paper_.width()));  // three across
    } else {
        fit_ = true;
        setLayoutZoom();
    }
    updateBars();
    setCurrentPage(page);
}

void PageView::scrollBy(int pixels) {
    verticalScrollBar()->setValue(verticalScrollBar()->value() + pixels);
}

void PageView::setMatch(int chunk, int position, int length) {
    matchChunk_ = chunk;
    matchAt_ = position;
    matchLength_ = length;
    viewport()->update();
}

void PageView::showLine(int chunk, qreal top, qreal height) {
    const qreal pageHeight = document(chunk)->pageSize().height();
    const int offset = static_cast<int>(top / pageHeight);
    setCurrentPage(pageOf(chunk, offset));
    // Where the line stands on its sheet, in the view's pixels.
    const int row = (pageOf(chunk, offset) - 1) / columns();
    const qreal onSheet = (margin_.y() + top - offset * pageHeight) * zoom_;
    const int lineTop = static_cast<int>(rowTop(row) + onSheet);
    const int lineBottom = static_cast<int>(std::ceil(rowTop(row) + onSheet + height * zoom_));
    QScrollBar* bar = verticalScrollBar();
    if (lineBottom > bar->value() + viewport()->height() || lineTop < bar->value()) {
        bar->setValue(lineTop - viewport()->height() / 3);
    }
}

void PageView::keyPressEvent(QKeyEvent* event) {
    // Home and End go to the report's top and bottom; the arrows and Page Up/Down scroll as the scroll
    // area does.
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        if (event->key() == Qt::Key_End) {
            setCurrentPage(pageCount());
            verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        } else {
            verticalScrollBar()->setValue(0);
        }
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void PageView::settle() {
    if (settling_ || chunkCount_ == 0) {
        return;
    }
    settling_ = true;
    int firstChunk = 0;
    int lastChunk = 0;
    for (int round = 0; round < 4; ++round) {
        const int top = verticalScrollBar()->value();
        const int cols = columns();
        const int firstRow = static_cast<int>(top / (cellHeight() + kGap));
        const int lastRow = static_cast<int>((top + viewport()->height()) / (cellHeight() + kGap));
        const int firstPage = std::clamp(firstRow * cols + 1, 1, pageCount());
        const int lastPage = std::clamp((lastRow + 1) * cols, 1, pageCount());
        const auto anchor = chunkOf(firstPage);
        const int within = top - (rowTop(firstRow) - kGap);
        firstChunk = anchor.first;
        lastChunk = chunkOf(lastPage).first;
        const int before = pageCount();
        std::vector<int> estimates;
        for (int c = firstChunk; c <= lastChunk; ++c) {
            estimates.push_back(pagesIn(c));
        }
        bool changed = false;
        for (int c = firstChunk; c <= lastChunk; ++c) {
            if (held_.count(c) == 0) {
                document(c);
                changed = true;
            }
        }
        if (!changed) {
            break;
        }
        if (pageCount() == before) {
            bool same = true;
            for (int c = firstChunk; c <= lastChunk; ++c) {
                same = same && estimates[static_cast<size_t>(c - firstChunk)] == pagesIn(c);
            }
            if (same) {
                break;
            }
        }
        // The page that was at the top stays there.
        updateBars();
        const int page = pageOf(anchor.first, std::min(anchor.second, pagesIn(anchor.first) - 1));
        verticalScrollBar()->setValue(rowTop((page - 1) / cols) - kGap + within);
    }
    // What is far from the view goes: a neighbour on each side stays for paging.
    for (auto it = held_.begin(); it != held_.end();) {
        it = it->first < firstChunk - 1 || it->first > lastChunk + 1 ? held_.erase(it) : std::next(it);
    }
    settling_ = false;
    viewport()->update();
    emit pagesChanged();
}

void PageView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    const int cols = columns();
    const qreal width = cellWidth();
    const qreal height = cellHeight();
    const qreal used = cols * (width + kGap) - kGap;
    const qreal left =
        std::max<qreal>(kGap, (viewport()->width() - used) / 2) - horizontalScrollBar()->value();
    const int top = verticalScrollBar()->value();
    const int pages = pageCount();
    for (int row = static_cast<int>(top / (height + kGap));; ++row) {
        const qreal y = rowTop(row) - top;
        if (y > viewport()->height() || row * cols >= pages) {
            break;
        }
        for (int col = 0; col < cols && row * cols + col < pages; ++col) {
            const QRectF sheet(left + col * (width + kGap), y, width, height);
            painter.fillRect(sheet.translated(3, 3), QColor(0, 0, 0, 80));
            painter.fillRect(sheet, Qt::white);
            const auto [chunk, offset] = chunkOf(row * cols + col + 1);
            QTextDocument* doc = document(chunk);
            if (offset >= doc->pageCount()) {
                continue;  // an estimate not corrected yet
            }
            QTextCursor marked;
            if (chunk == matchChunk_) {
                marked = QTextCursor(doc);
                marked.setPosition(std::min(matchAt_, doc->characterCount() - 1));
                marked.setPosition(std::min(matchAt_ + matchLength_, doc->characterCount() - 1),
                                   QTextCursor::KeepAnchor);
            }
            painter.save();
            painter.translate(sheet.topLeft());
            painter.scale(zoom_, zoom_);
            painter.translate(margin_);
            PaintPage(painter, *doc, offset, &marked);
            painter.restore();
        }
    }
}

void PageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const int page = currentPage();
    setLayoutZoom();
    updateBars();
    setCurrentPage(page);
}

void PageView::scrollContentsBy(int, int) {
    viewport()->update();
    settle();
}

void PageView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    setLayoutZoom();
    updateBars();
    settle();
}

void PageView::print(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw QrvError("Cannot print the report to \"" + printer.outputFileName().toStdString() + "\"");
    }
    painter.scale(printer.width() / style_.page.width(), printer.height() / style_.page.height());
    bool first = true;
    for (int c = 0; c < chunkCount_; ++c) {
        std::unique_ptr<QTextDocument> own;
        QTextDocument* doc = nullptr;
        if (const auto it = held_.find(c); it != held_.end()) {
            doc = it->second.get();
        } else {
            own = makeDocument(c);
            doc = own.get();
        }
        const int pages = std::max(1, doc->pageCount());
        setExact(c, pages);  // known now: the view counts it too
        for (int page = 0; page < pages; ++page) {
            if (!first && !printer.newPage()) {
                throw QrvError("Cannot print the report to \"" + printer.outputFileName().toStdString() +
                               "\"");
            }
            first = false;
            PaintPage(painter, *doc, page);
        }
    }
    painter.end();
    updateBars();
    viewport()->update();
    emit pagesChanged();
}

}  // namespace qrv::gui
