#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "io/Sha1.h"

namespace qrv {

class Events;

// SHA-1 of a file's bytes, read in blocks of 8192; `eachBlock`, when given, sees every block as it is read.
// When the file cannot be opened (a folder included), shows "Unable to open source file." as an
// information message and gives nothing.
std::optional<Digest> HashFile(const std::filesystem::path& file, Events& ui,
                               const std::function<void(std::string_view)>& eachBlock = {});

}  // namespace qrv
