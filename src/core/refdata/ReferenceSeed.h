#pragma once

#include <filesystem>

#include "store/TableStore.h"

namespace qrv {

// Fills a reference table of a table store being made from the sample file of the data folder
// ("Bank.csv", "Branch.csv", "WHT_FORM_TYPE.csv", ...). A missing bank or branch file stops the making
// (IncompleteStoreError): a store without its banks and branches would convert every code as new.
TableStore::Seed ReferenceSeed(std::filesystem::path dataFolder);

}  // namespace qrv
