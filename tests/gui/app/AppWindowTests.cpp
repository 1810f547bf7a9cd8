#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTest>
#include <QTextBlock>
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

// The main window over the data folder `data` and the layouts `reports`, its guide shown; messages
// are kept, not shown.
struct GuideShown {
    GuideShown(const std::filesystem::path& data, const std::filesystem::path& reports, const TempDir& dir)
        : main(gui::MainWindow::Options{AppPaths{data, reports}, &clock, hooks(),
                                        QString::fromStdString((dir / "settings.ini").string())}) {
        main.show();
        main.findChild<QAction*>("actUserGuide")->trigger();
    }
    gui::QtUi::Hooks hooks() {
        gui::QtUi::Hooks h;
        h.message = [this](MessageKind, const QString& text) { messages.push_back(text); };
        return h;
    }
    QTextBrowser* text() {
        return main.userGuide() != nullptr ? main.userGuide()->findChild<QTextBrowser*>() : nullptr;
    }

    std::vector<QString> messages;
    FixedClock clock{Date{2026, 12, 8}};
    gui::MainWindow main;
};

bool hasTable(const QTextBrowser& text) {
    for (QTextFrame* frame : text.document()->rootFrame()->childFrames()) {
        if (qobject_cast<QTextTable*>(frame) != nullptr) {
            return true;
        }
    }
    return false;
}

// The pictures the page shown names, each with whether the viewer found it.
std::vector<std::pair<QString, bool>> pictures(const QTextBrowser& text) {
    std::vector<std::pair<QString, bool>> found;
    for (QTextBlock block = text.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QString name = format.toImageFormat().name();
                const QVariant image = text.document()->resource(QTextDocument::ImageResource, QUrl(name));
                found.emplace_back(name, !qvariant_cast<QPixmap>(image).isNull());
            }
        }
    }
    return found;
}

// The guide shows its pictures, and a link opens the page beside it that it names, read as Markdown, with
// Alt+Left back to the guide.
TEST(AppWindow, TheUserGuideShowsItsPicturesAndThePagesItLinksTo) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Report");
    std::filesystem::create_directories(dir / "images");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / "images" / "run.png").string())));
    writeFile(dir / "user-guide.md",
              "# Convertor QRV: user guide\n\n![A run](images/run.png)\n\n"
              "The messages: [troubleshooting.md](troubleshooting.md)\n");
    writeFile(dir / "troubleshooting.md",
              "# Troubleshooting\n\n| message | what to do |\n|---|---|\n"
              "| `Invalid company id` | use letters and digits |\n");
    GuideShown shown(dir / "Data", dir / "Report", dir);
    QTextBrowser* text = shown.text();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(pictures(*text), (std::vector<std::pair<QString, bool>>{{"images/run.png", true}}));

    text->setFocus();
    QTest::keyClick(text, Qt::Key_Tab);  // the link
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_TRUE(text->toPlainText().contains("Invalid company id")) << text->toPlainText().toStdString();
    EXPECT_TRUE(hasTable(*text));
    QTest::keyClick(text, Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(text->toPlainText().startsWith("Convertor QRV: user guide"));
}

// The guide the build puts beside the program is the clerk's guide, and every picture it shows is there.
TEST(AppWindow, TheBuiltUserGuideFindsEveryPicture) {
    const std::filesystem::path bin = QCoreApplication::applicationDirPath().toStdString();
    ASSERT_TRUE(std::filesystem::exists(bin / "user-guide.md"));
    TempDir dir;
    GuideShown shown(dir / "Data", bin / "Report", dir);
    QTextBrowser* text = shown.text();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().startsWith("Convertor QRV: user guide"));
    EXPECT_TRUE(text->toPlainText().contains("Direct Debit (100M)"));
    const auto found = pictures(*text);
    EXPECT_FALSE(found.empty());
    for (const auto& [name, shownPicture] : found) {
        EXPECT_TRUE(shownPicture) << name.toStdString();
    }
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
