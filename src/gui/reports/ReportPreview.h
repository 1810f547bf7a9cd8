#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QTextBrowser;
class QWidget;

namespace qrv::gui {

// The preview of a rendered report: zoom, find, print through the system's print dialog, save as PDF
// or HTML, load a saved page, close. Shown without blocking or modally, as the runner asks.
class ReportPreview : public QDialog {
    Q_OBJECT
  public:
    explicit ReportPreview(QWidget* parent = nullptr);

    // The page to show; `layout` names it in the title.
    void setPage(const QString& layout, const QString& html);
    QString html() const { return html_; }
    QTextBrowser* browser() const { return browser_; }

    void zoomIn();
    void zoomOut();
    int zoomSteps() const { return zoom_; }
    // Finds the next occurrence (from the top again after the last one); false when there is none.
    bool findText(const QString& text);
    void saveHtml(const QString& file);
    void savePdf(const QString& file);
    void loadHtml(const QString& file);

  private:
    void print();
    void askSavePdf();
    void askSaveHtml();
    void askLoad();
    void showFind();

    QTextBrowser* browser_;
    QWidget* findBar_;
    QLineEdit* findEdit_;
    QString html_;
    int zoom_ = 0;
};

}  // namespace qrv::gui
