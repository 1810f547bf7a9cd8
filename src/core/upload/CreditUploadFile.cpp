#include "upload/CreditUploadFile.h"

#include "upload/HashedUpload.h"

namespace qrv {

CreditUploadFile::CreditUploadFile(const std::filesystem::path& destination, std::string headerRecord)
    : destination_(destination), header_(std::move(headerRecord)), work_(workFileFor(destination, "Temp")) {}

CreditUploadFile::Result CreditUploadFile::complete(std::string_view record002, bool writeUpload,
                                                    bool hashUnwritten) {
    work_.close();
    if (!writeUpload && !hashUnwritten) {
        return {};
    }
    const std::string head = header_ + std::string(record002) + "\r\n";
    Result result;
    if (writeUpload) {
        result.hash = WriteHashedUpload(destination_, head, work_.path());
        result.written = true;
    } else {
        result.hash = HashOfUpload(head, work_.path());
    }
    return result;
}

}  // namespace qrv
