#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "convert/RejectKinds.h"

namespace qrv {

struct ReformatResult;

// Which of the result report's counters a run keeps. All of them are made from the run's rejected entries.
enum class CounterSet {
    None,               // the run stopped before it counted
    Credit,             // the credit products: accounts, amounts, bank and branch codes, over-limit credits
    DirectDebitErrors,  // Direct Debit (100M) with rejected lines: its nine counters and their total
    DirectDebitZero,    // Direct Debit (100M) shown by its own reports: its counters stay at zero
    DirectDebitClean,   // Direct Debit (100M) written: every counter of both sets, at zero
};

// One counter of the result report by its variable name; absent when the run does not keep it.
struct ResultCounter {
    const char* name;
    std::optional<std::int64_t> value;
};

// The result report's nineteen counters of a run, in the order the report sets them.
std::vector<ResultCounter> ResultCounters(const ReformatResult& result);
// One of them by its name; absent when the run does not keep it.
std::optional<std::int64_t> ResultCounterOf(const ReformatResult& result, std::string_view name);

}  // namespace qrv
