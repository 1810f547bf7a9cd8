#pragma once

#include <optional>
#include <string>

#include "convert/ReformatRequest.h"
#include "convert/RunResult.h"

namespace qrv {

// Which of the result report's counters a run keeps. All of them are made from the run's rejected entries.
enum class CounterSet {
    None,               // the run stopped before it counted
    Credit,             // the credit products: accounts, amounts, bank and branch codes, over-limit credits
    DirectDebitErrors,  // Direct Debit (100M) with rejected lines: its nine counters and their total
    DirectDebitZero,    // Direct Debit (100M) shown by its own reports: its counters stay at zero
    DirectDebitClean,   // Direct Debit (100M) written: every counter of both sets, at zero
};

struct ReformatResult : RunResult {
    std::string productCode;
    CounterSet counters = CounterSet::None;  // the result report's counters it keeps (resultCounters())
    bool converted = false;                  // the common checks passed and the product's converter ran
    ReformatAccounts accounts;               // the product's accounts as checked, when it converted
    bool dryRun = false;                 // nothing was written; `written` names what a real run would write
    std::optional<RunEntry> earlierRun;  // the completed run a refused repeat repeats
};

}  // namespace qrv
