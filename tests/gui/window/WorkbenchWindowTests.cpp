#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>
#include <set>

#include "base/QrvError.h"
#include "gui/GuiFixture.h"
#include "gui/window/QtUi.h"
#include "gui/window/ResultPanel.h"

namespace qrv::test {
namespace {

using C = Control;

QString accessibleName(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface == nullptr ? QString() : iface->text(QAccessible::Name);
}

bool shownIn(GuiFixture& f, C c) {
    return f.control(c)->isVisibleTo(&f.workbench());
}

std::vector<Choice> productChoices() {
    std::vector<Choice> all;
    for (const ChoiceInfo& info : choices()) {
        if (info.choice != Choice::DirectContract) {
            all.push_back(info.choice);
        }
    }
    return all;
}

// Every caption, button and choice the window shows, with its mnemonic key.
std::vector<std::pair<QString, QKeySequence>> visibleMnemonics(GuiFixture& f) {
    std::vector<std::pair<QString, QKeySequence>> keys;
    for (QWidget* w : f.workbench().findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&f.workbench())) {
            continue;
        }
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            text = l->text();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
        }
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty()) {
            keys.emplace_back(w->objectName(), key);
        }
    }
    for (QAction* menu : f.main().menuBar()->actions()) {
        const QKeySequence key = QKeySequence::mnemonic(menu->text());
        if (!key.isEmpty()) {
            keys.emplace_back(menu->text(), key);
        }
    }
    return keys;
}

TEST(WorkbenchWindow, StartsMaximizedInsideTheMainWindowWithTheDefaultProduct) {
    GuiFixture f;
    // A maximized child's caption joins the frame's, as multiple-document frames show it.
    EXPECT_EQ(f.main().windowTitle(), "Convertor - [Version 2.3.20]");
    EXPECT_TRUE(f.main().isMaximized());
    EXPECT_TRUE(f.main().workbenchWindow()->isMaximized());
    EXPECT_FALSE(f.main().commandPanel()->isVisible());
    EXPECT_EQ(f.workbench().windowTitle(), "Version 2.3.20");
    auto* version = f.workbench().findChild<QLabel*>("lblVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Version : 2.3.20");
    EXPECT_TRUE(version->isVisible());
    EXPECT_TRUE(f.workbench().radio(Choice::DirectCredit)->isChecked());
    EXPECT_EQ(f.workbench().groupBox()->title(), "Reformat Data");
    EXPECT_EQ(f.workbench().progressBar()->maximum(), 100);
    EXPECT_EQ(f.workbench().progressBar()->value(), 0);

    // Limits of the typed fields.
    EXPECT_EQ(f.control<QLineEdit>(C::companyId)->maxLength(), 12);
    EXPECT_EQ(f.control<QLineEdit>(C::companyCode)->maxLength(), 6);
    EXPECT_EQ(f.control<QLineEdit>(C::debitAccount)->maxLength(), 25);
    EXPECT_EQ(f.control<QLineEdit>(C::feeAccount)->maxLength(), 25);
    EXPECT_EQ(f.control<QLineEdit>(C::creditAccount)->maxLength(), 10);
    EXPECT_EQ(f.control<QLineEdit>(C::debitFeeAccount)->maxLength(), 10);
    auto* hash = f.control<QLineEdit>(C::hashValue);
    EXPECT_TRUE(hash->isReadOnly());
    EXPECT_FALSE(hash->hasFrame());
    auto* round = f.control<QComboBox>(C::processingRound);
    EXPECT_EQ(round->count(), 0);  // hidden with the credit products, so no items to walk
    EXPECT_EQ(round->currentText(), "----- Please Select -----");
    // Always hidden.
    for (const C c :
         {C::directContractChoice, C::mediaDetailReport, C::convertContract, C::convertContractCaption}) {
        EXPECT_FALSE(shownIn(f, c)) << controlName(c);
    }
    // The object names are the control names.
    for (const auto& [c, view] : f.model().controls) {
        EXPECT_EQ(f.control(c)->objectName(), QLatin1String(controlName(c)));
    }
}

TEST(WorkbenchWindow, DefaultProductOfTheSettings) {
    {
        GuiFixture f("[ReFormat]\nPAY=false\nDefault=PA5\n");
        QRadioButton* pa5 = f.workbench().radio(Choice::MediaPayroll2);
        EXPECT_TRUE(pa5->isChecked());
        EXPECT_FALSE(pa5->isEnabled());
        for (const Choice c : {Choice::Payroll, Choice::Payroll2, Choice::Payroll3, Choice::MediaPayroll1,
                               Choice::MediaPayroll3}) {
            EXPECT_FALSE(f.workbench().radio(c)->isEnabled());
        }
        EXPECT_TRUE(f.workbench().radio(Choice::DirectCredit)->isEnabled());
        EXPECT_TRUE(f.workbench().radio(Choice::MediaClearing)->isEnabled());
        // The media clearing layout is on screen.
        EXPECT_TRUE(shownIn(f, C::tierRateReport));
        EXPECT_FALSE(shownIn(f, C::debitAccount));
    }
    {
        GuiFixture f("[ReFormat]\nDefault=dcp\n");
        for (const ChoiceInfo& info : choices()) {
            EXPECT_FALSE(f.workbench().radio(info.choice)->isChecked()) << info.control;
            EXPECT_TRUE(f.workbench().radio(info.choice)->isEnabled() ||
                        info.choice == Choice::DirectContract);
        }
    }
}

TEST(WorkbenchWindow, EachProductShowsItsLayout) {
    GuiFixture f;
    std::set<int> sourceLefts;
    for (const Choice choice : productChoices()) {
        f.choose(choice);
        SCOPED_TRACE(choiceInfo(choice).control);
        EXPECT_TRUE(f.workbench().radio(choice)->isChecked());
        QApplication::processEvents();
        sourceLefts.insert(f.control(C::source)->mapTo(&f.workbench(), QPoint(0, 0)).x());
        // Every layout fits the window's design size (924 by 644), and the frame never grows past a small
        // screen because of its child.
        EXPECT_LE(f.workbench().minimumSizeHint().width(), 924);
        EXPECT_LE(f.workbench().minimumSizeHint().height(), 644);
        EXPECT_LE(f.main().minimumSizeHint().width(), 662);
        for (const auto& [c, view] : f.model().controls) {
            EXPECT_EQ(shownIn(f, c), view.visible) << controlName(c);
            if (!view.caption.empty()) {
                // As the table has it, without its end blanks ("Copy Credit Account ").
                EXPECT_EQ(shownText(f.control(c)), QString::fromStdString(view.caption).trimmed())
                    << controlName(c);
            }
        }
    }
    EXPECT_TRUE(f.messages.empty());
    // The fields stay in their column whichever captions a layout hides.
    EXPECT_EQ(sourceLefts.size(), 1u);

    // What a person sees in a few layouts, named as shown.
    f.choose(Choice::DirectDebit100M);
    EXPECT_EQ(accessibleName(f.control(C::companyId)), "V5 Corporate ID");
    EXPECT_FALSE(shownIn(f, C::companyIdCaption));
    EXPECT_TRUE(shownIn(f, C::processingRound));
    EXPECT_EQ(accessibleName(f.control(C::processingRound)), "Processing Round");
    EXPECT_EQ(accessibleName(f.control(C::debitFeeAccount)), "Debit Fee Account");
    f.choose(Choice::ManagerCheque);
    EXPECT_EQ(accessibleName(f.control(C::companyId)), "Company ID");
    EXPECT_EQ(accessibleName(f.control(C::source)), "Payment File Name");
    EXPECT_EQ(accessibleName(f.control(C::secondFile)), "Invoice File Name");
    f.choose(Choice::ReturnFile);
    EXPECT_EQ(accessibleName(f.control(C::secondFile)), "File From V5");
    // Right after Manager Cheque the field shows one caption.
    EXPECT_TRUE(shownIn(f, C::thirdLineCaption));
    EXPECT_FALSE(shownIn(f, C::secondFileCaption));
    EXPECT_TRUE(shownIn(f, C::compareReturnFile));
    EXPECT_EQ(shownText(f.control(C::compareReturnFile)), "Reformat  100 M");
    f.choose(Choice::DirectDebitHash);
    EXPECT_TRUE(shownIn(f, C::generateHash));
    EXPECT_FALSE(shownIn(f, C::reformat));
    EXPECT_FALSE(shownIn(f, C::printDetail));
    EXPECT_TRUE(f.control<QCheckBox>(C::printDetail)->isChecked());
    EXPECT_EQ(accessibleName(f.control(C::hashValue)), "Hash Value");
}

TEST(WorkbenchWindow, NoLayoutOverlapsOrSharesAMnemonic) {
    GuiFixture f;
    const std::vector<Choice> all = productChoices();
    for (const Choice from : all) {
        for (const Choice to : all) {
            if (from == to) {
                continue;
            }
            f.choose(from);
            f.choose(to);
            QApplication::processEvents();
            SCOPED_TRACE(std::string(choiceInfo(from).control) + " then " + choiceInfo(to).control);
            // Every command shown has its key.
            for (QPushButton* b : f.workbench().findChildren<QPushButton*>()) {
                if (b->isVisibleTo(&f.workbench())) {
                    EXPECT_FALSE(QKeySequence::mnemonic(b->text()).isEmpty())
                        << b->objectName().toStdString();
                }
            }
            std::map<int, QString> seen;
            for (const auto& [name, key] : visibleMnemonics(f)) {
                const auto [it, inserted] = seen.emplace(key[0].toCombined(), name);
                EXPECT_TRUE(inserted) << name.toStdString() << " and " << it->second.toStdString()
                                      << " share " << key.toString().toStdString();
            }
            // The shown controls of the group box do not overlap.
            std::vector<QWidget*> shown;
            for ([[maybe_unused]] const auto& [c, view] : f.model().controls) {
                if (shownIn(f, c)) {
                    shown.push_back(f.control(c));
                }
            }
            for (size_t i = 0; i < shown.size(); ++i) {
                for (size_t j = i + 1; j < shown.size(); ++j) {
                    const QRect a(shown[i]->mapTo(&f.workbench(), QPoint(0, 0)), shown[i]->size());
                    const QRect b(shown[j]->mapTo(&f.workbench(), QPoint(0, 0)), shown[j]->size());
                    EXPECT_FALSE(a.intersects(b)) << shown[i]->objectName().toStdString() << " overlaps "
                                                  << shown[j]->objectName().toStdString();
                }
            }
        }
    }
}

TEST(WorkbenchWindow, AControlOfAnotherProductIsHiddenWhateverCameBefore) {
    auto shown = [](GuiFixture& f) {
        std::set<std::string> names;
        for ([[maybe_unused]] const auto& [c, view] : f.model().controls) {
            if (shownIn(f, c)) {
                names.insert(controlName(c));
            }
        }
        return names;
    };
    // What each product shows when chosen right after the start.
    std::map<Choice, std::set<std::string>> fresh;
    for (const Choice to : productChoices()) {
        GuiFixture f;
        f.choose(to);
        fresh[to] = shown(f);
    }
    EXPECT_EQ(fresh[Choice::DirectDebit100M].count("btnCopyAcct"), 0u);
    EXPECT_EQ(fresh[Choice::Convert100M].count("btnCoverLetter"), 0u);
    EXPECT_EQ(fresh[Choice::DirectDebitHash].count("bntDestination"),
              0u);  // no Save dialog for a hidden field
    GuiFixture f;
    for (const Choice from : productChoices()) {
        for (const Choice to : productChoices()) {
            f.choose(from);
            f.choose(to);
            EXPECT_EQ(shown(f), fresh[to]) << choiceInfo(from).control << " then " << choiceInfo(to).control;
        }
    }
}

TEST(WorkbenchWindow, TabOrderFollowsReadingOrder) {
    GuiFixture f;
    for (const Choice choice :
         {Choice::DirectCredit, Choice::DirectDebit100M, Choice::ManagerCheque, Choice::Convert100M}) {
        f.choose(choice);
        QApplication::processEvents();
        SCOPED_TRACE(choiceInfo(choice).control);
        // The product choices, fields and buttons, in focus-chain order.
        QWidget* first = f.workbench().radio(Choice::DirectCredit);
        std::vector<QWidget*> chain{first};
        QWidget* w = first;
        for (int guard = 0; guard < 500; ++guard) {
            w = w->nextInFocusChain();
            if (w == first) {
                break;
            }
            if (w->isVisibleTo(&f.workbench()) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
                w->parentWidget() == f.workbench().groupBox()) {
                chain.push_back(w);
            }
        }
        ASSERT_GT(chain.size(), 3u);
        for (size_t i = 1; i < chain.size(); ++i) {
            const QPoint a = chain[i - 1]->mapTo(&f.workbench(), QPoint(0, chain[i - 1]->height() / 2));
            const QPoint b = chain[i]->mapTo(&f.workbench(), QPoint(0, chain[i]->height() / 2));
            const bool sameRow = std::abs(a.y() - b.y()) < 8;
            EXPECT_TRUE(sameRow ? a.x() < b.x() : a.y() < b.y())
                << chain[i - 1]->objectName().toStdString() << " before "
                << chain[i]->objectName().toStdString();
        }
    }
}

TEST(WorkbenchWindow, ShownHashWarnsOnProductChangeAndRefusesSourceBrowseUntilClearForm) {
    GuiFixture f;
    const auto showHash = [&f] {
        f.model().fields.hashValue = "0123456789ABCDEF0123456789ABCDEF01234567";
        f.workbench().syncFromCore();
    };
    showHash();
    EXPECT_EQ(f.control<QLineEdit>(C::hashValue)->text(), "0123456789ABCDEF0123456789ABCDEF01234567");

    // Each product's warning, answered Clear Form: the form is cleared and the product switches.
    f.choose(Choice::Payroll);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].second, "Clear Form");
    EXPECT_EQ(f.messages[0].first, MessageKind::Confirmation);
    EXPECT_TRUE(f.workbench().radio(Choice::Payroll)->isChecked());
    EXPECT_TRUE(f.control<QLineEdit>(C::hashValue)->text().isEmpty());
    showHash();
    f.choose(Choice::DirectCredit);
    EXPECT_EQ(f.messages.back().second, "Please Clear Form");
    showHash();
    f.choose(Choice::DirectDebit100M);
    EXPECT_EQ(f.messages.back().second, " Please, Clear Form. ");

    showHash();
    f.messages.clear();
    f.openAnswer = QStringLiteral("/tmp/chosen.txt");
    QTest::mouseClick(f.control(C::browseSource), Qt::LeftButton);
    ASSERT_EQ(f.messageTexts(), std::vector<QString>{"Please Clear Form"});
    EXPECT_TRUE(f.openFilters.empty());
    EXPECT_TRUE(f.control<QLineEdit>(C::source)->text().isEmpty());

    QTest::mouseClick(f.control(C::clearForm), Qt::LeftButton);
    EXPECT_TRUE(f.control<QLineEdit>(C::hashValue)->text().isEmpty());
    QTest::mouseClick(f.control(C::browseSource), Qt::LeftButton);
    EXPECT_EQ(f.messages.size(), 1u);
    ASSERT_EQ(f.openFilters.size(), 1u);
    EXPECT_EQ(f.openFilters[0], "Text files (*.txt);;Spreadsheets (*.csv *.xlsx);;All files (*.*)");
    EXPECT_EQ(f.control<QLineEdit>(C::source)->text(), QDir::toNativeSeparators("/tmp/chosen.txt"));
    // Cancel keeps the field.
    f.openAnswer.reset();
    QTest::mouseClick(f.control(C::browseSource), Qt::LeftButton);
    EXPECT_EQ(f.control<QLineEdit>(C::source)->text(), QDir::toNativeSeparators("/tmp/chosen.txt"));
}

TEST(WorkbenchWindow, ClearFormEmptiesWhatWasTyped) {
    GuiFixture f;
    QTest::keyClicks(f.control(C::companyId), "COMPANY00012XYZ");
    EXPECT_EQ(f.control<QLineEdit>(C::companyId)->text(), "COMPANY00012");  // at most 12
    QTest::keyClicks(f.control(C::debitAccount), "1234567890");
    QTest::mouseClick(f.control(C::copyDebitAccount), Qt::LeftButton);
    EXPECT_EQ(f.control<QLineEdit>(C::feeAccount)->text(), "1234567890");
    f.control<QCheckBox>(C::printDetail)->setChecked(true);
    f.saveAnswer = QStringLiteral("/tmp/out.txt");
    QTest::mouseClick(f.control(C::browseDestination), Qt::LeftButton);
    EXPECT_EQ(f.control<QLineEdit>(C::destination)->text(), QDir::toNativeSeparators("/tmp/out.txt"));
    ASSERT_EQ(f.saveRequests.size(), 1u);
    EXPECT_EQ(f.saveRequests[0].first, "Text files (*.txt);;All files (*.*)");

    QTest::mouseClick(f.control(C::clearForm), Qt::LeftButton);
    for (const C c : {C::companyId, C::debitAccount, C::feeAccount, C::destination}) {
        EXPECT_TRUE(f.control<QLineEdit>(c)->text().isEmpty()) << controlName(c);
    }
    EXPECT_FALSE(f.control<QCheckBox>(C::printDetail)->isChecked());
    EXPECT_TRUE(f.workbench().radio(Choice::DirectCredit)->isChecked());
}

TEST(WorkbenchWindow, CopyCreditAccountShowsTypeAndBranch) {
    GuiFixture f;
    f.choose(Choice::DirectDebit100M);
    QTest::keyClicks(f.control(C::creditAccount), "1234567890");
    // The boxes beside an account follow it as it is typed, before any run.
    EXPECT_EQ(f.control<QLabel>(C::creditAccountType)->text(), "4");
    EXPECT_EQ(f.control<QLabel>(C::creditBranch)->text(), "123");
    QTest::keyClicks(f.control(C::debitFeeAccount), "5550001116");
    EXPECT_EQ(f.control<QLabel>(C::feeAccountType)->text(), "0");
    EXPECT_EQ(f.control<QLabel>(C::feeBranch)->text(), "555");
    QTest::mouseClick(f.control(C::copyCreditAccount), Qt::LeftButton);
    EXPECT_EQ(f.control<QLineEdit>(C::debitFeeAccount)->text(), "1234567890");
    EXPECT_EQ(f.control<QLabel>(C::feeAccountType)->text(), "4");
    EXPECT_EQ(f.control<QLabel>(C::feeBranch)->text(), "123");
}

TEST(WorkbenchWindow, DirectDebit100MEmptiesTheProcessingRound) {
    GuiFixture f;
    auto* round = f.control<QComboBox>(C::processingRound);
    f.choose(Choice::DirectDebit100M);
    EXPECT_TRUE(round->currentText().isEmpty());
    EXPECT_EQ(f.model().fields.chosenRound, ProcessingRound::Immediately);
    round->setCurrentIndex(1);
    EXPECT_EQ(f.model().fields.chosenRound, ProcessingRound::EndOfDay);
    EXPECT_EQ(f.model().fields.processingRound, "End of Day");
    round->setCurrentIndex(2);
    EXPECT_EQ(f.model().fields.chosenRound, ProcessingRound::StartOfDay);
    // Typed text that is no item leaves the code.
    round->lineEdit()->clear();
    QTest::keyClicks(round->lineEdit(), "Soon");
    EXPECT_EQ(f.model().fields.chosenRound, ProcessingRound::StartOfDay);
    EXPECT_EQ(f.model().fields.processingRound, "Soon");
}

TEST(WorkbenchWindow, CommandFailureShowsTheErrorBoxAndInputsReturn) {
    GuiFixture f;
    f.workbench().runCommand(
        [](Workbench& wb) {
            wb.setProgress(40);
            throw QrvError("Cannot read \"/x/y.txt\": No such file");
        },
        true);
    // While it runs, the inputs and what uses the store are locked; Cancel, Exit and Help answer.
    EXPECT_TRUE(f.workbench().busy());
    EXPECT_FALSE(f.workbench().groupBox()->isEnabled());
    EXPECT_TRUE(f.workbench().cancelButton()->isVisibleTo(&f.workbench()));
    EXPECT_TRUE(f.workbench().cancelButton()->isEnabled());
    EXPECT_FALSE(f.main().findChild<QAction*>("actLogIn")->isEnabled());
    EXPECT_TRUE(f.main().findChild<QAction*>("actExit")->isEnabled());
    EXPECT_TRUE(f.main().findChild<QAction*>("actUserGuide")->isEnabled());
    f.workbench().waitForRun();
    EXPECT_EQ(f.workbench().progressBar()->value(), 0);  // the bar rests at 0 however a run ends
    EXPECT_TRUE(f.workbench().groupBox()->isEnabled());
    EXPECT_FALSE(f.workbench().cancelButton()->isVisibleTo(&f.workbench()));
    EXPECT_TRUE(f.main().findChild<QAction*>("actLogIn")->isEnabled());
    EXPECT_FALSE(f.workbench().busy());
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].first, MessageKind::Error);
    EXPECT_EQ(f.messages[0].second, "Cannot read \"/x/y.txt\": No such file");
}

TEST(WorkbenchWindow, ReformatDataButtonRunsTheCoreCommandAndARefusalTakesFocusToItsField) {
    GuiFixture f;
    f.main().activateWindow();
    // Without a company id the command stops with its first check's message.
    QTest::mouseClick(f.control(C::reformat), Qt::LeftButton);
    f.workbench().waitForRun();
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_FALSE(f.messages[0].second.isEmpty());
    EXPECT_TRUE(f.workbench().groupBox()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), f.control(C::companyId));

    writeFile(f.dir / "in.txt", "H\n");
    f.control<QLineEdit>(C::companyId)->setText("ACME");
    f.control<QLineEdit>(C::source)->setText(QString::fromStdString((f.dir / "in.txt").string()));
    f.control<QLineEdit>(C::destination)->setText(QString::fromStdString((f.dir / "out.txt").string()));
    f.control<QLineEdit>(C::debitAccount)->setText("1234567896");
    f.control<QLineEdit>(C::feeAccount)->setText("1234567890");
    QTest::mouseClick(f.control(C::reformat), Qt::LeftButton);
    f.workbench().waitForRun();
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages[1].second, "Invalid debit fee account");
    EXPECT_EQ(QApplication::focusWidget(), f.control(C::feeAccount));
    EXPECT_EQ(f.control<QLineEdit>(C::feeAccount)->selectedText(), "1234567890");
}

TEST(WorkbenchWindow, HiddenButtonShowsTheMediaClearingDetailWithoutBlocking) {
    GuiFixture f;
    static_cast<QPushButton*>(f.control(C::mediaDetailReport))->click();
    f.workbench().waitForRun();
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0].first.layoutFile, "rptMclDetail.frf");
    EXPECT_FALSE(f.reports[0].first.modal);
    EXPECT_TRUE(f.reports[0].second.contains("<html"));
}

TEST(WorkbenchWindow, DroppingAFileFillsTheSource) {
    GuiFixture f;
    QWidget* source = f.control(C::source);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/in/payments.txt"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(source, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(source, &drop);
    EXPECT_EQ(f.control<QLineEdit>(C::source)->text(), "/data/in/payments.txt");
}

TEST(WorkbenchWindow, FieldsAreNamedByTheirCaptions) {
    GuiFixture f;
    EXPECT_EQ(accessibleName(f.control(C::companyId)), "Company ID");
    EXPECT_EQ(accessibleName(f.control(C::debitAccount)), "Debit Account");
    EXPECT_EQ(accessibleName(f.control(C::feeAccount)), "Debit Fee Account");
    EXPECT_EQ(accessibleName(f.control(C::source)), "Source File Name");
    EXPECT_EQ(accessibleName(f.control(C::destination)), "Destination File Name");
    EXPECT_EQ(accessibleName(f.control(C::reformat)), "Reformat Data");
    // A caption's blank at its end is not read (nor shown).
    EXPECT_EQ(accessibleName(f.control(C::copyCreditAccount)), "Copy Credit Account");
    EXPECT_EQ(accessibleName(f.workbench().radio(Choice::ReturnFile)),
              "Return file Direct Debit 100 M from V5");
    EXPECT_EQ(static_cast<QLabel*>(f.control(C::companyIdCaption))->buddy(), f.control(C::companyId));
    // A hidden control is not showing.
    QAccessibleInterface* hidden = QAccessible::queryAccessibleInterface(f.control(C::generateHash));
    ASSERT_NE(hidden, nullptr);
    EXPECT_TRUE(hidden->state().invisible);
    // The mnemonic of a caption reaches its field.
    QTest::keyClick(&f.workbench(), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.control(C::companyId));
}

// The accessible items under a widget, their names.
void accessibleNamesUnder(QAccessibleInterface* iface, QStringList& names, int depth = 0) {
    if (iface == nullptr || depth > 12) {
        return;
    }
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (child != nullptr) {
            names << child->text(QAccessible::Name);
            accessibleNamesUnder(child, names, depth + 1);
        }
    }
}

// What a screen reader meets on its way through the window: each Tab stop named, each Browse saying
// which file it chooses, and a hidden round list offering no items.
TEST(WorkbenchWindow, EveryTabStopIsNamedAndEachBrowseSaysWhichFile) {
    GuiFixture f;
    f.readyDirectDebit100M("direct-debit-100m-mistakes.txt");
    f.press(C::reformat);
    ASSERT_TRUE(f.workbench().resultPanel()->isVisibleTo(&f.workbench()));
    EXPECT_EQ(accessibleName(f.control(C::browseSource)), "Browse: Source File Name");
    EXPECT_EQ(accessibleName(f.control(C::browseDestination)), "Browse: Destination File Name");
    QStringList unnamed;
    QWidget* first = f.workbench().radio(Choice::DirectCredit);
    QWidget* w = first;
    for (int guard = 0; guard < 500; ++guard) {
        w = w->nextInFocusChain();
        if (w == first) {
            break;
        }
        if (f.workbench().isAncestorOf(w) && w->isVisibleTo(&f.workbench()) && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) && w->focusProxy() == nullptr &&
            qobject_cast<QComboBox*>(w->parentWidget()) == nullptr && accessibleName(w).trimmed().isEmpty()) {
            unnamed << w->objectName() + QLatin1Char(' ') + QLatin1String(w->metaObject()->className());
        }
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();

    f.choose(Choice::ReturnFile);
    EXPECT_EQ(accessibleName(f.control(C::browseSecondFile)), "Browse: File From V5");
    auto* round = f.control<QComboBox>(C::processingRound);
    ASSERT_FALSE(round->isVisibleTo(&f.workbench()));
    QStringList items;
    accessibleNamesUnder(QAccessible::queryAccessibleInterface(round), items);
    EXPECT_FALSE(items.join(" ").contains("Immediately")) << items.join(", ").toStdString();
    // Shown again, with the codes the command line takes.
    f.choose(Choice::DirectDebit100M);
    ASSERT_EQ(round->count(), 3);
    EXPECT_EQ(round->itemText(0), "Immediately (00)");
    EXPECT_EQ(round->itemText(2), "Start of Day (02)");
}

TEST(WorkbenchWindow, AScreenReadersToggleSwitchesTheProduct) {
    GuiFixture f;
    // Assistive technologies check a radio button through its one action, Toggle, which is no click.
    auto toggle = [](QWidget* radio) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(radio);
        ASSERT_NE(iface, nullptr);
        ASSERT_NE(iface->actionInterface(), nullptr);
        ASSERT_TRUE(
            iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    toggle(f.workbench().radio(Choice::ManagerCheque));
    EXPECT_EQ(f.model().selected(), Choice::ManagerCheque);
    EXPECT_TRUE(f.control(C::secondFile)->isVisible());
    toggle(f.workbench().radio(Choice::DirectCredit));
    EXPECT_EQ(f.model().selected(), Choice::DirectCredit);
    EXPECT_FALSE(f.control(C::secondFile)->isVisible());
    EXPECT_FALSE(f.workbench().radio(Choice::ManagerCheque)->isChecked());
}

TEST(QtFileFilter, TranslatesPairsOfDescriptionAndPattern) {
    EXPECT_EQ(gui::QtFileFilter("Text File|*.txt|All File|*.*"), "Text files (*.txt);;All files (*.*)");
    EXPECT_EQ(gui::QtFileFilter("Tables|*.csv;*.txt"), "Tables (*.csv *.txt)");
    EXPECT_EQ(gui::QtFileFilter(""), "");
}

}  // namespace
}  // namespace qrv::test
