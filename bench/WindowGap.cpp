// How long the window's thread stays busy during a "Print detail" Direct Credit run: the workbench
// runs the command as a person would start it, while a 5 ms timer on the window's thread records the
// longest gap between its ticks: up to the run's "completed" message (the conversion, before the report
// is shown) and over the whole run. With MCP, a Manager Cheque run (an invoice per cheque) instead. Each
// change of the progress bar's words and the Cancel button's caption is printed with its time, to show what
// the person sees between OK and the report. Usage: window_gap [LINES] [DCP|MCP] (default 200000 DCP).
// Not a test.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "BenchFiles.h"
#include "gui/app/MainWindow.h"
#include "gui/window/WorkbenchWindow.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::uint64_t lines = argc > 1 ? std::stoull(argv[1]) : 200000;
    const bool cheques = argc > 2 && std::string(argv[2]) == "MCP";
    const QTemporaryDir temp;
    const std::filesystem::path dir = temp.path().toStdString();
    std::filesystem::create_directories(dir / "Data");
    std::ofstream(dir / "Data" / "Default.ini") << (cheques ? "[ReFormat]\nMCP=TRUE\nDefault=MCP\nPrint=T\n"
                                                            : "[ReFormat]\nDCP=TRUE\nDefault=DCP\nPrint=T\n");
    for (const char* name :
         {"Bank.csv", "Branch.csv", "WHT_FORM_TYPE.csv", "WHT_TAX_TYPE.csv", "WHT_PAY_TYPE.csv"}) {
        std::filesystem::copy_file(std::filesystem::path(QRV_SOURCE_DATA) / name, dir / "Data" / name);
    }
    const std::filesystem::path source = dir / (cheques ? "mcp.txt" : "dcp.txt");
    if (cheques) {
        qrv::bench::managerCheque(source.string(), (dir / "invoice.txt").string(), lines,
                                  qrv::bench::Day{2026, 12, 8});
    } else {
        qrv::bench::directCredit(source.string(), lines, qrv::bench::Day{2026, 12, 8});
    }
    const qrv::FixedClock clock(qrv::Date{2026, 12, 8});

    QElapsedTimer clockOfTicks;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    qint64 gapBeforeMessage = -1;
    qrv::gui::QtUi::Hooks hooks;
    hooks.message = [&](qrv::MessageKind, const QString& text) {
        if (gapBeforeMessage < 0) {
            gapBeforeMessage = std::max(longestGap, clockOfTicks.elapsed() - lastTick);
        }
        std::printf("message at %lld ms (longest gap so far %lld ms): %s\n",
                    static_cast<long long>(clockOfTicks.elapsed()), static_cast<long long>(gapBeforeMessage),
                    text.toStdString().c_str());
        std::fflush(stdout);
    };
    hooks.question = [](const QString&) { return true; };
    qrv::gui::MainWindow window(qrv::gui::MainWindow::Options{
        qrv::AppPaths{dir / "Data", QRV_SOURCE_REPORTS}, &clock, std::move(hooks),
        QString::fromStdString((dir / "settings.ini").string())});
    window.resize(1100, 800);
    window.show();
    QApplication::processEvents();
    qrv::gui::WorkbenchWindow& wb = *window.workbench();
    using C = qrv::Control;
    static_cast<QLineEdit*>(wb.control(C::companyId))->setText("BENCH01");
    static_cast<QLineEdit*>(wb.control(C::debitAccount))->setText("1234567896");
    static_cast<QLineEdit*>(wb.control(C::feeAccount))->setText("1234567896");
    static_cast<QLineEdit*>(wb.control(C::source))->setText(QString::fromStdString(source.string()));
    if (cheques) {
        static_cast<QLineEdit*>(wb.control(C::secondFile))
            ->setText(QString::fromStdString((dir / "invoice.txt").string()));
    }
    static_cast<QLineEdit*>(wb.control(C::destination))
        ->setText(QString::fromStdString((dir / "upload.txt").string()));
    static_cast<QCheckBox*>(wb.control(C::printDetail))->setChecked(true);

    int ticks = 0;
    QTimer timer;
    QString shown;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clockOfTicks.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        ++ticks;
        const QProgressBar* bar = wb.progressBar();
        const QString seen =
            QStringLiteral("%1 | %2 | %3")
                .arg(bar->maximum() == 0 ? bar->format() : QString::number(bar->value()) + "%",
                     wb.cancelButton()->text(), wb.isEnabled() ? "enabled" : "disabled");
        if (seen != shown) {
            shown = seen;
            std::printf("%6lld ms: %s\n", static_cast<long long>(now), seen.toStdString().c_str());
        }
    });
    clockOfTicks.start();
    timer.start(5);
    QTest::mouseClick(wb.control(C::reformat), Qt::LeftButton);
    while (wb.busy()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const qint64 now = clockOfTicks.elapsed();
    longestGap = std::max(longestGap, now - lastTick);
    std::printf(
        "lines %llu: run %lld ms, %d ticks, longest gap between ticks %lld ms up to the first "
        "message, %lld ms over the run\n",
        static_cast<unsigned long long>(lines), static_cast<long long>(now), ticks,
        static_cast<long long>(gapBeforeMessage), static_cast<long long>(longestGap));
    return 0;
}
