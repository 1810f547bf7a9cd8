#pragma once

#include <filesystem>
#include <string>

namespace qrv {

class TableStore;

// Loads bank or branch rows (or a withholding-tax code table) from a UTF-8 CSV file whose header row
// names the table's fields. Rows whose code exists already replace it. A bad row is refused with its
// line number and nothing of the file is imported. Returns the number of rows imported.
int ImportReferenceCsv(TableStore& store, const std::string& table, const std::filesystem::path& file);

// Fills the reference tables of a new database from the sample files of a data folder (those present).
void SeedReferenceData(TableStore& store, const std::filesystem::path& folder);

}  // namespace qrv
