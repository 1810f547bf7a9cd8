#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "base/QrvError.h"
#include "convert/RunResult.h"
#include "convert/Services.h"

namespace qrv {

// A reference file that cannot be imported; the text names the file, the line and what is wrong.
class ReferenceImportError : public QrvError {
  public:
    using QrvError::QrvError;
};

// Loads bank or branch rows (or a withholding-tax code table) from a UTF-8 CSV file whose header row
// names every field of the table, in any order (a header that lacks one is refused: the rows replace
// stored rows whole). Values are trimmed; bank, branch and region codes must have the form the
// maintenance windows take (ReferenceCodes). Rows whose code exists already replace it. A bad row is
// refused (ReferenceImportError) with its file and line number and nothing of the file is imported.
// Returns the number of rows imported.
int importReferenceCsv(TableStore& store, const std::string& table, const std::filesystem::path& file);

struct ReferenceImportCounts {
    int banks = 0;
    int branches = 0;
};

// Imports a bank file and a branch file (either may be absent) together: a bad row in either leaves
// both tables as they were.
ReferenceImportCounts ImportBankAndBranchFiles(TableStore& store,
                                               const std::optional<std::filesystem::path>& banks,
                                               const std::optional<std::filesystem::path>& branches);

// The bank and branch reference import: a bank file, a branch file, or both (UTF-8 CSV).
struct ReferenceImportRequest {
    std::optional<std::filesystem::path> banksPath;
    std::optional<std::filesystem::path> branchesPath;
};

// Written: both files imported, "Imported N banks and M branches" shown; `records` is the rows of both.
// Refused: a bad row, its file and line shown as an error, and neither table changed.
struct ReferenceImportResult : RunResult {
    ReferenceImportCounts counts;
};

ReferenceImportResult importReferenceData(const ReferenceImportRequest& request, Services& services);
// The same with only what the import uses (the maintenance windows).
ReferenceImportResult importReferenceData(const ReferenceImportRequest& request, TableStore& store,
                                          Events& events);

// Fills the reference tables of a new database from the sample files of a data folder (those present).
void SeedReferenceData(TableStore& store, const std::filesystem::path& folder);

}  // namespace qrv
