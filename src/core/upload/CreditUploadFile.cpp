#include "upload/CreditUploadFile.h"

#include "io/Platform.h"
#include "upload/HashFile.h"

namespace qrv {

namespace {
constexpr size_t kBlock = 1 << 16;
}

CreditUploadFile::CreditUploadFile(const std::filesystem::path& destination, std::string headerRecord)
    : destination_(destination), header_(std::move(headerRecord)), work_(workFileFor(destination, "Temp")) {}

CreditUploadFile::Result CreditUploadFile::complete(std::string_view record002, bool writeUpload,
                                                    bool hashUnwritten) {
    work_.close();
    if (!writeUpload && !hashUnwritten) {
        return {};
    }
    const std::string head = header_ + std::string(record002) + "\r\n";
    Sha1 sha;
    sha.update(head);
    Result result;
    if (!writeUpload) {
        platform::readBlocks(work_.path(), kBlock, [&sha](std::string_view block) { sha.update(block); });
        result.hash = HexUpper(sha.finish());
        return result;
    }
    // One pass: the hash line's place is kept, the rest copied and hashed, then the hash put in front.
    AtomicFile upload(destination_);
    FileWriter& out = upload.writer();
    out.write(std::string(40, '0') + "\r\n");
    out.write(head);
    platform::readBlocks(work_.path(), kBlock, [&sha, &out](std::string_view block) {
        sha.update(block);
        out.write(block);
    });
    result.hash = HexUpper(sha.finish());
    out.flush();
    platform::writeAllAt(out.fd(), 0, result.hash.data(), result.hash.size(), upload.target().string());
    upload.commit();
    result.written = true;
    return result;
}

}  // namespace qrv
