#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <memory>

#include "gui/reports/PagePlan.h"
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
    preview.waitUntilReady();
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
    preview.waitUntilReady();
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

ShownReport layoutReport(TableStore& store, const std::string& layout) {
    ShownReport report;
    report.layoutFile = layout;
    report.templateText = readFile(std::filesystem::path(QRV_SOURCE_REPORTS) / layout);
    report.store = &store;
    return report;
}

// The Direct Credit detail report of `rows` rows, shown in a preview of 1000 by 800.
struct DetailPreview {
    explicit DetailPreview(int rows) {
        fillDetail(store, rows);
        preview.resize(1000, 800);
        preview.setSnapshot(ReportSnapshot::take(layoutReport(store, "rptDcpDetail.frf")));
        preview.show();
        preview.waitUntilReady();
    }
    TempDir dir;
    TableStore store{dir.path()};
    gui::ReportPreview preview;
};

// Counts the turns of the window's event loop while it runs; `also` runs on each.
struct EventTurns {
    explicit EventTurns(std::function<void()> also = {}) {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this, also] {
            ++turns;
            if (also) {
                also();
            }
        });
        timer.start();
    }
    int turns = 0;
    QTimer timer;
};

// Counts the pixels of the found-text highlight in what the page view shows.
int highlighted(gui::PageView* view) {
    const QImage shown = view->viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            count += shown.pixelColor(x, y) == QColor(255, 200, 0) ? 1 : 0;
        }
    }
    return count;
}

// A one-page report at Fit Width is taller than the window: its bottom (the rejected entries and their
// total) is reached with the scroll bar, the wheel, the arrows, Page Down and End.
TEST(ReportPreview, AOnePageReportScrollsToItsBottom) {
    TempDir dir;
    TableStore store(dir.path());
    ShownReport report = layoutReport(store, "rptResult.frf");
    report.variables = {{"PayType", "Direct Credit"}, {"CusCap", "Company Name : "}, {"TotalReject", "2"}};
    gui::ReportPreview preview;
    preview.resize(1000, 700);
    preview.setSnapshot(ReportSnapshot::take(report));
    preview.show();
    preview.waitUntilReady();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    ASSERT_EQ(preview.pageCount(), 1);
    gui::PageView* view = preview.pages();
    QScrollBar* bar = view->verticalScrollBar();
    for (const char* mode : {"actSinglePage", "actAllPages"}) {
        SCOPED_TRACE(mode);
        preview.findChild<QAction*>(mode)->trigger();
        preview.findChild<QAction*>("actFitWidth")->trigger();
        QApplication::processEvents();
        bar->setValue(0);
        ASSERT_GT(bar->maximum(), 0);
        EXPECT_TRUE(bar->isVisible());
        QTest::keyClick(view, Qt::Key_Down);
        const int down = bar->value();
        EXPECT_GT(down, 0);
        QWheelEvent wheel(QPointF(50, 50), view->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        EXPECT_GT(bar->value(), down);
        bar->setValue(0);
        preview.findChild<QAction*>("actNextPage")->trigger();  // Page Down on the last page reads on
        EXPECT_GT(bar->value(), 0);
        QTest::keyClick(view, Qt::Key_End);
        EXPECT_EQ(bar->value(), bar->maximum());
        QTest::keyClick(view, Qt::Key_Home);
        EXPECT_EQ(bar->value(), 0);
    }
    EXPECT_EQ(preview.windowTitle(), "Reformat Result Report");  // the report, not its layout file
}

// Where the chunks of a large report end is found beside the window's thread, which says meanwhile that
// the pages are being prepared and keeps answering; the commands over the pages wait for them.
TEST(ReportPreview, ALargeReportsPagesArePreparedBesideTheWindow) {
    TempDir dir;
    TableStore store(dir.path());
    fillDetail(store, 20000);
    gui::ReportPreview preview;
    preview.resize(1000, 800);
    preview.setSnapshot(ReportSnapshot::take(layoutReport(store, "rptDcpDetail.frf")));
    preview.show();
    EXPECT_FALSE(preview.ready());
    auto* preparing = preview.findChild<QLabel*>("preparing");
    ASSERT_NE(preparing, nullptr);
    EXPECT_TRUE(preparing->isVisible());
    EXPECT_EQ(preparing->text(), "Preparing the pages...");
    for (const char* name : {"actSavePdf", "actFind", "actPrint", "actNextPage"}) {
        EXPECT_FALSE(preview.findChild<QAction*>(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(preview.findChild<QAction*>("actClose")->isEnabled());
    {
        const EventTurns turns;
        preview.waitUntilReady();
        EXPECT_GT(turns.turns, 0);
    }
    EXPECT_TRUE(preview.ready());
    EXPECT_FALSE(preparing->isVisible());
    EXPECT_TRUE(preview.pages()->isVisible());
    EXPECT_TRUE(preview.findChild<QAction*>("actSavePdf")->isEnabled());
    EXPECT_GT(preview.pageCount(), 300);
    EXPECT_EQ(preview.findChild<QLabel*>("pageCount")->text(),
              QStringLiteral(" of %1 ").arg(preview.pageCount()));

    // A plan no longer wanted (the report closed or replaced) ends at once.
    const ReportPages pages(ReportSnapshot::take(layoutReport(store, "rptDcpDetail.frf")));
    const gui::PageStyle style = preview.pages()->style();
    int laidOut = 0;
    const auto layOut = [&style, &laidOut](const QString& html) {
        ++laidOut;
        return style.layOut(html);
    };
    EXPECT_GT(gui::PagePlan::make(pages, layOut).size(), 20u);
    laidOut = 0;
    EXPECT_EQ(
        gui::PagePlan::make(pages, layOut, ReportPages::kRowsPerChunk, [&laidOut] { return laidOut > 0; })
            .size(),
        1u);
    EXPECT_EQ(laidOut, 1);

    // A command given before the pages are there waits for them; a report shown in the meantime drops
    // the pages of the one before.
    preview.setSnapshot(ReportSnapshot::take(layoutReport(store, "rptDcpDetail.frf")));
    EXPECT_TRUE(preview.findText(QString::fromUtf8("ผู้รับเงิน 19990")));
    EXPECT_TRUE(preview.ready());
    preview.setSnapshot(ReportSnapshot::take(layoutReport(store, "rptDcpDetail.frf")));
    preview.setPage("rptResult.frf", kPage);
    EXPECT_TRUE(preview.ready());
    QApplication::processEvents();  // what the dropped preparing posted
    EXPECT_EQ(preview.pageCount(), 1);
    EXPECT_TRUE(preview.document()->toPlainText().contains("Company ABC"));
}

// Find goes through the chunks beside the window's thread, which keeps answering; the match is shown
// highlighted on its page. Cancel stops a search.
TEST(ReportPreview, FindRunsBesideTheWindowAndHighlightsTheMatch) {
    DetailPreview shown(20000);
    gui::ReportPreview& preview = shown.preview;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    EXPECT_EQ(highlighted(preview.pages()), 0);
    {
        const EventTurns turns;
        EXPECT_TRUE(preview.findText(QString::fromUtf8("ผู้รับเงิน 19990")));
        EXPECT_GT(turns.turns, 0);  // the window's events went on meanwhile
    }
    EXPECT_GT(preview.currentPage(), preview.pageCount() * 9 / 10);
    QApplication::processEvents();
    EXPECT_GT(highlighted(preview.pages()), 20);
    EXPECT_TRUE(preview.document()->find(QString::fromUtf8("ผู้รับเงิน 19990")).selectionStart() ==
                preview.foundAt());

    bool finished = false;
    bool found = true;
    QObject::connect(&preview, &gui::ReportPreview::findFinished, [&](bool f) {
        finished = true;
        found = f;
    });
    preview.startFind("no such text anywhere");
    EXPECT_TRUE(preview.busy());
    preview.cancel();
    QTRY_VERIFY(finished);
    EXPECT_FALSE(found);
    EXPECT_FALSE(preview.busy());
}

// Find brings the matching line itself into view, not only the top of its page; a text found nowhere
// leaves no highlight of an earlier match.
TEST(ReportPreview, FindShowsTheMatchItselfAndNotFoundClearsTheHighlight) {
    DetailPreview shown(120);
    gui::ReportPreview& preview = shown.preview;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    // An account in the lower part of the first page: below the window's edge when the page shows from
    // its top.
    QTextDocument* doc = preview.document();
    const qreal pageHeight = doc->pageSize().height();
    QString low;
    for (int row = 1; row <= 120 && low.isEmpty(); ++row) {
        const QString account = QString::number(1000000000 + row);
        const QTextCursor at = doc->find(account);
        ASSERT_FALSE(at.isNull()) << account.toStdString();
        const qreal y = doc->documentLayout()->blockBoundingRect(at.block()).top();
        if (y > pageHeight * 0.8 && y < pageHeight) {
            low = account;
        }
    }
    ASSERT_FALSE(low.isEmpty());
    ASSERT_GT(pageHeight * preview.pages()->zoomFactor() * 0.8, preview.pages()->viewport()->height());
    ASSERT_TRUE(preview.findText(low));
    QApplication::processEvents();
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_GT(highlighted(preview.pages()), 20);

    EXPECT_FALSE(preview.findText("no such text anywhere"));
    QApplication::processEvents();
    EXPECT_EQ(highlighted(preview.pages()), 0);
}

// The Text view reads as running text to a screen reader: a table row is a line of cells separated by
// tabs, without the document's marks around tables and cells; Find selects the match there too.
TEST(ReportPreview, TheTextViewReadsTableRowsAsLinesOfCells) {
    DetailPreview shown(30);
    gui::ReportPreview& preview = shown.preview;
    preview.showTextView();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(preview.textView());
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->textInterface(), nullptr);
    const QString read = view->textInterface()->text(0, view->textInterface()->characterCount());
    EXPECT_FALSE(read.contains(QChar(0xFDD0)));
    EXPECT_FALSE(read.contains(QChar(0xFDD1)));
    EXPECT_FALSE(read.contains(QChar::ParagraphSeparator));
    const QStringList lines = read.split(QLatin1Char('\n'));
    const auto row =
        std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.contains("1000000007"); });
    ASSERT_NE(row, lines.end()) << read.toStdString();
    EXPECT_TRUE(row->contains(QLatin1Char('\t'))) << row->toStdString();
    EXPECT_TRUE(row->contains(QString::fromUtf8("ผู้รับเงิน 7"))) << row->toStdString();
    ASSERT_TRUE(preview.findText("1000000012"));
    EXPECT_EQ(preview.textView()->textCursor().selectedText(), "1000000012");
}

// Save as PDF runs beside the window: its end names the file and offers to open it; a cancelled one
// leaves an earlier file of that name as it was.
TEST(ReportPreview, APdfIsWrittenBesideTheWindowAndSaidWithItsPath) {
    DetailPreview shown(1500);
    gui::ReportPreview& preview = shown.preview;
    const TempDir& dir = shown.dir;
    const QString saved = QString::fromStdString((dir / "detail").string());
    QString said;
    bool offeredOpen = false;
    auto turns = std::make_unique<EventTurns>([&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            dialog->selectFile(saved);
            static_cast<QDialog*>(dialog)->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->objectName() == "pdfSaved") {
            said = box->text();
            const QList<QAbstractButton*> buttons = box->buttons();
            offeredOpen = std::any_of(buttons.begin(), buttons.end(),
                                      [](QAbstractButton* b) { return b->text().remove('&') == "Open"; });
            box->button(QMessageBox::Ok)->click();
        }
    });
    preview.findChild<QAction*>("actSavePdf")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!said.isEmpty(), 300000);
    EXPECT_GT(turns->turns, 10);
    turns.reset();
    EXPECT_TRUE(said.contains(saved + ".pdf")) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("(%1 pages)").arg(preview.pageCount()))) << said.toStdString();
    EXPECT_TRUE(offeredOpen);
    const std::string bytes = readFile(dir / "detail.pdf");
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");

    test::writeFile(dir / "keep.pdf", "an earlier file");
    int pages = -1;
    QString error = "none";
    QObject::connect(&preview, &gui::ReportPreview::pdfFinished,
                     [&](const QString&, int p, const QString& e) {
                         pages = p;
                         error = e;
                     });
    preview.startSavePdf(QString::fromStdString((dir / "keep.pdf").string()));
    preview.cancel();
    QTRY_COMPARE_WITH_TIMEOUT(pages, 0, 60000);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(readFile(dir / "keep.pdf"), "an earlier file");
}

// The bottom of the last table row of a laid-out chunk, as a share of its last page.
double lastPageFilled(QTextDocument* doc) {
    QTextTable* last = nullptr;
    for (QTextFrame* frame : doc->rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            last = table;
        }
    }
    const QTextBlock block = last->cellAt(last->rows() - 1, 0).firstCursorPosition().block();
    const qreal bottom = doc->documentLayout()->blockBoundingRect(block).bottom();
    const qreal page = doc->pageSize().height();
    return (bottom - (doc->pageCount() - 1) * page) / page;
}

// Every chunk of the detail report has the layout's look (grid lines, amounts to the right), ends with a
// full page, and the page count given at once is the one found at the end.
TEST(ReportPreview, TheDetailReportLooksTheSameOnEveryPageAndCountsItsPagesOnce) {
    DetailPreview shown(20000);
    gui::ReportPreview& preview = shown.preview;
    QApplication::processEvents();
    EXPECT_EQ(preview.windowTitle(), "Reformat Detail Report");
    gui::PageView* view = preview.pages();
    const int counted = preview.pageCount();
    ASSERT_GT(view->chunkCount(), 20);
    for (const int chunk : {0, 1, 2, view->chunkCount() / 2, view->chunkCount() - 2}) {
        SCOPED_TRACE(chunk);
        QTextDocument* doc = view->document(chunk);
        // The last data row of the chunk's listing: an amount in a grid cell, to the right.
        QTextTable* listing = nullptr;
        for (QTextFrame* frame : doc->rootFrame()->childFrames()) {
            if (auto* table = qobject_cast<QTextTable*>(frame); table != nullptr && table->columns() == 4) {
                listing = table;
            }
        }
        ASSERT_NE(listing, nullptr);
        const QTextTableCell amount = listing->cellAt(listing->rows() - 1, 3);
        EXPECT_GT(amount.format().toTableCellFormat().rightBorder(), 0) << "grid lines";
        EXPECT_TRUE(amount.firstCursorPosition().blockFormat().alignment() & Qt::AlignRight)
            << "amounts to the right";
        EXPECT_GT(lastPageFilled(doc), 0.9);
    }
    preview.findChild<QSpinBox*>("pageNumber")->setValue(counted);  // to the end
    QApplication::processEvents();
    EXPECT_EQ(preview.currentPage(), counted);
    EXPECT_EQ(preview.pageCount(), counted);
    EXPECT_TRUE(preview.document()->toPlainText().contains("end of report"));
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
