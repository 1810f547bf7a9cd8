#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "io/WorkFile.h"

namespace qrv {

// Packs the upload file into the day's archive as its one entry, named `entryName` (the upload's own
// name: its bytes may still lie in a work file), replacing whatever entries the archive held. The archive
// is written whole beside the target, for the run to put in place. When no upload file exists nothing is
// made: no empty archive, and an existing one stays as it was. An existing file that is not a zip archive
// is an error, and is left untouched.
std::optional<AtomicFile> PackArchive(const std::filesystem::path& archive,
                                      const std::filesystem::path& uploadFile, const std::string& entryName);

}  // namespace qrv
