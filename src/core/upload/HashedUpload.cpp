#include "upload/HashedUpload.h"

#include "io/FileWriter.h"
#include "io/Platform.h"
#include "io/Sha1.h"

namespace qrv {

namespace {
constexpr size_t kBlock = 1 << 16;
}

PreparedUpload PrepareHashedUpload(const std::filesystem::path& destination, std::string_view head,
                                   const std::filesystem::path& body) {
    Sha1 sha;
    sha.update(head);
    AtomicFile upload(destination);
    FileWriter& out = upload.writer();
    out.write(std::string(40, '0') + "\r\n");
    out.write(head);
    platform::readBlocks(body, kBlock, [&sha, &out](std::string_view block) {
        sha.update(block);
        out.write(block);
    });
    std::string hash = HexUpper(sha.finish());
    out.flush();
    platform::writeAllAt(out.fd(), 0, hash.data(), hash.size(), upload.target().string());
    return {std::move(hash), std::move(upload)};
}

std::string HashOfUpload(std::string_view head, const std::filesystem::path& body) {
    Sha1 sha;
    sha.update(head);
    platform::readBlocks(body, kBlock, [&sha](std::string_view block) { sha.update(block); });
    return HexUpper(sha.finish());
}

}  // namespace qrv
