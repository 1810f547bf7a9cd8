#include "upload/HashedUpload.h"

#include <algorithm>

#include "io/Platform.h"
#include "io/Sha1.h"

namespace qrv {

namespace {
constexpr size_t kBlock = 1 << 16;
}

std::string HashOfUpload(std::string_view head, const std::filesystem::path& body, std::uint64_t from) {
    Sha1 sha;
    sha.update(head);
    std::uint64_t skip = from;
    platform::readBlocks(body, kBlock, [&sha, &skip](std::string_view block) {
        const std::uint64_t skipped = std::min<std::uint64_t>(skip, block.size());
        skip -= skipped;
        sha.update(block.substr(static_cast<size_t>(skipped)));
    });
    return HexUpper(sha.finish());
}

}  // namespace qrv
