#pragma once

#include "base/Date.h"
#include "base/Events.h"
#include "base/RunCancelled.h"
#include "convert/RunResult.h"
#include "reports/ReportRunner.h"
#include "reports/ReportRunners.h"
#include "store/DefaultSettings.h"
#include "store/TableStore.h"

namespace qrv {

// What an operation runs with: the table store, the clock, the report runners with their layout folder,
// the settings of "Default.ini" and the events sink.
struct Services {
    TableStore& store;
    const Clock& clock;
    ReportRunners& reports;
    const DefaultSettings& settings;
    Events& events;

    void message(const std::string& text) const { events.showMessage(MessageKind::Plain, text); }

    // Ends the run when the person cancelled it: the command's table changes are rolled back, and the
    // work files go as the run unwinds. Called only where nothing has been put in place yet.
    void checkCancelled() const {
        if (!committing_ && events.cancelRequested()) {
            store.discardCommand();
            throw RunCancelled();
        }
    }

    // The run starts to put its outputs in place: cancelling is over (the window says it is finishing).
    void beginCommit() {
        if (!committing_) {
            checkCancelled();  // a request made since the last loop's check is still honoured here
            committing_ = true;
            events.committing();
        }
    }
    bool committing() const { return committing_; }

    // Shows a prepared report and records its layout in the result.
    void showReport(const ReportRunner& runner, RunResult& result) const {
        const ShownReport shown = runner.prepare(store);
        result.reports.push_back(shown.layoutFile);
        events.showReport(shown);
    }

    bool committing_ = false;
};

}  // namespace qrv
