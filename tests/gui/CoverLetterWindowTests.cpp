#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "gui/GuiFixture.h"
#include "gui/app/AccountDialog.h"
#include "support/DebitHashFiles.h"

namespace qrv::test {
namespace {

using C = Control;

// Types into a box key by key; the text of each key event is what the box inserts, so Thai
// letters type as they are.
void typeInto(QLineEdit* box, const QString& text) {
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

std::string variableOf(const ShownReport& report, const std::string& name) {
    for (const auto& [n, v] : report.variables) {
        if (n == name) {
            return v;
        }
    }
    return "<unset>";
}

// Runs `answer` once the account dialog is on screen in its modal loop; a dialog still open after
// ten seconds is left through EXIT so that a fault fails the test instead of hanging it.
void whenDialogShows(gui::AccountDialog* dialog, std::function<void()> answer) {
    auto* poll = new QTimer(dialog);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, dialog, [dialog, poll, answer = std::move(answer)] {
        if (dialog->isVisible() && QApplication::activeModalWidget() == dialog) {
            poll->deleteLater();
            poll->stop();
            answer();
        }
    });
    poll->start();
    QTimer::singleShot(10000, dialog, [dialog] {
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the account dialog was still open";
            dialog->exitButton()->click();
        }
    });
}

TEST(WindowCoverLetter, AfterGenerateHashTheTypedAccountGoesIntoTheLetter) {
    GuiFixture f;
    const std::filesystem::path source = f.dir / "debit.txt";
    HashControl control;
    control.companyCode = "004512";
    control.totalAmount = "0000150050";
    HashDetail detail;
    detail.amount = "000150050";
    writeFile(source, crlfLines({hashControlRecord(control), hashDetailRecord(detail, false)}));

    f.choose(Choice::DirectDebitHash);
    ASSERT_TRUE(f.control(C::generateHash)->isVisible());
    ASSERT_TRUE(f.control(C::coverLetter)->isVisible());
    f.control<QLineEdit>(C::source)->setText(QString::fromStdString(source.string()));
    QTest::mouseClick(f.control(C::generateHash), Qt::LeftButton);
    f.workbench().waitForRun();
    const std::string hash = sha1Upper(readFile(source));
    EXPECT_EQ(f.control<QLineEdit>(C::hashValue)->text().toStdString(), hash);
    ASSERT_EQ(f.reports.size(), 1u);
    ASSERT_EQ(f.reports[0].first.layoutFile, "rptGenHash.frf");
    ASSERT_TRUE(f.messages.empty()) << f.messageTexts().front().toStdString();

    gui::AccountDialog* dialog = f.main().account();
    const QString name = QString::fromUtf8("บริษัท เอ บี ซี จำกัด");
    bool answered = false;
    whenDialogShows(dialog, [&] {
        answered = true;
        EXPECT_EQ(dialog->windowTitle(), "Account");
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(dialog->part(i)->text().isEmpty()) << i;
        }
        // An all-zero account is refused with the core's Thai message; the dialog and its boxes stay.
        typeInto(dialog->part(0), "000");
        typeInto(dialog->part(1), "0");
        typeInto(dialog->part(2), "00000");
        typeInto(dialog->part(3), "0");
        typeInto(dialog->nameEdit(), name);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        // The check's Thai message ("หมายเลขบัญชีไม่ถูกต้อง"), in the English window's words.
        EXPECT_EQ(f.messageTexts(), std::vector<QString>{"The account number is not correct"});
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->part(2)->text(), "00000");
        EXPECT_EQ(dialog->nameEdit()->text(), name);
        EXPECT_EQ(f.reports.size(), 1u);

        for (int i = 0; i < 4; ++i) {
            dialog->part(i)->clear();
        }
        typeInto(dialog->part(0), "123");
        typeInto(dialog->part(1), "4");
        typeInto(dialog->part(2), "56789");
        typeInto(dialog->part(3), "0");
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(f.control(C::coverLetter), Qt::LeftButton);
    f.workbench().waitForRun();

    ASSERT_TRUE(answered);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(f.messages.size(), 1u);
    ASSERT_EQ(f.reports.size(), 2u);
    const ShownReport& letter = f.reports[1].first;
    EXPECT_EQ(letter.layoutFile, "rptCoverLetter.frf");
    EXPECT_TRUE(letter.modal);
    EXPECT_EQ(variableOf(letter, "AccountNumber"), "123-4-56789-0");
    EXPECT_EQ(variableOf(letter, "NameAccount"), name.toStdString());
    EXPECT_EQ(variableOf(letter, "HashCode"), hash);
    EXPECT_EQ(variableOf(letter, "ComID"), "004512");
    EXPECT_EQ(variableOf(letter, "TransDate"), "08/12/2026");
    const QString& page = f.reports[1].second;
    EXPECT_TRUE(page.contains("123-4-56789-0"));
    EXPECT_TRUE(page.contains(name));
    EXPECT_EQ(variableOf(letter, "TotalAmount"), "1500.50");
    EXPECT_TRUE(page.contains("1,500.50 บาท"));  // the layout prints the amount for reading
    EXPECT_EQ(f.control<QLineEdit>(C::hashValue)->text().toStdString(), hash);
}

TEST(WindowCoverLetter, ExitLeavesWithoutALetter) {
    GuiFixture f;
    const std::filesystem::path source = f.dir / "debit.txt";
    writeFile(source, crlfLines({hashControlRecord(HashControl{}), hashDetailRecord(HashDetail{}, false)}));
    f.choose(Choice::DirectDebitHash);
    f.control<QLineEdit>(C::source)->setText(QString::fromStdString(source.string()));
    const QString hash = QString::fromStdString(sha1Upper(readFile(source)));
    f.control<QLineEdit>(C::hashValue)->setText(hash);
    gui::AccountDialog* dialog = f.main().account();
    bool shown = false;
    whenDialogShows(dialog, [dialog, &shown] {
        shown = true;
        typeInto(dialog->part(0), "123");
        QTest::mouseClick(dialog->exitButton(), Qt::LeftButton);
    });
    QTest::mouseClick(f.control(C::coverLetter), Qt::LeftButton);
    f.workbench().waitForRun();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(f.messages.empty());
    EXPECT_TRUE(f.reports.empty());
    EXPECT_EQ(f.control<QLineEdit>(C::hashValue)->text(), hash);
}

}  // namespace
}  // namespace qrv::test
