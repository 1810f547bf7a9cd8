#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/Date.h"

namespace qrv {

class Workbench;

// The file name that "Save" proposes for a comparison file: "ddmmyy-hhmmss Return File.txt".
std::string ReturnFileProposedName(const DateTime& now);

// The two-digit status code of a return record from its result (column 314) and reason
// (columns 315-317); nothing when the result is none of "S", "F", "V", "P".
std::optional<std::string> ReturnStatusCode(std::string_view returnRecord);

// "Reformat  100 M": compares the sent 100M file (edtSource) with the return file from V5
// (edtInvoice), writes the comparison file (edtDestination) and DDR_FileCompare, and shows the
// comparison report. True when the comparison file was written; a run that stops leaves no
// comparison file (an earlier file of that name stays as it was).
bool CompareReturnFile(Workbench& wb);

// "Save": proposes a file name for the comparison file and puts the confirmed choice in edtDestination.
void ChooseComparisonFile(Workbench& wb);

}  // namespace qrv
