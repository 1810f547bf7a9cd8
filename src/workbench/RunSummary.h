#pragma once

#include <string>
#include <vector>

#include "convert/RunResult.h"

namespace qrv {

// What a run did, in the lines the window's result panel shows: outcome, accepted entries, rejected
// entries by kind with their last line, and the total in baht.
std::vector<std::string> RunSummaryLines(const RunResult& result);

// A file written, as "Listing: /full/path/ACME01_DCP_InvalidAcctRecord.txt".
std::string WrittenFileLine(const WrittenFile& file);

// "Upload file", "Listing", "Archive", "Comparison file", "Converted file".
const char* OutputKindName(OutputKind kind);

}  // namespace qrv
