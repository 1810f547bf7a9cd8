#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <algorithm>

#include "gui/GuiFixture.h"
#include "gui/window/ResultPanel.h"

// The workbench's form: which file a command may replace, whose fields are shown, what the hash field
// holds, and that the radio buttons and the screen agree.
namespace qrv::test {
namespace {

using C = Control;

QString text(GuiFixture& f, C c) {
    return f.control<QLineEdit>(c)->text();
}

bool shownIn(GuiFixture& f, C c) {
    return f.control(c)->isVisibleTo(&f.workbench());
}

// Direct Credit chosen with valid accounts and the example file as its source.
void readyDirectCredit(GuiFixture& f, const std::filesystem::path& destination) {
    f.choose(Choice::DirectCredit);
    f.type(C::companyId, QStringLiteral("ACME01"));
    f.type(C::debitAccount, QStringLiteral("1234567896"));
    f.type(C::feeAccount, QStringLiteral("1234567896"));
    f.type(C::source, f.example("direct-credit.txt"));
    f.type(C::destination, destination);
}

TEST(WorkbenchForm, ATypedDestinationThatIsNoEarlierOutputIsAskedAboutFirst) {
    GuiFixture f;
    const std::filesystem::path notes = f.dir / "notes.txt";
    writeFile(notes, "my notes\r\n");
    readyDirectCredit(f, notes);
    f.questionAnswer = false;
    f.press(C::reformat);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].first, MessageKind::Confirmation);
    EXPECT_TRUE(f.messages[0].second.contains("notes.txt")) << f.messages[0].second.toStdString();
    EXPECT_EQ(readFile(notes), "my notes\r\n");  // No: nothing ran
    EXPECT_FALSE(f.workbench().resultPanel()->isVisibleTo(&f.workbench()));
    // Enter asks the same.
    f.messages.clear();
    QTest::keyClick(f.control(C::destination), Qt::Key_Return);
    f.workbench().waitForRun();
    EXPECT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(readFile(notes), "my notes\r\n");

    f.questionAnswer = true;
    f.messages.clear();
    f.press(C::reformat);
    EXPECT_EQ(f.messageTexts().back(), "Reformat data and add to 2026-12-08ACME01_DCP.zip completed");
    EXPECT_NE(readFile(notes), "my notes\r\n");
    // Now the product's own output: replaced without a question about it. (The one question left asks
    // whether to convert the same file again, and is answered Yes.)
    const QString repeat = QStringLiteral("This file was converted on ");
    f.messages.clear();
    f.press(C::reformat);
    ASSERT_EQ(f.messageTexts().size(), 2u);
    EXPECT_TRUE(f.messageTexts().front().startsWith(repeat));
    EXPECT_EQ(f.messageTexts().back(), "Reformat data and add to 2026-12-08ACME01_DCP.zip completed");

    // The source named as the destination: the run's refusal says why, with no question before it.
    f.type(C::destination, f.example("direct-credit.txt"));
    f.messages.clear();
    f.press(C::reformat);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_NE(f.messages[0].first, MessageKind::Confirmation);
    // So is the return file that a comparison reads.
    f.choose(Choice::ReturnFile);
    const std::string returned = readFile(f.example("return-100m.txt"));
    f.type(C::source, f.example("sent-100m.txt"));
    f.type(C::secondFile, f.example("return-100m.txt"));
    f.type(C::destination, f.example("return-100m.txt"));
    f.messages.clear();
    f.press(C::compareReturnFile);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_NE(f.messages[0].first, MessageKind::Confirmation) << f.messages[0].second.toStdString();
    EXPECT_EQ(readFile(f.example("return-100m.txt")), returned);
    f.choose(Choice::DirectCredit);
    f.type(C::destination, notes);

    // A file chosen (and agreed to) in the Save dialog is not asked about again when the run starts.
    const std::filesystem::path other = f.dir / "other.txt";
    writeFile(other, "someone else's\r\n");
    f.saveAnswer = QString::fromStdString(other.string());
    f.messages.clear();
    f.press(C::browseDestination);
    ASSERT_EQ(f.messages.size(), 1u);
    f.press(C::reformat);
    ASSERT_EQ(f.messages.size(), 3u);
    EXPECT_TRUE(f.messages[1].second.startsWith(repeat));
    EXPECT_EQ(f.messages.back().second, "Reformat data and add to 2026-12-08ACME01_DCP.zip completed");
}

TEST(WorkbenchForm, EachProductKeepsItsOwnFieldsAcrossSwitchesAndRestarts) {
    GuiFixture f;
    f.choose(Choice::DirectDebit100M);
    QTest::keyClicks(f.control(C::companyId), "V5CORP01");
    QTest::keyClicks(f.control(C::creditAccount), "0142000013");
    f.type(C::source, f.dir / "debits.txt");
    for (const Choice other : {Choice::MediaClearing, Choice::DirectCredit, Choice::DirectDebitHash}) {
        f.choose(other);
        SCOPED_TRACE(choiceInfo(other).control);
        EXPECT_TRUE(text(f, C::companyId).isEmpty());
        EXPECT_TRUE(text(f, C::source).isEmpty());
    }
    f.choose(Choice::DirectCredit);
    QTest::keyClicks(f.control(C::companyId), "ACME01");
    f.choose(Choice::DirectDebit100M);
    EXPECT_EQ(text(f, C::companyId), "V5CORP01");
    EXPECT_EQ(text(f, C::creditAccount), "0142000013");
    EXPECT_EQ(text(f, C::source), QString::fromStdString((f.dir / "debits.txt").string()));
    // The request a run would make carries the product's own id.
    EXPECT_EQ(f.model().reformatRequest().companyId, "V5CORP01");

    f.restart();
    EXPECT_EQ(text(f, C::companyId), "V5CORP01");
    f.choose(Choice::MediaClearing);
    EXPECT_TRUE(text(f, C::companyId).isEmpty());
    f.choose(Choice::DirectCredit);
    EXPECT_EQ(text(f, C::companyId), "ACME01");
    f.restart();
    EXPECT_EQ(text(f, C::companyId), "ACME01");
    f.choose(Choice::MediaClearing);
    EXPECT_TRUE(text(f, C::companyId).isEmpty());
}

TEST(WorkbenchForm, TheSwitchWarningClearsTheFormOrKeepsTheProduct) {
    GuiFixture f;
    f.choose(Choice::DirectDebitHash);
    f.type(C::source, f.example("direct-debit-hash.txt"));
    f.press(C::generateHash);
    const QString hash = text(f, C::hashValue);
    ASSERT_EQ(hash.size(), 40);

    // Cancel: the radio goes back, the screen and the fields stay those of the hash check.
    f.messages.clear();
    f.questionAnswer = false;
    f.choose(Choice::ReturnFile);
    EXPECT_EQ(f.messageTexts(), std::vector<QString>{"Clear Form"});
    EXPECT_TRUE(f.workbench().radio(Choice::DirectDebitHash)->isChecked());
    EXPECT_FALSE(f.workbench().radio(Choice::ReturnFile)->isChecked());
    EXPECT_TRUE(shownIn(f, C::generateHash));
    EXPECT_FALSE(shownIn(f, C::compareReturnFile));
    EXPECT_EQ(text(f, C::hashValue), hash);
    // A second click asks again.
    f.choose(Choice::ReturnFile);
    EXPECT_EQ(f.messages.size(), 2u);

    // OK: the form is cleared and the return-file choice is what the screen shows.
    f.questionAnswer = true;
    f.choose(Choice::ReturnFile);
    EXPECT_TRUE(f.workbench().radio(Choice::ReturnFile)->isChecked());
    EXPECT_TRUE(shownIn(f, C::compareReturnFile));
    EXPECT_FALSE(shownIn(f, C::generateHash));
    EXPECT_FALSE(shownIn(f, C::coverLetter));
    EXPECT_TRUE(text(f, C::hashValue).isEmpty());
    // Back at the hash check, its cleared source stays cleared.
    f.choose(Choice::DirectDebitHash);
    EXPECT_TRUE(text(f, C::source).isEmpty());
}

TEST(WorkbenchForm, TheHashFieldHoldsOnlyTheHashOfAFileThatWasWritten) {
    GuiFixture f;
    // A voided Media Clearing run: its report keeps the hash, the field does not.
    f.choose(Choice::MediaClearing);
    f.type(C::companyId, QStringLiteral("ACME02"));
    f.type(C::source, f.example("media-clearing-mistakes.txt"));
    f.type(C::destination, f.dir / "mcl-out.txt");
    f.press(C::reformat);
    ASSERT_EQ(f.messageTexts().back(), "Reformat data fail because some transactions are rejected");
    EXPECT_TRUE(text(f, C::hashValue).isEmpty());

    // A written Direct Debit (100M) upload shows its hash; a failed run after it clears it.
    f.readyDirectDebit100M("direct-debit-100m.txt");
    f.press(C::reformat);
    ASSERT_TRUE(std::filesystem::exists(f.dir / "ddr-out.txt"));
    EXPECT_EQ(text(f, C::hashValue).toStdString(), readFile(f.dir / "ddr-out.txt").substr(0, 40));
    f.questionAnswer = true;
    f.type(C::source, f.example("direct-debit-100m-mistakes.txt"));
    f.type(C::destination, f.dir / "ddr-out.txt");
    f.press(C::reformat);
    EXPECT_TRUE(text(f, C::hashValue).isEmpty());

    // The hash of a written upload goes when the destination field names another file, and on a switch.
    f.type(C::source, f.example("direct-debit-100m.txt"));
    f.press(C::reformat);
    ASSERT_FALSE(text(f, C::hashValue).isEmpty());
    f.type(C::destination, f.dir / "elsewhere.txt");
    EXPECT_TRUE(text(f, C::hashValue).isEmpty());
    f.type(C::destination, f.dir / "ddr-out.txt");
    f.press(C::reformat);
    ASSERT_FALSE(text(f, C::hashValue).isEmpty());
    f.choose(Choice::DirectDebitHash);
    EXPECT_TRUE(text(f, C::hashValue).isEmpty());

    // The hash check: another source typed clears the hash, so that the error report of the other
    // file does not print this one's.
    f.type(C::source, f.example("direct-debit-hash.txt"));
    f.press(C::generateHash);
    ASSERT_FALSE(text(f, C::hashValue).isEmpty());
    f.type(C::source, f.example("direct-debit-hash-mistakes.txt"));
    EXPECT_TRUE(text(f, C::hashValue).isEmpty());
    f.reports.clear();
    f.press(C::generateHash);
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0].first.layoutFile, "rptGenHashError.frf");
    const auto& variables = f.reports[0].first.variables;
    const auto hashCode =
        std::find_if(variables.begin(), variables.end(), [](const auto& v) { return v.first == "HashCode"; });
    ASSERT_NE(hashCode, variables.end());
    EXPECT_EQ(hashCode->second, "");
}

// At 1.5 times on a 1366 by 768 screen the window is about 910 by 512 of Qt's pixels.
TEST(WorkbenchLayout, NoFieldIsSqueezedBelowItsTextHeightOnASmallScaledScreen) {
    GuiFixture f;
    f.main().resize(910, 512);
    // A run with rejected lines fills the Last run panel.
    f.readyDirectDebit100M("direct-debit-100m-mistakes.txt");
    f.press(C::reformat);
    ASSERT_TRUE(f.workbench().resultPanel()->isVisibleTo(&f.workbench()));
    for (const Choice choice : {Choice::DirectDebit100M, Choice::ManagerCheque, Choice::DirectCredit,
                                Choice::ReturnFile, Choice::Convert100M}) {
        if (choice != Choice::DirectDebit100M) {
            f.choose(choice);
            f.press(C::reformat);  // refused or hidden: the panel stays full of a run either way
        }
        QApplication::processEvents();
        SCOPED_TRACE(choiceInfo(choice).control);
        for (QWidget* w : f.workbench().groupBox()->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&f.workbench()) || qobject_cast<QComboBox*>(w->parentWidget()) ||
                !(qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                  qobject_cast<QAbstractButton*>(w))) {
                continue;
            }
            EXPECT_GE(w->height(), w->minimumSizeHint().height())
                << w->objectName().toStdString() << " " << w->metaObject()->className();
        }
        // What does not fit is reached by scrolling, not cut off.
        QScrollArea* scroll = f.workbench().formScrollArea();
        EXPECT_GE(scroll->widget()->height(), scroll->widget()->minimumSizeHint().height());
        EXPECT_GE(f.workbench().resultPanel()->height(),
                  f.workbench().resultPanel()->minimumSizeHint().height());
    }
}

// After a run started from a field, the focus is back in it, in view and with nothing selected (a key
// erases nothing unseen); a refusal selects the field it is about. A Last run panel whose words scroll
// leaves the form no height it does not need.
TEST(WorkbenchLayout, AfterARunTheFieldIsInViewUnselectedAndThePanelHasTheRoomTheFormLeaves) {
    GuiFixture f;
    f.main().resize(910, 420);
    f.choose(Choice::DirectDebitHash);
    f.type(C::source, f.example("direct-debit-hash-mistakes.txt"));
    auto* source = f.control<QLineEdit>(C::source);
    source->setFocus();
    QTest::keyClick(source, Qt::Key_Return);
    f.workbench().waitForRun();
    QApplication::processEvents();
    ASSERT_TRUE(f.workbench().resultPanel()->isVisibleTo(&f.workbench()));
    EXPECT_EQ(QApplication::focusWidget(), source);
    EXPECT_FALSE(source->hasSelectedText());
    QScrollArea* form = f.workbench().formScrollArea();
    const QRect shown(source->mapTo(form->viewport(), QPoint(0, 0)), source->size());
    EXPECT_TRUE(form->viewport()->rect().contains(shown));
    auto* words = f.workbench().resultPanel()->findChild<QScrollArea*>(QStringLiteral("resultSummaryScroll"));
    ASSERT_NE(words, nullptr);
    const int unused = form->viewport()->height() - form->widget()->sizeHint().height();
    if (words->verticalScrollBar()->isVisible()) {
        EXPECT_LE(unused, 2) << "the words scroll while the form has room to spare";
    }

    // Refused over an empty company id: that field, its text selected for typing over.
    f.choose(Choice::DirectCredit);
    f.type(C::companyId, QStringLiteral("   "));
    f.control(C::source)->setFocus();
    QTest::keyClick(f.control(C::source), Qt::Key_Return);
    f.workbench().waitForRun();
    EXPECT_EQ(QApplication::focusWidget(), f.control(C::companyId));
    EXPECT_TRUE(f.control<QLineEdit>(C::companyId)->hasSelectedText());
}

// A form that scrolls ends at a row's edge: every control of it is shown whole or not at all, after a
// run, at several heights and for each product's rows.
TEST(WorkbenchLayout, TheFormEndsAtARowEdgeAboveTheSplitter) {
    GuiFixture f;
    f.main().resize(910, 512);
    f.readyDirectDebit100M("direct-debit-100m-mistakes.txt");
    f.press(C::reformat);
    QScrollArea* form = f.workbench().formScrollArea();
    const auto expectWholeRows = [&] {
        QApplication::processEvents();
        const int shown = form->viewport()->height();
        for (QWidget* w : form->widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isVisible()) {
                const QRect at(w->mapTo(form->viewport(), QPoint(0, 0)), w->size());
                EXPECT_TRUE(at.bottom() < shown || at.top() >= shown)
                    << w->objectName().toStdString() << " from " << at.top() << " to " << at.bottom()
                    << " is cut at " << shown;
            }
        }
    };
    for (const int height : {430, 470, 512, 560}) {
        SCOPED_TRACE(height);
        f.main().resize(910, height);
        expectWholeRows();
        EXPECT_LT(form->viewport()->height(), form->widget()->height()) << "the form does not scroll";
    }
    for (const Choice choice : {Choice::DirectCredit, Choice::ManagerCheque, Choice::DirectDebit100M}) {
        SCOPED_TRACE(choiceInfo(choice).control);
        f.choose(choice);
        expectWholeRows();
        f.press(C::reformat);
        f.workbench().waitForRun();
        expectWholeRows();
    }
}

TEST(WorkbenchLayout, TheLastRunWordsWrapInsteadOfScrollingSideways) {
    GuiFixture f;
    f.main().resize(910, 512);
    f.readyDirectDebit100M("direct-debit-100m-mistakes.txt");
    f.press(C::reformat);
    QApplication::processEvents();
    gui::ResultPanel* panel = f.workbench().resultPanel();
    auto* scroll = panel->findChild<QScrollArea*>(QStringLiteral("resultSummaryScroll"));
    ASSERT_NE(scroll, nullptr);
    // The reason line is longer than the column at this size: it wraps, and nothing hides sideways.
    ASSERT_TRUE(panel->summary().contains(QStringLiteral("Reason: ")));
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_LE(panel->summaryLabel()->width(), scroll->viewport()->width());
    // With no files to list, the words have the panel's width but for the buttons.
    EXPECT_GE(scroll->width(), panel->width() / 2);
}

}  // namespace
}  // namespace qrv::test
