#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/Date.h"
#include "convert/ExampleFile.h"

// Example source files for every product, for a newcomer to try the tool on: one valid file per layout
// and one holding typical mistakes, dated relative to today, with Thai and English names in code page
// 874, and a README.txt saying which command runs on which file.
namespace qrv {

// The examples for `today`. Their dates lie a week after it, so they stay valid for a few days.
std::vector<ExampleFile> buildExamples(const Date& today);

struct WrittenExamples {
    std::vector<std::string> written;
    std::vector<std::string> kept;  // names already in the folder, left as they were
};

// Writes the examples into `folder` (created when missing), touching nothing else: a file of the same name
// already there is the person's own and is kept. Throws QrvError when a file cannot be written.
WrittenExamples writeExamples(const std::filesystem::path& folder, const Date& today);

}  // namespace qrv
