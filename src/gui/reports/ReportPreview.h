#pragma once

#include <QDialog>
#include <QPrinter>
#include <QString>
#include <memory>

class QLabel;
class QLineEdit;
class QAction;
class QSpinBox;
class QStackedWidget;
class QTextBrowser;
class QTextDocument;
class QWidget;

namespace qrv {
class ReportPages;
class ReportSnapshot;
}  // namespace qrv

namespace qrv::gui {

class PageView;

// The PDF file proposed for a report: "<run>-<layout>.pdf" in the folder of the run's destination (the
// source's when there is none), the run named by that file without its extension.
QString ProposedPdfPath(const QString& layoutFile, const QString& destination, const QString& source);
// The name typed in the Save dialog with ".pdf" added when it has no such ending.
QString WithPdfSuffix(const QString& file);

// The preview of a report, in pages as they print: page view (one page or pages side by side), page
// number, fit width and zoom of the whole page, find, print through the system's print dialog, save as
// PDF or HTML, load a saved page, close. A report taken as a snapshot is shown in chunks of rows laid out
// only as their pages come on screen (PageView), so a report of any length opens at once and what is
// held stays a few chunks; printing and the PDF go page by page, the HTML is streamed to its file. A text
// view shows the chunk of the current page as running text that a screen reader reads; it is the first
// view while assistive technology is active. Lines break only between words, so a Thai word or a 40-digit
// hash stays whole. Shown without blocking or modally, as the runner asks.
class ReportPreview : public QDialog {
    Q_OBJECT
  public:
    explicit ReportPreview(QWidget* parent = nullptr);
    ~ReportPreview() override;

    // The report to show, rendered chunk by chunk from the snapshot.
    void setSnapshot(std::shared_ptr<const ReportSnapshot> snapshot);
    // A rendered page to show; `layout` names it in the title and the PDF's title.
    void setPage(const QString& layout, const QString& html);
    // The whole report as one page.
    QString html() const;
    // The document of the current page's chunk, laid out.
    QTextDocument* document() const;
    PageView* pages() const { return pages_; }
    // The running text view; made when first shown.
    QTextBrowser* textView() const { return text_; }
    void showTextView();
    int pageCount() const;
    int currentPage() const;
    void setProposedPdfPath(const QString& path) { proposedPdf_ = path; }
    QString proposedPdfPath() const { return proposedPdf_; }

    void zoomIn();
    void zoomOut();
    void fitWidth();
    int zoomSteps() const { return zoom_; }
    // Finds the next occurrence after the last one found, or from the current page, chunk by chunk (from
    // the top again after the last one), and shows its page; false when there is none. foundAt() is the
    // match's position in its chunk's document.
    bool findText(const QString& text);
    int foundAt() const { return found_; }
    void saveHtml(const QString& file);
    void savePdf(const QString& file);
    void loadHtml(const QString& file);

  private:
    void print();
    void askSavePdf();
    void askSaveHtml();
    void askLoad();
    void showFind();
    void showPage(int page);
    void pageShown();
    void display(const QString& layout);
    // The text view holds the chunk of the current page (or `chunk`).
    void fillTextView(int chunk);

    std::shared_ptr<const ReportPages> report_;
    QPrinter printer_;
    QStackedWidget* views_;
    PageView* pages_;
    QTextBrowser* text_ = nullptr;
    QSpinBox* pageNumber_;
    QLabel* pageTotal_;
    QWidget* findBar_;
    QLineEdit* findEdit_;
    QString html_;  // a loaded or given page (no snapshot)
    QString title_;
    int textChunk_ = -1;
    int foundChunk_ = 0;
    QString proposedPdf_;
    int zoom_ = 0;
    int found_ = -1;
};

}  // namespace qrv::gui
