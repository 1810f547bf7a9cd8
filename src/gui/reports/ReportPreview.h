#pragma once

#include <QDialog>
#include <QPrinter>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "gui/reports/PagePlan.h"

class QLabel;
class QLineEdit;
class QAction;
class QKeySequence;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTextBrowser;
class QTextDocument;
class QToolBar;
class QWidget;

namespace qrv {
class ReportPages;
class ReportSnapshot;
}  // namespace qrv

namespace qrv::gui {

class BackgroundJob;
class PageView;
class RunningText;

// The PDF file proposed for a report: "<run>-<layout>.pdf" in the folder of the run's destination (the
// source's when there is none), the run named by that file without its extension.
QString ProposedPdfPath(const QString& layoutFile, const QString& destination, const QString& source);
// The name typed in the Save dialog with ".pdf" added when it has no such ending.
QString WithPdfSuffix(const QString& file);
// The title an HTML page gives itself (its <title>), as plain text; empty when it gives none.
QString HtmlTitle(const QString& html);

// The preview of a report, in pages as they print: page view (one page or pages side by side), page
// number, fit width and zoom of the whole page, find, print through the system's print dialog, save as
// PDF or HTML, load a saved page, close. A report taken as a snapshot is shown in chunks that end where
// pages end (PagePlan), laid out only as their pages come on screen (PageView), so a report of any length
// opens at once and what is held stays a few chunks. Find and Save as PDF run beside the window's thread
// with their progress and a Cancel: the window keeps answering. The found text is highlighted; a saved PDF
// is named with its path and can be opened at once. Printing goes page by page and the HTML is streamed
// to its file. A text view shows the chunk of the current page as running text that a screen reader
// reads; it is the first view while assistive technology is active. Lines break only between words, so a
// Thai word or a 40-digit hash stays whole. The window and the PDF are titled with the report's own title.
// Shown without blocking or modally, as the runner asks.
class ReportPreview : public QDialog {
    Q_OBJECT
  public:
    explicit ReportPreview(QWidget* parent = nullptr);
    ~ReportPreview() override;

    // The report to show, rendered chunk by chunk from the snapshot; its pages are prepared beside the
    // window's thread (pagesReady tells when they are there).
    void setSnapshot(std::shared_ptr<const ReportSnapshot> snapshot);
    bool ready() const { return ready_; }
    // The snapshot shown, once its pages are there; none for a loaded or given page.
    std::shared_ptr<const ReportSnapshot> snapshot() const {
        return report_ ? report_->sharedSnapshot() : nullptr;
    }
    // Waits, the window's events going on, until the pages are there (or could not be prepared, which
    // the window says in their place).
    void waitUntilReady();
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
    // Starts finding the next occurrence after the last one found, or from the current page, chunk by
    // chunk (from the top again after the last one); findFinished tells whether it was found, and then
    // its page is shown with the text highlighted. foundAt() is the match's position in its chunk's
    // document.
    void startFind(const QString& text);
    // The same, waiting for the answer while the window's events go on.
    bool findText(const QString& text);
    int foundAt() const { return found_; }
    int foundChunk() const { return foundChunk_; }
    // Starts writing the PDF beside the window; pdfFinished tells how it ended.
    void startSavePdf(const QString& file);
    // The same, waiting for the end; throws QrvError when the file cannot be written.
    void savePdf(const QString& file);
    // True while a find or a PDF runs; cancel() stops them.
    bool busy() const;
    void cancel();
    void saveHtml(const QString& file);
    void loadHtml(const QString& file);

  signals:
    void pagesReady();
    void findProgress(int searched, int chunks);
    void findFinished(bool found);
    void pdfProgress(int drawn, int chunks);
    // `pages` written; nothing written when `error` says why or (both empty) the saving was cancelled.
    void pdfFinished(const QString& file, int pages, const QString& error);

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // A tool of `bar` with its shortcut named in its tool tip.
    template <typename Slot>
    QAction* addTool(QToolBar* bar, const QString& text, const QKeySequence& key, const char* name,
                     Slot slot);
    QToolBar* fileTools();
    QToolBar* pageViewTools(QAction*& textView);
    void buildFindBar();
    void print();
    void askSavePdf();
    void askSaveHtml();
    void askLoad();
    void showFind();
    void findNext();
    void foundText(int chunk, int position, int length);
    // No match highlighted, and the next search starts from the current page.
    void clearFound();
    // Says where the PDF went, with a button that opens it.
    void sayPdfSaved(const QString& file, int pages);
    void showPage(int page);
    void pageNext();
    void pageShown();
    // A new report: its title; what ran over the one before ends.
    void begin(const QString& layout, const QString& title);
    // Names the window, the print job and the pages after the report's title, or its layout without one.
    void setTitle(const QString& layout, const QString& title);
    // The pages are there (or being prepared): the commands over them answer (or wait).
    void setReady(bool ready);
    // The text view holds the chunk of the current page (or `chunk`).
    void fillTextView(int chunk);
    QString chunkHtml(int chunk) const;
    // What a job renders chunks with on its own thread.
    std::function<std::function<QString(int)>()> chunkSource() const;

    std::shared_ptr<const ReportPages> report_;
    std::vector<PlannedChunk> plan_;
    QPrinter printer_;
    QStackedWidget* views_;
    PageView* pages_;
    QTextBrowser* text_ = nullptr;
    QSpinBox* pageNumber_;
    QLabel* pageTotal_;
    QWidget* findBar_;
    QLineEdit* findEdit_;
    QPushButton* findNext_;
    QProgressBar* findProgress_;
    QPushButton* findCancel_;
    QString html_;  // a loaded or given page (no snapshot)
    QString title_;
    int textChunk_ = -1;
    std::unique_ptr<RunningText> textRun_;  // what the text view shows, with its positions
    int foundChunk_ = 0;
    QString proposedPdf_;
    int zoom_ = 0;
    int found_ = -1;
    bool lastFound_ = false;
    QLabel* preparingLabel_ = nullptr;
    QWidget* shownView_ = nullptr;  // the view to show once the pages are there
    bool ready_ = false;
    bool prepared_ = false;  // ready, or the preparing failed
    std::unique_ptr<BackgroundJob> preparing_;
    std::unique_ptr<BackgroundJob> finding_;
    std::unique_ptr<BackgroundJob> saving_;
    int prepareRun_ = 0;  // the preparing, search and PDF whose answers count
    int findRun_ = 0;
    int pdfRun_ = 0;
};

}  // namespace qrv::gui
