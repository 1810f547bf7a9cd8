#include "convert/ReformatHistory.h"

#include <cstdio>
#include <system_error>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "base/RunCancelled.h"
#include "convert/ReformatRun.h"
#include "io/Platform.h"
#include "io/Sha1.h"

namespace qrv {

namespace {

// A path as the history keeps it: absolute, as UTF-8 (a byte that is not UTF-8 replaced, as in reports).
std::string historyPath(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return cp874::sanitizeUtf8((ec ? path : absolute.lexically_normal()).string());
}

std::string localTimeText(const DateTime& t) {
    char time[16];
    std::snprintf(time, sizeof time, " %02d:%02d:%02d", t.hour, t.minute, t.second);
    return t.date.isoDashed() + time;
}

std::string_view outcomeOf(const ReformatResult& result) {
    switch (result.outcome) {
        case Outcome::Written:
            return run_outcome::kCompleted;
        case Outcome::AllRejected:
            return run_outcome::kAllRejected;
        default:
            return run_outcome::kRefused;
    }
}

}  // namespace

SourceContent::SourceContent(std::filesystem::path path, const std::optional<FileReading>& read)
    : path_(std::move(path)) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path_, ec);
    size_ = ec ? 0 : static_cast<std::int64_t>(size);
    learn(read);
}

void SourceContent::learn(const std::optional<FileReading>& read) {
    if (sha1_.empty() && read && read->steady) {
        size_ = static_cast<std::int64_t>(read->stamp.size);
        sha1_ = HexUpper(read->digest);
    }
}

const std::string& SourceContent::sha1() {
    if (sha1_.empty()) {
        Sha1 sha;
        std::int64_t size = 0;
        platform::readBlocks(path_, 1 << 16, [&sha, &size](std::string_view block) {
            sha.update(block);
            size += static_cast<std::int64_t>(block.size());
        });
        size_ = size;  // what was hashed
        sha1_ = HexUpper(sha.finish());
    }
    return sha1_;
}

std::optional<RunEntry> earlierRunOf(TableStore& store, const std::string& companyId,
                                     const std::string& product, SourceContent& source) {
    RunHistory history(store);
    // Only a source of the size of an earlier one is read for its content.
    if (!history.anyCompleted(companyId, product, source.size())) {
        return std::nullopt;
    }
    return history.latestCompleted(companyId, product, source.size(), source.sha1());
}

std::string repeatQuestion(const RunEntry& earlier) {
    return "This file was converted on " + earlier.ranAt + " into " + earlier.destination + " (hash " +
           earlier.uploadHash + "). Convert it again?";
}

ReformatRecord::ReformatRecord(const ReformatRun& run, SourceContent& source)
    : run_(run), source_(source), store_(run.services.store) {
    const ReformatRequest& request = run.request;
    entry_.ranAt = localTimeText(run.services.clock.now());
    entry_.userName = platform::userName();
    entry_.origin = runOriginName(request.origin);
    entry_.product = run.productCode;
    entry_.companyId = std::string(Trim(request.companyId));
    entry_.sourcePath = historyPath(request.sourcePath);
    entry_.destination = historyPath(request.destinationPath);
}

void ReformatRecord::takeSource() {
    source_.learn(run_.sourceChecked);
    source_.learn(run_.sourceRead);
    entry_.sourceSha1 = source_.sha1();
    entry_.sourceSize = source_.size();
}

void ReformatRecord::ended(const ReformatResult& result) {
    takeSource();
    entry_.outcome = outcomeOf(result);
    entry_.uploadHash = result.wrote(OutputKind::Upload) ? result.hash : std::string();
    entry_.records = result.records;
    entry_.total = result.total;
    for (const RejectedEntries& r : result.rejected) {
        entry_.rejected += r.count;
    }
    for (const WrittenFile& f : result.written) {
        entry_.written.push_back({std::string(outputKindName(f.kind)), historyPath(f.path)});
    }
    try {
        RunHistory(store_).record(entry_);
    } catch (const std::exception& e) {
        throw QrvError(std::string("The run's outputs are in place, but the run history could not record "
                                   "the run, so a later run of the same file will not be caught as a "
                                   "repeat: ") +
                       e.what());
    }
}

void ReformatRecord::endedBy(const std::exception_ptr& error) noexcept {
    try {
        takeSource();
        try {
            std::rethrow_exception(error);
        } catch (const RunCancelled&) {
            entry_.outcome = run_outcome::kCancelled;
        } catch (...) {
            entry_.outcome = run_outcome::kFailed;
        }
        RunHistory(store_).record(entry_);
    } catch (...) {
        // The store is what failed, most likely: the run's own error is the one to show.
    }
}

}  // namespace qrv
