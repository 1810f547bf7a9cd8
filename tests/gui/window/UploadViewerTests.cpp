#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "gui/GuiFixture.h"
#include "gui/app/MainWindow.h"
#include "gui/window/SourceViewer.h"

// Window > Open upload file...: the records with the field under the cursor named by the upload layouts,
// the faults listed and marked, the check's result above.
namespace qrv::test {
namespace {

std::string examplesUpload(const std::string& run, const std::string& name) {
    return std::string(QRV_SOURCE_TESTS) + "/cli/golden/" + run + "/out/" + name;
}

TEST(UploadViewer, ShowsTheCheckAndNamesTheFieldUnderTheCursor) {
    GuiFixture f;
    ASSERT_NE(f.main().findChild<QAction*>(QStringLiteral("actOpenUploadFile")), nullptr);
    gui::SourceViewer* viewer =
        f.main().openUploadFile(QString::fromStdString(examplesUpload("01-reformat-DCP-ACME01", "dcp.txt")));
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->objectName(), QStringLiteral("UploadViewer"));
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Upload file - dcp.txt"));
    const QString heading = viewer->heading()->text();
    EXPECT_TRUE(heading.contains(QStringLiteral("\nNo fault found\nProduct: DCP   Company: ACME01")))
        << heading.toStdString();
    EXPECT_EQ(viewer->entryList()->count(), 0);

    QPlainTextEdit* text = viewer->sourceText();
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(text->document()->findBlockByNumber(3).position() + 39);
    text->setTextCursor(cursor);
    EXPECT_EQ(viewer->fieldLine()->text(),
              "Line 4, column 40: Credit amount (columns 35-50, amount, 3 decimals)");
    cursor.setPosition(5);
    text->setTextCursor(cursor);
    EXPECT_EQ(viewer->fieldLine()->text(),
              "Line 1, column 6: the hash line, the SHA-1 of the lines after it");
    viewer->close();
}

TEST(UploadViewer, ListsEveryFaultAndTakesThePersonToIt) {
    GuiFixture f;
    TempDir dir;
    std::string upload = readFile(examplesUpload("11-reformat-DDR-V5CORP01", "ddr.txt"));
    upload.replace(upload.find("\r\n999") + 2 + 15, 1, "9");  // the trailer's total, first digit
    writeFile(dir / "ddr.txt", upload);
    gui::SourceViewer* viewer = f.main().openUploadFile(QString::fromStdString((dir / "ddr.txt").string()));
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->heading()->text().contains(QStringLiteral("2 faults found")))
        << viewer->heading()->text().toStdString();
    ASSERT_EQ(viewer->entryList()->count(), 2);  // the hash, the total
    viewer->entryList()->setCurrentRow(1);
    EXPECT_EQ(viewer->sourceText()->textCursor().selectedText(), QStringLiteral("9000000001850500"));
    EXPECT_TRUE(viewer->fieldLine()->text().startsWith(QStringLiteral("Line 7, column 16: Total amount")));
    viewer->close();
    std::filesystem::remove(dir / "ddr.txt");

    EXPECT_EQ(f.main().openUploadFile(QString::fromStdString(dir.path().string())), nullptr);
    EXPECT_FALSE(f.messageTexts().empty());
}

}  // namespace
}  // namespace qrv::test
