#include "convert/ReformatRun.h"

#include "upload/ZipOutputs.h"

#include "base/FieldHelpers.h"

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

void ReformatRun::reject(std::string_view kind, std::int64_t lineNo) {
    result.reject(kind, lineNo);
}

std::int64_t ReformatRun::rejectedCount(std::string_view kind) const {
    for (const RejectedEntries& e : result.rejected) {
        if (e.kind == kind) {
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

void ReformatRun::completed() {
    // Packed before the message, so that "completed" is never said of a run whose archive failed.
    if (writes()) {
        ZipOutputs(archivePath(), request.destinationPath);
    }
    if (writes()) {
        message("Reformat data and add to " + archivePath().filename().string() + " completed");
    }
}

void ReformatRun::completeCreditUpload(CreditUploadFile& upload, std::string_view record002, bool anyAmount,
                                       std::int64_t records, Money total) {
    if (anyAmount && writes()) {
        services.beginCommit();
    }
    const CreditUploadFile::Result written =
        upload.complete(record002, anyAmount && writes(), anyAmount && !writes());
    result.records = records;
    result.total = total;
    result.hashShown = true;
    finish(anyAmount);
    if (anyAmount) {
        completed();
        result.hash = written.hash;
    } else {
        message("Reformat data fail because data are rejected all transactions");
    }
}

}  // namespace qrv
