#pragma once

#include "base/Date.h"
#include "base/Events.h"
#include "base/RunCancelled.h"
#include "convert/RunResult.h"
#include "reports/ReportLayouts.h"
#include "reports/ReportRunner.h"
#include "store/DefaultSettings.h"
#include "store/TableStore.h"

namespace qrv {

class RunCommit;

// What an operation runs with: the table store, the clock, the folder of the report layouts,
// the settings of "Default.ini" and the events sink.
struct Services {
    TableStore& store;
    const Clock& clock;
    const ReportLayouts& reports;
    const DefaultSettings& settings;
    Events& events;

    // A plain message box. While a run holds back what it tells until its outputs are in place
    // (RunCommit), a message after the first one held back waits as well, so the order stays.
    void message(const std::string& text) const;

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

    // Shows a prepared report and records its layout in the result. During a run the front end prepares
    // its files of the report now, as outputs of the run, and the report is shown once they are in place.
    void showReport(const ReportRunner& runner, RunResult& result) const;

    bool committing_ = false;
    RunCommit* runCommit = nullptr;  // the run preparing its outputs, while it does
};

}  // namespace qrv
