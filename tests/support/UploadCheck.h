#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Every upload file a test writes is checked when the test's folder goes, by the check of `qrv
// check-upload`: what the host would find wrong in it.
namespace qrv::test {

// Whether a file is an upload file: a hash line of 40 upper-case hexadecimal digits, then a header record.
bool isUploadFile(const std::filesystem::path& file);

// What is wrong in an upload file, one text per fault naming its line, record and field; empty when
// nothing is.
std::vector<std::string> uploadFaults(const std::filesystem::path& file);

// The faults of every upload file in a folder and its subfolders, each with its file's name.
std::vector<std::string> uploadFaultsIn(const std::filesystem::path& folder);

}  // namespace qrv::test
