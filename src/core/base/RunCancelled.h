#pragma once

#include "base/QrvError.h"

namespace qrv {

// The person stopped the run (Events::cancelRequested). It ends as a killed run would: no output put in
// place, the command's table changes rolled back.
class RunCancelled : public QrvError {
  public:
    static constexpr const char* kText = "The run was cancelled: nothing was written.";
    RunCancelled() : QrvError(kText) {}
};

}  // namespace qrv
