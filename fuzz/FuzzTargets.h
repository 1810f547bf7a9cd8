#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The fuzz targets, one per reader of outside input (source files, settings, reference data, report
// layouts) or writer of what such input reaches (the report JSON). The libFuzzer program runs one of
// them; the regression test replays the saved inputs of each through the same function.
namespace qrv::fuzz {

using TargetFunction = void (*)(const uint8_t* data, size_t size);

struct Target {
    const char* name;
    TargetFunction run;
};

// Every target; a new one is a row of this table (FuzzTargets.cpp).
const std::vector<Target>& targets();
TargetFunction findTarget(const std::string& name);

// Targets of files of their own.
void layoutTarget(const uint8_t* data, size_t size);
void jsonTarget(const uint8_t* data, size_t size);
void csvSheetTarget(const uint8_t* data, size_t size);
void xlsxSheetTarget(const uint8_t* data, size_t size);
void sheetMappingTarget(const uint8_t* data, size_t size);
void sourceLineTarget(const uint8_t* data, size_t size);
void buildSourceTarget(const uint8_t* data, size_t size);
void uploadTarget(const uint8_t* data, size_t size);

}  // namespace qrv::fuzz
