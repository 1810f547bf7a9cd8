#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "gui/GuiFixture.h"
#include "gui/history/RunHistoryWindow.h"
#include "store/RunHistory.h"

// A file converted before is converted again only when the person says Yes (No being what Enter says), and
// View > Run history lists the runs, filters them, opens a run's folder and copies its hash.
namespace qrv::test {
namespace {

using C = Control;

void readyDirectCredit(GuiFixture& f, const std::string& destination) {
    f.choose(Choice::DirectCredit);
    f.type(C::companyId, QStringLiteral("ACME01"));
    f.type(C::debitAccount, QStringLiteral("1234567896"));
    f.type(C::feeAccount, QStringLiteral("1234567896"));
    f.type(C::source, f.example("direct-credit.txt"));
    f.type(C::destination, f.dir / destination);
}

// Runs `inspect` on the message box that opens next, however late (a run asks from its own thread).
void whenMessageBoxOpens(std::function<void(QMessageBox*)> inspect) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            inspect(box);
        }
    });
    timer->start();
}

std::vector<RunEntry> runs(GuiFixture& f) {
    return RunHistory(f.main().store()).list({});
}

TEST(RunHistoryWindow, AFileConvertedBeforeIsAskedAboutWithNoAsTheDefault) {
    GuiFixture f;
    readyDirectCredit(f, "first.txt");
    f.press(C::reformat);
    ASSERT_EQ(runs(f).size(), 1u);
    const RunEntry first = runs(f).front();

    readyDirectCredit(f, "second.txt");
    f.main().ui().hooks().question = nullptr;  // the real question box
    bool asked = false;
    whenMessageBoxOpens([&](QMessageBox* box) {
        asked = true;
        EXPECT_EQ(box->text(), QString::fromStdString("This file was converted on 2026-12-08 10:00:00 into " +
                                                      first.destination + " (hash " + first.uploadHash +
                                                      "). Convert it again?"));
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        EXPECT_TRUE(box->defaultButton() == box->button(QMessageBox::No));
        QTest::keyClick(box, Qt::Key_Return);
    });
    f.press(C::reformat);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(std::filesystem::exists(f.dir / "second.txt"));
    EXPECT_EQ(runs(f).size(), 1u);

    whenMessageBoxOpens([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    f.press(C::reformat);
    EXPECT_TRUE(std::filesystem::exists(f.dir / "second.txt"));
    EXPECT_EQ(runs(f).size(), 2u);
}

TEST(RunHistoryWindow, ListsFiltersOpensTheFolderAndCopiesTheHash) {
    GuiFixture f;
    readyDirectCredit(f, "dcp.txt");
    f.press(C::reformat);
    f.clock.set({{2026, 12, 9}, 11, 30, 0});
    f.choose(Choice::MediaClearing);
    f.type(C::companyId, QStringLiteral("ACME02"));
    f.type(C::source, f.example("media-clearing.txt"));
    f.type(C::destination, f.dir / "mcl.txt");
    f.press(C::reformat);

    QAction* menu = f.main().findChild<QAction*>(QStringLiteral("actRunHistory"));
    ASSERT_NE(menu, nullptr);
    menu->trigger();
    gui::RunHistoryWindow* w = f.main().runHistory();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Run history");
    QAbstractItemModel* model = w->table()->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Ran at");
    EXPECT_EQ(model->index(0, 0).data().toString(), "2026-12-09 11:30:00");  // newest first
    EXPECT_EQ(model->index(0, 3).data().toString(), "MCL");
    EXPECT_EQ(model->index(1, 4).data().toString(), "ACME01");
    EXPECT_EQ(model->index(1, 5).data().toString(), "completed");
    EXPECT_EQ(w->countLabel()->text(), "2 run(s)");
    EXPECT_FALSE(w->openFolderButton()->isEnabled());  // no run chosen

    w->companyFilter()->setText(QStringLiteral("ACME01"));
    EXPECT_EQ(model->rowCount(), 1);
    w->companyFilter()->clear();
    w->productFilter()->setCurrentIndex(w->productFilter()->findData(QStringLiteral("MCL")));
    EXPECT_EQ(model->rowCount(), 1);
    w->productFilter()->setCurrentIndex(0);
    w->fromCheck()->setChecked(true);  // from the clock's day it opened on: 2026-12-09
    EXPECT_EQ(model->rowCount(), 1);
    w->fromDate()->setDate(QDate(2026, 12, 8));
    EXPECT_EQ(model->rowCount(), 2);
    w->toCheck()->setChecked(true);
    w->toDate()->setDate(QDate(2026, 12, 8));
    EXPECT_EQ(model->rowCount(), 1);
    w->fromCheck()->setChecked(false);
    ASSERT_EQ(model->rowCount(), 1);

    // The Direct Credit run: its folder opens, its hash is copied.
    w->table()->selectRow(0);
    ASSERT_TRUE(w->copyHashButton()->isEnabled());
    QUrl opened;
    w->setOpener([&opened](const QUrl& url) {
        opened = url;
        return true;
    });
    w->openFolderButton()->click();
    EXPECT_EQ(opened, QUrl::fromLocalFile(QString::fromStdString(f.dir.path().string())));
    w->copyHashButton()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(runs(f).back().uploadHash));

    // A run that ends shows at once.
    w->toCheck()->setChecked(false);
    readyDirectCredit(f, "dcp2.txt");
    f.type(C::companyId, QStringLiteral("ACME03"));
    f.main().showWorkbench();
    f.press(C::reformat);
    EXPECT_EQ(model->rowCount(), 3);
}

}  // namespace
}  // namespace qrv::test
