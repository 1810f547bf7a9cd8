#pragma once

#include <string>
#include <string_view>

namespace qrv {

class Workbench;

// The code a detail line's result letter (column 221) gives: "S" "00", "F" "01"; any other letter
// keeps `previous`, the code of the detail before it (empty before the first).
std::string ConvertResultCode(std::string_view inputLine, const std::string& previous);

// "Convert 100 M": turns the input file (edtSource) into the Direct Debit 100M layout under the company
// code (edtCompanyCode) and writes it to edtDestination: the control records first, then the detail
// records, the last record without its line end. True when the converted file is written; otherwise
// the destination stays as it was.
bool Convert100M(Workbench& wb);

}  // namespace qrv
