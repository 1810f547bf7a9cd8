#pragma once

#include <string>

namespace qrv {

// What the window keeps between its handlers. Lives as long as the workbench.
struct RunState {
    std::string ProcessingRoundCode;  // "00", "01" or "02" of the processing-round list; empty until chosen
};

}  // namespace qrv
