#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "base/FieldHelpers.h"
#include "cli/QrvRunner.h"
#include "gui/GuiFixture.h"
#include "gui/app/LoginDialog.h"
#include "gui/refdata/BankWindow.h"
#include "gui/window/ResultPanel.h"
#include "gui/window/SourceViewer.h"

namespace qrv::test {
namespace {

using C = Control;

// A Direct Credit file in the long-amount layout: header with the company name at 16-45 and the
// effective date ddmmyy at 48-53; details with the account at 1-10, the amount at 18-28, the name at 29-88.
std::string directCreditFile() {
    std::string header = "H00000001HEAD  ";  // columns 1-15, not blank: the long-amount layout
    header += PadText("ACME TRADING", 30);   // 16-45
    header += "  081226";                    // 46-47 blanks, 48-53 effective date
    header += "00002";                       // 54-58 record count
    const auto detail = [](const std::string& account, const std::string& amount, const std::string& name) {
        return account + "       " + amount + PadText(name, 60);
    };
    return crlfLines({header, detail("1234567896", "00000012345", "John Smith"),
                      detail("0000000000", "00000000100", "Nobody")});
}

TEST(WindowRun, DirectCreditThroughTheWindowWritesWhatTheCommandLineWrites) {
    GuiFixture f;
    writeFile(f.dir / "src.txt", directCreditFile());
    f.choose(Choice::DirectCredit);
    QTest::keyClicks(f.control<QLineEdit>(C::companyId), "ACME01");
    QTest::keyClicks(f.control<QLineEdit>(C::debitAccount), "1234567896");
    QTest::keyClicks(f.control<QLineEdit>(C::feeAccount), "1234567896");
    f.control<QLineEdit>(C::source)->setText(QString::fromStdString((f.dir / "src.txt").string()));
    f.control<QLineEdit>(C::destination)->setText(QString::fromStdString((f.dir / "gui.txt").string()));
    QTest::mouseClick(f.control(C::reformat), Qt::LeftButton);
    f.workbench().waitForRun();

    ASSERT_TRUE(std::filesystem::exists(f.dir / "gui.txt"));
    ASSERT_FALSE(f.messageTexts().empty());
    EXPECT_EQ(f.messageTexts().front(), "Reformat data and add to 2026-12-08ACME01_DCP.zip completed");
    EXPECT_EQ(f.control<QLineEdit>(C::hashValue)->text().toStdString(),
              readFile(f.dir / "gui.txt").substr(0, 40));

    std::filesystem::create_directories(f.dir / "cli");
    const QrvRun init = runQrv({"--data", (f.dir / "cliData").string(), "init"});
    ASSERT_EQ(init.status, 0) << init.err;
    const QrvRun run = runQrv({"--data", (f.dir / "cliData").string(), "--reports", QRV_SOURCE_REPORTS,
                               "reformat", "--product", "DCP", "--company-id", "ACME01", "--source",
                               (f.dir / "src.txt").string(), "--dest", (f.dir / "cli" / "gui.txt").string(),
                               "--debit-account", "1234567896", "--fee-account", "1234567896"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(readFile(f.dir / "cli" / "gui.txt"), readFile(f.dir / "gui.txt"));
    EXPECT_EQ(readFile(f.dir / "cli" / "ACME01_DCP_InvalidAcctRecord.txt"),
              readFile(f.dir / "ACME01_DCP_InvalidAcctRecord.txt"));
}

TEST(WindowRun, TheResultPanelSaysWhatARunWithRejectedLinesDid) {
    GuiFixture f;
    gui::ResultPanel& panel = *f.workbench().resultPanel();
    EXPECT_FALSE(panel.isVisibleTo(&f.workbench()));
    writeFile(f.dir / "src.txt", directCreditFile());
    f.choose(Choice::DirectCredit);
    QTest::keyClicks(f.control<QLineEdit>(C::companyId), "ACME01");
    QTest::keyClicks(f.control<QLineEdit>(C::debitAccount), "1234567896");
    QTest::keyClicks(f.control<QLineEdit>(C::feeAccount), "1234567896");
    f.control<QLineEdit>(C::source)->setText(QString::fromStdString((f.dir / "src.txt").string()));
    f.control<QLineEdit>(C::destination)->setText(QString::fromStdString((f.dir / "gui.txt").string()));
    QTest::mouseClick(f.control(C::reformat), Qt::LeftButton);
    f.workbench().waitForRun();

    // The message box keeps its text; a warning after it says what was left out, the panel the rest.
    EXPECT_EQ(f.messageTexts(),
              (std::vector<QString>{"Reformat data and add to 2026-12-08ACME01_DCP.zip completed",
                                    "1 of 2 entries were rejected and are not in the upload file: \"Show "
                                    "rejected lines\" in the Last run panel lists them."}));
    EXPECT_EQ(f.messages.back().first, MessageKind::Warning);
    ASSERT_TRUE(panel.isVisibleTo(&f.workbench()));
    const QString summary = panel.summary();
    EXPECT_TRUE(summary.contains("Accepted: 1 entry\n")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Rejected: 1 entry on 1 line\n")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Invalid credit account: 1 (last at line 3)")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Total: 123.45 baht")) << summary.toStdString();
    const auto full = [&f](const char* name) { return QString::fromStdString((f.dir / name).string()); };
    const QString listing = full("ACME01_DCP_InvalidAcctRecord.txt");
    ASSERT_TRUE(std::filesystem::exists(listing.toStdString()));
    EXPECT_EQ(panel.fileLines(), QStringList({"Upload file: " + full("gui.txt"), "Listing: " + listing,
                                              "Archive: " + full("2026-12-08ACME01_DCP.zip")}));
    EXPECT_EQ(panel.files().at(1), listing);
    EXPECT_TRUE(panel.openFolderButton()->isEnabled());
    EXPECT_TRUE(panel.openListingButton()->isEnabled());

    // The source with its rejected line marked: the listing's entry takes the person to its columns.
    ASSERT_TRUE(panel.showRejectedButton()->isEnabled());
    panel.showRejectedButton()->click();
    auto* viewer = panel.findChild<gui::SourceViewer*>();
    ASSERT_NE(viewer, nullptr);
    ASSERT_EQ(viewer->entryList()->count(), 1);
    EXPECT_TRUE(viewer->entryList()->item(0)->text().startsWith("Line 3, columns 1-10: "))
        << viewer->entryList()->item(0)->text().toStdString();
    EXPECT_EQ(viewer->sourceText()->textCursor().blockNumber(), 2);
    EXPECT_EQ(viewer->sourceText()->textCursor().selectedText(), "0000000000");
    viewer->close();

    // A run refused by its first check replaces what the panel said.
    f.control<QLineEdit>(C::companyId)->clear();
    QTest::mouseClick(f.control(C::reformat), Qt::LeftButton);
    f.workbench().waitForRun();
    EXPECT_TRUE(panel.files().isEmpty());
    EXPECT_FALSE(panel.openListingButton()->isEnabled());
    EXPECT_TRUE(panel.summary().startsWith("Stopped before any output"));
}

TEST(WindowRun, LogInOpensTheBankWindowAndBringsTheSameOneForward) {
    GuiFixture f;
    gui::LoginDialog* dialog = f.main().password();
    for (int i = 0; i < 2; ++i) {
        dialog->show();
        QTest::keyClicks(dialog->userEdit(), "kovra");
        QTest::keyClicks(dialog->passwordEdit(), "7");
        QTest::keyClick(dialog->passwordEdit(), Qt::Key_Return);
        QApplication::processEvents();
    }
    ASSERT_NE(gui::BankWindow::instance(), nullptr);
    int banks = 0;
    for (QMdiSubWindow* w : f.main().mdiArea()->subWindowList()) {
        banks += w->widget() == gui::BankWindow::instance() ? 1 : 0;
    }
    EXPECT_EQ(banks, 1);
    EXPECT_EQ(gui::BankWindow::instance()->windowTitle(), "Bank ::");
}

}  // namespace
}  // namespace qrv::test
