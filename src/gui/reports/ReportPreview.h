#pragma once

#include <QDialog>
#include <QPrinter>
#include <QString>
#include <memory>

class QLabel;
class QLineEdit;
class QPrintPreviewWidget;
class QAction;
class QSpinBox;
class QStackedWidget;
class QTextBrowser;
class QTextDocument;
class QWidget;

namespace qrv::gui {

// The PDF file proposed for a report: "<run>-<layout>.pdf" in the folder of the run's destination (the
// source's when there is none), the run named by that file without its extension.
QString ProposedPdfPath(const QString& layoutFile, const QString& destination, const QString& source);
// The name typed in the Save dialog with ".pdf" added when it has no such ending.
QString WithPdfSuffix(const QString& file);

// The preview of a rendered report, in pages as they print: page view (one page or all), page number,
// fit width and zoom of the whole page, find, print through the system's print dialog, save as PDF or
// HTML, load a saved page, close. A text view shows the report as running text that a screen reader
// reads; it is the first view while assistive technology is active. Lines break only between words, so a Thai
// word or a 40-digit hash stays whole. Shown without blocking or modally, as the runner asks.
class ReportPreview : public QDialog {
    Q_OBJECT
  public:
    explicit ReportPreview(QWidget* parent = nullptr);
    ~ReportPreview() override;

    // The page to show; `layout` names it in the title and the PDF's title.
    void setPage(const QString& layout, const QString& html);
    QString html() const { return html_; }
    QTextDocument* document() const { return document_.get(); }
    QPrintPreviewWidget* pages() const { return pages_; }
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
    // Finds the next occurrence (from the top again after the last one) and shows its page; false when
    // there is none. foundAt() is the match's position in the document.
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
    void paginate();
    void showPage(int page);
    void pageShown();

    std::unique_ptr<QTextDocument> document_;
    QPrinter printer_;
    QStackedWidget* views_;
    QPrintPreviewWidget* pages_;
    QTextBrowser* text_ = nullptr;
    QSpinBox* pageNumber_;
    QLabel* pageTotal_;
    QWidget* findBar_;
    QLineEdit* findEdit_;
    QString html_;
    QString title_;
    QString proposedPdf_;
    int zoom_ = 0;
    int found_ = -1;
};

}  // namespace qrv::gui
