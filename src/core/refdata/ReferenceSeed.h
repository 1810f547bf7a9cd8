#pragma once

#include <filesystem>

#include "io/AppPaths.h"
#include "store/TableStore.h"

namespace qrv {

// Fills a reference table of a table store being made from the sample file of the data folder
// ("Bank.csv", "Branch.csv", "WHT_FORM_TYPE.csv", ...). A missing bank or branch file stops the making
// (IncompleteStoreError): a store without its banks and branches would convert every code as new. A
// missing withholding-tax code file (an "init" stopped early) is taken from the program's defaults
// (`defaults`: the shipped sample files), for those codes are the same everywhere; where the defaults lack
// it too, the making stops as well, naming the file: a store with empty code tables would drop the tax
// details of every cheque printed.
TableStore::Seed ReferenceSeed(std::filesystem::path dataFolder,
                               std::filesystem::path defaults = AppPaths::defaultDataSource());

}  // namespace qrv
