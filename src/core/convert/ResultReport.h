#pragma once

#include <filesystem>
#include <string>

namespace qrv {

class Workbench;

// The result report of a reformat: the layout chosen by ResultLayout, its 30 variables in order, shown by
// the result runner; afterwards a voided upload file written by this run is removed (KeepUpload false).
// The arguments are code page 874 texts (the company name comes from the source file).
// `uploadWrittenThisRun` names the upload file this run wrote, if any: only that file is ever removed.
void PrintResultReport(Workbench& wb, const std::string& payType, const std::string& debitRecord,
                       const std::string& creditRecord, const std::string& amount,
                       const std::string& valueDate, const std::string& comName, const std::string& cusCap,
                       bool uploadWrittenThisRun);

// The layout file name for a ResultLayout value.
const char* ResultLayoutFile(int resultLayout);

// "0000000001234560" -> "0000000001234.560".
std::string AmountText(const std::string& amountField);

}  // namespace qrv
