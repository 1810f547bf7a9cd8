#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <filesystem>
#include <functional>

#include "gui/reports/ChunkRows.h"
#include "gui/reports/PageStyle.h"
#include "gui/reports/PaintRecording.h"
#include "gui/reports/PdfExport.h"
#include "gui/reports/RowStamp.h"
#include "support/TestSupport.h"

namespace qrv::test {
namespace {

using gui::ChunkRows;
using gui::PageStyle;
using gui::PaintRecording;
using gui::RowStamp;
using gui::StampedRows;

// A chunk of a detail report's accepted rows as the report's pages render it: the layout's head, the
// grid table's opening and head, `count` rows of `row(i)` and the table's end.
QString DetailChunk(int count, const std::function<QString(int)>& row) {
    QString html = QStringLiteral(
        "<html><head><style>"
        "body { font-family: \"Loma\", sans-serif; font-size: 10pt; color: #000000; }"
        "table { border-collapse: collapse; }"
        "table.grid th, table.grid td { border: 1px solid #808080; padding: 3px 5px; vertical-align: top; }"
        "table.grid th { background-color: #e6e6e6; font-weight: bold; text-align: center; }"
        ".num { text-align: right; white-space: nowrap; }"
        "thead { display: table-header-group; } tr { page-break-inside: avoid; }"
        "</style></head><body>\n"
        "<table class=\"grid\" width=\"100%\" cellspacing=\"0\" cellpadding=\"3\">\n<thead>\n"
        "<tr><th width=\"6%\">No.</th><th width=\"24%\">Credit Account</th><th>Payee Name</th>"
        "<th width=\"18%\">Amount (THB)</th></tr>\n</thead>\n<tbody>\n");
    for (int i = 0; i < count; ++i) {
        html += row(i);
    }
    return html + QStringLiteral("</tbody>\n</table>\n</body></html>");
}

QString Row(int no, const QString& name, const QString& amount) {
    return QStringLiteral(
               "<tr><td class=\"num\">%1</td><td>%2</td><td>%3</td><td class=\"num\">%4</td></tr>\n")
        .arg(no)
        .arg(1000000000 + no)
        .arg(name, amount);
}

// Row i of a dataset whose rows are numbered from `first`.
QString ThaiRowFrom(int first, int i) {
    return Row(first + i, QString::fromUtf8("ผู้รับเงิน ") + QString::number(first + i),
               QStringLiteral("%1.25").arg(i * 7));
}
QString ThaiRow(int i) {
    return ThaiRowFrom(1, i);
}

PageStyle Style() {
    PageStyle style;
    style.font = QFont(QStringLiteral("Loma"));
    style.page = QSizeF(700, 1000);
    return style;
}

// Rows of a chunk: three pages and a part.
constexpr int kRows = 120;

QImage Drawn(const std::function<void(QPainter&)>& draw) {
    QImage image(1400, 2000, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(2, 2);
    draw(painter);
    return image;
}

// The texts of the rows as a document read from the HTML holds them, entities and spaces included, and
// the rows' run ends where a cell would read otherwise.
TEST(ChunkRows, ReadsTheRunOfLikeRowsAsADocumentDoes) {
    const QString odd = QStringLiteral("A &amp; B &lt;C&gt; &quot;D&quot; O&apos;Neil");
    // White space as a name read from a fixed-width field holds it: blanks to the field's end, doubled.
    const QString html = DetailChunk(6, [&odd](int i) {
        return i == 4   ? Row(i + 1, QStringLiteral("no&nbsp;break"), QStringLiteral("1.00"))
               : i == 2 ? Row(i + 1, QStringLiteral(" two  spaces\tand a tab   "), QStringLiteral("2.00"))
                        : Row(i + 1, i == 1 ? odd : QStringLiteral("Name %1").arg(i), QStringLiteral("2.00"));
    });
    const ChunkRows rows = ChunkRows::read(html);
    ASSERT_EQ(rows.cells.size(), 4u);  // the fifth row's no-break space ends the run
    EXPECT_TRUE(rows.prefix.endsWith(QStringLiteral("<tbody>\n")));
    EXPECT_TRUE(rows.suffix.startsWith(QStringLiteral("<tr><td class=\"num\">5</td>")));
    EXPECT_EQ(rows.cells[2][2], "two spaces and a tab ");
    const std::unique_ptr<QTextDocument> doc = Style().layOut(html);
    auto* table = qobject_cast<QTextTable*>(doc->rootFrame()->childFrames().front());
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(rows.cells[static_cast<size_t>(r)][c],
                      table->cellAt(r + 1, c).firstCursorPosition().block().text());
        }
    }

    EXPECT_FALSE(ChunkRows::read(QStringLiteral("<tr><td>a<b>b</b></td></tr>")).found());
    EXPECT_FALSE(ChunkRows::read(QStringLiteral("<tr><td>&nbsp;</td></tr>")).found());
    EXPECT_TRUE(ChunkRows::read(QStringLiteral("<tr><td>a b</td></tr>")).found());
}

// A chunk drawn from another chunk's stamp looks, pixel for pixel, as its own document draws it: the
// head on every page, grid lines, right-aligned amounts, Thai names, the same page breaks; also where
// the row numbers are too long for their column and widen it.
TEST(RowStamp, DrawsAChunkAsItsOwnDocumentWould) {
    const PageStyle style = Style();
    for (const auto& [stampFrom, chunkFrom] : {std::pair{1, 300}, std::pair{50000, 70000}}) {
        SCOPED_TRACE(stampFrom);
        const QString templateHtml =
            DetailChunk(kRows, [from = stampFrom](int i) { return ThaiRowFrom(from, i); });
        const std::unique_ptr<QTextDocument> templateDoc = style.layOut(templateHtml);
        const std::unique_ptr<RowStamp> stamp = RowStamp::make(*templateDoc, ChunkRows::read(templateHtml));
        ASSERT_NE(stamp, nullptr);

        // Other texts, some far shorter or longer than the stamp's, and entities.
        const QString html = DetailChunk(kRows, [from = chunkFrom](int i) {
            const QString name = i % 3 == 0 ? QStringLiteral("Smith &amp; Sons")
                                 : i % 3 == 1
                                     ? QString::fromUtf8("บริษัท ทดสอบ จำกัด สาขาที่ ") + QString::number(i)
                                     : QStringLiteral("X");
            return Row(from + i, name,
                       QStringLiteral("%1,234,567.%2").arg(i).arg(i % 100, 2, 10, QLatin1Char('0')));
        });
        const ChunkRows rows = ChunkRows::read(html);
        ASSERT_TRUE(stamp->fits(rows));
        const std::optional<StampedRows> stamped = stamp->lay(rows);
        ASSERT_TRUE(stamped.has_value());
        const std::unique_ptr<QTextDocument> doc = style.layOut(html);
        ASSERT_EQ(stamp->pages(), doc->pageCount());
        ASSERT_EQ(doc->pageCount(), 4);
        EXPECT_TRUE(stamp->replaysGrid());
        for (int page = 0; page < doc->pageCount(); ++page) {
            const QImage fromStamp = Drawn([&](QPainter& p) { stamp->paint(p, *stamped, page); });
            const QImage fromDoc = Drawn([&](QPainter& p) { gui::PaintPage(p, *doc, page); });
            EXPECT_TRUE(fromStamp == fromDoc) << "page " << page;
        }
    }
}

// Where the chunk would be laid out otherwise, or begins otherwise, the stamp declines it (the chunk is
// then drawn from its own document).
TEST(RowStamp, DeclinesChunksLaidOutOtherwise) {
    const PageStyle style = Style();
    const QString templateHtml = DetailChunk(kRows, ThaiRow);
    const std::unique_ptr<RowStamp> stamp =
        RowStamp::make(*style.layOut(templateHtml), ChunkRows::read(templateHtml));
    ASSERT_NE(stamp, nullptr);
    const auto with = [&](int count, int odd, const QString& name) {
        return ChunkRows::read(DetailChunk(
            count, [&](int i) { return i == odd ? Row(i, name, QStringLiteral("1.00")) : ThaiRow(i); }));
    };
    EXPECT_TRUE(stamp->lay(with(kRows, -1, {})).has_value());
    EXPECT_TRUE(stamp->lay(with(kRows, 7, QStringLiteral("Short"))).has_value());
    EXPECT_FALSE(stamp->lay(with(kRows, 7, QString(300, QLatin1Char('W')))).has_value());  // does not fit
    EXPECT_FALSE(
        stamp->lay(with(kRows, 7, QStringLiteral("long words wrap ").repeated(20).trimmed())).has_value());
    EXPECT_FALSE(stamp->lay(with(kRows, 7, QString())).has_value());  // an empty cell
    EXPECT_FALSE(stamp->lay(with(kRows - 1, -1, {})).has_value());    // fewer rows
    EXPECT_FALSE(stamp
                     ->lay(ChunkRows::read(
                         DetailChunk(kRows, [](int i) { return ThaiRowFrom(i == 3 ? 90000 : 1, i); })))
                     .has_value());  // a number that would widen its column

    QString other = DetailChunk(kRows, ThaiRow);
    other.replace(QStringLiteral("Payee Name"), QStringLiteral("Payee"));
    EXPECT_FALSE(stamp->fits(ChunkRows::read(other)));

    // Row numbers that widened their column: a chunk whose numbers are narrower would be laid out
    // with a narrower column.
    const QString wide = DetailChunk(kRows, [](int i) { return ThaiRowFrom(50000, i); });
    const std::unique_ptr<RowStamp> widened = RowStamp::make(*style.layOut(wide), ChunkRows::read(wide));
    ASSERT_NE(widened, nullptr);
    const auto numbered = [&](int from) {
        return ChunkRows::read(DetailChunk(kRows, [from](int i) { return ThaiRowFrom(from, i); }));
    };
    EXPECT_TRUE(widened->lay(numbered(60000)).has_value());
    EXPECT_FALSE(widened->lay(numbered(1000)).has_value());

    // A chunk with a text on two lines makes no stamp.
    const QString wrapped = DetailChunk(kRows, [](int i) {
        return i == 5
                   ? Row(i, QStringLiteral("long words wrap ").repeated(20).trimmed(), QStringLiteral("1.00"))
                   : ThaiRow(i);
    });
    EXPECT_EQ(RowStamp::make(*style.layOut(wrapped), ChunkRows::read(wrapped)), nullptr);
}

// A recorded drawing is replayed with the calls it was drawn with (rectangles as rectangles, lines as
// lines, with their pens, brushes, transforms and clips), so it looks the same, within the painter's
// own clip too. Text and images are not recorded.
TEST(PaintRecording, ReplaysWhatWasDrawnAsItWasDrawn) {
    const auto draw = [](QPainter& p) {
        p.save();
        p.translate(0, -100);
        p.setClipRect(QRectF(0, 100, 300, 200), Qt::IntersectClip);
        p.fillRect(QRectF(10, 110, 80, 30), QColor(220, 220, 220));
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::darkGray, 0.5));
        p.drawLine(QLineF(0, 140.5, 300, 140.5));
        p.setClipRect(QRectF(0, 150, 120, 200), Qt::IntersectClip);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::blue);
        p.drawRect(QRectF(5, 160, 250, 60));  // cut at the right by the inner clip
        p.restore();
        p.setBrush(QColor(0, 128, 0));
        const QPointF triangle[] = {{150, 150}, {290, 150}, {220, 290}};
        p.drawConvexPolygon(triangle, 3);
        p.drawEllipse(QRectF(20, 250, 60, 80));  // cut at the bottom by the page's clip
        p.restore();
    };
    const std::optional<PaintRecording> recorded = PaintRecording::record(QSize(300, 200), draw);
    ASSERT_TRUE(recorded.has_value());
    EXPECT_EQ(recorded->shapes(), 5U);
    const std::optional<PaintRecording> replayed =
        PaintRecording::record(QSize(300, 200), [&](QPainter& p) { recorded->replay(p); });
    ASSERT_TRUE(replayed.has_value());
    EXPECT_TRUE(*replayed == *recorded);

    EXPECT_TRUE(Drawn([&](QPainter& p) { recorded->replay(p); }) == Drawn(draw));
    const auto clipped = [](const std::function<void(QPainter&)>& then) {
        return Drawn([&](QPainter& p) {
            p.translate(40, 30);
            p.setClipRect(QRectF(0, 0, 200, 170));
            then(p);
            p.fillRect(QRectF(190, 160, 30, 30), Qt::red);  // where the painter was before
        });
    };
    EXPECT_TRUE(clipped([&](QPainter& p) { recorded->replay(p); }) == clipped(draw));

    EXPECT_FALSE(PaintRecording::record(QSize(300, 200),
                                        [](QPainter& p) { p.drawText(10, 10, QStringLiteral("a")); }));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    EXPECT_FALSE(PaintRecording::record(QSize(300, 200), [&](QPainter& p) { p.drawImage(0, 0, image); }));
}

// A PDF whose chunks of rows are drawn from stamps has the pages and the text of one drawn from each
// chunk's document, on one thread or several: chunks like the stamp's, one with a name that wraps, a
// shorter last one, and row numbers whose widths go back and forth (a stamp kept for each).
TEST(RowStamp, APdfFromStampsReadsAsOneFromDocuments) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is needed";
    }
    constexpr int kChunks = 6;
    gui::PdfSource pdf;
    pdf.chunks = kChunks;
    pdf.style = Style();
    pdf.style.title = QStringLiteral("Stamped");
    pdf.source = [] {
        return [](int chunk) {
            return DetailChunk(chunk + 1 == kChunks ? 40 : kRows, [chunk](int i) {
                const int no = chunk * kRows + i + 1 + (chunk % 2 == 1 ? 1000000 : 0);
                return chunk == 3 && i == 9
                           ? Row(no, QStringLiteral("a name long enough to wrap ").repeated(12).trimmed(),
                                 QStringLiteral("9.99"))
                           : ThaiRowFrom(no - i, i);
            });
        };
    };
    TempDir dir;
    const auto text = [&dir](const std::string& name) {
        QProcess run;
        run.start(QStringLiteral("pdftotext"),
                  {QString::fromStdString((dir / name).string()), QStringLiteral("-")});
        EXPECT_TRUE(run.waitForFinished(60000));
        return QString::fromUtf8(run.readAllStandardOutput());
    };
    pdf.stampRows = false;
    const std::optional<int> pages =
        gui::WritePdf(QString::fromStdString((dir / "documents.pdf").string()), pdf, nullptr, {}, 1);
    ASSERT_TRUE(pages.has_value());
    const QString expected = text("documents.pdf");
    EXPECT_TRUE(expected.contains(QStringLiteral("a name long enough")));
    pdf.stampRows = true;
    for (const int threads : {1, 2}) {
        const std::string name = "stamped" + std::to_string(threads) + ".pdf";
        EXPECT_EQ(gui::WritePdf(QString::fromStdString((dir / name).string()), pdf, nullptr, {}, threads),
                  pages);
        EXPECT_EQ(text(name), expected) << threads;
        // The grids are given to the PDF as the documents give them (a rectangle as a rectangle); parts
        // joined into one file add their own objects.
        if (threads == 1) {
            EXPECT_LE(std::filesystem::file_size(dir / name),
                      std::filesystem::file_size(dir / "documents.pdf"));
        }
    }
}

}  // namespace
}  // namespace qrv::test
