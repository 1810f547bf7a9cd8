#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>

#include "workbench/Ui.h"

namespace qrv::gui {

class QtUi;

// The Ui a command running on a worker thread talks to: every call reaches the window's QtUi on the
// GUI thread, so that no widget is touched elsewhere. Calls that answer or show something (messages,
// questions, reports, the dialogs) wait for the GUI thread; progress is queued and coalesced, one
// update pending at most. Called on the GUI thread itself, it calls straight through.
class WorkerUi final : public Ui {
  public:
    // Made on the GUI thread.
    explicit WorkerUi(QtUi& target);
    WorkerUi(const WorkerUi&) = delete;
    WorkerUi& operator=(const WorkerUi&) = delete;
    ~WorkerUi() override;

    // The stop request of the run about to start; cancelRequested() asks it. A new run has not begun to
    // put its outputs in place.
    void setStopToken(std::stop_token token) {
        stop_ = std::move(token);
        committed_.store(false);
    }
    // What the window does when the run starts to put its outputs in place (on the GUI thread).
    void setOnCommitting(std::function<void()> onCommitting) { onCommitting_ = std::move(onCommitting); }
    // What the window does when a report's rows are about to be copied for its preview (true) and when
    // the copy is shown (false), on the GUI thread: a large report takes a while before its preview opens.
    void setOnPreparingReport(std::function<void(bool)> onPreparing) {
        onPreparingReport_ = std::move(onPreparing);
    }
    // Whether the run has started to put its outputs in place: a cancel request is no longer honoured.
    bool committed() const { return committed_.load(); }

    void showMessage(MessageKind kind, const std::string& text) override;
    bool askConfirmation(const std::string& text) override;
    void setProgress(int percent) override;
    void showReport(const ShownReport& report) override;
    bool askAccountEntry(AccountEntryDialog& dialog) override;
    std::optional<std::string> chooseOpenFile(const std::string& filter) override;
    std::optional<std::string> chooseSaveFile(const std::string& filter,
                                              const std::string& proposedName) override;
    bool cancelRequested() const override { return stop_.stop_requested(); }
    void committing() override;
    bool askClearForm(const std::string& text) override;
    std::optional<std::string> sourceFromSheet(SheetMappingForm& form) override;

  private:
    QtUi& target_;
    std::unique_ptr<QObject> gui_;  // lives on the GUI thread: the calls are delivered through it
    std::stop_token stop_;
    std::atomic<bool> committed_{false};
    std::function<void()> onCommitting_;
    std::function<void(bool)> onPreparingReport_;
    std::atomic<int> pendingProgress_{0};
    std::atomic<bool> progressQueued_{false};
};

}  // namespace qrv::gui
