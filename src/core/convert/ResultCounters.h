#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace qrv {

struct ReformatResult;

// One counter of the result report by its variable name; absent when the run does not keep it.
struct ResultCounter {
    const char* name;
    std::optional<std::int64_t> value;
};

// The result report's nineteen counters of a run, in the order the report sets them.
std::vector<ResultCounter> resultCounters(const ReformatResult& result);
// One of them by its name; absent when the run does not keep it.
std::optional<std::int64_t> resultCounterOf(const ReformatResult& result, std::string_view name);

}  // namespace qrv
