#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>

#include "base/RunCancelled.h"
#include "cli/QrvRunner.h"
#include "gui/GuiFixture.h"
#include "gui/sheet/SheetMappingDialog.h"
#include "gui/window/SourceViewer.h"

// The source field's Browse offers spreadsheets; a chosen sheet is mapped and built in the mapping dialog.
namespace qrv {
namespace {

using C = Control;
using gui::SheetMappingDialog;

// Waits for the dialog's check or build to end.
void waitIdle(const SheetMappingDialog& d) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (d.running() && std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ASSERT_FALSE(d.running());
}

std::vector<QString> listed(const SheetMappingDialog& d) {
    std::vector<QString> texts;
    for (int i = 0; i < d.messages()->count(); ++i) {
        texts.push_back(d.messages()->item(i)->text());
    }
    return texts;
}

// Presses Browse with `sheet` chosen and hands the mapping dialog to `act` once its check has run.
void browseSheet(test::GuiFixture& f, const std::filesystem::path& sheet,
                 const std::function<void(SheetMappingDialog&)>& act) {
    f.openAnswer = QString::fromStdString(sheet.string());
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* d = qobject_cast<SheetMappingDialog*>(QApplication::activeModalWidget());
        if (d == nullptr || seen) {
            return;
        }
        seen = true;
        poll.stop();
        waitIdle(*d);
        act(*d);
        if (d->isVisible() && !d->running()) {
            d->reject();
        }
    });
    poll.start();
    QTest::mouseClick(f.control(C::browseSource), Qt::LeftButton);
    poll.stop();
    EXPECT_TRUE(seen) << "no mapping dialog";
}

// The example sheets with their mapping build beside themselves the file `qrv build-source` builds, which
// goes into the source field; an existing file is replaced only when the person agrees.
TEST(SheetMappingDialog, BuildsTheExampleSheetsAsTheCommandLineDoes) {
    test::GuiFixture f;
    f.type(C::companyId, QStringLiteral("ACME01"));
    for (const char* name : {"direct-credit.csv", "direct-credit.xlsx"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path sheet = f.example(name);
        const std::filesystem::path expected = f.dir / "cli.txt";
        ASSERT_EQ(test::runQrv({"--data", (f.dir / "Data").string(), "build-source", "--product", "DCP",
                                "--sheet", sheet.string(), "--map",
                                f.example("direct-credit-map.ini").string(), "--dest", expected.string()})
                      .status,
                  0);
        const std::filesystem::path built = f.dir / "ex" / "direct-credit.txt";  // the example's own file
        const std::string before = test::readFile(built);
        f.messages.clear();
        f.type(C::source, QString());

        // Refusing to replace leaves the file and the dialog.
        f.questionAnswer = false;
        browseSheet(f, sheet, [&](SheetMappingDialog& d) {
            EXPECT_EQ(d.preview()->item(1, 2)->text(), QStringLiteral("สมชาย ใจดี"));
            EXPECT_EQ(d.fieldChoice("amount")->currentText(), QStringLiteral("B: Amount (Baht)"));
            EXPECT_EQ(d.fieldValue("company name")->text(), QStringLiteral("บริษัท ตัวอย่าง จำกัด"));
            EXPECT_EQ(d.yearEra()->currentData().toString(), QStringLiteral("BE"));
            ASSERT_FALSE(listed(d).empty());
            EXPECT_TRUE(listed(d).back().startsWith(QStringLiteral("Checked: 4 entries")))
                << listed(d).back().toStdString();
            d.okButton()->click();
            EXPECT_FALSE(d.running());
            EXPECT_TRUE(d.isVisible());
        });
        EXPECT_EQ(test::readFile(built), before);
        EXPECT_TRUE(f.control<QLineEdit>(C::source)->text().isEmpty());

        f.questionAnswer = true;
        browseSheet(f, sheet, [](SheetMappingDialog& d) {
            d.okButton()->click();
            waitIdle(d);
        });
        EXPECT_EQ(test::readFile(built), test::readFile(expected));
        EXPECT_EQ(f.control<QLineEdit>(C::source)->text(), QString::fromStdString(built.string()));
        ASSERT_FALSE(f.messages.empty());
        EXPECT_TRUE(f.messages.back().second.startsWith(QStringLiteral("Wrote 4 entries")))
            << f.messages.back().second.toStdString();
        EXPECT_TRUE(f.messages.back().second.contains(QStringLiteral("direct-credit.txt")));
        // The file built is shown in the source viewer.
        gui::SourceViewer* viewer = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* v = qobject_cast<gui::SourceViewer*>(w); v != nullptr && v->isVisible()) {
                viewer = v;
            }
        }
        ASSERT_NE(viewer, nullptr);
        EXPECT_TRUE(viewer->sourceText()->toPlainText().contains(QStringLiteral("สมชาย ใจดี")));
        viewer->close();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(f.openFilters.back(), "Text files (*.txt);;Spreadsheets (*.csv *.xlsx);;All files (*.*)");
}

// A sheet with mistakes: each bad row is shown with its reason and nothing is written; the mapping made
// for the company and product comes back for its next sheet, and not for another company.
TEST(SheetMappingDialog, ShowsBadRowsWritesNothingAndRemembersTheMapping) {
    test::GuiFixture f;
    f.type(C::companyId, QStringLiteral("ACME01"));
    const std::filesystem::path mistakes = f.example("direct-credit-sheet-mistakes.xlsx");

    // No mapping yet: nothing chosen, and the check names a field left out.
    browseSheet(f, mistakes, [](SheetMappingDialog& d) {
        EXPECT_EQ(d.fieldChoice("amount")->currentIndex(), 0);
        EXPECT_TRUE(listed(d).back().contains(QStringLiteral("is not mapped")))
            << listed(d).back().toStdString();
        d.fieldChoice("credit account")
            ->setCurrentIndex(d.fieldChoice("credit account")->findText("A: Account No."));
        d.fieldChoice("amount")->setCurrentIndex(d.fieldChoice("amount")->findText("B: Amount (Baht)"));
        d.fieldChoice("payee name")->setCurrentIndex(d.fieldChoice("payee name")->findText("C: Payee"));
        d.fieldChoice("effective date")
            ->setCurrentIndex(d.fieldChoice("effective date")->findText("D: Pay Date"));
        d.checkButton()->click();
        waitIdle(d);
        const std::vector<QString> texts = listed(d);
        EXPECT_TRUE(
            std::find(texts.begin(), texts.end(),
                      QStringLiteral("Row 4, column A \"Account No.\" (credit account): \"12345678\" has 8 "
                                     "digits, not 10")) != texts.end())
            << texts.size();
        EXPECT_TRUE(texts.back().startsWith(QStringLiteral("Nothing was written: 7 rows")))
            << texts.back().toStdString();
        d.okButton()->click();
        waitIdle(d);
        EXPECT_TRUE(d.isVisible()) << "nothing built: the dialog stays";
        EXPECT_TRUE(listed(d).back().startsWith(QStringLiteral("Nothing was written")));
        EXPECT_FALSE(std::filesystem::exists(d.destination()));
    });
    EXPECT_TRUE(f.control<QLineEdit>(C::source)->text().isEmpty());

    // Built from the good sheet: the mapping is the company's from now on, even after a restart.
    browseSheet(f, f.example("direct-credit.xlsx"), [](SheetMappingDialog& d) {
        d.yearEra()->setCurrentIndex(0);  // the dates are date cells: no era is read
        d.okButton()->click();
        waitIdle(d);
    });
    ASSERT_EQ(f.control<QLineEdit>(C::source)->text(),
              QString::fromStdString((f.dir / "ex" / "direct-credit.txt").string()));
    f.restart();
    f.type(C::companyId, QStringLiteral("ACME01"));
    browseSheet(f, mistakes, [](SheetMappingDialog& d) {
        EXPECT_EQ(d.fieldChoice("amount")->currentText(), QStringLiteral("B: Amount (Baht)"));
        EXPECT_EQ(d.fieldChoice("payee name")->currentText(), QStringLiteral("C: Payee"));
        EXPECT_EQ(d.fieldValue("company name")->text(), QStringLiteral("บริษัท ตัวอย่าง จำกัด"));
        EXPECT_EQ(d.yearEra()->currentData().toString(), QStringLiteral("CE"));
    });
    f.type(C::companyId, QStringLiteral("OTHER"));
    browseSheet(f, mistakes,
                [](SheetMappingDialog& d) { EXPECT_EQ(d.fieldChoice("amount")->currentIndex(), 0); });
}

// A long build can be cancelled: the dialog stays, says so, and nothing is written.
TEST(SheetMappingDialog, ALongBuildIsCancelledWithNothingWritten) {
    test::GuiFixture f;
    std::string csv = "Account No.,Amount,Name,Pay Date\r\n";
    for (int i = 0; i < 30000; ++i) {
        csv += "1234567896,1.00,มานี มีนา,15/12/2026\r\n";
    }
    test::writeFile(f.dir / "long.csv", csv);
    test::writeFile(f.dir / "long-map.ini",
                    "[columns]\ncredit account = Account No.\namount = Amount\npayee name = Name\n"
                    "effective date = Pay Date\n");
    browseSheet(f, f.dir / "long.csv", [](SheetMappingDialog& d) {
        ASSERT_TRUE(listed(d).back().startsWith(QStringLiteral("Checked: 30000 entries")))
            << listed(d).back().toStdString();
        d.okButton()->click();
        ASSERT_TRUE(d.running());
        d.reject();  // Cancel, Esc or the title bar's close while it runs
        waitIdle(d);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(listed(d).back(), QString::fromUtf8(RunCancelled::kText));
        EXPECT_FALSE(std::filesystem::exists(d.destination()));
        EXPECT_FALSE(d.built().has_value());
    });
    EXPECT_TRUE(f.control<QLineEdit>(C::source)->text().isEmpty());
}

}  // namespace
}  // namespace qrv
