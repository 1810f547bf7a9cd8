#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QUrl>

#include "gui/GuiFixture.h"
#include "gui/window/ResultPanel.h"
#include "gui/window/SourceViewer.h"

// The Last run panel after each kind of command: its words, the way from a rejected count to the lines,
// and what a screen reader hears.
namespace qrv::test {
namespace {

using C = Control;

gui::ResultPanel& panel(GuiFixture& f) {
    return *f.workbench().resultPanel();
}

std::int64_t rejectedCount(GuiFixture& f) {
    std::int64_t n = 0;
    for (const RejectedEntries& r : f.model().lastResult->rejected) {
        n += r.count;
    }
    return n;
}

// The source viewer of the last run, opened from the panel; null when the button is disabled.
gui::SourceViewer* openViewer(GuiFixture& f) {
    QPushButton* show = panel(f).showRejectedButton();
    if (!show->isEnabled()) {
        return nullptr;
    }
    for (auto* old : panel(f).findChildren<gui::SourceViewer*>()) {
        delete old;
    }
    show->click();
    return panel(f).findChild<gui::SourceViewer*>();
}

// The 1-based number of the first line of `file` holding `text`.
int lineHolding(const std::filesystem::path& file, const std::string& text) {
    const std::string bytes = readFile(file);
    const size_t at = bytes.find(text);
    return at == std::string::npos
               ? 0
               : static_cast<int>(std::count(bytes.begin(), bytes.begin() + at, '\n')) + 1;
}

// Runs the example `name` through product `choice` with the fields its command needs.
void runExample(GuiFixture& f, Choice choice, const std::string& name) {
    if (choice == Choice::DirectDebit100M) {
        f.readyDirectDebit100M(name);
        f.press(C::reformat);
        return;
    }
    f.choose(choice);
    f.type(C::source, f.example(name));
    if (choice == Choice::DirectDebitHash) {
        f.press(C::generateHash);
        return;
    }
    f.type(C::companyId, QStringLiteral("ACME02"));
    f.type(C::debitAccount, QStringLiteral("1234567896"));
    f.type(C::feeAccount, QStringLiteral("1234567896"));
    f.type(C::destination, f.dir / (name + ".out"));
    f.press(C::reformat);
}

TEST(LastRunPanel, EveryRejectedEntryOfEveryProductIsListedAndMarkedInTheSource) {
    const struct {
        Choice choice;
        const char* example;
    } runs[] = {{Choice::DirectCredit, "direct-credit-mistakes.txt"},
                {Choice::MediaClearing, "media-clearing-mistakes.txt"},
                {Choice::ManagerCheque, "manager-cheque-mistakes.txt"},
                {Choice::DirectDebit100M, "direct-debit-100m-mistakes.txt"},
                {Choice::DirectDebitHash, "direct-debit-hash-mistakes.txt"}};
    GuiFixture f;
    f.questionAnswer = true;
    for (const auto& run : runs) {
        SCOPED_TRACE(run.example);
        runExample(f, run.choice, run.example);
        ASSERT_TRUE(f.model().lastResult.has_value());
        const std::int64_t rejected = rejectedCount(f);
        ASSERT_GT(rejected, 0);
        gui::SourceViewer* viewer = openViewer(f);
        ASSERT_NE(viewer, nullptr) << "Show rejected lines is disabled";
        // The viewer lists what the panel counts.
        EXPECT_EQ(viewer->entryList()->count(), rejected);
        for (int i = 0; i < viewer->entryList()->count(); ++i) {
            viewer->entryList()->setCurrentRow(i);
            EXPECT_TRUE(viewer->sourceText()->textCursor().block().isValid());
        }
        viewer->close();
    }
}

TEST(LastRunPanel, TheOverLimitCreditThatVoidsAMediaClearingFileIsMarkedAtItsAmount) {
    GuiFixture f;
    runExample(f, Choice::MediaClearing, "media-clearing-mistakes.txt");
    const int overLimit = lineHolding(f.example("media-clearing-mistakes.txt"), "OVER 2,000,000 BAHT");
    ASSERT_GT(overLimit, 0);
    gui::SourceViewer* viewer = openViewer(f);
    ASSERT_NE(viewer, nullptr);
    QStringList entries;
    for (int i = 0; i < viewer->entryList()->count(); ++i) {
        entries << viewer->entryList()->item(i)->text();
    }
    const QString prefix = QStringLiteral("Line %1, columns 58-69: ").arg(overLimit);
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&prefix](const QString& e) { return e.startsWith(prefix); });
    ASSERT_NE(found, entries.end()) << entries.join(QLatin1Char('\n')).toStdString();
    viewer->entryList()->setCurrentRow(static_cast<int>(found - entries.begin()));
    EXPECT_EQ(viewer->sourceText()->textCursor().blockNumber(), overLimit - 1);
    EXPECT_EQ(viewer->sourceText()->textCursor().selectedText(), "000250000000");
}

TEST(LastRunPanel, DirectDebitEntriesCarryTheColumnsTheirReportNames) {
    GuiFixture f;
    runExample(f, Choice::DirectDebit100M, "direct-debit-100m-mistakes.txt");
    const int sign = lineHolding(f.example("direct-debit-100m-mistakes.txt"), "SIGN NOT 1");
    gui::SourceViewer* viewer = openViewer(f);
    ASSERT_NE(viewer, nullptr);
    bool seen = false;
    for (int i = 0; i < viewer->entryList()->count(); ++i) {
        if (viewer->entryList()->item(i)->text() ==
            QStringLiteral("Line %1, column 17: sign error").arg(sign)) {
            viewer->entryList()->setCurrentRow(i);
            EXPECT_EQ(viewer->sourceText()->textCursor().selectedText(), "0");
            seen = true;
        }
    }
    EXPECT_TRUE(seen);
}

// The entry of the line holding `text`, selected; its text, or empty when the viewer lists none.
QString selectEntryOf(gui::SourceViewer& viewer, int line) {
    const QString prefix = QStringLiteral("Line %1, ").arg(line);
    for (int i = 0; i < viewer.entryList()->count(); ++i) {
        if (viewer.entryList()->item(i)->text().startsWith(prefix)) {
            viewer.entryList()->setCurrentRow(i);
            return viewer.entryList()->item(i)->text();
        }
    }
    return {};
}

// Each product kind marks a fault at the columns its layout gives the field at fault.
TEST(LastRunPanel, AFaultIsMarkedAtTheColumnsOfItsOwnField) {
    GuiFixture f;
    f.questionAnswer = true;

    // Media Clearing: a valid bank code with a short branch code marks the branch.
    runExample(f, Choice::MediaClearing, "media-clearing-mistakes.txt");
    const int branch = lineHolding(f.example("media-clearing-mistakes.txt"), "BRANCH CODE TOO SHORT");
    gui::SourceViewer* viewer = openViewer(f);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(
        selectEntryOf(*viewer, branch).startsWith(QStringLiteral("Line %1, columns 13-16: ").arg(branch)));
    EXPECT_EQ(viewer->sourceText()->textCursor().selectedText(), "0  1");
    EXPECT_EQ(viewer->fieldLine()->text(),
              QStringLiteral("Line %1, column 13: Receiving branch code (columns "
                             "13-16, 4 digits)")
                  .arg(branch));
    viewer->close();

    // The hash check: each fault at its field in the short-amount form of the file.
    runExample(f, Choice::DirectDebitHash, "direct-debit-hash-mistakes.txt");
    const std::filesystem::path hash = f.example("direct-debit-hash-mistakes.txt");
    viewer = openViewer(f);
    ASSERT_NE(viewer, nullptr);
    const int sign = lineHolding(hash, "SIGN NOT 0 OR 1");
    EXPECT_EQ(selectEntryOf(*viewer, sign), QStringLiteral("Line %1, column 17: Invalid Sign").arg(sign));
    EXPECT_EQ(viewer->sourceText()->textCursor().selectedText(), "2");
    const int amount = lineHolding(hash, "AMOUNT NOT A NUMBER");
    EXPECT_TRUE(
        selectEntryOf(*viewer, amount).startsWith(QStringLiteral("Line %1, columns 18-26: ").arg(amount)));
    EXPECT_EQ(viewer->sourceText()->textCursor().selectedText(), "00005000A");
    const int account = lineHolding(hash, "WRONG CHECK DIGIT");
    EXPECT_TRUE(
        selectEntryOf(*viewer, account).startsWith(QStringLiteral("Line %1, columns 1-10: ").arg(account)));
    viewer->close();

    // Direct Debit (100M): the sign, with the field named as the layout names it.
    runExample(f, Choice::DirectDebit100M, "direct-debit-100m-mistakes.txt");
    const int debitSign = lineHolding(f.example("direct-debit-100m-mistakes.txt"), "SIGN NOT 1");
    viewer = openViewer(f);
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(selectEntryOf(*viewer, debitSign).isEmpty());
    EXPECT_EQ(viewer->fieldLine()->text(),
              QStringLiteral("Line %1, column 17: Sign (column 17, code 1)").arg(debitSign));
}

TEST(LastRunPanel, OutcomesAreToldInWordsAndTheBarRestsAtZero) {
    GuiFixture f;
    f.questionAnswer = true;
    const auto summary = [&f] { return panel(f).summary(); };
    const QRegularExpression internalCode(QStringLiteral(
        "InvalidAcct|CreditZeroAmount|CreditAmountInvalid|SignErr|invalidDebitAcct|FutureEffect|"
        "InvalidEffect|OverLimit|Output written"));

    runExample(f, Choice::DirectCredit, "direct-credit-mistakes.txt");
    EXPECT_TRUE(summary().startsWith("Upload file written\n")) << summary().toStdString();
    EXPECT_TRUE(summary().contains("Invalid credit account: ")) << summary().toStdString();
    EXPECT_TRUE(summary().contains(QRegularExpression("Accepted: 1 entry\n")));
    EXPECT_TRUE(summary().contains(QRegularExpression("Rejected: \\d+ entries on \\d+ lines\n")))
        << summary().toStdString();
    EXPECT_FALSE(summary().contains(internalCode)) << summary().toStdString();
    EXPECT_EQ(f.workbench().progressBar()->value(), 0);

    runExample(f, Choice::DirectDebit100M, "direct-debit-100m-mistakes.txt");
    EXPECT_TRUE(summary().startsWith("No upload file written\nReason: ")) << summary().toStdString();
    EXPECT_TRUE(summary().contains("Sign is not 1: 1 (last at line")) << summary().toStdString();
    EXPECT_FALSE(summary().contains(internalCode)) << summary().toStdString();
    EXPECT_EQ(f.workbench().progressBar()->value(), 0);

    // The hash check counts what it checked, not what it accepted.
    runExample(f, Choice::DirectDebitHash, "direct-debit-hash-mistakes.txt");
    EXPECT_TRUE(summary().startsWith("Checked: faults found, no hash value\n")) << summary().toStdString();
    EXPECT_TRUE(summary().contains("Detail records checked: 5\n")) << summary().toStdString();
    EXPECT_FALSE(summary().contains("Accepted")) << summary().toStdString();
    EXPECT_TRUE(summary().contains(QRegularExpression("Faults: \\d+ entries on \\d+ lines")))
        << summary().toStdString();
    EXPECT_EQ(f.workbench().progressBar()->value(), 0);

    // The fee report shows a report; the return file's mismatch keeps its reason after the box closed.
    std::filesystem::copy_file(std::filesystem::path(QRV_SOURCE_DATA) / "Config.ini",
                               f.dir / "Data" / "Config.ini");
    f.choose(Choice::MediaClearing);
    f.type(C::source, f.example("media-clearing.txt"));
    f.press(C::tierRateReport);
    EXPECT_TRUE(summary().startsWith("Fee report shown\n")) << summary().toStdString();
    EXPECT_EQ(f.workbench().progressBar()->value(), 0);
    f.choose(Choice::ReturnFile);
    f.messages.clear();
    f.type(C::source, f.example("sent-100m.txt"));
    f.type(C::secondFile, f.example("return-100m-mistakes.txt"));
    f.type(C::destination, f.dir / "compared.txt");
    f.press(C::compareReturnFile);
    ASSERT_FALSE(f.messages.empty());
    EXPECT_TRUE(summary().startsWith("No comparison file written\nReason: " + f.messages.back().second))
        << summary().toStdString();
    EXPECT_EQ(f.workbench().progressBar()->value(), 0);
}

// A Media Clearing file voided by its rejected and over-limit credits: no hash anywhere in the window,
// and nothing the panel tells of is called accepted.
TEST(LastRunPanel, AVoidedMediaClearingRunShowsNoHashAndAcceptsNothing) {
    GuiFixture f;
    runExample(f, Choice::MediaClearing, "media-clearing-mistakes.txt");
    ASSERT_TRUE(f.model().lastResult.has_value());
    ASSERT_EQ(f.model().lastResult->outcome, Outcome::AllRejected);
    ASSERT_GT(f.model().lastResult->records, 0);
    const QString summary = panel(f).summary();
    EXPECT_TRUE(summary.startsWith("No upload file written\n")) << summary.toStdString();
    EXPECT_FALSE(summary.contains("Accepted")) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QRegularExpression("Voided with the file: \\d+ entr")))
        << summary.toStdString();
    EXPECT_FALSE(summary.contains(QRegularExpression("[0-9A-F]{40}"))) << summary.toStdString();
    EXPECT_TRUE(f.control<QLineEdit>(C::hashValue)->text().isEmpty());
}

// The panel tells of the chosen product's own run: another product's, and its rejected lines, are gone
// once the choice changes, whatever the new product's buttons do next.
TEST(LastRunPanel, AnotherProductsRunIsNotShown) {
    GuiFixture f;
    runExample(f, Choice::DirectDebitHash, "direct-debit-hash-mistakes.txt");
    ASSERT_TRUE(panel(f).summary().startsWith("Checked: faults found"));
    f.choose(Choice::ReturnFile);
    EXPECT_FALSE(panel(f).isVisibleTo(&f.workbench()));
    f.type(C::source, f.example("sent-100m.txt"));
    f.type(C::secondFile, f.example("return-100m.txt"));
    f.saveAnswer = QString::fromStdString((f.dir / "compared.txt").string());
    f.press(C::chooseComparisonFile);
    EXPECT_FALSE(panel(f).summary().contains("Faults")) << panel(f).summary().toStdString();
    EXPECT_FALSE(panel(f).showRejectedButton()->isEnabled());
}

TEST(LastRunPanel, AScreenReaderReadsTheWordsOfTheLastRun) {
    GuiFixture f;
    runExample(f, Choice::DirectCredit, "direct-credit-mistakes.txt");
    QLabel* words = panel(f).summaryLabel();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(words);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), panel(f).summary());
    EXPECT_TRUE(iface->text(QAccessible::Name).contains("Rejected: "));
}

TEST(LastRunPanel, OpenFolderAndOpenListingSaySoWhenNothingCouldOpenThem) {
    GuiFixture f;
    runExample(f, Choice::DirectCredit, "direct-credit-mistakes.txt");
    std::vector<QUrl> asked;
    bool opens = true;
    panel(f).setOpener([&](const QUrl& url) {
        asked.push_back(url);
        return opens;
    });
    f.messages.clear();
    panel(f).openFolderButton()->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(f.messages.empty());
    opens = false;
    panel(f).openFolderButton()->click();
    panel(f).openListingButton()->click();
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages[0].first, MessageKind::Warning);
    EXPECT_TRUE(f.messages[0].second.startsWith("Nothing could open the folder"))
        << f.messages[0].second.toStdString();
    EXPECT_TRUE(f.messages[1].second.contains("_InvalidAcctRecord.txt"))
        << f.messages[1].second.toStdString();
}

}  // namespace
}  // namespace qrv::test
