#include "convert/source/SavedMapping.h"

#include <cctype>
#include <cstdio>
#include <system_error>

#include "base/QrvError.h"
#include "io/WorkFile.h"
#include "sheet/SheetMapping.h"

namespace qrv {
namespace {

std::filesystem::path mappingsFolder(const std::filesystem::path& dataFolder) {
    return dataFolder / "Mappings";
}

std::string fileNamePart(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 && byte < 0x80) {
            out += c;
        } else if (c == '-' || c == '_') {
            out += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        }
    }
    return out;
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

std::filesystem::path savedMappingPath(const std::filesystem::path& dataFolder, std::string_view product,
                                       std::string_view companyId) {
    std::string name = fileNamePart(upper(product));
    if (!companyId.empty()) {
        name += " " + fileNamePart(companyId);
    }
    return mappingsFolder(dataFolder) / (name + ".ini");
}

std::optional<std::string> offeredMapping(const std::filesystem::path& dataFolder, std::string_view product,
                                          std::string_view companyId, const std::filesystem::path& sheet) {
    if (auto saved = readMappingText(savedMappingPath(dataFolder, product, companyId))) {
        return saved;
    }
    std::filesystem::path beside = sheet;
    beside.replace_filename(sheet.stem().string() + "-map.ini");
    return readMappingText(beside);
}

void saveMapping(const std::filesystem::path& dataFolder, std::string_view product,
                 std::string_view companyId, const std::string& iniText) {
    std::error_code error;
    std::filesystem::create_directories(mappingsFolder(dataFolder), error);
    if (error) {
        throw QrvError("Cannot make the folder \"" + mappingsFolder(dataFolder).string() +
                       "\": " + error.message());
    }
    AtomicFile file(savedMappingPath(dataFolder, product, companyId));
    file.writer().write(iniText);
    file.commit();
}

}  // namespace qrv
