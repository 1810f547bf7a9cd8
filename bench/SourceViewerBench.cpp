// Times the source viewer on a Direct Credit file: source-viewer-bench LINES [EVERY]
// Writes a source of LINES lines and a rejected entry on every EVERY-th line (default 10), then prints the
// seconds from opening the viewer to its first paint and to showing the last entry.
// Run it under /usr/bin/time -v for the peak memory. Not part of the tests.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "convert/RunResult.h"
#include "gui/window/SourceViewer.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::uint64_t lines = argc > 1 ? std::stoull(argv[1]) : 200000;
    const std::uint64_t every = argc > 2 ? std::stoull(argv[2]) : 10;
    const QTemporaryDir temp;
    const std::filesystem::path dir = temp.path().toStdString();
    qrv::bench::directCredit((dir / "dcp.txt").string(), lines, qrv::bench::Day{2026, 12, 8});
    std::vector<qrv::RejectedEntry> entries;
    for (std::uint64_t n = 2; n <= lines + 1; n += every) {
        entries.push_back(
            {qrv::Reject::AccountInvalid, static_cast<std::int64_t>(n), 1, 10, "Account is invalid"});
    }
    QElapsedTimer clock;
    clock.start();
    qrv::gui::SourceViewer viewer(QString::fromStdString((dir / "dcp.txt").string()), std::move(entries));
    viewer.show();
    if (!QTest::qWaitForWindowExposed(&viewer)) {
        return 1;
    }
    QApplication::processEvents();
    const double shown = clock.elapsed() / 1000.0;
    viewer.entryList()->setCurrentRow(viewer.entryList()->count() - 1);
    QApplication::processEvents();
    std::printf("lines %llu entries %d shown %.3f s last entry %.3f s\n",
                static_cast<unsigned long long>(lines), viewer.entryList()->count(), shown,
                clock.elapsed() / 1000.0);
    return 0;
}
