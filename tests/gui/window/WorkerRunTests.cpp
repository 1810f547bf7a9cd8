#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <set>
#include <thread>

#include "BenchFiles.h"
#include "gui/GuiFixture.h"
#include "gui/window/QtUi.h"
#include "gui/window/ResultPanel.h"
#include "store/TableStore.h"
#include "workbench/PresenterServices.h"

namespace qrv::test {
namespace {

using C = Control;

std::set<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files.insert(entry.path());
    }
    return files;
}

TEST(WorkerRun, TheWindowAnswersDuringALongDetailRunAndCancelLeavesNoNewOutput) {
    GuiFixture f;
    const std::filesystem::path source = f.dir / "dcp.txt";
    const std::filesystem::path upload = f.dir / "upload.txt";
    bench::directCredit(source.string(), 200000, bench::Day{2026, 12, 8});
    writeFile(upload, "an earlier run's upload\r\n");
    f.choose(Choice::DirectCredit);
    QTest::keyClicks(f.control<QLineEdit>(C::companyId), "BENCH01");
    QTest::keyClicks(f.control<QLineEdit>(C::debitAccount), "1234567896");
    QTest::keyClicks(f.control<QLineEdit>(C::feeAccount), "1234567896");
    f.control<QLineEdit>(C::source)->setText(QString::fromStdString(source.string()));
    f.control<QLineEdit>(C::destination)->setText(QString::fromStdString(upload.string()));
    f.control<QCheckBox>(C::printDetail)->setChecked(true);
    const auto before = filesIn(f.dir.path());

    // The GUI thread keeps serving its timers and the progress bar moves while the worker converts.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(5);
    QProgressBar* progress = f.workbench().progressBar();
    QTest::mouseClick(f.control(C::reformat), Qt::LeftButton);
    // The earlier file is no output of this product the program knows: replacing it was asked (Yes).
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].first, MessageKind::Confirmation);
    f.messages.clear();
    ASSERT_TRUE(f.workbench().busy());
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->value() >= 2; }, 120000));
    const int firstValue = progress->value();
    const int ticksThen = ticks;
    // A few ticks, not one per step of the bar: a system's timers may be coarser than a step (Windows).
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= ticksThen + 3; }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->value() > firstValue; }, 60000));
    ASSERT_TRUE(f.workbench().busy()) << "the run ended before it could be cancelled";

    // Esc, as the Cancel button: the run ends as a killed run would.
    QTest::keyClick(f.workbench().cancelButton(), Qt::Key_Escape);
    f.workbench().waitForRun();
    EXPECT_EQ(f.messageTexts(), std::vector<QString>{"The run was cancelled: nothing was written."});
    EXPECT_EQ(filesIn(f.dir.path()), before);
    EXPECT_EQ(readFile(upload), "an earlier run's upload\r\n");
    // The detail rows appended so far were rolled back, not committed.
    EXPECT_EQ(f.main().store().query("SELECT COUNT(*) AS n FROM Dcp_Detail").at(0).text("n"), "0");
    EXPECT_EQ(progress->value(), 0);
    EXPECT_TRUE(f.workbench().resultPanel()->summary().startsWith("Cancelled"));
    EXPECT_FALSE(f.workbench().cancelButton()->isEnabled());
}

TEST(WorkerRun, MessagesAndQuestionsFromTheWorkerAreAnsweredOnTheGuiThread) {
    GuiFixture f;
    std::vector<std::thread::id> askedOn;
    gui::QtUi::Hooks& hooks = f.main().ui().hooks();
    hooks.message = [&askedOn](MessageKind, const QString&) {
        askedOn.push_back(std::this_thread::get_id());
    };
    hooks.question = [&askedOn](const QString& text) {
        askedOn.push_back(std::this_thread::get_id());
        return text == "Yes?";
    };
    std::thread::id runOn;
    std::vector<bool> answers;
    f.workbench().runCommand(
        [&](Workbench& wb) {
            runOn = std::this_thread::get_id();
            PresenterServices services(wb);
            Events& events = (*services).events;
            events.showMessage(MessageKind::Information, "Told");
            answers.push_back(events.askConfirmation("Yes?"));
            answers.push_back(events.askConfirmation("No?"));
        },
        true);
    f.workbench().waitForRun();
    const std::thread::id gui = std::this_thread::get_id();
    EXPECT_NE(runOn, gui);
    EXPECT_EQ(askedOn, std::vector<std::thread::id>(3, gui));
    EXPECT_EQ(answers, (std::vector<bool>{true, false}));
}

// A run that goes until it is cancelled, asking as the long loops ask.
void runUntilCancelled(GuiFixture& f) {
    f.workbench().runCommand(
        [](Workbench& wb) {
            PresenterServices services(wb);
            for (;;) {
                (*services).checkCancelled();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        },
        true);
}

TEST(WorkerRun, CancelIsHonouredUntilTheRunPutsItsOutputsInPlaceThenItFinishes) {
    GuiFixture f;
    // Before: cancelled. The panel that says so is cleared as soon as the next run starts.
    runUntilCancelled(f);
    f.workbench().cancelButton()->click();
    f.workbench().waitForRun();
    ASSERT_TRUE(f.workbench().resultPanel()->summary().startsWith("Cancelled"));
    f.messages.clear();

    std::atomic<bool> release{false};
    std::atomic<bool> cancelSeen{false};
    f.workbench().runCommand(
        [&](Workbench& wb) {
            PresenterServices services(wb);
            (*services).beginCommit();
            while (!release.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            cancelSeen = (*services).events.cancelRequested();
            (*services).checkCancelled();
            wb.lastResult = RunResult{};
            wb.lastResult->outcome = Outcome::Written;
        },
        true);
    EXPECT_FALSE(f.workbench().resultPanel()->isVisibleTo(&f.workbench()));
    QPushButton* cancel = f.workbench().cancelButton();
    // EXPECT, not ASSERT: the run waits for `release` below, so a failure here must still reach it.
    EXPECT_TRUE(QTest::qWaitFor([cancel] { return cancel->text() == "Finishing..."; }, 20000));
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(cancel)->text(QAccessible::Name), "Finishing...");
    // Esc now asks nothing of the run.
    QTest::keyClick(&f.workbench(), Qt::Key_Escape);
    f.workbench().cancelRun();
    release = true;
    f.workbench().waitForRun();
    EXPECT_FALSE(cancelSeen.load());
    EXPECT_TRUE(f.messages.empty());
    EXPECT_TRUE(f.workbench().resultPanel()->summary().startsWith("Output written"));
    EXPECT_EQ(cancel->text(), "Cancel");
}

TEST(WorkerRun, QuittingDuringARunAsksThenCancelsIt) {
    GuiFixture f;
    f.main().activateWindow();
    runUntilCancelled(f);
    f.questionAnswer = false;
    QTest::keyClick(&f.main(), Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].first, MessageKind::Confirmation);
    EXPECT_TRUE(f.messages[0].second.startsWith("A command is running."))
        << f.messages[0].second.toStdString();
    EXPECT_TRUE(f.workbench().busy());  // No: the run goes on, the window stays
    EXPECT_TRUE(f.main().isVisible());

    // The title bar's close asks the same; Yes cancels the run and the program goes.
    f.questionAnswer = true;
    f.main().close();
    EXPECT_EQ(f.messages.size(), 2u);
    EXPECT_FALSE(f.workbench().busy());
    EXPECT_FALSE(f.main().isVisible());
}

}  // namespace
}  // namespace qrv::test
