// Save as PDF through the workbench, as a clerk does it: a Direct Credit run of LINES lines (default
// 200000) with "Print detail" ticked, started with the Reformat Data button; the detail report's preview
// opens beside the window, and once its pages are there the PDF is saved from it (what the Save as PDF
// button does after its file dialog). Prints the seconds of the run, of the pages, and of the PDF with its
// pages, bytes and processor time (POSIX only); then the same report saved as the bench program saves it,
// from a preview of its own, and whether the two files hold the same bytes apart from their creation time.
// Usage: window_pdf [LINES] [PDF] (default /tmp/window.pdf). Run it under /usr/bin/time -v for the peak
// memory. Not a test.

#include <sys/resource.h>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "BenchFiles.h"
#include "gui/app/MainWindow.h"
#include "gui/reports/ReportPreview.h"
#include "gui/window/QtUi.h"
#include "gui/window/WorkbenchWindow.h"

namespace {

// The processor time of the whole program so far (all its threads), in seconds.
double processorSeconds() {
    rusage used{};
    getrusage(RUSAGE_SELF, &used);
    return static_cast<double>(used.ru_utime.tv_sec + used.ru_stime.tv_sec) +
           static_cast<double>(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
}

// A PDF file's bytes without its creation time and the document ID made from it, the only bytes that
// differ between two saves of one report.
std::string timelessBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const std::string_view key : {std::string_view("/CreationDate ("), std::string_view("/ID [")}) {
        if (const auto at = bytes.find(key); at != std::string::npos) {
            const auto end = bytes.find(key.back() == '(' ? ')' : ']', at);
            bytes.erase(at + key.size(), end == std::string::npos ? 0 : end - at - key.size());
        }
    }
    return bytes;
}

qrv::gui::ReportPreview* shownPreview() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* preview = qobject_cast<qrv::gui::ReportPreview*>(w); preview != nullptr && w->isVisible()) {
            return preview;
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::uint64_t lines = argc > 1 ? std::stoull(argv[1]) : 200000;
    const QString pdf = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp/window.pdf");
    const QTemporaryDir temp;
    const std::filesystem::path dir = temp.path().toStdString();
    std::filesystem::create_directories(dir / "Data");
    std::ofstream(dir / "Data" / "Default.ini") << "[ReFormat]\nDCP=TRUE\nDefault=DCP\nPrint=T\n";
    for (const char* name :
         {"Bank.csv", "Branch.csv", "WHT_FORM_TYPE.csv", "WHT_TAX_TYPE.csv", "WHT_PAY_TYPE.csv"}) {
        std::filesystem::copy_file(std::filesystem::path(QRV_SOURCE_DATA) / name, dir / "Data" / name);
    }
    qrv::bench::directCredit((dir / "dcp.txt").string(), lines, qrv::bench::Day{2026, 12, 8});
    const qrv::FixedClock clock(qrv::Date{2026, 12, 8});

    // The messages are answered as a person would (OK, Yes); the report opens in its own preview.
    qrv::gui::QtUi::Hooks hooks;
    hooks.message = [](qrv::MessageKind, const QString&) {};
    hooks.question = [](const QString&) { return true; };
    qrv::gui::MainWindow window(qrv::gui::MainWindow::Options{
        qrv::AppPaths{dir / "Data", QRV_SOURCE_REPORTS}, &clock, std::move(hooks),
        QString::fromStdString((dir / "settings.ini").string())});
    window.resize(1366, 768);
    window.show();
    QApplication::processEvents();
    qrv::gui::WorkbenchWindow& wb = *window.workbench();
    using C = qrv::Control;
    static_cast<QLineEdit*>(wb.control(C::companyId))->setText("BENCH01");
    static_cast<QLineEdit*>(wb.control(C::debitAccount))->setText("1234567896");
    static_cast<QLineEdit*>(wb.control(C::feeAccount))->setText("1234567896");
    static_cast<QLineEdit*>(wb.control(C::source))
        ->setText(QString::fromStdString((dir / "dcp.txt").string()));
    static_cast<QLineEdit*>(wb.control(C::destination))
        ->setText(QString::fromStdString((dir / "upload.txt").string()));
    static_cast<QCheckBox*>(wb.control(C::printDetail))->setChecked(true);

    QElapsedTimer clockOfRun;
    clockOfRun.start();
    QTest::mouseClick(wb.control(C::reformat), Qt::LeftButton);
    while (wb.busy()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    std::printf("lines %llu: run %.1f s\n", static_cast<unsigned long long>(lines),
                clockOfRun.elapsed() / 1e3);
    qrv::gui::ReportPreview* preview = shownPreview();
    if (preview == nullptr) {
        std::fprintf(stderr, "no report was shown\n");
        return 1;
    }
    preview->waitUntilReady();
    std::printf("pages ready %.1f s after the start: %d pages\n", clockOfRun.elapsed() / 1e3,
                preview->pageCount());
    int pages = 0;
    QString error;
    QObject::connect(preview, &qrv::gui::ReportPreview::pdfFinished,
                     [&pages, &error](const QString&, int written, const QString& why) {
                         pages = written;
                         error = why;
                     });
    QElapsedTimer clockOfPdf;
    clockOfPdf.start();
    const double processorBefore = processorSeconds();
    preview->savePdf(pdf);
    std::printf("pdf %.1f s (processor %.1f s), %d pages, %lld bytes%s\n", clockOfPdf.elapsed() / 1e3,
                processorSeconds() - processorBefore, pages,
                static_cast<long long>(std::filesystem::file_size(pdf.toStdString())),
                error.isEmpty() ? "" : qPrintable(QStringLiteral(" (") + error + QLatin1Char(')')));

    // The same report through the bench program's path: its snapshot shown by a preview of its own, with
    // no run before it, and saved. The two files are compared byte for byte.
    const QString benchPdf = pdf + QStringLiteral(".bench.pdf");
    qrv::gui::QtUi benchUi;
    benchUi.showSnapshot(preview->snapshot(), false);
    qrv::gui::ReportPreview* fresh = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<qrv::gui::ReportPreview*>(w);
            p != nullptr && p != preview && w->isVisible()) {
            fresh = p;
        }
    }
    if (fresh == nullptr) {
        std::fprintf(stderr, "the bench's preview was not shown\n");
        return 1;
    }
    fresh->waitUntilReady();
    clockOfPdf.restart();
    fresh->savePdf(benchPdf);
    std::printf("bench's path: pdf %.1f s, %lld bytes, %s the window's\n", clockOfPdf.elapsed() / 1e3,
                static_cast<long long>(std::filesystem::file_size(benchPdf.toStdString())),
                timelessBytes(pdf.toStdString()) == timelessBytes(benchPdf.toStdString())
                    ? "the same bytes (apart from the creation time) as"
                    : "not the bytes of");
    for (QWidget* w : QApplication::topLevelWidgets()) {
        w->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
