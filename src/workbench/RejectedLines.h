#pragma once

#include <cstdint>
#include <vector>

#include "convert/RunResult.h"
#include "upload/ListingEntry.h"

namespace qrv {

class TableStore;
struct LastRun;

// The rejected entries of a run, in source line order, each with its line and, where known, its
// columns: the lines of its listings, the over-limit credits of a Media Clearing file (they void the
// upload without a listing line), and the error rows of Direct Debit (100M) and of the hash check.
std::vector<ListingEntry> RejectedEntriesOf(const LastRun& run, const RunResult& result, TableStore& store);

// How many source lines those entries are on, counted without holding them.
std::int64_t RejectedLineCount(const LastRun& run, const RunResult& result, TableStore& store);

}  // namespace qrv
