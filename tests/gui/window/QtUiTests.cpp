#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QTreeView>

#include "gui/GuiFixture.h"
#include "gui/app/LoginDialog.h"
#include "gui/reports/ReportPreview.h"
#include "gui/window/QtUi.h"
#include "workbench/ReferenceMaintenance.h"

namespace qrv::test {
namespace {

// Runs `inspect` on the modal window that the next call opens, then closes that window.
template <class W, class F>
void whenModalOpens(F inspect) {
    QTimer::singleShot(0, [inspect] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        inspect(w);
    });
}

TEST(QtUiDialogs, MessageBoxesCarryTheApplicationTitleAndTheExactText) {
    gui::QtUi ui;
    const std::string thai = "เลขที่บัญชี :กรุณาใส่ เป็นตัวเลข";
    struct Case {
        MessageKind kind;
        QMessageBox::Icon icon;
    };
    for (const Case c : {Case{MessageKind::Plain, QMessageBox::NoIcon},
                         Case{MessageKind::Information, QMessageBox::Information},
                         Case{MessageKind::Warning, QMessageBox::Warning},
                         Case{MessageKind::Error, QMessageBox::Critical}}) {
        bool seen = false;
        whenModalOpens<QMessageBox>([&seen, c, thai](QMessageBox* box) {
            seen = true;
            EXPECT_EQ(box->windowTitle(), "Convertor QRV");
            EXPECT_EQ(box->text(), QString::fromUtf8(thai.c_str()) + " ");
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            // Wide enough for the title beside the title bar's buttons, however short the text.
            const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
            EXPECT_GE(box->width(), title.horizontalAdvance(box->windowTitle()) + 6 * title.height());
            box->button(QMessageBox::Ok)->click();
        });
        ui.showMessage(c.kind, thai + " ");
        EXPECT_TRUE(seen);
    }
    whenModalOpens<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->text(), "Replace the file?");
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        EXPECT_TRUE(box->defaultButton() == box->button(QMessageBox::Yes));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(ui.askConfirmation("Replace the file?"));
    // A deletion, which names its record, is confirmed on purpose: Enter alone says No.
    whenModalOpens<QMessageBox>([](QMessageBox* box) {
        EXPECT_TRUE(box->defaultButton() == box->button(QMessageBox::No));
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(ui.askConfirmation(std::string(kConfirmDelete) + "\n\nBank Code : 002"));
    whenModalOpens<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_TRUE(ui.askConfirmation("Replace the file?"));
}

TEST(QtUiDialogs, SaveDialogProposesTheNameWithTheTextFilter) {
    gui::QtUi ui;
    whenModalOpens<QFileDialog>([](QFileDialog* d) {
        EXPECT_EQ(d->nameFilters(), QStringList({"Text files (*.txt)", "All files (*.*)"}));
        ASSERT_FALSE(d->selectedFiles().isEmpty());
        EXPECT_TRUE(d->selectedFiles().first().endsWith("081226-101500 Return File.txt"));
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(d->testOption(QFileDialog::DontConfirmOverwrite));
        d->reject();
    });
    EXPECT_FALSE(
        ui.chooseSaveFile("Text File|*.txt|All File|*.*", "081226-101500 Return File.txt").has_value());
}

TEST(QtUiDialogs, FileDialogsOpenLargeEnoughToReadTheNames) {
    gui::QtUi ui;
    const auto inspect = [](QFileDialog* d) {
        // Most of a 1366 by 768 screen, or all the room there is.
        const QRect screen = d->screen()->availableGeometry();
        EXPECT_GE(d->width(), std::min(900, screen.width() * 3 / 4)) << d->width();
        EXPECT_GE(d->height(), std::min(560, screen.height() * 3 / 4)) << d->height();
        // The names' column takes its share of the room, not the width it had in a small dialog.
        if (auto* details = d->findChild<QTreeView*>(QStringLiteral("treeView"))) {
            EXPECT_GE(details->header()->sectionSize(0), d->width() * 2 / 5);
        }
        d->reject();
    };
    whenModalOpens<QFileDialog>(inspect);
    EXPECT_FALSE(ui.chooseOpenFile("Text File|*.txt|All File|*.*").has_value());
    whenModalOpens<QFileDialog>(inspect);
    EXPECT_FALSE(ui.chooseSaveFile("Text File|*.txt|All File|*.*", "out.txt").has_value());
}

TEST(QtUiDialogs, TheSwitchWarningOffersCancelAndAnUnrelatedFileIsKeptByDefault) {
    gui::QtUi ui;
    whenModalOpens<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->text(), " Please, Clear Form. ");
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_TRUE(box->defaultButton() == box->button(QMessageBox::Cancel));
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(ui.askClearForm(" Please, Clear Form. "));
    whenModalOpens<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
    EXPECT_TRUE(ui.askClearForm("Clear Form"));

    const QTemporaryDir folder;
    const QString notes = QDir(folder.path()).filePath(QStringLiteral("notes.txt"));
    EXPECT_TRUE(ui.mayReplace(notes));  // nothing there yet
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    whenModalOpens<QMessageBox>([](QMessageBox* box) {
        EXPECT_TRUE(box->text().contains("notes.txt"));
        EXPECT_TRUE(box->defaultButton() == box->button(QMessageBox::No));
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(ui.mayReplace(notes));
}

TEST(QtUiDialogs, ReportsOpenWithoutBlockingOrModallyAsTheRunnerAsks) {
    gui::QtUi ui;
    ShownReport report;
    report.layoutFile = "rptGenHash.frf";
    report.templateText = "<html><body><p>Hash {{HashValue}}</p></body></html>";
    report.variables = {{"HashValue", "ABC123"}};
    report.modal = false;
    ui.showReport(report);
    gui::ReportPreview* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<gui::ReportPreview*>(w); p != nullptr && p->isVisible()) {
            shown = p;
        }
    }
    ASSERT_NE(shown, nullptr);
    shown->waitUntilReady();
    EXPECT_TRUE(shown->document()->toPlainText().contains("Hash ABC123"));
    EXPECT_FALSE(shown->isModal());
    shown->close();  // deletes itself

    report.layoutFile = "rptCompareFileFromV5.frf";
    report.modal = true;
    bool seen = false;
    whenModalOpens<gui::ReportPreview>([&seen](gui::ReportPreview* p) {
        seen = true;
        EXPECT_TRUE(p->windowTitle().contains("rptCompareFileFromV5.frf"));
        p->close();
    });
    ui.showReport(report);
    EXPECT_TRUE(seen);
}

TEST(QtUiDialogs, ProgressMovesTheBarWithoutRunningTheEventLoop) {
    // Commands run on a worker thread: showing progress must not re-enter the window's event loop.
    gui::QtUi ui;
    QProgressBar bar;
    bar.setRange(0, 100);
    ui.attach(nullptr, &bar);
    int handled = 0;
    QTimer::singleShot(0, [&handled] { ++handled; });
    ui.setProgress(10);
    EXPECT_EQ(bar.value(), 10);
    EXPECT_EQ(handled, 0);
    QApplication::processEvents();
    EXPECT_EQ(handled, 1);
}

TEST(MainWindow, MenuOpensTheLogInAndShowsTheWorkbenchAgain) {
    GuiFixture f;
    auto* logIn = f.main().findChild<QAction*>("actLogIn");
    ASSERT_NE(logIn, nullptr);
    EXPECT_EQ(logIn->text().remove('&'), "Log in");
    bool opened = false;
    whenModalOpens<QDialog>([&opened, &f](QDialog* d) {
        opened = d == f.main().password();
        d->reject();
    });
    logIn->trigger();
    EXPECT_TRUE(opened);

    // Closing the workbench only minimizes it; the menu brings it back maximized.
    QMdiSubWindow* sub = f.main().workbenchWindow();
    sub->close();
    QApplication::processEvents();
    EXPECT_TRUE(sub->isMinimized());
    auto* show = f.main().findChild<QAction*>("actReformatData");
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show->text().remove('&'), "Reformat Data");
    show->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(f.main().mdiArea()->activeSubWindow(), sub);
}

TEST(MainWindow, OpensTheTablesAtStartAndShowsWhyNot) {
    {
        // A new database receives the sample reference data of its folder.
        GuiFixture f;
        EXPECT_TRUE(f.messages.empty());
        EXPECT_TRUE(std::filesystem::exists(f.dir / "Data" / "QRV_DB.sqlite"));
    }
    {
        TempDir dir;
        std::filesystem::create_directories(dir / "Data");
        for (const char* name : {"Bank.csv", "Branch.csv"}) {
            std::filesystem::copy_file(std::filesystem::path(QRV_SOURCE_DATA) / name, dir / "Data" / name);
        }
        FixedClock clock(Date{2026, 12, 8});
        gui::MainWindow main({AppPaths{dir / "Data", QRV_SOURCE_REPORTS}, &clock, {}, {}});
        const std::optional<Row> bank = main.store().lookup("Bank", "BANK_CODE", "002");
        ASSERT_TRUE(bank.has_value());
        EXPECT_EQ(bank->text("BANK_NAME_EN"), "Sample Bank 002");
    }
    {
        TempDir dir;
        std::vector<std::pair<MessageKind, QString>> messages;
        gui::QtUi::Hooks hooks;
        hooks.message = [&messages](MessageKind kind, const QString& text) {
            messages.emplace_back(kind, text);
        };
        FixedClock clock(Date{2026, 12, 8});
        gui::MainWindow main({AppPaths{dir / "missing", QRV_SOURCE_REPORTS}, &clock, hooks, {}});
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].first, MessageKind::Error);
        EXPECT_TRUE(messages[0].second.contains(QString::fromStdString((dir / "missing").string())));
        // The window is up all the same, with no product chosen (no settings file).
        EXPECT_EQ(main.model().selected(), Choice::None);
    }
}

}  // namespace
}  // namespace qrv::test
