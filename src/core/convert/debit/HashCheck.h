#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "convert/RunResult.h"
#include "convert/Services.h"
#include "convert/debit/DirectDebitHash.h"

namespace qrv {

// "GenerateHash": checks a direct debit file's control record, then every detail record, and issues the
// file's hash value when nothing is wrong.
struct HashCheckRequest {
    std::filesystem::path sourcePath;  // empty: the "No Input File" refusal
    // The hash value shown before this check (empty for none); the error report repeats it.
    std::string shownHash;
};

// Refused: no source, or a control-record fault (its message shown). AllRejected: the detail checks
// found faults (Report_Hash_Error holds them, the error report was shown). Written: clean, `hash` issued
// and the hash report shown. `records` counts the detail records, `total` sums their readable amounts.
struct HashCheckResult : RunResult {
    std::optional<debit::ControlRecord> control;  // the control record, when the check was clean
    // The table store's count of other runs' changes once the check's rows were saved
    // (TableStore::changesByOthers): equal later, Report_Hash still holds them.
    std::int64_t storeChanges = 0;
};

HashCheckResult checkDirectDebitFile(const HashCheckRequest& request, Services& services);

}  // namespace qrv
