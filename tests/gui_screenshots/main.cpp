// Pictures of the main window with the workbench in each product's layout, of the two dialogs and of
// a report preview, for looking at the windows: gui_screenshots OUT_DIR
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "convert/Examples.h"
#include "convert/source/SavedMapping.h"
#include "gui/app/AccountDialog.h"
#include "gui/app/LoginDialog.h"
#include "gui/app/MainWindow.h"
#include "gui/history/RunHistoryWindow.h"
#include "gui/language/Language.h"
#include "gui/reports/PageView.h"
#include "gui/reports/ReportPreview.h"
#include "gui/sheet/SheetMappingDialog.h"
#include "gui/window/ResultPanel.h"
#include "gui/window/SourceViewer.h"
#include "gui/window/WorkbenchWindow.h"
#include "io/Sha1.h"
#include "io/SystemClock.h"
#include "store/RunHistory.h"

namespace {

// A Direct Credit file of five credits, two of them rejected (an account of zeros, a zero amount).
std::string directCreditSample() {
    std::string text = "H00000001HEAD  " + qrv::PadText("ACME TRADING", 30) + "  151226" + "00005\r\n";
    const auto detail = [&text](const std::string& account, const std::string& amount,
                                const std::string& name) {
        text += account + "       " + amount + qrv::PadText(name, 60) + "\r\n";
    };
    detail("1234567896", "00000287395", "Somchai Jaidee");
    detail("0000000000", "00000012500", "Nobody");
    detail("1234567896", "00001250000", "Malee Srisuk");
    detail("1234567896", "00000000000", "Zero Amount");
    detail("1234567896", "00000045050", "Anan Boonmee");
    return text;
}

// A data folder as an initialised one: the products shown and the sample reference data, from the
// folder beside the program.
void initialiseData(const QString& folder) {
    std::ofstream(QDir(folder).filePath("Default.ini").toStdString())
        << "[ReFormat]\nDCP=TRUE\nPAY=TRUE\nMCL=TRUE\nMCP=TRUE\nDefault=DCP\n";
    const QDir shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/Data"));
    for (const QString& csv : shipped.entryList({QStringLiteral("*.csv")})) {
        QFile::copy(shipped.filePath(csv), QDir(folder).filePath(csv));
    }
}

// Runs of the days before the pictures, as the history would hold them.
void recordEarlierRuns(qrv::TableStore& store, const QDir& folder) {
    struct Run {
        const char *ranAt, *user, *origin, *product, *company, *source, *dest, *outcome;
        std::int64_t records;
        std::int64_t totalSatang;
    };
    const Run runs[] = {
        {"2026-12-07 16:42:10", "somchai", "window", "MCL", "ACME02", "MCL_1207.txt", "MCL_1207_V5.txt",
         "completed", 312, 48'215'075},
        {"2026-12-07 09:15:31", "somchai", "window", "PAY", "ACME01", "PAY_1207.txt", "PAY_1207_V5.txt",
         "completed", 1'204, 1'877'340'000},
        {"2026-12-04 14:03:55", "malee", "qrv", "DDR", "V5CORP01", "DDR_1204.txt", "DDR_1204_V5.txt",
         "refused", 0, 0},
        {"2026-12-04 10:27:02", "malee", "window", "MCP", "ACME03", "MCP_1204.txt", "MCP_1204_V5.txt",
         "completed", 58, 92'004'550},
        {"2026-12-01 11:50:40", "somchai", "window", "MCL", "ACME02", "MCL_1201.txt", "MCL_1201_V5.txt",
         "all rejected", 0, 0},
    };
    qrv::RunHistory history(store);
    int n = 0;
    for (const Run& r : runs) {
        qrv::RunEntry e;
        e.ranAt = r.ranAt;
        e.userName = r.user;
        e.origin = r.origin;
        e.product = r.product;
        e.companyId = r.company;
        e.sourcePath = folder.filePath(QString::fromLatin1(r.source)).toStdString();
        e.sourceSize = 20'000 + 977 * n;
        e.sourceSha1 = std::string(40, static_cast<char>('A' + n));
        e.destination = folder.filePath(QString::fromLatin1(r.dest)).toStdString();
        e.outcome = r.outcome;
        if (e.outcome == "completed") {
            static const char* const hashes[] = {
                "9C1185A5C5E9FC54612808977EE8F548B2258D31", "2AAE6C35C94FCFB415DBE95F408B9CE91EE846ED",
                "F7C3BC1D808E04732ADF679965CCC34CA7AE3441", "0A4D55A8D778E5022FAB701977C5D840BBC486D0"};
            e.uploadHash = hashes[n % 4];
            e.records = r.records;
            e.total = qrv::Money::fromUnits(r.totalSatang * 100);
        }
        history.record(e);
        ++n;
    }
}

// The whole screen after a Direct Debit (100M) run of the example with mistakes, the program maximized
// as a person starts it (run on a display with a window manager): gui_screenshots --desktop FILE.png.
// With `reportFile`, the report of the run is also opened in its preview and pictured there; with
// `viewerFile`, its rejected lines in the source viewer.
int desktopAfterDirectDebitRun(const QString& file, const QString& reportFile = {},
                               const QString& viewerFile = {}) {
    QTemporaryDir data;
    initialiseData(data.path());
    const QString examples = QDir(data.path()).filePath(QStringLiteral("examples"));
    qrv::writeExamples(examples.toStdString(), qrv::SystemClock().today());
    qrv::gui::QtUi::Hooks hooks;
    std::unique_ptr<qrv::gui::ReportPreview> preview;
    hooks.report = [&preview, &reportFile](const qrv::ShownReport& report, const QString& html) {
        if (!reportFile.isEmpty()) {
            preview = std::make_unique<qrv::gui::ReportPreview>();
            preview->setPage(QString::fromStdString(report.layoutFile), html);
        }
    };
    hooks.message = [](qrv::MessageKind, const QString& text) { qInfo("%s", qPrintable(text)); };
    qrv::gui::MainWindow main({qrv::AppPaths{data.path().toStdString(), QRV_SOURCE_REPORTS}, nullptr, hooks,
                               QDir(data.path()).filePath("settings.ini")});
    main.showMaximized();
    qrv::gui::WorkbenchWindow& w = *main.workbench();
    w.radio(qrv::Choice::DirectDebit100M)->click();
    using C = qrv::Control;
    const auto type = [&w](C c, const QString& text) {
        static_cast<QLineEdit*>(w.control(c))->setText(text);
    };
    type(C::companyId, QStringLiteral("V5CORP01"));
    type(C::creditAccount, QStringLiteral("0142000013"));
    type(C::debitFeeAccount, QStringLiteral("5550001116"));
    static_cast<QComboBox*>(w.control(C::processingRound))->setCurrentIndex(0);
    // The paths in the system's form, as the file dialogs put them in.
    type(C::source,
         QDir::toNativeSeparators(QDir(examples).filePath(QStringLiteral("direct-debit-100m-mistakes.txt"))));
    type(C::destination,
         QDir::toNativeSeparators(QDir(data.path()).filePath(QStringLiteral("ddr-upload.txt"))));
    static_cast<QAbstractButton*>(w.control(C::reformat))->click();
    w.waitForRun();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1500) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
#ifdef _WIN32
    // Under Wine the desktop's picture holds only what Wine itself drew (the window at its first size):
    // the window draws itself instead, through Qt's Windows platform and fonts.
    const QPixmap picture = main.grab();
#else
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(0);
#endif
    if (!picture.save(file)) {
        return 1;
    }
    if (!viewerFile.isEmpty()) {
        w.resultPanel()->showRejectedButton()->click();
        auto* viewer = w.resultPanel()->findChild<qrv::gui::SourceViewer*>();
        if (viewer == nullptr) {
            return 1;
        }
        viewer->resize(1000, 420);
        settle.restart();
        while (settle.elapsed() < 1000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        if (!viewer->grab().save(viewerFile)) {
            return 1;
        }
        viewer->close();
    }
    if (preview == nullptr) {
        return reportFile.isEmpty() ? 0 : 1;
    }
    preview->resize(1000, 691);  // as it opens on a 1366 by 768 screen
    preview->show();
    settle.restart();
    while (settle.elapsed() < 1500) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return preview->grab().save(reportFile) ? 0 : 1;
}

// A customer's own payroll sheet as saved: title rows above its header, a total row at the bottom.
std::string customersSheet(const QString& payday) {
    return "\"ACME Trading Co., Ltd.\"\r\n"
           "Salaries for December 2026 paid on " +
           payday.toStdString() +
           "\r\n"
           "\r\n"
           "Account No.,Amount (Baht),Employee name,Department\r\n"
           "1234567896,\"28,739.50\",สมชาย ใจดี,Sales\r\n"
           "0142000013,\"31,250.00\",มาลี ศรีสุข,Accounts\r\n"
           "5550001116,\"19,505.00\",อนันต์ บุญมี,Warehouse\r\n"
           "1234567896,\"22,000.00\",Peter Miller,Sales\r\n"
           ",\"101,494.50\",Total,\r\n";
}

// Lets the window draw and the dialog's check end.
void settle(const qrv::gui::SheetMappingDialog& dialog, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms || dialog.running()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

// The whole screen with the mapping dialog over the workbench, a customer's sheet mapped: its columns
// chosen, the payday typed once for every entry and the total row left out, checked
// (gui_screenshots --sheet-mapping FILE.png).
int desktopWithSheetMapping(const QString& file) {
    QTemporaryDir data;
    initialiseData(data.path());
    qrv::gui::QtUi::Hooks hooks;
    hooks.message = [](qrv::MessageKind, const QString& text) { qInfo("%s", qPrintable(text)); };
    qrv::gui::MainWindow main({qrv::AppPaths{data.path().toStdString(), QRV_SOURCE_REPORTS}, nullptr, hooks,
                               QDir(data.path()).filePath("settings.ini")});
    main.showMaximized();
    qrv::gui::WorkbenchWindow& w = *main.workbench();
    w.radio(qrv::Choice::DirectCredit)->click();
    main.model().fields.companyId = "ACME01";
    w.syncFromCore();
    const QString payday = QDate::currentDate().addDays(7).toString(QStringLiteral("dd/MM/yyyy"));
    const QString sheetPath = QDir(data.path()).filePath(QStringLiteral("payroll-december.csv"));
    std::ofstream(sheetPath.toStdString(), std::ios::binary) << customersSheet(payday);
    qrv::SheetMappingForm form(sheetPath.toStdString(), main.model());
    qrv::gui::SheetMappingDialog dialog(form, main.ui(), &main);
    dialog.show();
    settle(dialog, 500);
    const auto column = [&dialog](const char* field, int index) {
        if (QComboBox* list = dialog.fieldChoice(QString::fromLatin1(field))) {
            list->setCurrentIndex(2 + index);  // after "not mapped" and "fixed value"
        }
    };
    column("credit account", 0);
    column("amount", 1);
    column("payee name", 2);
    if (QLineEdit* value = dialog.fieldValue(QStringLiteral("effective date"))) {
        value->setText(payday);
        dialog.fieldChoice(QStringLiteral("effective date"))->setCurrentIndex(1);
    }
    dialog.preview()->selectRow(dialog.preview()->rowCount() - 1);  // the total row
    dialog.leaveOutButton()->click();
    settle(dialog, 1500);
    return QGuiApplication::primaryScreen()->grabWindow(0).save(file) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Convertor QRV"));
    if (argc < 2) {
        return 2;
    }
    if (argc == 3 && QLatin1String(argv[1]) == QLatin1String("--desktop")) {
        return desktopAfterDirectDebitRun(QString::fromLocal8Bit(argv[2]));
    }
    // The same in Thai, with the run's report in its preview and its rejected lines in the source viewer:
    // --desktop-thai FILE.png REPORT.png [VIEWER.png]
    if ((argc == 4 || argc == 5) && QLatin1String(argv[1]) == QLatin1String("--desktop-thai")) {
        qrv::gui::InstallLanguage(qrv::gui::Language::Thai);
        return desktopAfterDirectDebitRun(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                                          argc == 5 ? QString::fromLocal8Bit(argv[4]) : QString());
    }
    // The mapping dialog over a customer's sheet: --sheet-mapping [--thai] FILE.png
    if (argc >= 3 && QLatin1String(argv[1]) == QLatin1String("--sheet-mapping")) {
        const bool thai = argc == 4 && QLatin1String(argv[2]) == QLatin1String("--thai");
        if (thai) {
            qrv::gui::InstallLanguage(qrv::gui::Language::Thai);
        }
        return desktopWithSheetMapping(QString::fromLocal8Bit(argv[thai ? 3 : 2]));
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir data;
    initialiseData(data.path());

    std::unique_ptr<qrv::gui::ReportPreview> lastPreview;
    qrv::gui::QtUi::Hooks hooks;
    hooks.report = [&lastPreview](const qrv::ShownReport& report, const QString& html) {
        lastPreview = std::make_unique<qrv::gui::ReportPreview>();
        lastPreview->setPage(QString::fromStdString(report.layoutFile), html);
    };
    hooks.message = [](qrv::MessageKind, const QString&) {};
    qrv::gui::MainWindow main({qrv::AppPaths{data.path().toStdString(), QRV_SOURCE_REPORTS}, nullptr, hooks,
                               QDir(data.path()).filePath("settings.ini")});
    main.resize(1024, 740);
    main.show();
    auto snap = [&out](QWidget* w, const QString& name) {
        QApplication::processEvents();
        w->grab().save(QDir(out).filePath(name + ".png"));
    };
    int n = 0;
    for (const qrv::ChoiceInfo& info : qrv::choices()) {
        if (info.choice == qrv::Choice::DirectContract) {
            continue;
        }
        main.workbench()->radio(info.choice)->click();
        snap(&main,
             QStringLiteral("%1-%2").arg(++n, 2, 10, QLatin1Char('0')).arg(QLatin1String(info.control)));
    }
    // The return-file choice right after Manager Cheque: one caption on the third line.
    main.workbench()->radio(qrv::Choice::ManagerCheque)->click();
    main.workbench()->radio(qrv::Choice::ReturnFile)->click();
    snap(&main, QStringLiteral("15-RadioButton1-after-rbtMcp"));
    // A run's results on screen, as after a reformat.
    main.workbench()->radio(qrv::Choice::DirectDebit100M)->click();
    main.model().fields.hashValue = "3F786850E387550FDAB836ED7E6DC881DE23001B";
    main.model().fields.creditAccount = "1234567890";
    main.model().fields.sourcePath = "/home/user/payments/DDR_20261208.txt";
    main.model().setProgress(100);
    main.workbench()->syncFromCore();
    main.workbench()->runCommand([](qrv::Workbench& w) { w.copyCreditAccount(); });
    snap(&main, QStringLiteral("14-results-shown"));
    // A Direct Credit run with rejected lines: the result panel says what it did.
    {
        using C = qrv::Control;
        const QDir folder(data.path());
        std::ofstream(folder.filePath("DCP_1215.txt").toStdString(), std::ios::binary)
            << directCreditSample();
        qrv::gui::WorkbenchWindow& w = *main.workbench();
        main.model().fields = qrv::WorkbenchFields{};
        w.syncFromCore();
        w.radio(qrv::Choice::DirectCredit)->click();
        const auto type = [&w](C c, const QString& text) {
            static_cast<QLineEdit*>(w.control(c))->setText(text);
        };
        type(C::companyId, QStringLiteral("ACME01"));
        type(C::debitAccount, QStringLiteral("1234567896"));
        type(C::feeAccount, QStringLiteral("1234567896"));
        type(C::source, folder.filePath("DCP_1215.txt"));
        type(C::destination, folder.filePath("DCP_1215_V5.txt"));
        static_cast<QAbstractButton*>(w.control(C::reformat))->click();
        w.waitForRun();
        snap(&main, QStringLiteral("16-run-with-rejected-lines"));
        // The source with its rejected lines marked, the second entry chosen.
        w.resultPanel()->showRejectedButton()->click();
        if (auto* viewer = w.resultPanel()->findChild<qrv::gui::SourceViewer*>()) {
            viewer->resize(1000, 420);
            viewer->entryList()->setCurrentRow(1);
            snap(viewer, QStringLiteral("17-source-viewer"));
            viewer->close();
        }
        // Thai names with vowels and tone marks, a field marked from the vowel of its first letter.
        const std::string thai = *qrv::cp874::fromUtf8("1234567896       00000287395บริษัท น้ำดื่ม จำกัด\r\n");
        std::ofstream(folder.filePath("thai.txt").toStdString(), std::ios::binary) << thai << thai;
        qrv::gui::SourceViewer thaiViewer(folder.filePath("thai.txt"),
                                          {{qrv::Reject::AccountInvalid, 2, 31, 36, "Name (example mark)"}},
                                          qrv::layout::SourceFile::DirectCredit);
        thaiViewer.resize(1000, 200);
        snap(&thaiViewer, QStringLiteral("18-source-viewer-thai"));
        // A Media Clearing file whose third line has a short branch code: the entry marks the branch
        // code, and the line under the text names the field from the layout.
        const auto media = [](const std::string& bankBranch, const std::string& amount,
                              const std::string& name) {
            std::string line(222, ' ');
            line.replace(0, 3, "102");
            line.replace(9, bankBranch.size(), bankBranch);
            line.replace(16, 11, "12345678901");
            line.replace(27, 7, "0140001");
            line.replace(35, 10, "1234567896");
            line.replace(53, 2, "01");
            line.replace(57, amount.size(), amount);
            line.replace(199, name.size(), name);
            return line + "\r\n";
        };
        std::ofstream(folder.filePath("MCL_1215.txt").toStdString(), std::ios::binary)
            << std::string(30, ' ') + "20122026  000003" + std::string(6, ' ') +
                   qrv::PadText("ACME TRADING", 30) + "\r\n"
            << media("0020001", "000000150000", "SOMCHAI JAIDEE")
            << media("0020  1", "000000010000", "MALEE SRISUK")
            << media("0040001", "000015000000", "ANAN BOONMEE");
        qrv::gui::SourceViewer fieldViewer(
            folder.filePath("MCL_1215.txt"),
            {{qrv::Reject::BankBranchCode, 3, 13, 16, "Bank 002 branch 0  1 invalid code"}},
            qrv::layout::SourceFile::MediaClearing);
        fieldViewer.resize(1000, 220);
        snap(&fieldViewer, QStringLiteral("19-source-viewer-field"));
        // The same file again: the question before a repeat, No being the default.
        QTimer question;
        question.setInterval(20);
        QObject::connect(&question, &QTimer::timeout, [&question, &snap] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                question.stop();
                snap(box, QStringLiteral("20-repeat-question"));
                box->button(QMessageBox::No)->click();
            }
        });
        question.start();
        type(C::destination, folder.filePath("DCP_1215_V5_again.txt"));
        static_cast<QAbstractButton*>(w.control(C::reformat))->click();
        w.waitForRun();
        // The history with the runs of a few days before it.
        recordEarlierRuns(main.store(), folder);
        main.showRunHistory();
        main.runHistory()->table()->selectRow(0);
        snap(&main, QStringLiteral("21-run-history"));
        main.showWorkbench();
    }
    // An upload file read back: the Direct Debit (100M) example's upload, as the examples' commands write
    // it, with its trailer total changed and its hash made again: the fault listed, marked and chosen, the
    // check's result above.
    {
        QFile example(QStringLiteral(QRV_SOURCE_REPORTS
                                     "/../../tests/cli/golden/11-reformat-DDR-V5CORP01/out/ddr.txt"));
        if (example.open(QIODevice::ReadOnly)) {
            std::string upload = example.readAll().toStdString();
            const size_t total = upload.find("\r\n999") + 2 + 15;
            upload[total] = upload[total] == '9' ? '8' : '9';
            const std::string body = upload.substr(42);
            qrv::Sha1 sha;
            sha.update(body);
            const QString changed = QDir(data.path()).filePath("ddr_V5.txt");
            std::ofstream(changed.toStdString(), std::ios::binary) << qrv::HexUpper(sha.finish()) << "\r\n"
                                                                   << body;
            if (qrv::gui::SourceViewer* viewer = main.openUploadFile(changed)) {
                viewer->resize(1100, 420);
                viewer->entryList()->setCurrentRow(0);
                snap(viewer, QStringLiteral("20-upload-viewer"));
                viewer->close();
            }
        }
    }
    // The mapping dialog over the example workbook of mistakes, with the example's mapping kept for the
    // company: Thai names in the sheet and the mapping, the bad rows with their reasons.
    {
        const QDir folder(data.path());
        const std::filesystem::path examples = folder.filePath(QStringLiteral("examples")).toStdString();
        qrv::writeExamples(examples, qrv::SystemClock().today());
        main.workbench()->radio(qrv::Choice::DirectCredit)->click();
        main.model().fields.companyId = "ACME01";
        QFile mapping(QString::fromStdString((examples / "direct-credit-map.ini").string()));
        mapping.open(QIODevice::ReadOnly);
        qrv::saveMapping(data.path().toStdString(), "DCP", "ACME01", mapping.readAll().toStdString());
        qrv::SheetMappingForm form(examples / "direct-credit-sheet-mistakes.xlsx", main.model());
        qrv::gui::SheetMappingDialog sheet(form, main.ui(), &main);
        sheet.resize(1100, 720);
        sheet.show();
        while (sheet.running()) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        snap(&sheet, QStringLiteral("19-sheet-mapping"));
    }
    main.password()->show();
    main.password()->userEdit()->setText("kovra");
    main.password()->passwordEdit()->setText("123");
    snap(main.password(), QStringLiteral("login"));
    main.password()->hide();
    main.account()->show();
    main.account()->part(0)->setText("123");
    main.account()->nameEdit()->setText(QString::fromUtf8("บริษัท ตัวอย่าง จำกัด"));
    snap(main.account(), QStringLiteral("account"));
    main.account()->hide();
    // The result report with a few variables, as a run would show it.
    qrv::Workbench& wb = main.model();
    qrv::ReportRunner runner = wb.reports().open(qrv::kResultRunner, "rptResult.frf");
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"PayType", "Direct Credit"},
             {"ComId", "ACME01"},
             {"CusCap", "Company Name : "},
             {"ComName", "บริษัท ตัวอย่าง จำกัด"},
             {"ValueDate", "15/12/2026"},
             {"FromFile", "/home/user/payments/DCP_1215.txt"},
             {"ToFile", "/home/user/upload/DCP_1215_V5.txt"},
             {"HashCode", "3F786850E387550FDAB836ED7E6DC881DE23001B"},
             {"DebitRecord", "000001"},
             {"CreditRecord", "10"},
             {"Amount", "0000000002873.950"},
             {"TotalZeroAcct", "1"},
             {"NoZeroAcct", "7"},
             {"TotalZeroAm", "1"},
             {"NoZeroAm", "9"},
             {"TotalNagativeAm", "0"},
             {"TotalReject", "2"}}) {
        runner.setVariable(name, value);
    }
    wb.ui().showReport(runner.prepare(wb.store()));
    if (lastPreview) {
        lastPreview->resize(1000, 691);  // as it opens on a 1366 by 768 screen: the page scrolls
        lastPreview->show();
        snap(lastPreview.get(), QStringLiteral("report"));
        // Scrolled to its end: the rejected entries and their total.
        QApplication::processEvents();
        QScrollBar* bar = lastPreview->pages()->verticalScrollBar();
        bar->setValue(bar->maximum());
        snap(lastPreview.get(), QStringLiteral("report-end"));
    }
    return 0;
}
