#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <filesystem>

#include "base/Date.h"
#include "convert/RunResult.h"
#include "convert/Services.h"

namespace qrv {

// The file name that "Save" proposes for a comparison file: "ddmmyy-hhmmss Return File.txt".
std::string ReturnFileProposedName(const DateTime& now);

// The two-digit status code of a return record from its result (column 314) and reason
// (columns 315-317); nothing when the result is none of "S", "F", "V", "P".
std::optional<std::string> ReturnStatusCode(std::string_view result, std::string_view reason);

// "Reformat  100 M" of the return-file choice: the sent 100M file, the return file from V5 for it and the
// comparison file to write. An empty path is the refusal that asks for it.
struct ReturnComparisonRequest {
    std::filesystem::path sentPath;
    std::filesystem::path returnPath;
    std::filesystem::path destinationPath;
};

// Refused: a check stopped it (its message shown as an error) and no comparison file was written (an
// earlier file of that name stays as it was). Written: the comparison file (`written`), DDR_FileCompare
// and the comparison report; `records` counts the sent detail records, `total` is the sent total.
using ReturnComparisonResult = RunResult;

ReturnComparisonResult compareReturnFile(const ReturnComparisonRequest& request, Services& services);

}  // namespace qrv
