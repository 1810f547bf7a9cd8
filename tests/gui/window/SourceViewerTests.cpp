#include <gtest/gtest.h>

#include <QGlyphRun>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTextLine>
#include <QToolTip>

#include "base/Cp874.h"
#include "gui/GuiFixture.h"
#include "gui/window/SourceViewer.h"

// Thai in the source viewer: each letter with its vowels and tone marks drawn as one shaped cell, also
// where a rejected field's columns begin or end on a mark; and the field under the cursor, in words.
namespace qrv::test {
namespace {

// Letters each carrying a vowel and a tone mark above or below: one cell each in a monospaced face.
const QString kMarked = QString::fromUtf8("กิ่ดุ้บี๋");

// The horizontal extent of the ink of a line of `text` in `font`, and the line's advance.
std::pair<QRectF, qreal> inkAndAdvance(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    QRectF ink;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> at = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            ink |= run.rawFont().boundingRect(glyphs[i]).translated(at[i]);
        }
    }
    return {ink, line.naturalTextWidth()};
}

bool atCluster(const QString& text, int position) {
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    clusters.setPosition(position);
    return clusters.isAtBoundary();
}

TEST(SourceViewer, ThaiMarksAreDrawnOverTheirLetterAndHighlightsKeepClustersWhole) {
    // The font draws each cluster inside its own cell: nothing spills into the cell after it.
    const QFont font = gui::SourceFont();
    const auto [oneInk, oneAdvance] = inkAndAdvance(kMarked.left(3), font);
    EXPECT_GT(oneAdvance, 0);
    EXPECT_LE(oneInk.right(), oneAdvance + 1) << font.family().toStdString();
    EXPECT_GE(oneInk.left(), -1) << font.family().toStdString();
    const auto [threeInk, threeAdvance] = inkAndAdvance(kMarked, font);
    EXPECT_NEAR(threeAdvance, 3 * oneAdvance, 0.5) << "one cell per letter, none per mark";
    EXPECT_LE(threeInk.right(), threeAdvance + 1);

    // A field whose columns start on a vowel and end on a tone mark is highlighted, and selected, over
    // whole clusters.
    TempDir dir;
    const std::string line = "0001" + *cp874::fromUtf8(kMarked.toStdString()) + "X";
    writeFile(dir / "thai.txt", line + "\r\n" + line + "\r\n");
    // Columns 6-12: from the vowel of the first letter to the vowel of the third.
    std::vector<RejectedEntry> entries(1);
    entries[0].line = 2;
    entries[0].firstColumn = 6;
    entries[0].lastColumn = 12;
    entries[0].message = "invalid name";
    gui::SourceViewer viewer(QString::fromStdString((dir / "thai.txt").string()), entries);
    QApplication::processEvents();  // the marks are applied once the event loop runs
    const QTextBlock block = viewer.sourceText()->document()->findBlockByNumber(1);
    ASSERT_EQ(block.text(), QStringLiteral("0001") + kMarked + QStringLiteral("X"));
    const QList<QTextLayout::FormatRange> formats = block.layout()->formats();
    ASSERT_FALSE(formats.isEmpty());
    bool marked = false;
    for (const QTextLayout::FormatRange& f : formats) {
        EXPECT_TRUE(atCluster(block.text(), f.start)) << f.start;
        EXPECT_TRUE(atCluster(block.text(), f.start + f.length)) << f.start + f.length;
        marked = marked || (f.start == 4 && f.length == 9);
    }
    EXPECT_TRUE(marked) << "the field's three letters with their marks";
    EXPECT_EQ(viewer.sourceText()->textCursor().selectedText(), kMarked);
}

// A cheque line with a Thai payee name of three marked letters (nine bytes) from column 148.
std::string chequeLine(size_t length) {
    std::string line(length, ' ');
    const std::string name = *cp874::fromUtf8(kMarked.toStdString());
    line.replace(147, name.size(), name);
    line.replace(217, 7, "BANGKOK");
    return line;
}

TEST(SourceViewer, AFieldIsShownFromItsFirstColumnInANarrowView) {
    TempDir dir;
    // An amount at columns 47-59 whose fault is its sign, far right of a narrow view.
    const std::string line = std::string(46, 'A') + "-000010000.00" + std::string(41, 'B');
    writeFile(dir / "cheques.txt", line + "\r\n" + line + "\r\n" + line + "\r\n");
    std::vector<RejectedEntry> entries(2);
    entries[0].line = 1;
    entries[1].line = 3;
    for (RejectedEntry& e : entries) {
        e.firstColumn = 47;
        e.lastColumn = 59;
    }
    gui::SourceViewer viewer(QString::fromStdString((dir / "cheques.txt").string()), entries);
    viewer.show();
    QPlainTextEdit* text = viewer.sourceText();
    const int digit = text->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    text->setFixedWidth(digit * 18 + 2 * text->frameWidth() + text->verticalScrollBar()->sizeHint().width());
    QApplication::processEvents();
    for (int row : {1, 0}) {
        viewer.entryList()->setCurrentRow(row);
        const QTextCursor field = text->textCursor();
        ASSERT_EQ(field.selectedText(), "-000010000.00");
        QTextCursor first(field);
        first.setPosition(field.selectionStart());
        QTextCursor last(field);
        last.setPosition(field.selectionEnd());
        // The sign and the last digit both in view.
        EXPECT_GE(text->cursorRect(first).left(), 0) << "row " << row;
        EXPECT_LE(text->cursorRect(last).right(), text->viewport()->width()) << "row " << row;
    }
}

TEST(SourceViewer, NamesTheFieldUnderTheCursorByItsCodePageColumn) {
    TempDir dir;
    writeFile(dir / "mcp.txt",
              chequeLine(700) + "\r\n" + chequeLine(700) + "\r\n" + chequeLine(400) + "\r\n");
    std::vector<RejectedEntry> entries(1);
    entries[0].line = 2;
    entries[0].firstColumn = 218;
    entries[0].lastColumn = 287;
    gui::SourceViewer viewer(QString::fromStdString((dir / "mcp.txt").string()), entries,
                             layout::SourceFile::ManagerCheque);
    QPlainTextEdit* text = viewer.sourceText();
    const auto words = [&viewer] { return viewer.fieldLine()->text().toStdString(); };
    // The entry's field is selected and told by its first column.
    EXPECT_EQ(words(), "Line 2, column 218: Payee address line 1 (columns 218-287, text)");

    const int line2 = text->document()->findBlockByNumber(1).position();
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(line2 + 147);
    text->setTextCursor(cursor);
    EXPECT_EQ(words(), "Line 2, column 148: Payee name (columns 148-217, text)");
    // The arrow steps over a whole letter with its marks: three columns each.
    QTest::keyClick(text, Qt::Key_Right);
    EXPECT_EQ(words(), "Line 2, column 151: Payee name (columns 148-217, text)");
    QTest::keyClick(text, Qt::Key_Right);
    QTest::keyClick(text, Qt::Key_Right);
    QTest::keyClick(text, Qt::Key_Right);
    EXPECT_EQ(words(), "Line 2, column 158: Payee name (columns 148-217, text)");
    QTest::keyClick(text, Qt::Key_Down);
    EXPECT_EQ(words(),
              "Line 3, column 158: the line has 400 columns where a cheque line (every line 700 characters) "
              "has 700; by that layout Payee name (columns 148-217, text)");
    QTest::keyClick(text, Qt::Key_End);
    EXPECT_EQ(words(),
              "Line 3, column 401: the line has 400 columns where a cheque line (every line 700 characters) "
              "has 700; past the end of the line");
    EXPECT_EQ(viewer.fieldLine()->accessibleName(), viewer.fieldLine()->text());

    // The mouse over a character: its field as a tip.
    viewer.show();
    cursor.setPosition(line2 + 220);
    const QRect at = text->cursorRect(cursor);
    QHelpEvent help(QEvent::ToolTip, at.center() + QPoint(2, 0), text->viewport()->mapToGlobal(at.center()));
    QApplication::sendEvent(text->viewport(), &help);
    EXPECT_TRUE(QToolTip::text().startsWith("Line 2, column 221: Payee address line 1"))
        << QToolTip::text().toStdString();
}

}  // namespace
}  // namespace qrv::test
