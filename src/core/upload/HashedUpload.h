#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "io/WorkFile.h"

namespace qrv {

// An upload file is its hash line (40 upper-case hexadecimal digits, CR LF) and then the records the hash
// covers: `head`, then the content of the work file `body`.

// Where the upload is packed: the archive and the entry's name.
struct ArchiveEntry {
    std::filesystem::path archive;
    std::string name;
};

// An upload file written whole beside its destination, not yet in place, its hash, and the archive
// packed from it when one was asked.
struct PreparedUpload {
    std::string hash;
    AtomicFile file;
    std::optional<AtomicFile> archive;
};

// Writes the upload file for `destination`: the records are hashed, then the file is written whole, its
// bytes going to disk at the end. With `packInto`, the archive is packed on a second thread from the
// bytes as they are written (the file is not read again), and its bytes go to disk meanwhile. Nothing
// is in place until the run commits.
PreparedUpload PrepareHashedUpload(const std::filesystem::path& destination, std::string_view head,
                                   const std::filesystem::path& body, const ArchiveEntry* packInto = nullptr);
// The hash such a file would carry; nothing is written.
std::string HashOfUpload(std::string_view head, const std::filesystem::path& body);

}  // namespace qrv
