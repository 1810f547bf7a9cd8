#include "upload/CreditUploadFile.h"

#include "io/LineReader.h"
#include "upload/HashedUpload.h"

namespace qrv {

CreditUploadFile::CreditUploadFile(const std::filesystem::path& destination, std::string headerRecord,
                                   Mode mode, std::string knownRecord)
    : destination_(destination),
      header_(std::move(headerRecord)),
      mode_(mode),
      knownRecord_(std::move(knownRecord)) {
    if (mode_ == Mode::Write) {
        work_.emplace(workFileFor(destination, "Temp"));
    } else if (mode_ == Mode::Hash) {
        sha_.emplace();
        sha_->update(header_);
        sha_->update(knownRecord_);
        sha_->update("\r\n");
    }
}

void CreditUploadFile::writeRecord(std::string_view record) {
    if (work_) {
        work_->writer().writeLine(record);
    } else if (sha_) {
        sha_->update(record);
        sha_->update("\r\n");
    }
}

CreditUploadFile::Result CreditUploadFile::complete(std::string_view record, bool writeUpload,
                                                    bool hashUnwritten, const std::filesystem::path& source) {
    Result result;
    if (mode_ == Mode::Learn) {
        if (hashUnwritten) {
            result.learnedRecord = record;
        }
        return result;
    }
    if (mode_ == Mode::Hash) {
        if (record != knownRecord_) {
            throw FileChangedWhileRead(source);
        }
        result.hash = HexUpper(sha_->finish());
        return result;
    }
    work_->close();
    if (!writeUpload && !hashUnwritten) {
        return result;
    }
    const std::string head = header_ + std::string(record) + "\r\n";
    if (writeUpload) {
        PreparedUpload prepared =
            PrepareHashedUpload(destination_, head, work_->path(), archive_ ? &*archive_ : nullptr);
        result.hash = std::move(prepared.hash);
        result.file.emplace(std::move(prepared.file));
        result.archive = std::move(prepared.archive);
    } else {
        result.hash = HashOfUpload(head, work_->path());
    }
    return result;
}

}  // namespace qrv
