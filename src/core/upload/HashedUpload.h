#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "io/WorkFile.h"

namespace qrv {

// An upload file is its hash line (40 upper-case hexadecimal digits, CR LF) and then the records the hash
// covers: `head`, then the content of the work file `body`.

// An upload file written whole beside its destination, not yet in place, and its hash.
struct PreparedUpload {
    std::string hash;
    AtomicFile file;
};

// Writes the upload file for `destination` in one pass: the hash line's place kept, the rest copied and
// hashed, then the hash put in front. The destination changes only when the file is committed.
PreparedUpload PrepareHashedUpload(const std::filesystem::path& destination, std::string_view head,
                                   const std::filesystem::path& body);
// The hash such a file would carry; nothing is written.
std::string HashOfUpload(std::string_view head, const std::filesystem::path& body);

}  // namespace qrv
