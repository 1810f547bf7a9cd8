#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui/GuiFixture.h"
#include "gui/window/RememberedWork.h"

namespace qrv::test {
namespace {

using C = Control;

QString qs(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// A folder as the file dialogs get it: Qt's form, "/" between names on every system.
QString dialogFolder(const std::filesystem::path& p) {
    return QDir::fromNativeSeparators(qs(p));
}

void click(GuiFixture& f, C c) {
    QTest::mouseClick(f.control(c), Qt::LeftButton);
    f.workbench().waitForRun();
}

TEST(RememberedWork, FoldersProductFieldsAndRecentFilesOutliveARestart) {
    GuiFixture f;
    std::filesystem::create_directories(f.dir / "in");
    std::filesystem::create_directories(f.dir / "out");
    writeFile(f.dir / "in" / "pay.txt", "x\r\n");
    f.openAnswer = qs(f.dir / "in" / "pay.txt");
    click(f, C::browseSource);
    f.openAnswer.reset();
    click(f, C::browseSource);  // cancelled: the field keeps its path
    EXPECT_EQ(f.control<QLineEdit>(C::source)->text(), qs(f.dir / "in" / "pay.txt"));
    ASSERT_EQ(f.openFolders.size(), 2u);
    EXPECT_TRUE(f.openFolders[0].isEmpty());
    EXPECT_EQ(f.openFolders[1], dialogFolder(f.dir / "in"));
    // A dialog of its own folder starts where the last file was picked until it has one.
    f.saveAnswer = qs(f.dir / "out" / "up.txt");
    click(f, C::browseDestination);
    EXPECT_TRUE(f.saveRequests.back().second.startsWith(dialogFolder(f.dir / "in")));
    click(f, C::browseDestination);
    EXPECT_TRUE(f.saveRequests.back().second.startsWith(dialogFolder(f.dir / "out")));

    f.choose(Choice::Payroll);
    QTest::keyClicks(f.control(C::companyId), "PAYCO");
    QTest::keyClicks(f.control(C::debitAccount), "1234567896");
    f.choose(Choice::MediaClearing);
    click(f, C::clearForm);
    f.choose(Choice::Payroll);  // the empty fields take what was typed for this product
    EXPECT_EQ(f.control<QLineEdit>(C::companyId)->text(), "PAYCO");
    f.restart();
    EXPECT_TRUE(f.workbench().radio(Choice::Payroll)->isChecked());
    EXPECT_EQ(f.control<QLineEdit>(C::companyId)->text(), "PAYCO");
    EXPECT_EQ(f.control<QLineEdit>(C::debitAccount)->text(), "1234567896");
    EXPECT_TRUE(f.control<QLineEdit>(C::source)->text().isEmpty());
    f.openAnswer.reset();
    click(f, C::browseSource);
    EXPECT_EQ(f.openFolders.back(), dialogFolder(f.dir / "in"));

    // The recent source files, opened from the menu.
    QMenu* recent = f.main().recentMenu();
    emit recent->aboutToShow();
    ASSERT_FALSE(recent->actions().isEmpty());
    recent->actions().first()->trigger();
    EXPECT_EQ(f.control<QLineEdit>(C::source)->text(), qs(f.dir / "in" / "pay.txt"));
}

TEST(RememberedWork, SaveAsksBeforeReplacingAFileThatIsNoEarlierOutput) {
    GuiFixture f;
    const std::filesystem::path other = f.dir / "other.txt";
    writeFile(other, "someone else's file");
    f.saveAnswer = qs(other);
    f.questionAnswer = false;
    click(f, C::browseDestination);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].first, MessageKind::Confirmation);
    EXPECT_TRUE(f.messages[0].second.contains("other.txt"));
    EXPECT_TRUE(f.control<QLineEdit>(C::destination)->text().isEmpty());  // No: nothing chosen
    f.questionAnswer = true;
    click(f, C::browseDestination);
    EXPECT_EQ(f.control<QLineEdit>(C::destination)->text(), qs(other));

    // A file this product's run wrote is replaced without a question; for another product it is asked.
    const std::filesystem::path upload = f.dir / "upload.txt";
    f.control<QLineEdit>(C::destination)->setText(qs(upload));
    f.workbench().runCommand([&upload](Workbench&) { writeFile(upload, "001"); }, true);
    f.workbench().waitForRun();
    f.messages.clear();
    f.saveAnswer = qs(upload);
    click(f, C::browseDestination);
    EXPECT_TRUE(f.messages.empty());
    f.choose(Choice::MediaClearing);
    click(f, C::browseDestination);
    EXPECT_EQ(f.messages.size(), 1u);
}

TEST(WorkbenchKeys, EnterRunsTheLayoutsCommandAndF1OpensTheGuide) {
    GuiFixture f;
    click(f, C::reformat);
    const auto byClick = f.messageTexts();
    f.messages.clear();
    f.control(C::companyId)->setFocus();
    QTest::keyClick(f.control(C::companyId), Qt::Key_Return);
    f.workbench().waitForRun();
    EXPECT_EQ(f.messageTexts(), byClick);

    f.choose(Choice::DirectDebitHash);
    f.messages.clear();
    click(f, C::generateHash);
    const auto hashByClick = f.messageTexts();
    ASSERT_FALSE(hashByClick.empty());
    f.messages.clear();
    QTest::keyClick(f.control(C::source), Qt::Key_Enter);
    f.workbench().waitForRun();
    EXPECT_EQ(f.messageTexts(), hashByClick);

    // The guide beside the layouts; the test's layouts have none beside them, which is said.
    f.messages.clear();
    QTest::keyClick(&f.main(), Qt::Key_F1);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].second.contains("user-guide.md"));
    auto* quit = f.main().findChild<QAction*>("actExit");
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_FALSE(f.control(C::debitAccount)->toolTip().isEmpty());
}

}  // namespace
}  // namespace qrv::test
