#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/Date.h"

// Example source files for every product, for a newcomer to try the tool on: one valid file per layout
// and one holding typical mistakes, dated relative to today, with Thai and English names in code page
// 874, and a README.txt saying which command runs on which file.
namespace qrv {

struct ExampleFile {
    std::string name;   // file name inside the examples folder
    std::string bytes;  // content: code page 874 text, CR LF line ends (README.txt is UTF-8)
};

// The examples for `today`. Their dates lie a week after it, so they stay valid for a few days.
std::vector<ExampleFile> BuildExamples(const Date& today);

// Writes the examples into `folder` (created when missing), replacing files of the same names and
// touching nothing else. Returns the names written. Throws QrvError when a file cannot be written.
std::vector<std::string> WriteExamples(const std::filesystem::path& folder, const Date& today);

}  // namespace qrv
