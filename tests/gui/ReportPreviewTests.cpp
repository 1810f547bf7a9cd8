#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QTextBrowser>
#include <QTimer>

#include "gui/reports/ReportPreview.h"
#include "support/TestSupport.h"

namespace qrv::test {
namespace {

const QString kPage = QString::fromUtf8(
    "<html><body><h1>รายงานผลการตรวจสอบ</h1><p>Company ABC</p><p>Total 1,234.50</p>"
    "<p>Company again</p></body></html>");

TEST(ReportPreview, ShowsFindsZoomsAndSaves) {
    TempDir dir;
    gui::ReportPreview preview;
    preview.setPage("rptResult.frf", kPage);
    EXPECT_TRUE(preview.windowTitle().contains("rptResult.frf"));
    EXPECT_TRUE(preview.browser()->toPlainText().contains(QString::fromUtf8("รายงานผลการตรวจสอบ")));

    EXPECT_TRUE(preview.findText("Company"));
    const int first = preview.browser()->textCursor().selectionStart();
    EXPECT_TRUE(preview.findText("Company"));
    const int second = preview.browser()->textCursor().selectionStart();
    EXPECT_GT(second, first);
    EXPECT_TRUE(preview.findText("Company"));  // from the top again
    EXPECT_EQ(preview.browser()->textCursor().selectionStart(), first);
    EXPECT_FALSE(preview.findText("Nothing like this"));

    const qreal size = preview.browser()->font().pointSizeF();
    preview.zoomIn();
    preview.zoomIn();
    EXPECT_GT(preview.browser()->font().pointSizeF(), size);
    preview.zoomOut();
    EXPECT_EQ(preview.zoomSteps(), 1);

    const QString html = QString::fromStdString((dir / "report.html").string());
    preview.saveHtml(html);
    EXPECT_EQ(readFile(dir / "report.html"), kPage.toStdString());
    const QString pdf = QString::fromStdString((dir / "report.pdf").string());
    preview.savePdf(pdf);
    EXPECT_EQ(readFile(dir / "report.pdf").substr(0, 5), "%PDF-");

    // Every command of the preview has its key.
    for (const char* name : {"actZoomIn", "actZoomOut", "actFind", "actPrint", "actSavePdf", "actSaveHtml",
                             "actLoad", "actClose"}) {
        auto* action = preview.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_FALSE(action->shortcut().isEmpty()) << name;
    }
    // Print goes through the system's print dialog.
    bool asked = false;
    QTimer::singleShot(0, [&asked] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        asked = dialog != nullptr;
        if (dialog != nullptr) {
            dialog->reject();
        }
    });
    auto* print = preview.findChild<QAction*>("actPrint");
    ASSERT_NE(print, nullptr);
    print->trigger();
    EXPECT_TRUE(asked);

    gui::ReportPreview loaded;
    loaded.loadHtml(html);
    EXPECT_EQ(loaded.html(), kPage);
    EXPECT_TRUE(loaded.windowTitle().contains("report.html"));
    EXPECT_THROW(loaded.loadHtml(QString::fromStdString((dir / "missing.html").string())), std::exception);
    EXPECT_THROW(preview.saveHtml(QString::fromStdString((dir / "no" / "such" / "x.html").string())),
                 std::exception);
}

}  // namespace
}  // namespace qrv::test
