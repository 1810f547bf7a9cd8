#include "upload/HashedUpload.h"

#include "io/FileWriter.h"
#include "io/Platform.h"
#include "io/Sha1.h"
#include "upload/ZipOutputs.h"

namespace qrv {

namespace {
constexpr size_t kBlock = 1 << 16;
}

PreparedUpload PrepareHashedUpload(const std::filesystem::path& destination, std::string_view head,
                                   const std::filesystem::path& body, const ArchiveEntry* packInto) {
    // The hash comes first in the file (and in the archive's stream), so the records are read twice;
    // the second reading finds them in the page cache.
    std::string hash = HashOfUpload(head, body);
    const std::string hashLine = hash + "\r\n";
    AtomicFile upload(destination);
    std::optional<ArchivePacker> packer;
    if (packInto != nullptr) {
        const std::uint64_t size = hashLine.size() + head.size() + std::filesystem::file_size(body);
        packer.emplace(packInto->archive, upload.tempPath(), packInto->name, size);
    }
    FileWriter& out = upload.writer();
    const auto put = [&out, &packer](std::string_view bytes) {
        out.write(bytes);
        if (packer) {
            packer->add(bytes);
        }
    };
    put(hashLine);
    put(head);
    platform::readBlocks(body, kBlock, put);
    std::optional<AtomicFile> archive;
    upload.finishWhile([&packer, &archive] {
        if (packer) {
            archive.emplace(packer->finish());
        }
    });
    return {std::move(hash), std::move(upload), std::move(archive)};
}

std::string HashOfUpload(std::string_view head, const std::filesystem::path& body) {
    Sha1 sha;
    sha.update(head);
    platform::readBlocks(body, kBlock, [&sha](std::string_view block) { sha.update(block); });
    return HexUpper(sha.finish());
}

}  // namespace qrv
