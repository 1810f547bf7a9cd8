#pragma once

#include <filesystem>
#include <string>

namespace qrv {

// Packs the upload file into the day's archive, replacing whatever entries it held. The archive is
// written beside the target and renamed over it when whole. When no upload file exists nothing is done:
// no empty archive is created and an existing one stays as it was. An existing file that is not a zip
// archive is an error, and is left untouched.
void ZipOutputs(const std::filesystem::path& archive, const std::filesystem::path& uploadFile);

}  // namespace qrv
