#include "upload/CreditUploadFile.h"

#include "base/QrvError.h"
#include "io/LineReader.h"
#include "upload/HashedUpload.h"

namespace qrv {

namespace {

// The bytes before the records: hash line, header, the record after it and its CR LF.
std::size_t headBytes(const std::string& header, std::size_t recordWidth) {
    return kHashLineBytes + header.size() + recordWidth + 2;
}

}  // namespace

CreditUploadFile::CreditUploadFile(const std::filesystem::path& destination, std::string headerRecord,
                                   std::size_t recordWidth, Mode mode, std::string knownRecord)
    : destination_(destination),
      header_(std::move(headerRecord)),
      recordWidth_(recordWidth),
      mode_(mode),
      knownRecord_(std::move(knownRecord)) {
    if (mode_ == Mode::Write) {
        // The upload's own file (a folder, FIFO or device under its name is refused here), its bytes going
        // to disk as it grows; the head is written over the blanks at the end.
        upload_.emplace(destination);
        // Uploads run to hundreds of megabytes: the system's copy of the records runs beside their making.
        upload_->writer().writeOnThread();
        upload_->writer().write(std::string(headBytes(header_, recordWidth_), ' '));
    } else if (mode_ == Mode::Hash) {
        sha_.emplace();
        sha_->update(header_);
        sha_->update(knownRecord_);
        sha_->update("\r\n");
    }
}

void CreditUploadFile::writeRecord(std::string_view record) {
    if (upload_) {
        upload_->writer().writeLine(record);
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
    FileWriter& out = upload_->writer();
    out.flush();
    if (!writeUpload && !hashUnwritten) {
        return result;
    }
    if (writeUpload && record.size() != recordWidth_) {
        throw QrvError("Cannot write the upload file \"" + destination_.string() +
                       "\": the record after its header has " + std::to_string(record.size()) +
                       " characters where " + std::to_string(recordWidth_) +
                       " were set aside; nothing was written");
    }
    const std::string head = header_ + std::string(record) + "\r\n";
    const std::size_t reserved = headBytes(header_, recordWidth_);
    result.hash = HashOfUpload(head, upload_->tempPath(), reserved);
    if (writeUpload) {
        out.writeAt(0, result.hash + "\r\n" + head);
        result.file.emplace(std::move(*upload_));
        upload_.reset();
    }
    return result;
}

}  // namespace qrv
