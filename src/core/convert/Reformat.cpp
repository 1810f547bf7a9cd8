#include "convert/Reformat.h"
#include "convert/FieldLimits.h"
#include "convert/RequestFault.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/FieldWidth.h"
#include "base/QrvError.h"
#include "convert/OutputNames.h"
#include "convert/ReformatHistory.h"
#include "convert/ReformatRun.h"
#include "convert/RejectKinds.h"
#include "convert/RunCommit.h"
#include "io/InputGuards.h"
#include "io/LineReader.h"
#include "io/Platform.h"
#include "layout/SourceLine.h"
#include "upload/ErrorListings.h"

// "Reformat Data": the common checks in their fixed order, the header records, the error listings
// prepared before and removed after the product's converter, and the packing.
namespace qrv {

namespace {

constexpr const char* kSelectMessage = "Please select product type or select file name before reformat data ";

// The folder part of a path: up to and including its last "/" (on Windows also "\\" or a drive's ":"),
// empty for a bare name.
std::string folderPart(const std::string& path) {
    const size_t slash = path.find_last_of(platform::kFolderSeparators);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A company id names listings and archives: one holding a path separator or a control character could
// put them outside the output folder, one holding a character the system's file names refuse could not
// name them at all; one with no code page 874 form cannot go into the header.
bool isSafeCompanyId(const std::string& comId) {
    // "." and ".." (and names of dots only) name no file of their own.
    if (comId.find_first_not_of('.') == std::string::npos) {
        return false;
    }
    for (const char ch : comId) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F ||
            platform::kNotInFileNames.find(ch) != std::string_view::npos) {
            return false;
        }
    }
    return cp874::fromUtf8(comId).has_value();
}

struct Listing {
    std::string_view kind;
    std::string_view suffix;
};

std::vector<Listing> listingsOf(ProductFamily family) {
    std::vector<Listing> l = {{kInvalidAcct, kInvalidAcctSuffix},
                              {kCreditZeroAmount, kCreditZeroAmountSuffix},
                              {kCreditAmountInvalid, kCreditAmountInvalidSuffix}};
    if (family == ProductFamily::MediaClearing) {
        l.push_back({kBankBranchCode, kBankBranchCodeSuffix});
    }
    return l;
}

// Whether every line has 700 characters; `reading` tells what was read, for the conversion's reading to
// be proved the same, and how many lines (for the progress bar).
bool allLinesAre700(const std::filesystem::path& source, std::optional<FileReading>& reading) {
    LineReader reader(source, LineReader::Digesting::Yes);
    std::string_view line;
    bool all = true;
    while (reader.next(line)) {
        all = all && line.size() == 700;  // the whole file is read before the answer
    }
    reading = reader.finishReading();
    reading->lines = reader.lineNumber();
    return all;
}

struct Refusal {
    const char* message;
    RequestField field;
};

// The refusal of a company id (trimmed): none typed, or one that cannot name the run's files.
std::optional<Refusal> companyIdRefusal(const std::string& companyId) {
    // A company id of blanks only would name the archive without one and write a blank id: it is none.
    if (companyId.empty()) {
        return Refusal{"Please insert company id", RequestField::CompanyId};
    }
    if (!isSafeCompanyId(companyId)) {
        return Refusal{"Invalid company id", RequestField::CompanyId};
    }
    return std::nullopt;
}

// The first refusal of the accounts a product needs, if any; else `accounts` holds them, parsed.
std::optional<Refusal> accountRefusal(const ReformatRequest& request, ProductFamily family,
                                      std::optional<FileReading>& checked, ReformatAccounts& accounts) {
    using F = RequestField;
    if (family == ProductFamily::Credit) {
        const std::string_view debit = Trim(request.debitAccount);
        const std::string_view fee = Trim(request.feeAccount);
        if (debit.empty()) {
            return Refusal{"Please insert debit account", F::DebitAccount};
        }
        if (fee.empty()) {
            return Refusal{"Please insert debit fee account", F::FeeAccount};
        }
        accounts.debit = AccountNumber::checked(debit);
        accounts.fee = AccountNumber::checked(fee);
        if (!accounts.debit) {
            return Refusal{"Invalid debit account", F::DebitAccount};
        }
        if (!accounts.fee) {
            return Refusal{"Invalid debit fee account", F::FeeAccount};
        }
    } else if (family == ProductFamily::ManagerCheque) {
        if (!allLinesAre700(request.sourcePath, checked)) {
            return Refusal{"Length of line in the source file are missmatch for format cheque issuance",
                           F::Source};
        }
    } else if (family == ProductFamily::DirectDebit100M) {
        const std::string_view credit = Trim(request.creditAccount);
        const std::string_view fee = Trim(request.debitFeeAccount);
        if (credit.empty()) {
            return Refusal{"Please, insert Credit account.", F::CreditAccount};
        }
        if (fee.empty()) {
            return Refusal{"Please, insert debit fee account.", F::DebitFeeAccount};
        }
        accounts.credit = AccountNumber::checked(credit);
        accounts.debitFee = AccountNumber::checked(fee);
        if (!accounts.credit) {
            return Refusal{"!! Invalid Credit Account account.", F::CreditAccount};
        }
        if (!accounts.debitFee) {
            return Refusal{"!! Invalid debit fee account.", F::DebitFeeAccount};
        }
        if (request.processingRound == ProcessingRound::None) {
            return Refusal{"Please insert Processing Round", F::ProcessingRound};
        }
    }
    return std::nullopt;
}

// The listings of the run are work files until the run ends; then each that got a line replaces the
// listing of its name. A listing of a kind that got no line is removed only when it was there before this
// run began and is still that file, unchanged: an earlier run's, which this run supersedes. A listing that
// another run wrote meanwhile stays. A run stopped by an error leaves every listing as it was; a dry run
// writes none.
class RunListings {
  public:
    RunListings(ReformatRun& run, ProductFamily family)
        : run_(run), listings_(listingsOf(family)), files_(std::string(), !run.writes()) {
        run_.listings = &files_;
        for (const Listing& l : listings_) {
            earlier_.push_back(run_.writes() ? platform::fileStamp(run_.listingPath(l.suffix))
                                             : std::nullopt);
        }
    }
    RunListings(const RunListings&) = delete;
    RunListings& operator=(const RunListings&) = delete;
    ~RunListings() { run_.listings = nullptr; }

    // The converter ended: the listings go to the run's commit.
    void stage() {
        if (!run_.writes()) {
            return;
        }
        files_.stageInto(run_.commit->outputs());
        for (size_t i = 0; i < listings_.size(); ++i) {
            if (run_.rejectedCount(listings_[i].kind) == 0 && earlier_[i]) {
                run_.commit->outputs().removeIfUnchanged(CommitStep::Listings,
                                                         run_.listingPath(listings_[i].suffix), *earlier_[i]);
            }
        }
    }
    // The listings left with entries (or that a dry run would leave), in the order above.
    void record() const {
        for (const Listing& l : listings_) {
            if (run_.rejectedCount(l.kind) > 0) {
                run_.result.written.push_back({OutputKind::Listing, run_.listingPath(l.suffix)});
            }
        }
    }

  private:
    ReformatRun& run_;
    std::vector<Listing> listings_;
    std::vector<std::optional<platform::FileStamp>> earlier_;  // each listing as it was when the run began
    ErrorListings files_;
};

void convert(ReformatRun& run, ProductFamily family) {
    switch (family) {
        case ProductFamily::Credit:
            reformatDirectCredit(run);
            break;
        case ProductFamily::MediaClearing:
            reformatMediaClearing(run);
            break;
        case ProductFamily::ManagerCheque:
            reformatManagerCheque(run);
            break;
        case ProductFamily::DirectDebit100M:
            reformatDirectDebit100M(run);
            break;
    }
}

// The run of a request, its common values made and its records at their defaults.
ReformatRun makeRun(const ReformatRequest& request, Services& services, ReformatResult& result,
                    const ReformatAccounts& accounts) {
    const ProductInfo& product = productInfo(*request.product);
    ReformatRun run{request,
                    services,
                    result,
                    std::string(product.code),
                    std::string(product.listingCode),
                    folderPart(request.destinationPath.string()),
                    BuildHeaderRecords(*cp874::fromUtf8(request.companyId), services.clock.today()),
                    accounts};
    return run;
}

// The refusal of a destination: an input of the run, a name the system's file names cannot hold, or
// the name of another output of the run or of a file of the data folder.
std::optional<std::string> destinationRefusal(const ReformatRun& run, ProductFamily family) {
    const ReformatRequest& request = run.request;
    for (const auto& [input, name] :
         {std::pair{&request.sourcePath, "source"}, std::pair{&request.invoicePath, "invoice"}}) {
        if (const auto refusal = overwritesInput(request.destinationPath, *input, name)) {
            return refusal;
        }
    }
    const std::string name = request.destinationPath.filename().string();
    if (!isValidFileNameText(name)) {
        return "The destination file name \"" + cp874::sanitizeUtf8(name) +
               "\" is not valid text in the system's encoding (UTF-8), which the archive needs. Please "
               "choose "
               "another destination file";
    }
    std::vector<OtherOutput> others;
    if (family != ProductFamily::DirectDebit100M) {
        for (const Listing& l : listingsOf(family)) {
            others.push_back({run.listingPath(l.suffix), "this run's error listing"});
        }
    }
    others.push_back({run.archivePath(), "this run's archive"});
    for (OtherOutput& report : reportOutputs(run.services.events)) {
        others.push_back(std::move(report));
    }
    return outputCollision(request.destinationPath, others, run.services.store.dataFolder());
}

// The product's converter with the run's listings; false when a computed value did not fit its field or
// a text field was not code page 874 (the run stopped before any output was prepared).
bool convertAll(ReformatRun& run, ProductFamily family) {
    try {
        if (family == ProductFamily::DirectDebit100M) {
            convert(run, family);  // no listings
        } else {
            RunListings listings(run, family);
            convert(run, family);
            listings.stage();
            listings.record();
        }
        return true;
    } catch (const FieldOverflow& overflow) {
        run.result.outcome = Outcome::Refused;
        run.result.written.clear();
        run.services.events.showMessage(MessageKind::Error, overflow.what());
        return false;
    } catch (const layout::SourceRefusal& refusal) {
        // A line of Thai saved as UTF-8, a control character in a text field, a value that does not fit
        // its field: refused as the file, before anything is prepared.
        run.result.written.clear();
        run.services.message(refusal.what());
        run.result.refuse(refusal.file() == run.request.invoicePath ? RequestField::SecondFile
                                                                    : RequestField::Source);
        return false;
    }
}

// The events of a dry run's second making: it tells nothing and asks nothing (the first asked no
// question), but a cancel still ends it.
class SilentEvents final : public Events {
  public:
    explicit SilentEvents(const Events& events) : events_(events) {}
    void showMessage(MessageKind, const std::string&) override {}
    bool askConfirmation(const std::string&) override { return true; }
    void setProgress(int) override {}
    void showReport(const ShownReport&) override {}
    bool cancelRequested() const override { return events_.cancelRequested(); }

  private:
    const Events& events_;
};

// A dry run: every check and count with the tables in memory, and the hash of the upload it would write
// made without writing it: the first making learns the record that follows the header, a second one
// (only when the run shows a hash) hashes the upload behind it. Direct Debit (100M) knows that record
// from the start and needs one making.
void dryRun(ReformatRun& run, ProductFamily family) {
    const std::filesystem::path& source = run.request.sourcePath;
    const std::optional<platform::FileStamp> before = platform::fileStamp(source);
    if (family != ProductFamily::DirectDebit100M) {
        run.uploadMode = CreditUploadFile::Mode::Learn;
    }
    if (!convertAll(run, family) || run.learnedRecord.empty()) {
        return;
    }
    Services& services = run.services;
    SilentEvents silent(services.events);
    Services quiet{services.store, services.clock, services.reports, services.settings, silent};
    ReformatResult again;
    ReformatRun second = makeRun(run.request, quiet, again, run.accounts);
    second.sourceChecked = run.sourceChecked;
    second.uploadMode = CreditUploadFile::Mode::Hash;
    second.knownRecord = run.learnedRecord;
    convertAll(second, family);
    if (platform::fileStamp(source) != before) {
        throw FileChangedWhileRead(source);
    }
    run.result.hash = again.hash;
}

// A dry run makes no work file, but ends as the real run would where that one could make none.
void refuseUnwritableFolder(const std::filesystem::path& destination) {
    const std::filesystem::path folder =
        destination.parent_path().empty() ? std::filesystem::path(".") : destination.parent_path();
    if (const std::string why = platform::whyFolderIsNotWritable(folder); !why.empty()) {
        throw QrvError("Cannot create a work file in folder \"" + folder.string() + "\": " + why);
    }
}

// The run packed its upload file with it.
void recordArchive(ReformatRun& run) {
    if (run.result.wrote(OutputKind::Upload)) {
        run.result.written.push_back({OutputKind::Archive, run.archivePath()});
    }
}

// A run that writes: its outputs prepared, then put in place together; a source that changed while it
// was read takes the run's table rows back and writes nothing.
void convertAndCommit(ReformatRun& run, ProductFamily family) {
    RunCommit commit(run.services);
    run.commit = &commit;
    if (commit.reading([&run, family] { return convertAll(run, family); })) {
        commit.commit();
        recordArchive(run);
    }
}

// A source that an earlier completed run of the company and product converted is a repeat: it could pay
// twice. It is refused with its question, or without a word when the caller asks the person itself.
bool refusedAsRepeat(const ReformatRequest& request, ReformatRun& run, SourceContent& source,
                     ReformatResult& result) {
    if (request.again) {
        return false;
    }
    std::optional<RunEntry> earlier =
        earlierRunOf(run.services.store, std::string(Trim(request.companyId)), run.productCode, source);
    if (!earlier) {
        return false;
    }
    result.earlierRun = std::move(earlier);
    if (!request.askAgain) {
        run.services.message(repeatQuestion(*result.earlierRun));
    }
    result.refuse(RequestField::Source);
    return true;
}

// A run that writes, remembered in the run history however it ends.
void convertRecorded(ReformatRun& run, ProductFamily family, SourceContent& source) {
    ReformatRecord record(run, source);
    try {
        convertAndCommit(run, family);
    } catch (...) {
        record.endedBy(std::current_exception());
        throw;
    }
    record.ended(run.result);
}

bool isFalse(std::string_view value) {
    return value.size() == 5 && std::equal(value.begin(), value.end(), "FALSE", [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) == b;
           });
}

}  // namespace

bool productEnabled(const DefaultSettings& settings, Product product) {
    switch (product) {
        case Product::DirectCredit:
            return !isFalse(settings.DCP);
        case Product::MediaClearing:
            return !isFalse(settings.MCL);
        case Product::ManagerCheque:
            return !isFalse(settings.MCP);
        case Product::DirectDebit100M:
            return true;
        default:
            return !isFalse(settings.PAY);
    }
}

std::optional<RequestFault> requestFault(const ReformatRequest& request) {
    using F = RequestField;
    return FirstTooLong({{F::CompanyId, request.companyId, FieldLimits::companyId},
                         {F::DebitAccount, request.debitAccount, FieldLimits::debitAccount},
                         {F::FeeAccount, request.feeAccount, FieldLimits::feeAccount},
                         {F::CreditAccount, request.creditAccount, FieldLimits::creditAccount},
                         {F::DebitFeeAccount, request.debitFeeAccount, FieldLimits::debitFeeAccount}});
}

ReformatResult reformat(const ReformatRequest& typed, Services& services) {
    ReformatResult result;
    result.dryRun = typed.dryRun;
    if (const std::optional<RequestFault> fault = requestFault(typed)) {
        result.refuse(fault->field);
        return result;
    }
    // Blanks typed around the company id are no part of it: the records, the listings' and archive's
    // names and the reports carry it trimmed, as the accounts are.
    ReformatRequest request = typed;
    request.companyId = Trim(typed.companyId);
    auto refuse = [&services, &result](const std::string& message, RequestField field) {
        services.message(message);
        result.refuse(field);
        return result;
    };
    if (const std::optional<Refusal> refusal = companyIdRefusal(request.companyId)) {
        return refuse(refusal->message, refusal->field);
    }
    const std::optional<ProductFamily> family =
        request.product ? std::optional(familyOf(*request.product)) : std::nullopt;
    if (family && *family != ProductFamily::DirectDebit100M) {
        result.productCode = productCode(*request.product);
    }
    if (!family || request.sourcePath.empty() || request.destinationPath.empty()) {
        return refuse(kSelectMessage, !family                      ? RequestField::None
                                      : request.sourcePath.empty() ? RequestField::Source
                                                                   : RequestField::Destination);
    }
    if (const auto refusal = notRegularFile(request.sourcePath, "source")) {
        return refuse(*refusal, RequestField::Source);
    }
    if (!FileExists(request.sourcePath.string())) {
        return refuse("Source file name does not exist. Please insert valid file name and retry",
                      RequestField::Source);
    }
    // Manager Cheque checks every line's length in a first reading: the run converts only that file.
    std::optional<FileReading> checked;
    ReformatAccounts accounts;
    if (const std::optional<Refusal> refusal = accountRefusal(request, *family, checked, accounts)) {
        return refuse(refusal->message, refusal->field);
    }
    // A dry run keeps its tables in memory: the data folder's store is only read. It is read now, as a
    // real run opens the store whether it changes tables or not, so that a data folder the real run would
    // refuse (never initialised, incomplete) is refused by the dry run as well.
    std::optional<TableStore> memory;
    std::optional<Services> inMemory;
    if (request.dryRun) {
        memory.emplace(services.store.dataFolder(), services.store.seed(), TableStore::InMemory{});
        memory->open();
        inMemory.emplace(
            Services{*memory, services.clock, services.reports, services.settings, services.events});
    }
    ReformatRun run = makeRun(request, inMemory ? *inMemory : services, result, accounts);
    // Last of the checks, as they are the only ones that look at the outputs: no later check would refuse
    // the run, and the run writes nothing before them.
    if (const auto refusal = destinationRefusal(run, *family)) {
        return refuse(*refusal, RequestField::Destination);
    }
    // A source that an earlier completed run of the company and product converted is a repeat: it could
    // pay twice. (A dry run checks it against the history too, as the run it stands for would.)
    SourceContent source(request.sourcePath, checked);
    if (refusedAsRepeat(request, run, source, result)) {
        return result;
    }
    result.productCode = run.productCode;
    result.converted = true;
    result.accounts = accounts;
    run.sourceChecked = checked;

    if (request.dryRun) {
        refuseUnwritableFolder(request.destinationPath);
        dryRun(run, *family);
        recordArchive(run);
        return result;
    }
    convertRecorded(run, *family, source);
    return result;
}

}  // namespace qrv
