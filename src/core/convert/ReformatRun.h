#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "convert/ReformatResult.h"
#include "convert/Services.h"
#include "io/LineReader.h"
#include "upload/CreditUploadFile.h"
#include "upload/ErrorListings.h"
#include "upload/UploadRecords.h"

namespace qrv {

class RunCommit;

// What "Reformat Data" hands the converter of a product once its common checks have passed: the request,
// the services, the result being filled, and the values every product's records and file names share.
struct ReformatRun {
    const ReformatRequest& request;
    Services& services;
    ReformatResult& result;

    std::string productCode;            // DCP ... DDR
    std::string listingCode;            // the code in the listing names: the product's, "MCL" or "MCP"
    std::string outputFolder;           // the destination's folder with its trailing "/", or empty
    HeaderRecords headers;              // record 001 in both forms
    ReformatAccounts accounts = {};     // the request's accounts, checked and parsed
    ErrorListings* listings = nullptr;  // the run's listings, while the converter runs
    RunCommit* commit = nullptr;        // where the run prepares its outputs (none in a dry run)
    // A dry run makes the upload in memory: a first making learns the record after the header, a second
    // (when the run shows a hash) hashes the upload behind it.
    CreditUploadFile::Mode uploadMode = CreditUploadFile::Mode::Write;
    std::string knownRecord = {};    // the record the second making hashes behind the header
    std::string learnedRecord = {};  // what the first making learned, when a hash is to be shown
    std::optional<AtomicFile> preparedUpload = {};  // the upload file, complete, not yet in place
    std::optional<FileReading> sourceChecked = {};  // a first reading of the source that the run's must equal
    std::optional<FileReading> sourceRead = {};     // the run's own whole reading of the source, digested

    // folder + company id as typed + "_" + listing code + suffix.
    std::filesystem::path listingPath(std::string_view suffix) const;
    // folder + yyyy-mm-dd + company id + "_" + product code + ".zip".
    std::filesystem::path archivePath() const;
    // A dry run writes nothing: no upload, listing, archive or table row that stays.
    bool writes() const { return !request.dryRun; }
    void message(const std::string& text) const { services.message(text); }
    // The progress bar, told only when it moves; a cancelled run ends here (RunCancelled).
    void progress(int percent) {
        services.checkCancelled();
        if (percent != shownProgress) {
            shownProgress = percent;
            services.events.setProgress(percent);
        }
    }
    // The progress bar back at 0, told even when this run did not move it (an earlier run may have).
    void resetProgress() {
        shownProgress = 0;
        services.events.setProgress(0);
    }
    int shownProgress = 0;

    // The rejected entries of a counter ("InvalidAcct", ...) so far.
    std::int64_t rejectedCount(std::string_view counter) const;
    // A check stopped the run: refused when no detail line had been converted, else nothing written.
    void stop(const std::string& text, bool linesConverted);
    // The credit products' upload file in the run's way of making it.
    CreditUploadFile creditUpload() const;
    // Direct Debit (100M)'s: no header of its own; its header record comes first (the record after it).
    CreditUploadFile debitUpload() const;
    // The upload file is made: prepared for the commit, or, in a dry run, what the second making needs.
    void takeUpload(CreditUploadFile::Result& made);
    // The end of a run: the upload file written (or, in a dry run, that would be) or not; records the
    // upload and the outcome.
    void finish(bool uploadWritten);
    // Packs the prepared upload file into the archive while its bytes go to disk, and says "Reformat data and
    // add to <archive> completed" once both are in place; a dry run packs nothing and claims nothing.
    void completed();
    // The end of a credit product's run: its upload file written when it holds an amount (a dry run
    // hashes what it would write; nothing shows the hash of a file not written), the run's records, total
    // and hash, then "...completed" or the all-rejected message.
    void completeCreditUpload(CreditUploadFile& upload, std::string_view record002, bool anyAmount,
                              std::int64_t records, Money total);
};

// The progress bar is back at 0 however a converter ends.
class RunProgressReset {
  public:
    explicit RunProgressReset(ReformatRun& run) : run_(run) {}
    RunProgressReset(const RunProgressReset&) = delete;
    RunProgressReset& operator=(const RunProgressReset&) = delete;
    ~RunProgressReset() {
        try {
            run_.resetProgress();
        } catch (...) {
        }
    }

  private:
    ReformatRun& run_;
};

// The converters of the product families; each fills `run.result`.
void reformatDirectCredit(ReformatRun& run);     // DCP, PAY, PA2, PA3
void reformatMediaClearing(ReformatRun& run);    // MCL, PA4, PA5, PA6
void reformatManagerCheque(ReformatRun& run);    // MCP
void reformatDirectDebit100M(ReformatRun& run);  // DDR

}  // namespace qrv
