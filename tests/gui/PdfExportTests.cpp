#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <atomic>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "base/QrvError.h"
#include "gui/reports/BackgroundJob.h"
#include "gui/reports/PdfExport.h"
#include "support/TestSupport.h"

namespace qrv::test {
namespace {

// Chunks of two pages each, "chunk N a" on the first and "chunk N b" on the second; `html` may stand
// in for the chunk's text.
gui::PdfSource TwoPageChunks(int chunks, std::function<QString(int)> html = {}) {
    gui::PdfSource pdf;
    pdf.chunks = chunks;
    pdf.style.font = QFont(QStringLiteral("Loma"));
    pdf.style.page = QSizeF(700, 1000);
    pdf.style.title = QStringLiteral("Test Detail Report");
    pdf.source = [html] {
        return [html](int chunk) {
            if (html) {
                return html(chunk);
            }
            return QStringLiteral(
                       "<html><body><p>chunk %1 a</p><p style=\"page-break-before: always\">chunk %1 "
                       "b</p></body></html>")
                .arg(chunk);
        };
    };
    return pdf;
}

// What a poppler tool prints about a file (its text with a form feed after each page, or its
// information).
QString Poppler(const QString& tool, const std::filesystem::path& file) {
    QStringList arguments{QString::fromStdString(file.string())};
    if (tool == QLatin1String("pdftotext")) {
        arguments << QStringLiteral("-");
    }
    QProcess run;
    run.start(tool, arguments);
    EXPECT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    return QString::fromUtf8(run.readAllStandardOutput());
}

bool HavePoppler() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// Drawn by several threads in parts, the PDF holds every page in order with the title, as drawn by one.
TEST(PdfExport, PartsDrawnBesideEachOtherJoinInOrder) {
    if (!HavePoppler()) {
        GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are needed";
    }
    TempDir dir;
    const gui::PdfSource pdf = TwoPageChunks(21);
    std::vector<int> told;
    EXPECT_EQ(gui::WritePdf(QString::fromStdString((dir / "one.pdf").string()), pdf, nullptr, {}, 1), 42);
    EXPECT_EQ(gui::WritePdf(
                  QString::fromStdString((dir / "three.pdf").string()), pdf, nullptr,
                  [&told](int drawn) { told.push_back(drawn); }, 3),
              42);
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_LE(told.back(), 21);

    const QString one = Poppler(QStringLiteral("pdftotext"), dir / "one.pdf");
    const QString three = Poppler(QStringLiteral("pdftotext"), dir / "three.pdf");
    EXPECT_EQ(three, one);
    const QStringList pages = three.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 42);
    for (int chunk = 0; chunk < 21; ++chunk) {
        EXPECT_EQ(pages[2 * chunk].trimmed(), QStringLiteral("chunk %1 a").arg(chunk));
        EXPECT_EQ(pages[2 * chunk + 1].trimmed(), QStringLiteral("chunk %1 b").arg(chunk));
    }
    const QString info = Poppler(QStringLiteral("pdfinfo"), dir / "three.pdf");
    EXPECT_TRUE(info.contains(QStringLiteral("Test Detail Report"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Convertor QRV"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
}

// A cancelled or failed PDF leaves the earlier file of that name as it was, and nothing beside it.
TEST(PdfExport, ACancelOrAFailureLeavesTheEarlierFile) {
    TempDir dir;
    const std::filesystem::path file = dir / "report.pdf";
    writeFile(file, "an earlier file");
    const QString name = QString::fromStdString(file.string());

    // Chunks past the fourth wait for the cancel, so the PDF cannot end before it.
    std::atomic<bool> cancelled{false};
    std::atomic<int> drawn{0};
    const gui::PdfSource waiting = TwoPageChunks(24, [&cancelled](int chunk) {
        for (int waited = 0; chunk >= 4 && !cancelled && waited < 20000; ++waited) {
            QThread::msleep(1);
        }
        return QStringLiteral("<p>chunk %1</p>").arg(chunk);
    });
    std::optional<int> pages = 0;
    {
        gui::BackgroundJob job([&](const gui::BackgroundJob& self) {
            pages = gui::WritePdf(
                name, waiting, &self, [&drawn](int d) { drawn = d; }, 2);
        });
        for (int waited = 0; drawn == 0 && waited < 20000; ++waited) {
            QThread::msleep(1);
        }
        EXPECT_GT(drawn, 0);
        job.cancel();
        cancelled = true;
        job.wait();
    }
    EXPECT_FALSE(pages.has_value());
    EXPECT_EQ(readFile(file), "an earlier file");

    const gui::PdfSource failing = TwoPageChunks(24, [](int chunk) {
        if (chunk == 17) {
            throw std::runtime_error("the snapshot is gone");
        }
        return QStringLiteral("<p>chunk %1</p>").arg(chunk);
    });
    for (const int threads : {1, 2}) {
        try {
            gui::WritePdf(name, failing, nullptr, {}, threads);
            ADD_FAILURE() << "a failed chunk wrote the PDF";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "the snapshot is gone");
        }
        EXPECT_EQ(readFile(file), "an earlier file");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace qrv::test
