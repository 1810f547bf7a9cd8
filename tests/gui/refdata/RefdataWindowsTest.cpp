#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "gui/refdata/BankWindow.h"
#include "gui/refdata/BranchWindow.h"
#include "gui/refdata/MaintenancePanel.h"
#include "support/workbench/WorkbenchFixture.h"

namespace qrv {
namespace {

using B = MaintenanceButton;

class RefdataWindows : public ::testing::Test {
  protected:
    RefdataWindows() {
        addBank("014", "ธนาคารหลัก", "Home Bank");
        addBank("002", "ธนาคารกรุง", "Capital Bank");
        store.append("BRANCH", {{"BRANCH_CODE", std::string("0001")},
                                {"BANK_CODE", std::string("014")},
                                {"BRANCH_NAME_TH", std::string("สาขาหลัก")},
                                {"BRANCH_NAME_EN", std::string("Head Office")},
                                {"REGION_CODE", std::string("01")}});
        main.resize(900, 600);
        main.show();
        main.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
    }
    ~RefdataWindows() override {
        for (QMdiSubWindow* sub : main.subWindowList()) {
            delete sub;
        }
    }
    void addBank(const std::string& code, const std::string& th, const std::string& en) {
        store.append("Bank", {{"BANK_CODE", code}, {"BANK_NAME_TH", th}, {"BANK_NAME_EN", en}});
    }
    static std::vector<QString> gridColumn(const QTableWidget* grid, int column) {
        std::vector<QString> cells;
        for (int r = 0; r < grid->rowCount(); ++r) {
            cells.push_back(grid->item(r, column)->text());
        }
        return cells;
    }
    static std::vector<QString> headers(const QTableWidget* grid) {
        std::vector<QString> titles;
        for (int c = 0; c < grid->columnCount(); ++c) {
            titles.push_back(grid->horizontalHeaderItem(c)->text());
        }
        return titles;
    }
    static bool onDetailPage(gui::MaintenancePanel* p) {
        return p->findChild<QStackedWidget*>()->currentWidget()->objectName() == "detailPage";
    }
    static void key(QWidget* target, Qt::Key k) { QTest::keyClick(target, k); }
    // Types text as key presses carrying their characters (Thai included).
    static void type(QWidget* target, const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    test::TempDir dir;
    TableStore store{dir.path()};
    test::RecordingUi ui;
    QMdiArea main;
};

TEST_F(RefdataWindows, BankWindowIsOneMaximizedChildWithItsGrid) {
    gui::BankWindow* bank = gui::BankWindow::open(&main, store, ui);
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(bank->windowTitle(), "Bank ::");
    EXPECT_TRUE(bank->subWindow()->isMaximized());
    EXPECT_EQ(gui::BankWindow::open(&main, store, ui), bank);  // brought forward, not created again
    EXPECT_EQ(main.subWindowList().size(), 1);

    QTableWidget* grid = bank->panel()->grid();
    EXPECT_EQ(headers(grid), (std::vector<QString>{"Bank Code", "Bank Name Thai", "Bank Name English"}));
    EXPECT_EQ(gridColumn(grid, 0), (std::vector<QString>{"002", "014"}));
    EXPECT_EQ(gridColumn(grid, 1), (std::vector<QString>{"ธนาคารกรุง", "ธนาคารหลัก"}));
    EXPECT_EQ(gridColumn(grid, 2), (std::vector<QString>{"Capital Bank", "Home Bank"}));

    // Hints of the toolbar (the system's Thai hints, in the English window's words).
    const std::vector<std::pair<B, QString>> hints = {
        {B::Back, "Back [ESC]"}, {B::Branch, "Branches [F7]"}, {B::New, "New [F1]"},
        {B::Edit, "Edit [F2]"},  {B::Delete, "Delete [F3]"},   {B::View, "View [F4]"},
        {B::Save, "Save [F9]"},  {B::Cancel, "Cancel [ESC]"}};
    for (const auto& [b, hint] : hints) {
        ASSERT_NE(bank->panel()->button(b), nullptr);
        EXPECT_EQ(bank->panel()->button(b)->toolTip(), hint);
    }

    // A bank added elsewhere shows when the window is activated again.
    addBank("011", "ธนาคารทหาร", "Army Bank");
    gui::BankWindow::open(&main, store, ui);
    EXPECT_EQ(gridColumn(grid, 0), (std::vector<QString>{"011", "002", "014"}));

    // Esc on the list page closes and destroys the window; the next open makes a new one.
    key(grid, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(gui::BankWindow::instance(), nullptr);
    EXPECT_TRUE(main.subWindowList().isEmpty());
    EXPECT_NE(gui::BankWindow::open(&main, store, ui), nullptr);
    EXPECT_EQ(main.subWindowList().size(), 1);
}

TEST_F(RefdataWindows, KeysDriveTheBankWindow) {
    gui::BankWindow* bank = gui::BankWindow::open(&main, store, ui);
    gui::MaintenancePanel* p = bank->panel();
    QTableWidget* grid = p->grid();

    key(grid, Qt::Key_F9);  // no Save on the list page
    EXPECT_FALSE(onDetailPage(p));

    key(grid, Qt::Key_F1);
    ASSERT_TRUE(onDetailPage(p));
    EXPECT_FALSE(p->button(B::New)->isEnabled());
    EXPECT_TRUE(p->button(B::Save)->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), p->edit(0));
    type(p->edit(0), "t0k99");  // a code is digits only
    EXPECT_EQ(p->edit(0)->text(), "099");
    key(p->edit(0), Qt::Key_Return);  // Enter moves on to the Thai name
    EXPECT_EQ(QApplication::focusWidget(), p->edit(1));
    key(p->edit(1), Qt::Key_F1);  // New is disabled while adding
    EXPECT_EQ(p->edit(0)->text(), "099");
    key(p->edit(1), Qt::Key_F9);
    EXPECT_TRUE(onDetailPage(p));
    EXPECT_EQ(p->messageLine()->text(),
              QString("* Please Input ") + "Bank Name Thai" + " , " + "Bank Name English" + " ");
    p->edit(1)->setFocus();
    type(p->edit(1), "ธนาคารเค");
    type(p->edit(2), "  K Bank ");
    key(p->edit(2), Qt::Key_Return);  // Enter on the last field saves
    EXPECT_FALSE(onDetailPage(p));
    EXPECT_EQ(store.lookup("Bank", "BANK_CODE", "099")->text("BANK_NAME_EN"), "K Bank");
    EXPECT_EQ(gridColumn(grid, 0), (std::vector<QString>{"002", "014", "099"}));
    EXPECT_EQ(grid->currentRow(), 2);  // the new bank is the current row

    // Edit: the code cannot change, the focus is on the Thai name; Esc goes back without saving.
    grid->setCurrentCell(1, 0);
    key(grid, Qt::Key_F2);
    ASSERT_TRUE(onDetailPage(p));
    EXPECT_EQ(p->edit(0)->text(), "014");
    EXPECT_TRUE(p->edit(0)->isReadOnly());
    EXPECT_EQ(QApplication::focusWidget(), p->edit(1));
    type(p->edit(1), "x");
    key(p->edit(1), Qt::Key_Escape);
    EXPECT_FALSE(onDetailPage(p));
    EXPECT_EQ(store.lookup("Bank", "BANK_CODE", "014")->text("BANK_NAME_TH"), "ธนาคารหลัก");
    EXPECT_NE(gui::BankWindow::instance(), nullptr);  // Esc on the detail page does not close

    // View: everything read-only, F9 does nothing.
    key(grid, Qt::Key_F4);
    ASSERT_TRUE(onDetailPage(p));
    for (size_t f = 0; f < 3; ++f) {
        EXPECT_TRUE(p->edit(f)->isReadOnly());
    }
    EXPECT_FALSE(p->button(B::Save)->isEnabled());
    key(p->edit(1), Qt::Key_F9);
    EXPECT_TRUE(onDetailPage(p));
    key(p->edit(1), Qt::Key_Escape);

    // Delete asks first; No keeps the bank.
    ui.confirmAnswer = false;
    key(grid, Qt::Key_F3);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "ยืนยันการลบข้อมูล ?\n\nBank Code : 014\nBank Name Thai : ธนาคารหลัก\n"
              "Bank Name English : Home Bank");
    EXPECT_EQ(grid->rowCount(), 3);
}

TEST_F(RefdataWindows, DoubleClickEditsAndDuplicateCodeShowsPostError) {
    gui::BankWindow* bank = gui::BankWindow::open(&main, store, ui);
    gui::MaintenancePanel* p = bank->panel();
    QTableWidget* grid = p->grid();
    emit grid->cellDoubleClicked(0, 0);
    ASSERT_TRUE(onDetailPage(p));
    EXPECT_EQ(p->edit(0)->text(), "002");
    QTest::mouseClick(p->button(B::Cancel), Qt::LeftButton);
    EXPECT_FALSE(onDetailPage(p));

    QTest::mouseClick(p->button(B::New), Qt::LeftButton);
    type(p->edit(0), "014");
    type(p->edit(1), "ซ้ำ");
    type(p->edit(2), "Again");
    QTest::mouseClick(p->button(B::Save), Qt::LeftButton);
    EXPECT_TRUE(onDetailPage(p));
    EXPECT_EQ(p->messageLine()->text(), "* Post Error. Bank Code 014 exists already.");
    // A code of another width is said before anything is posted.
    p->edit(0)->clear();
    type(p->edit(0), "12");
    QTest::mouseClick(p->button(B::Save), Qt::LeftButton);
    EXPECT_EQ(p->messageLine()->text(), "* Bank Code must be 3 digits.");
    type(p->edit(0), "345");
    EXPECT_EQ(p->edit(0)->text(), "123");  // three digits at most
}

TEST_F(RefdataWindows, BranchWindowOpensModallyForTheCurrentBank) {
    gui::BankWindow* bank = gui::BankWindow::open(&main, store, ui);
    gui::MaintenancePanel* p = bank->panel();
    p->grid()->setCurrentCell(1, 0);  // 014, Home Bank

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<gui::BranchWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), "Branch ::");
        EXPECT_TRUE(dialog->isModal());
        EXPECT_EQ(dialog->stripField(0)->text(), "014");
        EXPECT_EQ(dialog->stripField(1)->text(), "ธนาคารหลัก");
        EXPECT_EQ(dialog->stripField(2)->text(), "HOME BANK");
        EXPECT_TRUE(dialog->stripField(0)->isReadOnly());
        gui::MaintenancePanel* bp = dialog->panel();
        EXPECT_EQ(bp->button(B::Branch), nullptr);
        QTableWidget* grid = bp->grid();
        EXPECT_EQ(headers(grid), (std::vector<QString>{"Branch Code", "Branch Name Thai",
                                                       "Branch Name English", "Region Code"}));
        EXPECT_EQ(gridColumn(grid, 0), (std::vector<QString>{"0001"}));
        EXPECT_EQ(gridColumn(grid, 2), (std::vector<QString>{"Head Office"}));

        key(grid, Qt::Key_F1);
        type(bp->edit(0), "b0002");
        type(bp->edit(1), "สาขาสอง");
        type(bp->edit(2), "Second");
        type(bp->edit(3), "z02");  // the region takes digits only
        EXPECT_EQ(bp->edit(3)->text(), "02");
        key(bp->edit(3), Qt::Key_F9);
        EXPECT_EQ(gridColumn(grid, 0), (std::vector<QString>{"0001", "0002"}));
        key(grid, Qt::Key_Escape);  // closes the dialog
    });
    QTest::mouseClick(p->button(B::Branch), Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(bank->findChildren<gui::BranchWindow*>().isEmpty());  // destroyed when closed
    const auto added = store.query("SELECT * FROM BRANCH WHERE BRANCH_CODE = ?", {std::string("0002")});
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].text("BANK_CODE"), "014");
    EXPECT_EQ(added[0].text("REGION_CODE"), "02");
}

// Find moves the grid to the next row holding the text; Import takes a CSV file of the window's table
// chosen in a file dialog, and the list shows it at once.
TEST_F(RefdataWindows, FindAndImportInTheBankWindow) {
    gui::BankWindow* bank = gui::BankWindow::open(&main, store, ui);
    gui::MaintenancePanel* p = bank->panel();
    QTableWidget* grid = p->grid();
    ASSERT_NE(p->findEdit(), nullptr);
    ASSERT_NE(p->importButton(), nullptr);
    grid->setCurrentCell(0, 0);  // 002 Capital Bank
    type(p->findEdit(), "home");
    key(p->findEdit(), Qt::Key_Return);  // Enter finds
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->item(grid->currentRow(), 0)->text(), "014");
    EXPECT_EQ(QApplication::focusWidget(), grid);
    p->findEdit()->setText("ธนาคารกรุง");
    QTest::mouseClick(p->findButton(), Qt::LeftButton);
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_TRUE(ui.messages.empty());

    test::writeFile(dir / "banks.csv", "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n020,ธนาคารยี่สิบ,Twenty Bank\n");
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        asked = true;
        dialog->selectFile(QString::fromStdString((dir / "banks.csv").string()));
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(p->importButton(), Qt::LeftButton);
    EXPECT_TRUE(asked);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Imported 1 banks and 0 branches"});
    EXPECT_EQ(gridColumn(grid, 0), (std::vector<QString>{"002", "014", "020"}));

    // Neither while a row is open.
    key(grid, Qt::Key_F1);
    EXPECT_FALSE(p->findEdit()->isEnabled());
    EXPECT_FALSE(p->importButton()->isEnabled());
}

}  // namespace
}  // namespace qrv
