#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The fuzz targets, one per source-file parser or command. A libFuzzer program runs one of them; the
// regression test replays the saved inputs of each through the same function.
namespace qrv::fuzz {

using TargetFunction = void (*)(const uint8_t* data, size_t size);

struct Target {
    const char* name;
    TargetFunction run;
};

const std::vector<Target>& targets();
TargetFunction findTarget(const std::string& name);

}  // namespace qrv::fuzz
