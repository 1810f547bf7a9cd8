#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui/GuiFixture.h"
#include "gui/app/AccountDialog.h"
#include "gui/app/LoginDialog.h"
#include "refdata/AdministratorLogIn.h"

namespace qrv::test {
namespace {

TEST(LogInDialog, TurnsTheUserNameIntoUpperCaseAndSaysAWrongPassword) {
    GuiFixture f;
    int opened = 0;
    f.main().setOpenBankWindow([&opened] { ++opened; });
    gui::LoginDialog* dialog = f.main().password();
    EXPECT_EQ(dialog->windowTitle(), "Log in");
    EXPECT_EQ(dialog->passwordEdit()->echoMode(), QLineEdit::Password);
    dialog->show();
    // Its title fits beside the title bar's buttons.
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    EXPECT_GE(dialog->width(), title.horizontalAdvance(dialog->windowTitle()) + 6 * title.height());
    QTest::keyClicks(dialog->userEdit(), "kovra");
    EXPECT_EQ(dialog->userEdit()->text(), "KOVRA");
    EXPECT_TRUE(dialog->messageLine()->text().isEmpty());

    // An empty password is refused, on the dialog's message line.
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(dialog->messageLine()->text(), "Wrong user name or password.");
    // A wrong one too; what was typed stays.
    QTest::keyClicks(dialog->passwordEdit(), "8");
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->userEdit()->text(), "KOVRA");
    EXPECT_EQ(dialog->passwordEdit()->text(), "8");
    EXPECT_EQ(dialog->messageLine()->text(), "Wrong user name or password.");
    EXPECT_EQ(opened, 0);

    // Enter presses OK.
    dialog->passwordEdit()->clear();
    QTest::keyClicks(dialog->passwordEdit(), "7");
    QTest::keyClick(dialog->passwordEdit(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(f.messages.empty());
}

TEST(LogInDialog, ThreeWrongAttemptsMakeOkWaitThirtySeconds) {
    GuiFixture f;
    int opened = 0;
    f.main().setOpenBankWindow([&opened] { ++opened; });
    gui::LoginDialog* dialog = f.main().password();
    auto now = AdministratorLogIn::Clock::time_point{} + std::chrono::hours(1);
    dialog->setClock([&now] { return now; });
    dialog->show();
    QTest::keyClicks(dialog->userEdit(), "KOVRA");
    for (const char* guess : {"1", "2", "3"}) {
        dialog->passwordEdit()->setText(guess);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    }
    EXPECT_EQ(dialog->messageLine()->text(), "Three wrong attempts: try again in 30 seconds.");
    EXPECT_FALSE(dialog->okButton()->isEnabled());
    dialog->passwordEdit()->setText("7");
    QTest::keyClick(dialog->passwordEdit(), Qt::Key_Return);  // OK waits
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(opened, 0);
    now += std::chrono::seconds(29);
    QTest::qWait(1100);  // the countdown
    EXPECT_EQ(dialog->messageLine()->text(), "Three wrong attempts: try again in 1 second.");
    now += std::chrono::seconds(1);
    QTest::qWait(1100);
    EXPECT_TRUE(dialog->okButton()->isEnabled());
    EXPECT_EQ(dialog->messageLine()->text(), "You can log in again.");
    QTest::keyClick(dialog->passwordEdit(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(opened, 1);
}

TEST(LogInDialog, OpensBlankTheSecondTime) {
    GuiFixture f;
    gui::LoginDialog* dialog = f.main().password();
    int seenEmpty = 0;
    auto typeAndCancel = [&] {
        if (dialog->userEdit()->text().isEmpty() && dialog->passwordEdit()->text().isEmpty()) {
            ++seenEmpty;
        }
        QTest::keyClicks(dialog->userEdit(), "KOV");
        QTest::keyClicks(dialog->passwordEdit(), "1");
        dialog->reject();
    };
    QTimer::singleShot(0, dialog, typeAndCancel);
    f.main().logIn();
    EXPECT_TRUE(dialog->userEdit()->text().isEmpty());
    EXPECT_TRUE(dialog->passwordEdit()->text().isEmpty());
    QTimer::singleShot(0, dialog, typeAndCancel);
    f.main().logIn();
    EXPECT_EQ(seenEmpty, 2);
}

TEST(AccountDialog, AdvancesThroughTheFourPartsAndKeepsTheirLengths) {
    gui::AccountDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Account");
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(dialog.part(0)->maxLength(), 3);
    EXPECT_EQ(dialog.part(1)->maxLength(), 1);
    EXPECT_EQ(dialog.part(2)->maxLength(), 5);
    EXPECT_EQ(dialog.part(3)->maxLength(), 1);
    EXPECT_EQ(dialog.nameEdit()->maxLength(), 100);
    auto* numberCaption = dialog.findChild<QLabel*>("lblAccNum");
    ASSERT_NE(numberCaption, nullptr);
    // The English window's words; in Thai the system's own ("เลขที่บัญชี", "ชื่อบัญชีบริษัท").
    EXPECT_EQ(numberCaption->text(), "Account number");
    auto* nameCaption = dialog.findChild<QLabel*>("lblNameAccount");
    ASSERT_NE(nameCaption, nullptr);
    EXPECT_EQ(nameCaption->text(), "Company account name");
    EXPECT_EQ(dialog.okButton()->text().remove('&'), "OK");
    EXPECT_EQ(dialog.exitButton()->text().remove('&'), "EXIT");

    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.part(0)->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), "12");
    EXPECT_EQ(QApplication::focusWidget(), dialog.part(0));
    QTest::keyClicks(QApplication::focusWidget(), "3");
    EXPECT_EQ(QApplication::focusWidget(), dialog.part(1));
    QTest::keyClicks(QApplication::focusWidget(), "4");
    EXPECT_EQ(QApplication::focusWidget(), dialog.part(2));
    QTest::keyClicks(QApplication::focusWidget(), "56789");
    EXPECT_EQ(QApplication::focusWidget(), dialog.part(3));
    QTest::keyClicks(QApplication::focusWidget(), "01");
    EXPECT_EQ(QApplication::focusWidget(), dialog.part(3));  // the last part does not advance
    EXPECT_EQ(dialog.part(3)->text(), "0");
    const gui::AccountInput in = dialog.input();
    EXPECT_EQ(in.parts[0] + in.parts[1] + in.parts[2] + in.parts[3], "1234567890");

    // Escape does not leave; a refused OK keeps the dialog and the typed values.
    QTest::keyClick(dialog.part(3), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    int asked = 0;
    dialog.setOkHandler([&asked](const gui::AccountInput&) {
        ++asked;
        return false;
    });
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.part(2)->text(), "56789");
    // EXIT leaves.
    QTest::mouseClick(dialog.exitButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(AccountDialog, AskStartsBlankAndReturnsWhatOkAccepted) {
    gui::AccountDialog dialog;
    dialog.part(0)->setText("999");
    dialog.setOkHandler([](const gui::AccountInput& in) { return !in.name.empty(); });
    QTimer::singleShot(0, &dialog, [&dialog] {
        EXPECT_TRUE(dialog.part(0)->text().isEmpty());
        dialog.part(0)->setText("123");
        dialog.part(1)->setText("4");
        dialog.part(2)->setText("56789");
        dialog.part(3)->setText("0");
        dialog.nameEdit()->setText(QString::fromUtf8("บริษัท ทดสอบ"));
        QTest::keyClick(dialog.nameEdit(), Qt::Key_Return);  // Enter is OK
    });
    const std::optional<gui::AccountInput> in = dialog.ask();
    ASSERT_TRUE(in.has_value());
    EXPECT_EQ(in->parts[2], "56789");
    EXPECT_EQ(in->name, "บริษัท ทดสอบ");

    QTimer::singleShot(0, &dialog, [&dialog] { QTest::mouseClick(dialog.exitButton(), Qt::LeftButton); });
    EXPECT_FALSE(dialog.ask().has_value());
}

}  // namespace
}  // namespace qrv::test
