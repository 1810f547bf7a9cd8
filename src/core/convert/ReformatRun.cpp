#include "convert/ReformatRun.h"

#include "base/FieldHelpers.h"
#include "convert/RunCommit.h"
#include "layout/UploadLayouts.h"
#include "upload/ZipOutputs.h"

namespace qrv {

std::filesystem::path ReformatRun::listingPath(std::string_view suffix) const {
    std::string name = outputFolder;
    name += request.companyId;
    name += '_';
    name += listingCode;
    name += suffix;
    return std::filesystem::path(name);
}

std::filesystem::path ReformatRun::archivePath() const {
    return std::filesystem::path(outputFolder + services.clock.today().isoDashed() +
                                 std::string(Trim(request.companyId)) + "_" + productCode + ".zip");
}

std::int64_t ReformatRun::rejectedCount(std::string_view counter) const {
    for (const RejectedEntries& e : result.rejected) {
        if (e.kind == counter) {
            return e.count;
        }
    }
    return 0;
}

void ReformatRun::stop(const std::string& text, bool linesConverted) {
    result.outcome = linesConverted ? Outcome::AllRejected : Outcome::Refused;
    message(text);
}

void ReformatRun::finish(bool uploadWritten) {
    result.outcome = uploadWritten ? Outcome::Written : Outcome::AllRejected;
    if (uploadWritten) {
        result.written.push_back({OutputKind::Upload, request.destinationPath});
    }
}

CreditUploadFile ReformatRun::creditUpload() const {
    return CreditUploadFile(request.destinationPath, headers.HeaderRecord,
                            static_cast<std::size_t>(layout::kRecord002.length), uploadMode, knownRecord);
}

CreditUploadFile ReformatRun::debitUpload() const {
    // The header record is known from the start: a dry run hashes the upload in one making.
    return CreditUploadFile(request.destinationPath, std::string(), headers.HeaderRecordDD.size(),
                            writes() ? CreditUploadFile::Mode::Write : CreditUploadFile::Mode::Hash,
                            headers.HeaderRecordDD);
}

void ReformatRun::takeUpload(CreditUploadFile::Result& made) {
    learnedRecord = made.learnedRecord;
    if (made.file) {
        preparedUpload.emplace(std::move(*made.file));
        made.file.reset();
    }
}

void ReformatRun::completed() {
    if (!writes()) {
        return;
    }
    if (preparedUpload) {
        // The archive is packed from the upload's bytes (read back from the page cache) while they go to
        // disk.
        std::optional<AtomicFile> archive;
        preparedUpload->finishWhile([this, &archive] {
            archive = PackArchive(archivePath(), preparedUpload->tempPath(),
                                  request.destinationPath.filename().string());
        });
        commit->outputs().add(CommitStep::Upload, std::move(*preparedUpload));
        preparedUpload.reset();
        if (archive) {
            commit->outputs().add(CommitStep::Archive, std::move(*archive));
        }
    }
    // Said once the upload and its archive are in place.
    commit->tellAfter("Reformat data and add to " + archivePath().filename().string() + " completed");
}

void ReformatRun::completeCreditUpload(CreditUploadFile& upload, std::string_view record002, bool anyAmount,
                                       std::int64_t records, Money total) {
    CreditUploadFile::Result written =
        upload.complete(record002, anyAmount && writes(), anyAmount && !writes(), request.sourcePath);
    takeUpload(written);
    result.records = records;
    result.total = total;
    finish(anyAmount);
    if (anyAmount) {
        completed();
        result.hash = written.hash;
    } else {
        message("Reformat data fail because data are rejected all transactions");
    }
}

}  // namespace qrv
