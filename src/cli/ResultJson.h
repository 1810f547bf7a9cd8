#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "base/Events.h"
#include "convert/RunResult.h"

namespace qrv::cli {

// The JSON words of the command line's --json output.
std::string_view outcomeName(Outcome outcome);
std::string_view outputKindName(OutputKind kind);
std::string_view messageKindName(MessageKind kind);

// A result as the --json object holds it: outcome, hash, counts, total in baht, rejected entries by kind
// with the first entries themselves and the lines they are on, every path written, the report layouts
// shown. Operations add their own values to the object.
nlohmann::json resultJson(const RunResult& result);

}  // namespace qrv::cli
