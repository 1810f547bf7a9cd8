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

// The checks of the accounts a product needs; false when one refused the run.
bool accountsPass(const ReformatRequest& request, ProductFamily family, Services& s) {
    if (family == ProductFamily::Credit) {
        const std::string debit(Trim(request.debitAccount));
        const std::string fee(Trim(request.feeAccount));
        const char* refusal = debit.empty()              ? "Please insert debit account"
                              : fee.empty()              ? "Please insert debit fee account"
                              : !IsValidAccountNo(debit) ? "Invalid debit account"
                              : !IsValidAccountNo(fee)   ? "Invalid debit fee account"
                                                         : nullptr;
        if (refusal != nullptr) {
            s.message(refusal);
            return false;
        }
    } else if (family == ProductFamily::ManagerCheque) {
        if (!allLinesAre700(request.sourcePath)) {
            s.message("Length of line in the source file are missmatch for format cheque issuance");
            return false;
        }
    } else if (family == ProductFamily::DirectDebit100M) {
        const std::string credit(Trim(request.creditAccount));
        const std::string fee(Trim(request.debitFeeAccount));
        const char* refusal = credit.empty()              ? "Please, insert Credit account."
                              : fee.empty()               ? "Please, insert debit fee account."
                              : !IsValidAccountNo(credit) ? "!! Invalid Credit Account account."
                              : !IsValidAccountNo(fee)    ? "!! Invalid debit fee account."
                              : request.processingRound == ProcessingRound::None
                                  ? "Please insert Processing Round"
                                  : nullptr;
        if (refusal != nullptr) {
            s.message(refusal);
            return false;
        }
    }
    return true;
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
    if (request.companyId.empty()) {
        services.message("Please insert company id");
        return result;
    }
    if (!isSafeCompanyId(request.companyId)) {
        services.message("Invalid company id");
        return result;
    }
    const std::optional<ProductFamily> family =
        request.product ? std::optional(familyOf(*request.product)) : std::nullopt;
    if (family && *family != ProductFamily::DirectDebit100M) {
        result.productCode = productCode(*request.product);
    }
    if (!family || request.sourcePath.empty() || destination.empty()) {
        services.message(kSelectMessage);
        return result;
    }
    if (!FileExists(request.sourcePath.string())) {
        services.message("Source file name does not exist. Please insert valid file name and retry");
        return result;
    }
    if (const auto refusal = notCodePage874(request.sourcePath)) {
        services.message(*refusal);
        return result;
    }
    if (*family == ProductFamily::ManagerCheque && FileExists(request.invoicePath)) {
        if (const auto refusal = notCodePage874(request.invoicePath)) {
            services.message(*refusal);
            return result;
        }
    }
    if (!accountsPass(request, *family, services)) {
        return result;
    }
    // Last of the checks, as it is the only one that looks at the destination: no later check would
    // refuse the run, and the run writes nothing before it.
    for (const auto& [input, name] :
         {std::pair{&request.sourcePath, "source"}, std::pair{&request.invoicePath, "invoice"}}) {
        if (const auto refusal = overwritesInput(request.destinationPath, *input, name)) {
            services.message(*refusal);
            return result;
        }
    }
    result.productCode = productCode(*request.product);

    ReformatRun run{request,
                    services,
                    result,
                    result.productCode,
                    listingCode(*family, result.productCode),
                    folderPart(destination),
                    BuildHeaderRecords(*cp874::fromUtf8(request.companyId), services.clock.today()),
                    {}};
    ResetRecordFields(run.records, services.settings.Print);
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
    }
    // The run packed its upload file before saying it completed (ReformatRun::completed).
    if (result.wrote(OutputKind::Upload)) {
        result.written.push_back({OutputKind::Archive, run.archivePath()});
    }
    return result;
}

}  // namespace qrv
