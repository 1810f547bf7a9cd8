#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Seeds made from what the program ships or makes, so that they follow it: the example files (made for
// the fuzz clock's day), the report layouts, and the default settings and reference data, each in the
// input form of its target. The seeds kept in fuzz/seeds/ come beside them.
namespace qrv::fuzz {

struct Seed {
    std::string target;
    std::string name;
    std::string bytes;
};

std::vector<Seed> madeSeeds();
// Workbooks written by libxlsxwriter (SheetSeeds.cpp, where the library is built).
void addSheetSeeds(std::vector<Seed>& seeds);
// The example sheet and mapping, and a made mapping and row for every product form (SourceTargets.cpp).
void addSourceSeeds(std::vector<Seed>& seeds, const std::string& exampleCsv, const std::string& exampleMap);
// Writes every made seed as folder/<target>/<name>.
void writeSeeds(const std::filesystem::path& folder);

}  // namespace qrv::fuzz
