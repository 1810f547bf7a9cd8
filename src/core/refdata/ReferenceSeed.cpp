#include "refdata/ReferenceSeed.h"

#include "refdata/ReferenceImport.h"

namespace qrv {

namespace {

bool isFile(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec);
}

}  // namespace

TableStore::Seed ReferenceSeed(std::filesystem::path dataFolder, std::filesystem::path defaults) {
    return [folder = std::move(dataFolder), defaults = std::move(defaults)](TableStore& store,
                                                                            const std::string& table) {
        const std::string name = (table == "BRANCH" ? std::string("Branch") : table) + ".csv";
        const std::filesystem::path file = folder / name;
        if (isFile(file)) {
            importReferenceCsv(store, table, file);
            return;
        }
        // Without banks and branches every code of a Media Clearing file would be converted as new.
        if (table == "Bank" || table == "BRANCH") {
            throw IncompleteStoreError("The data folder \"" + folder.string() + "\" has no \"" + name +
                                       "\" to fill the table " + table +
                                       ": it was never initialised. Nothing was done. Run \"qrv --data " +
                                       folder.string() + " init\" to make it");
        }
        if (isFile(defaults / name)) {
            importReferenceCsv(store, table, defaults / name);
            return;
        }
        throw IncompleteStoreError("The data folder \"" + folder.string() + "\" has no \"" + name +
                                   "\" to fill the table " + table +
                                   " (an \"init\" that stopped early). Nothing was done. Run \"qrv --data " +
                                   folder.string() + " init\" to complete it");
    };
}

}  // namespace qrv
