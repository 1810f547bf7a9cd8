#pragma once

#include "convert/Services.h"
#include "workbench/Workbench.h"

namespace qrv {

// The events of an operation run from the window: messages, questions and reports go to the window,
// progress to its bar (which reports only changes).
class PresenterEvents final : public Events {
  public:
    explicit PresenterEvents(Workbench& wb) : wb_(wb) {}

    void showMessage(MessageKind kind, const std::string& text) override {
        wb_.lastRun.messages.push_back(text);
        wb_.ui().showMessage(kind, text);
    }
    bool askConfirmation(const std::string& text) override { return wb_.ui().askConfirmation(text); }
    void setProgress(int percent) override { wb_.setProgress(percent); }
    void showReport(const ShownReport& report) override { wb_.reportShown(report); }
    bool cancelRequested() const override { return wb_.ui().cancelRequested(); }
    void committing() override { wb_.ui().committing(); }

  private:
    Workbench& wb_;
};

// The services of an operation run from the window: the workbench's store, clock, report layouts and
// settings, and the window's events.
class PresenterServices {
  public:
    explicit PresenterServices(Workbench& wb)
        : events_(wb), services_{wb.store(), wb.clock(), wb.reports(), wb.settings(), events_} {}
    PresenterServices(const PresenterServices&) = delete;
    PresenterServices& operator=(const PresenterServices&) = delete;

    Services& operator*() { return services_; }

  private:
    PresenterEvents events_;
    Services services_;
};

}  // namespace qrv
