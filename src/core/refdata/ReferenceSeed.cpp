#include "refdata/ReferenceSeed.h"

#include "refdata/ReferenceImport.h"

namespace qrv {

TableStore::Seed ReferenceSeed(std::filesystem::path dataFolder) {
    return [folder = std::move(dataFolder)](TableStore& store, const std::string& table) {
        const std::filesystem::path file =
            folder / ((table == "BRANCH" ? std::string("Branch") : table) + ".csv");
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) {
            importReferenceCsv(store, table, file);
            return;
        }
        // Without banks and branches every code of a Media Clearing file would be converted as new; the
        // withholding-tax code tables may be absent, as before.
        if (table == "Bank" || table == "BRANCH") {
            throw IncompleteStoreError("The data folder \"" + folder.string() + "\" has no \"" +
                                       file.filename().string() + "\" to fill the table " + table +
                                       ": it was never initialised. Nothing was done. Run \"qrv --data " +
                                       folder.string() + " init\" to make it");
        }
    };
}

}  // namespace qrv
