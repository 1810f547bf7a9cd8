#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>

#include "base/RunCancelled.h"
#include "cli/QrvRunner.h"
#include "core/sheet/TestWorkbook.h"
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

    // No mapping yet: nothing chosen, and the dialog names a field left out.
    browseSheet(f, mistakes, [](SheetMappingDialog& d) {
        EXPECT_EQ(d.fieldChoice("amount")->currentIndex(), 0);
        ASSERT_FALSE(listed(d).empty());
        EXPECT_TRUE(listed(d).front().startsWith(QStringLiteral("Choose the column of")))
            << listed(d).front().toStdString();
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
        ASSERT_TRUE(listed(d).back().startsWith(QStringLiteral("Checked: 30,000 entries")))
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

// Rows the workbook hides show greyed; the check stops on them until the person chooses to leave them out
// or include them, and the build follows that choice.
TEST(SheetMappingDialog, HiddenRowsShowGreyedAndFollowTheChoice) {
    test::GuiFixture f;
    f.type(C::companyId, QStringLiteral("ACME01"));
    {
        test::TestWorkbook book(f.dir / "hidden.xlsx");
        lxw_worksheet* ws = book.sheet("Pay");
        const char* const rows[][4] = {{"Account No.", "Amount", "Name", "Pay Date"},
                                       {"1234567896", "1", "A", "15/12/2026"},
                                       {"1234567896", "2", "B", "15/12/2026"},
                                       {"1234567896", "3", "C", "15/12/2026"}};
        for (lxw_row_t r = 0; r < 4; ++r) {
            for (lxw_col_t c = 0; c < 4; ++c) {
                worksheet_write_string(ws, r, c, rows[r][c], nullptr);
            }
        }
        lxw_row_col_options hide = {1, 0, 0};
        worksheet_set_row_opt(ws, 2, LXW_DEF_ROW_HEIGHT, nullptr, &hide);
        book.close();
    }
    test::writeFile(f.dir / "hidden-map.ini",
                    "[columns]\ncredit account = Account No.\namount = Amount\npayee name = Name\n"
                    "effective date = Pay Date\n");
    f.questionAnswer = true;
    browseSheet(f, f.dir / "hidden.xlsx", [](SheetMappingDialog& d) {
        EXPECT_EQ(d.preview()->verticalHeaderItem(2)->text(), QStringLiteral("3 (hidden)"));
        EXPECT_NE(d.preview()->item(2, 0)->foreground().color(),
                  d.preview()->item(1, 0)->foreground().color());
        EXPECT_EQ(listed(d).back(),
                  QStringLiteral("Nothing was written: 1 row of the sheet is hidden (row 3): "
                                 "show them, or say whether hidden rows are left out or "
                                 "included"));
        d.hiddenRows()->setCurrentIndex(d.hiddenRows()->findText(QStringLiteral("Leave them out")));
        d.okButton()->click();
        waitIdle(d);
    });
    const std::string built = test::readFile(f.dir / "hidden.txt");
    EXPECT_EQ(std::count(built.begin(), built.end(), '\n'), 3) << built;  // the header and two entries
}

// A customer's own sheet: title rows above the header, a total row at the bottom.
const char* const kOwnSheet =
    "ACME Co. Ltd. payroll December 2026\r\n"
    "\r\n"
    "Account No.,Amount,Name\r\n"
    "1234567896,\"1,500.00\",A\r\n"
    "1234567896,\"2,000.00\",B\r\n"
    "1234567896,\"1,000.50\",C\r\n"
    ",4500.50,Total\r\n";

// Types into a field's list as a person does, and leaves it.
void typeInto(QComboBox* list, const QString& typed) {
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), typed);
    emit list->lineEdit()->editingFinished();
}

// Waits for the check that follows a change of the choices.
void waitRecheck(SheetMappingDialog& d) {
    QTest::qWait(600);
    waitIdle(d);
}

// The sheet is converted in the window alone: the header row is found below the titles, the lists take
// typing, the reasons speak of fields, the total row is left out from the preview, totals are grouped in
// thousands, and the file built is shown as a source file, not as rejected lines.
TEST(SheetMappingDialog, ACustomersOwnSheetIsConvertedInTheWindowAlone) {
    test::GuiFixture f;
    f.type(C::companyId, QStringLiteral("ACME01"));
    test::writeFile(f.dir / "own.csv", kOwnSheet);
    browseSheet(f, f.dir / "own.csv", [](SheetMappingDialog& d) {
        EXPECT_EQ(d.headerRow()->currentText(), QStringLiteral("Row 3: Account No., Amount, Name"));
        EXPECT_EQ(d.preview()->verticalHeaderItem(1)->text(), QStringLiteral("3 (header)"));
        for (const QString& reason : listed(d)) {
            EXPECT_FALSE(reason.contains(QLatin1Char('['))) << reason.toStdString();
        }
        EXPECT_EQ(
            listed(d).front(),
            QStringLiteral("Choose the column of \"effective date\", or type its text for every entry"));
        typeInto(d.fieldChoice("credit account"), QStringLiteral("account no."));
        typeInto(d.fieldChoice("amount"), QStringLiteral("B"));
        typeInto(d.fieldChoice("payee name"), QStringLiteral("Name"));
        EXPECT_EQ(d.fieldChoice("amount")->currentText(), QStringLiteral("B: Amount"));
        d.fieldChoice("effective date")->setCurrentIndex(1);
        emit d.fieldChoice("effective date")->activated(1);
        QTest::keyClicks(d.fieldValue("effective date"), QStringLiteral("15/12/2026"));
        waitRecheck(d);
        EXPECT_EQ(listed(d).back(),
                  QStringLiteral("Nothing was written: 1 rows hold cells that cannot be placed (rows 7)"));
        d.preview()->selectRow(5);
        d.leaveOutButton()->click();
        EXPECT_EQ(d.leftOutRows()->text(), QStringLiteral("Rows left out: 7"));
        waitRecheck(d);
        EXPECT_EQ(listed(d).back(),
                  QStringLiteral("Checked: 3 entries totalling 4,500.50 baht can be written to \"own.txt\""));
        d.okButton()->click();
        waitIdle(d);
    });
    EXPECT_EQ(f.control<QLineEdit>(C::source)->text(), QString::fromStdString((f.dir / "own.txt").string()));
    ASSERT_FALSE(f.messages.empty());
    EXPECT_EQ(f.messages.back().second,
              QStringLiteral("Wrote 3 entries totalling 4,500.50 baht to \"own.txt\""));
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* v = qobject_cast<gui::SourceViewer*>(w); v != nullptr && v->isVisible()) {
            EXPECT_EQ(v->windowTitle(), QStringLiteral("Source file - own.txt"));
            v->close();
        }
    }
    QCoreApplication::processEvents();
}

// OK with rows that cannot be placed says so in a message; the rows can instead be left out with the
// check box. Esc asks before a changed mapping is thrown away; a file of the name kept is not replaced
// but another name chosen.
TEST(SheetMappingDialog, OkEscAndAnExistingFileEachAskOrSay) {
    test::GuiFixture f;
    f.type(C::companyId, QStringLiteral("ACME01"));
    test::writeFile(f.dir / "own.csv", kOwnSheet);
    test::writeFile(f.dir / "own-map.ini",
                    "[columns]\ncredit account = Account No.\namount = Amount\npayee name = Name\n"
                    "[values]\neffective date = 15/12/2026\n");
    test::writeFile(f.dir / "own.txt", "kept");
    browseSheet(f, f.dir / "own.csv", [&f](SheetMappingDialog& d) {
        f.messages.clear();
        d.okButton()->click();
        waitIdle(d);
        ASSERT_FALSE(f.messages.empty()) << "OK that built nothing says why";
        EXPECT_EQ(f.messages.back().second,
                  QStringLiteral("Nothing was written: 1 rows hold cells that cannot be placed (rows 7)"));
        EXPECT_TRUE(d.isVisible());

        d.skipBadRows()->setChecked(true);
        d.dateOrder()->setCurrentIndex(2);
        waitRecheck(d);
        f.questionAnswer = false;  // Esc: keep the mapping made
        d.reject();
        EXPECT_TRUE(d.isVisible());
        d.dateOrder()->setCurrentIndex(0);
        waitRecheck(d);

        // The file of that name is kept: another name is asked for.
        f.saveAnswer = QString::fromStdString((f.dir / "other.txt").string());
        d.okButton()->click();
        waitIdle(d);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(test::readFile(f.dir / "own.txt"), "kept");
    EXPECT_TRUE(std::filesystem::exists(f.dir / "other.txt"));
    EXPECT_EQ(f.control<QLineEdit>(C::source)->text(),
              QString::fromStdString((f.dir / "other.txt").string()));
}

// A screen reader names each list by its field, each fixed-value box, the issue list and the preview.
TEST(SheetMappingDialog, ListsBoxesAndTablesAreNamedForAScreenReader) {
    test::GuiFixture f;
    test::writeFile(f.dir / "own.csv", kOwnSheet);
    browseSheet(f, f.dir / "own.csv", [](SheetMappingDialog& d) {
        EXPECT_EQ(d.fieldChoice("amount")->accessibleName(), QStringLiteral("amount"));
        EXPECT_EQ(d.fieldValue("amount")->accessibleName(), QStringLiteral("amount, fixed value"));
        EXPECT_FALSE(d.messages()->accessibleName().isEmpty());
        EXPECT_FALSE(d.preview()->accessibleName().isEmpty());
        EXPECT_FALSE(d.headerRow()->accessibleName().isEmpty());
    });
}

}  // namespace

// At 1.5 times (the test runs in that scale too) the dialog fits the screen with its buttons on it.
TEST(WorkbenchLayout, TheMappingDialogFitsTheScreenWithItsButtons) {
    test::GuiFixture f;
    test::writeFile(f.dir / "own.csv", kOwnSheet);
    browseSheet(f, f.dir / "own.csv", [](SheetMappingDialog& d) {
        const QRect screen = d.screen()->availableGeometry();
        EXPECT_LE(d.frameGeometry().width(), screen.width());
        EXPECT_LE(d.frameGeometry().height(), screen.height());
        for (QPushButton* b : {d.okButton(), d.checkButton()}) {
            const QRect at(b->mapTo(&d, QPoint(0, 0)), b->size());
            EXPECT_TRUE(d.rect().contains(at)) << b->text().toStdString();
        }
    });
}

}  // namespace qrv
