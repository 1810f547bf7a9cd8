#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "convert/RunResult.h"
#include "convert/Services.h"

namespace qrv {

// The code a detail line's result letter (column 221) gives: "S" "00", "F" "01"; any other letter
// keeps `previous`, the code of the detail before it (empty before the first).
std::string ConvertResultCode(std::string_view letter, const std::string& previous);

// "Convert 100 M": the input file, the company code as typed (UTF-8; the control records take its code
// page 874 form) and the 100M file to write.
struct Convert100MRequest {
    std::filesystem::path sourcePath;
    std::string companyCode;
    std::filesystem::path destinationPath;
};

// Turns the input file into the Direct Debit 100M layout: the control records first, then the detail
// records, the last record without its line end. Refused: no company code, or one code page 874 cannot
// write (the destination stays as it was). Written: the converted file (`written`); `records` counts the
// records it holds.
using Convert100MResult = RunResult;

Convert100MResult convertTo100M(const Convert100MRequest& request, Services& services);

}  // namespace qrv
