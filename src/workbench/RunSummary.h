#pragma once

#include <string>
#include <vector>

#include "convert/RunResult.h"

namespace qrv {

struct LastRun;

// What a run did, in the lines the window's result panel shows, in words: the outcome of its command
// (with the reason it gave when it wrote nothing), what it accepted or checked, the rejected entries
// with the lines they are on, each kind with its last line, and the total in baht.
std::vector<std::string> RunSummaryLines(const LastRun& run, const RunResult& result);

// A file written, as "Listing: /full/path/ACME01_DCP_InvalidAcctRecord.txt".
std::string WrittenFileLine(const WrittenFile& file);

// "Upload file", "Listing", "Archive", "Comparison file", "Converted file".
const char* OutputKindName(OutputKind kind);

}  // namespace qrv
