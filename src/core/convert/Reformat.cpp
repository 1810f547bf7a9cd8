#include "convert/Reformat.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/FieldWidth.h"
#include "convert/ReformatRun.h"
#include "io/InputGuards.h"
#include "io/LineReader.h"
#include "io/Platform.h"
#include "layout/SourceLine.h"
#include "upload/ErrorListings.h"
#include "upload/ZipOutputs.h"

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

std::string listingCode(ProductFamily family, std::string_view productCode) {
    switch (family) {
        case ProductFamily::MediaClearing:
            return "MCL";
        case ProductFamily::ManagerCheque:
            return "MCP";
        default:
            return std::string(productCode);
    }
}

bool allLinesAre700(const std::filesystem::path& source) {
    LineReader reader(source);
    std::string_view line;
    bool all = true;
    while (reader.next(line)) {
        all = all && line.size() == 700;  // the whole file is read before the answer
    }
    return all;
}

struct Refusal {
    const char* message;
    RequestField field;
};

// The first refusal of the accounts a product needs, if any.
std::optional<Refusal> accountRefusal(const ReformatRequest& request, ProductFamily family) {
    using F = RequestField;
    if (family == ProductFamily::Credit) {
        const std::string debit(Trim(request.debitAccount));
        const std::string fee(Trim(request.feeAccount));
        if (debit.empty()) {
            return Refusal{"Please insert debit account", F::DebitAccount};
        }
        if (fee.empty()) {
            return Refusal{"Please insert debit fee account", F::FeeAccount};
        }
        if (!IsValidAccountNo(debit)) {
            return Refusal{"Invalid debit account", F::DebitAccount};
        }
        if (!IsValidAccountNo(fee)) {
            return Refusal{"Invalid debit fee account", F::FeeAccount};
        }
    } else if (family == ProductFamily::ManagerCheque) {
        if (!allLinesAre700(request.sourcePath)) {
            return Refusal{"Length of line in the source file are missmatch for format cheque issuance",
                           F::Source};
        }
    } else if (family == ProductFamily::DirectDebit100M) {
        const std::string credit(Trim(request.creditAccount));
        const std::string fee(Trim(request.debitFeeAccount));
        if (credit.empty()) {
            return Refusal{"Please, insert Credit account.", F::CreditAccount};
        }
        if (fee.empty()) {
            return Refusal{"Please, insert debit fee account.", F::DebitFeeAccount};
        }
        if (!IsValidAccountNo(credit)) {
            return Refusal{"!! Invalid Credit Account account.", F::CreditAccount};
        }
        if (!IsValidAccountNo(fee)) {
            return Refusal{"!! Invalid debit fee account.", F::DebitFeeAccount};
        }
        if (request.processingRound == ProcessingRound::None) {
            return Refusal{"Please insert Processing Round", F::ProcessingRound};
        }
    }
    return std::nullopt;
}

// The listings of the run are work files until the run ends; then each that got a line replaces the
// earlier listing of its name, and an earlier listing whose kind got no line this run goes. A run stopped
// by an unexpected error leaves the earlier listings as they were. A dry run writes none.
class RunListings {
  public:
    RunListings(ReformatRun& run, ProductFamily family)
        : run_(run), listings_(listingsOf(family)), files_(std::string(), !run.writes()) {
        run_.listings = &files_;
    }
    RunListings(const RunListings&) = delete;
    RunListings& operator=(const RunListings&) = delete;
    ~RunListings() { run_.listings = nullptr; }

    // The converter ended: the listings take their place.
    void commit() {
        if (!run_.writes()) {
            return;
        }
        files_.commit();
        for (const Listing& l : listings_) {
            if (run_.rejectedCount(l.kind) == 0) {
                platform::removeQuietly(run_.listingPath(l.suffix));
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

ReformatResult reformat(const ReformatRequest& request, Services& services) {
    ReformatResult result;
    result.dryRun = request.dryRun;
    const std::string destination = request.destinationPath.string();
    auto refuse = [&services, &result](const std::string& message, RequestField field) {
        services.message(message);
        result.refuse(field);
        return result;
    };
    if (request.companyId.empty()) {
        return refuse("Please insert company id", RequestField::CompanyId);
    }
    if (!isSafeCompanyId(request.companyId)) {
        return refuse("Invalid company id", RequestField::CompanyId);
    }
    const std::optional<ProductFamily> family =
        request.product ? std::optional(familyOf(*request.product)) : std::nullopt;
    if (family && *family != ProductFamily::DirectDebit100M) {
        result.productCode = productCode(*request.product);
    }
    if (!family || request.sourcePath.empty() || destination.empty()) {
        return refuse(kSelectMessage, !family                      ? RequestField::None
                                      : request.sourcePath.empty() ? RequestField::Source
                                                                   : RequestField::Destination);
    }
    if (!FileExists(request.sourcePath.string())) {
        return refuse("Source file name does not exist. Please insert valid file name and retry",
                      RequestField::Source);
    }
    if (const std::optional<Refusal> refusal = accountRefusal(request, *family)) {
        return refuse(refusal->message, refusal->field);
    }
    // Last of the checks, as it is the only one that looks at the destination: no later check would
    // refuse the run, and the run writes nothing before it.
    for (const auto& [input, name] :
         {std::pair{&request.sourcePath, "source"}, std::pair{&request.invoicePath, "invoice"}}) {
        if (const auto refusal = overwritesInput(request.destinationPath, *input, name)) {
            return refuse(*refusal, RequestField::Destination);
        }
    }
    result.productCode = productCode(*request.product);

    ReformatRun run{request,
                    services,
                    result,
                    result.productCode,
                    listingCode(*family, result.productCode),
                    folderPart(destination),
                    BuildHeaderRecords(*cp874::fromUtf8(request.companyId), services.clock.today())};
    result.converted = true;

    // A dry run changes the tables as a real run does (a Media Clearing run looks up the banks it
    // registers), then takes every change back.
    std::optional<TableStore::CommandScope> scope;
    std::optional<TableStore::Savepoint> dryRunChanges;
    if (request.dryRun) {
        scope.emplace(services.store);
        dryRunChanges.emplace(services.store);
    }
    try {
        if (*family == ProductFamily::DirectDebit100M) {
            convert(run, *family);  // no listings
        } else {
            RunListings listings(run, *family);
            convert(run, *family);
            listings.commit();
            listings.record();
        }
    } catch (const FieldOverflow& overflow) {
        // Thrown before any output is put in place: the work files go, earlier outputs stay.
        result.outcome = Outcome::Refused;
        result.written.clear();
        services.events.showMessage(MessageKind::Error, overflow.what());
        return result;
    } catch (const layout::TextNotCodePage874& refusal) {
        // A text field read as Thai saved as UTF-8: refused as the file, before anything is put in place.
        result.written.clear();
        services.message(refusal.what());
        result.refuse(refusal.file() == request.invoicePath ? RequestField::SecondFile
                                                            : RequestField::Source);
        return result;
    }
    // The run packed its upload file before saying it completed (ReformatRun::completed).
    if (result.wrote(OutputKind::Upload)) {
        result.written.push_back({OutputKind::Archive, run.archivePath()});
    }
    return result;
}

}  // namespace qrv
