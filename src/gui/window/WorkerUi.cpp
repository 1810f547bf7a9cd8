#include "gui/window/WorkerUi.h"

#include <QThread>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>

#include "gui/window/QtUi.h"
#include "reports/ReportSnapshot.h"

namespace qrv::gui {

namespace {

// Runs `call` on the thread of `gui` and returns its result there; the calling thread waits. An
// exception thrown on the GUI thread is thrown again on the caller's.
template <class Call>
auto onGuiThread(QObject& gui, Call call) -> std::invoke_result_t<Call> {
    using Result = std::invoke_result_t<Call>;
    if constexpr (std::is_void_v<Result>) {
        onGuiThread(gui, [&] {
            call();
            return true;
        });
    } else {
        if (QThread::currentThread() == gui.thread()) {
            return call();
        }
        std::exception_ptr error;
        std::optional<Result> result;
        QMetaObject::invokeMethod(
            &gui,
            [&] {
                try {
                    result.emplace(call());
                } catch (...) {
                    error = std::current_exception();
                }
            },
            Qt::BlockingQueuedConnection);
        if (error) {
            std::rethrow_exception(error);
        }
        return std::move(*result);
    }
}

}  // namespace

WorkerUi::WorkerUi(QtUi& target) : target_(target), gui_(std::make_unique<QObject>()) {}

WorkerUi::~WorkerUi() = default;

void WorkerUi::showMessage(MessageKind kind, const std::string& text) {
    onGuiThread(*gui_, [&] { target_.showMessage(kind, text); });
}

bool WorkerUi::askConfirmation(const std::string& text) {
    return onGuiThread(*gui_, [&] { return target_.askConfirmation(text); });
}

void WorkerUi::setProgress(int percent) {
    if (QThread::currentThread() == gui_->thread()) {
        target_.setProgress(percent);
        return;
    }
    // The latest value wins; a new update is posted only once the last one was shown.
    pendingProgress_.store(percent);
    if (!progressQueued_.exchange(true)) {
        QMetaObject::invokeMethod(
            gui_.get(),
            [this] {
                progressQueued_.store(false);
                target_.setProgress(pendingProgress_.load());
            },
            Qt::QueuedConnection);
    }
}

void WorkerUi::showReport(const ShownReport& report) {
    // Tests read the whole page through their hook, on the window's thread while the worker waits.
    if (target_.hooks().report) {
        onGuiThread(*gui_, [&] { target_.showReport(report); });
        return;
    }
    // The report's rows (uncommitted ones included) are copied here, on the worker that owns the store;
    // only the copy goes to the window, which lays out its pages as they are looked at. The window says
    // so meanwhile.
    if (onPreparingReport_) {
        QMetaObject::invokeMethod(
            gui_.get(), [this] { onPreparingReport_(true); }, Qt::QueuedConnection);
    }
    std::shared_ptr<const ReportSnapshot> snapshot = ReportSnapshot::take(target_.inWindowLanguage(report));
    onGuiThread(*gui_, [&] {
        if (onPreparingReport_) {
            onPreparingReport_(false);
        }
        target_.showSnapshot(std::move(snapshot), report.modal);
    });
}

void WorkerUi::committing() {
    committed_.store(true);
    if (onCommitting_) {
        QMetaObject::invokeMethod(gui_.get(), onCommitting_, Qt::QueuedConnection);
    }
}

bool WorkerUi::askClearForm(const std::string& text) {
    return onGuiThread(*gui_, [&] { return target_.askClearForm(text); });
}

bool WorkerUi::askAccountEntry(AccountEntryDialog& dialog) {
    return onGuiThread(*gui_, [&] { return target_.askAccountEntry(dialog); });
}

std::optional<std::string> WorkerUi::chooseOpenFile(const std::string& filter) {
    return onGuiThread(*gui_, [&] { return target_.chooseOpenFile(filter); });
}

std::optional<std::string> WorkerUi::chooseSaveFile(const std::string& filter,
                                                    const std::string& proposedName) {
    return onGuiThread(*gui_, [&] { return target_.chooseSaveFile(filter, proposedName); });
}

std::optional<std::string> WorkerUi::sourceFromSheet(SheetMappingForm& form) {
    return onGuiThread(*gui_, [&] { return target_.sourceFromSheet(form); });
}

}  // namespace qrv::gui
