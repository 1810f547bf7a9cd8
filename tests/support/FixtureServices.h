#pragma once

#include "convert/Services.h"
#include "support/TestSupport.h"

namespace qrv::test {

// The services of a fixture for calling an operation directly: its store and clock, the workbench's
// report runners and settings, and the recording Ui as the events.
inline Services servicesOf(WorkbenchFixture& f) {
    return Services{f.store, f.clock, f.wb.reports(), f.wb.settings(), f.ui};
}

}  // namespace qrv::test
