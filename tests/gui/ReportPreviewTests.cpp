#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include "gui/reports/PageView.h"

#include "gui/reports/ReportPreview.h"
#include "reports/ReportRunner.h"
#include "reports/ReportSnapshot.h"
#include "store/TableStore.h"
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
    EXPECT_TRUE(preview.document()->toPlainText().contains(QString::fromUtf8("รายงานผลการตรวจสอบ")));

    EXPECT_TRUE(preview.findText("Company"));
    const int first = preview.foundAt();
    EXPECT_TRUE(preview.findText("Company"));
    const int second = preview.foundAt();
    EXPECT_GT(second, first);
    EXPECT_TRUE(preview.findText("Company"));  // from the top again
    EXPECT_EQ(preview.foundAt(), first);
    EXPECT_FALSE(preview.findText("Nothing like this"));

    // The zoom scales the whole page.
    const qreal size = preview.pages()->zoomFactor();
    preview.zoomIn();
    preview.zoomIn();
    EXPECT_GT(preview.pages()->zoomFactor(), size);
    preview.zoomOut();
    EXPECT_EQ(preview.zoomSteps(), 1);
    // The running text view, for screen readers, finds in step with the pages.
    preview.showTextView();
    ASSERT_NE(preview.textView(), nullptr);
    EXPECT_TRUE(preview.textView()->isVisibleTo(&preview));
    EXPECT_TRUE(preview.findText("again"));
    EXPECT_EQ(preview.textView()->textCursor().selectedText(), "again");

    const QString html = QString::fromStdString((dir / "report.html").string());
    preview.saveHtml(html);
    EXPECT_EQ(readFile(dir / "report.html"), kPage.toStdString());
    const QString pdf = QString::fromStdString((dir / "report.pdf").string());
    preview.savePdf(pdf);
    const std::string bytes = readFile(dir / "report.pdf");
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    // The PDF's title names the report (a UTF-16 text in the document information).
    std::string title;
    for (const QChar c : QStringLiteral("Report - rptResult.frf")) {
        title += static_cast<char>(c.unicode() >> 8);
        title += static_cast<char>(c.unicode() & 0xff);
    }
    EXPECT_NE(bytes.find(title), std::string::npos);

    // Every command of the preview has its key.
    for (const char* name : {"actZoomIn", "actZoomOut", "actFitWidth", "actSinglePage", "actAllPages",
                             "actTextView", "actPreviousPage", "actNextPage", "actFind", "actPrint",
                             "actSavePdf", "actSaveHtml", "actLoad", "actClose"}) {
        auto* action = preview.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_FALSE(action->shortcut().isEmpty()) << name;
    }

    gui::ReportPreview loaded;
    loaded.loadHtml(html);
    EXPECT_EQ(loaded.html(), kPage);
    EXPECT_TRUE(loaded.windowTitle().contains("report.html"));
    EXPECT_THROW(loaded.loadHtml(QString::fromStdString((dir / "missing.html").string())), std::exception);
    EXPECT_THROW(preview.saveHtml(QString::fromStdString((dir / "no" / "such" / "x.html").string())),
                 std::exception);
}

// True when `text` is laid out on one line.
bool onOneLine(const QTextDocument& doc, const QString& text) {
    const QTextCursor match = doc.find(text);
    if (match.isNull()) {
        return false;
    }
    const QTextBlock block = match.block();
    const QTextLayout* layout = block.layout();
    const int from = match.selectionStart() - block.position();
    const int to = match.selectionEnd() - 1 - block.position();
    return layout->lineForTextPosition(from).lineNumber() == layout->lineForTextPosition(to).lineNumber();
}

// Print goes through the system's print dialog.
TEST(ReportPreview, PrintAsksThePrintDialog) {
    gui::ReportPreview preview;
    preview.setPage("rptResult.frf", kPage);
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
}

TEST(ReportPreview, PagesAsTheyPrintWithWordsAndTheHashWhole) {
    const QString hash = QStringLiteral("3F786850E387550FDAB836ED7E6DC881DE23001B");
    const QString thai = QString::fromUtf8("ตรวจสอบ");
    // Narrow cells, where a line must break, and enough rows for several pages.
    QString html = QStringLiteral("<html><body><table width=\"100%\"><tr><td width=\"8%\">") + hash +
                   QStringLiteral("</td><td width=\"6%\">") + QString::fromUtf8("รายงานผลการตรวจสอบ") +
                   QStringLiteral("</td><td>x</td></tr></table><table>");
    for (int row = 0; row < 300; ++row) {
        html += QStringLiteral("<tr><td>%1</td></tr>").arg(row);
    }
    html += QStringLiteral("</table><p>LAST LINE</p></body></html>");
    gui::ReportPreview preview;
    preview.setPage("rptDcpDetail.frf", html);
    EXPECT_TRUE(onOneLine(*preview.document(), hash));
    EXPECT_TRUE(onOneLine(*preview.document(), thai));

    ASSERT_GT(preview.pageCount(), 2);
    EXPECT_EQ(preview.pageCount(), preview.document()->pageCount());  // the preview's pages are the print's
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_TRUE(preview.findText("LAST LINE"));
    EXPECT_EQ(preview.currentPage(), preview.pageCount());
    EXPECT_EQ(preview.findChild<QSpinBox*>("pageNumber")->value(), preview.pageCount());
    preview.findChild<QAction*>("actPreviousPage")->trigger();
    EXPECT_EQ(preview.currentPage(), preview.pageCount() - 1);
}

void fillDetail(TableStore& store, int rows) {
    const TableStore::CommandScope scope(store);
    store.reset("Dcp_Detail");
    for (int row = 1; row <= rows; ++row) {
        store.append("Dcp_Detail", {{"AcNo", std::to_string(1000000000 + row)},
                                    {"Amount", row * 0.25},
                                    {"Name", std::string("ผู้รับเงิน ") + std::to_string(row)}});
    }
}

TEST(ReportPreview, ALargeReportOpensAtItsFirstPageAndItsPdfHasEveryPage) {
    TempDir dir;
    TableStore store(dir.path());
    fillDetail(store, 20000);
    ShownReport report;
    report.layoutFile = "rptDcpDetail.frf";
    report.templateText = readFile(std::filesystem::path(QRV_SOURCE_REPORTS) / "rptDcpDetail.frf");
    report.store = &store;
    gui::ReportPreview preview;
    preview.resize(1000, 800);
    preview.setSnapshot(ReportSnapshot::take(report));
    preview.show();
    QApplication::processEvents();
    gui::PageView* view = preview.pages();
    ASSERT_GT(view->chunkCount(), 50);
    EXPECT_LE(view->layouts(), 3);  // page 1 and what is beside it, not the report
    const int estimated = preview.pageCount();
    EXPECT_GT(estimated, 300);
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_TRUE(preview.document()->toPlainText().contains("Reformat Detail Report"));

    preview.findChild<QSpinBox*>("pageNumber")->setValue(estimated);  // to the end
    QApplication::processEvents();
    EXPECT_TRUE(preview.document()->toPlainText().contains("end of report"));
    EXPECT_EQ(preview.currentPage(), preview.pageCount());
    EXPECT_LE(view->layouts(), 8);
    EXPECT_LE(view->heldChunks(), 4);
    // Find goes on from the current page, chunk by chunk, round to the top.
    EXPECT_TRUE(preview.findText("1000000002"));
    EXPECT_EQ(preview.currentPage(), 1);

    fillDetail(store, 2000);  // a PDF of fewer pages, still many chunks
    preview.setSnapshot(ReportSnapshot::take(report));
    ASSERT_GT(view->chunkCount(), 5);
    const QString pdf = QString::fromStdString((dir / "large.pdf").string());
    preview.savePdf(pdf);
    const std::string bytes = readFile(dir / "large.pdf");
    size_t sheets = 0;
    for (size_t at = bytes.find("/Type /Page"); at != std::string::npos;
         at = bytes.find("/Type /Page", at + 1)) {
        sheets += bytes.compare(at, 12, "/Type /Pages") != 0 ? 1 : 0;
    }
    EXPECT_EQ(static_cast<int>(sheets), preview.pageCount());  // every page, the count now exact
    EXPECT_EQ(preview.pageCount(), view->pageOf(view->chunkCount() - 1, 0) +
                                       view->document(view->chunkCount() - 1)->pageCount() - 1);
}

TEST(ReportPreview, ProposesAPdfNamedAfterTheRunBesideItsDestination) {
    EXPECT_EQ(gui::ProposedPdfPath("rptResult.frf", "/data/out/DCP_1208.txt", "/data/in/pay.txt"),
              "/data/out/DCP_1208-rptResult.pdf");
    EXPECT_EQ(gui::ProposedPdfPath("rptHash.frf", "", "/data/in/dd.txt"), "/data/in/dd-rptHash.pdf");
    EXPECT_EQ(gui::ProposedPdfPath("rptHash.frf", "", ""), "rptHash.pdf");
    EXPECT_EQ(gui::WithPdfSuffix("/x/result-report"), "/x/result-report.pdf");
    EXPECT_EQ(gui::WithPdfSuffix("/x/result.PDF"), "/x/result.PDF");
}

}  // namespace
}  // namespace qrv::test
