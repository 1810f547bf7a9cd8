// Times a Direct Credit detail report in the preview: report-preview-bench ROWS [--window-rows] [--pdf FILE]
// Fills Dcp_Detail with ROWS rows (not timed; with --window-rows those of window_pdf's run), then shows the
// report through the window's QtUi and prints the seconds until the first page is painted, then until the
// last page is; then the seconds Find takes from page 1 to the last row's payee and to a text that is nowhere
// (every chunk searched); with --pdf, also the seconds to save the PDF (and its pages). Run it under
// /usr/bin/time -v for the peak memory. Not part of the tests.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QSpinBox>
#include <QTextStream>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "BenchFiles.h"
#include "gui/reports/ReportPreview.h"
#include "gui/window/QtUi.h"
#include "reports/ReportRunner.h"
#include "store/TableStore.h"

namespace {

// Notes the first paint of anything inside the widget named "reportView".
class FirstPaint : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            for (QObject* o = watched; o != nullptr; o = o->parent()) {
                if (o->objectName() == QLatin1String("reportView")) {
                    painted = true;
                }
            }
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: report-preview-bench ROWS [--window-rows] [--pdf FILE]\n");
        return 2;
    }
    const int rows = std::stoi(argv[1]);
    std::string pdf;
    bool windowRows = false;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--pdf" && i + 1 < argc) {
            pdf = argv[++i];
        } else if (std::string(argv[i]) == "--window-rows") {
            windowRows = true;
        }
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("qrv-bench-" + std::to_string(rows));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    qrv::TableStore store(dir);
    {
        // Thai payees by default; with --window-rows the credits of window_pdf's Direct Credit run.
        const qrv::TableStore::CommandScope scope(store);
        for (int row = 1; row <= rows; ++row) {
            const std::uint64_t i = row - 1;
            if (windowRows) {
                // The account as the run keeps it: blank-filled to the upload record's 25 columns.
                store.append("Dcp_Detail", {{"AcNo", qrv::bench::account(i).append(15, ' ')},
                                            {"Amount", static_cast<double>(1 + (i * 37) % 99999999) / 100},
                                            {"Name", qrv::bench::name(i)}});
            } else {
                store.append("Dcp_Detail", {{"AcNo", std::to_string(1000000000 + row)},
                                            {"Amount", row * 0.25},
                                            {"Name", std::string("ผู้รับเงิน ") + std::to_string(row)}});
            }
        }
    }
    std::ifstream in(std::filesystem::path(QRV_SOURCE_REPORTS) / "rptDcpDetail.frf", std::ios::binary);
    std::ostringstream layout;
    layout << in.rdbuf();
    qrv::ShownReport report;
    report.runner = "detail";
    report.layoutFile = "rptDcpDetail.frf";
    report.templateText = layout.str();
    report.variables = {{"PayType", "DCP"}, {"ComName", "บริษัท ทดสอบ จำกัด"}};
    report.store = &store;

    FirstPaint first;
    app.installEventFilter(&first);
    qrv::gui::QtUi ui;
    QElapsedTimer clock;
    clock.start();
    {
        // As in a run: the report is shown inside the command's write transaction.
        const qrv::TableStore::CommandScope scope(store);
        ui.showReport(report);
    }
    while (!first.painted && clock.elapsed() < 600000) {
        app.processEvents(QEventLoop::AllEvents, 50);
    }
    std::printf("rows %d first-page %.3f s\n", rows, clock.nsecsElapsed() / 1e9);
    // The last page: its chunk's rows are the last window of the dataset.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* number = w->findChild<QSpinBox*>("pageNumber");
            number != nullptr && w->isVisible() && number->maximum() > number->value()) {
            first.painted = false;
            clock.restart();
            number->setValue(number->maximum());
            while (!first.painted && clock.elapsed() < 600000) {
                app.processEvents(QEventLoop::AllEvents, 50);
            }
            std::printf("last-page %.3f s (page %d)\n", clock.nsecsElapsed() / 1e9, number->value());
        }
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* preview = qobject_cast<qrv::gui::ReportPreview*>(w);
        if (preview == nullptr || !w->isVisible()) {
            continue;
        }
        preview->findChild<QSpinBox*>("pageNumber")->setValue(1);
        clock.restart();
        const bool last =
            preview->findText(windowRows ? QString::fromStdString(qrv::bench::name(rows - 1))
                                         : QString::fromUtf8("ผู้รับเงิน ") + QString::number(rows));
        std::printf("find-last %.3f s (%s, page %d of %d)\n", clock.nsecsElapsed() / 1e9,
                    last ? "found" : "not found", preview->currentPage(), preview->pageCount());
        clock.restart();
        const bool nowhere = preview->findText(QStringLiteral("no such text anywhere"));
        std::printf("find-nowhere %.3f s (%s)\n", clock.nsecsElapsed() / 1e9,
                    nowhere ? "found" : "not found");
        if (!pdf.empty()) {
            int pages = 0;
            QObject::connect(preview, &qrv::gui::ReportPreview::pdfFinished,
                             [&pages](const QString&, int written, const QString&) { pages = written; });
            clock.restart();
            preview->savePdf(QString::fromStdString(pdf));
            std::printf("pdf %.3f s, %d pages, %lld bytes\n", clock.nsecsElapsed() / 1e9, pages,
                        static_cast<long long>(std::filesystem::file_size(pdf)));
        }
    }
    // The preview has no parent here: closing it lets its snapshot's file go.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        w->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::filesystem::remove_all(dir);
    return 0;
}
