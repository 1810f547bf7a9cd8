#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMdiSubWindow>
#include <QTest>
#include <QTextBrowser>
#include <QTextTable>

#include "gui/GuiFixture.h"

namespace qrv::test {
namespace {

// Help > User Guide and F1 show the guide in a window of the program (the desktop may have nothing that
// opens a Markdown file), its tables as tables; a missing guide is said.
TEST(AppWindow, TheUserGuideIsShownInTheProgram) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Report");
    writeFile(dir / "user-guide.md",
              "# Convertor QRV: user guide\n\n## The products\n\n| product | code |\n|---|---|\n"
              "| Direct Credit | DCP |\n| Media Clearing | MCL |\n");
    std::vector<QString> errors;
    gui::QtUi::Hooks hooks;
    hooks.message = [&errors](MessageKind, const QString& text) { errors.push_back(text); };
    FixedClock clock{Date{2026, 12, 8}};
    gui::MainWindow main(gui::MainWindow::Options{AppPaths{dir / "Data", dir / "Report"}, &clock, hooks,
                                                  QString::fromStdString((dir / "settings.ini").string())});
    main.show();
    errors.clear();  // what the empty data folder gave
    auto* guide = main.findChild<QAction*>("actUserGuide");
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->shortcut(), QKeySequence(Qt::Key_F1));
    guide->trigger();
    QDialog* shown = main.userGuide();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    auto* text = shown->findChild<QTextBrowser*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains("Media Clearing"));
    EXPECT_FALSE(text->toPlainText().contains("|---|"));  // read as Markdown
    bool table = false;
    for (QTextFrame* frame : text->document()->rootFrame()->childFrames()) {
        table = table || qobject_cast<QTextTable*>(frame) != nullptr;
    }
    EXPECT_TRUE(table);
    guide->trigger();  // again: the same window
    EXPECT_EQ(main.userGuide(), shown);
    EXPECT_TRUE(errors.empty());

    std::filesystem::remove(dir / "user-guide.md");
    guide->trigger();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].startsWith("Cannot open the user guide")) << errors[0].toStdString();
}

// The workbench is not closed by a key: one Ctrl+W too many (after closing a report) leaves it as it is.
TEST(AppWindow, CtrlWLeavesTheWorkbenchMaximized) {
    GuiFixture f;
    f.main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.main()));
    QWidget* field = f.control(Control::companyId);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_W, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_F4, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_FALSE(f.main().workbenchWindow()->isMinimized());
    EXPECT_TRUE(f.main().workbenchWindow()->isMaximized());
    // Nor by a button: it has no close button (nor the menu holding Close) of its own.
    const Qt::WindowFlags flags = f.main().workbenchWindow()->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
}

}  // namespace
}  // namespace qrv::test
