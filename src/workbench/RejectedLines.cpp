#include "workbench/RejectedLines.h"

#include <algorithm>

namespace qrv {

std::vector<RejectedEntry> RejectedEntriesOf(const RunResult& result) {
    std::vector<RejectedEntry> entries = result.entries;
    for (RejectedEntry& e : entries) {
        if (e.kind == Reject::OverLimit) {
            e.message = "Amount above 2,000,000.00 baht from another sending bank: voids the upload";
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const RejectedEntry& a, const RejectedEntry& b) { return a.line < b.line; });
    return entries;
}

}  // namespace qrv
