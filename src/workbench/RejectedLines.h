#pragma once

#include <vector>

#include "convert/RunResult.h"

namespace qrv {

// The rejected entries a run kept, as the window shows them: in source line order (a line's entries in
// the order found), each with the line and the columns of its fields and its words. An over-limit credit,
// which no listing names, is worded for the window.
std::vector<RejectedEntry> RejectedEntriesOf(const RunResult& result);

}  // namespace qrv
