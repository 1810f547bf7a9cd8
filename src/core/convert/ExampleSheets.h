#pragma once

#include <string>
#include <vector>

#include "base/Date.h"
#include "convert/ExampleFile.h"

// The spreadsheet examples: the entries of the Direct Credit example as a CSV file and a workbook with a
// header row naming the columns, the mapping that builds the source file from either, and a workbook
// holding the mistakes people typically make in such a sheet.
namespace qrv {

// direct-credit.csv, direct-credit.xlsx, direct-credit-map.ini, direct-credit-sheet-mistakes.xlsx; the
// entries paid on `due`.
std::vector<ExampleFile> buildExampleSheets(const Date& due);

}  // namespace qrv
