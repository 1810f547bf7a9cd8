#include "convert/ReformatRun.h"

#include "base/FieldHelpers.h"

namespace qrv {

std::filesystem::path ReformatRun::listingPath(std::string_view code, std::string_view suffix) const {
    std::string name = outputFolder;
    name += request.companyId;
    name += '_';
    name += code;
    name += suffix;
    return std::filesystem::path(name);
}

std::filesystem::path ReformatRun::archivePath() const {
    return std::filesystem::path(outputFolder + services.clock.today().isoDashed() +
                                 std::string(Trim(request.companyId)) + "_" + productCode + ".zip");
}

}  // namespace qrv
