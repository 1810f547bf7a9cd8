#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qrv {

// An upload file is its hash line (40 upper-case hexadecimal digits, CR LF) and then the records the hash
// covers: a head (the header and the record after it), then the rest of the records.
inline constexpr std::size_t kHashLineBytes = 40 + 2;

// The hash of an upload whose head is `head` and whose other records are the bytes of the file `body` from
// `from` on (read back, so from the page cache when just written); nothing is written.
std::string HashOfUpload(std::string_view head, const std::filesystem::path& body, std::uint64_t from);

}  // namespace qrv
