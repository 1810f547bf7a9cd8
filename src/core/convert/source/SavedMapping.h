#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The mappings the window remembers per company and product: INI files in the data folder's "Mappings"
// folder, the same files `qrv build-source --map` reads, so that a mapping made in the window serves the
// command line too and can be copied or kept per company.
namespace qrv {

// "<data>/Mappings/DCP 1234.ini" for product DCP and company 1234 ("DCP.ini" without a company). A
// character of the company id other than a letter, digit, "-" or "_" is written as "%XX", so that no id
// names a file outside the folder.
std::filesystem::path savedMappingPath(const std::filesystem::path& dataFolder, std::string_view product,
                                       std::string_view companyId);

// The mapping to offer for `sheet`: the one saved for the company and product, else a mapping file
// beside the sheet named after it ("payroll-map.ini" for "payroll.xlsx"); nothing when neither is there.
std::optional<std::string> offeredMapping(const std::filesystem::path& dataFolder, std::string_view product,
                                          std::string_view companyId, const std::filesystem::path& sheet);

// Keeps `iniText` as the company's mapping for the product (the file replaced when complete).
void saveMapping(const std::filesystem::path& dataFolder, std::string_view product,
                 std::string_view companyId, const std::string& iniText);

}  // namespace qrv
