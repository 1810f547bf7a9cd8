#include <filesystem>
#include <vector>

#include "reformat/Reformatters.h"
#include "reformat/common/ErrorListings.h"
#include "reformat/common/FieldHelpers.h"
#include "reformat/common/ZipOutputs.h"
#include "store/Cp874.h"
#include "store/FileWriter.h"
#include "store/LineReader.h"
#include "store/Platform.h"
#include "workbench/Workbench.h"

// "Reformat Data": the pre-checks in their fixed order, the run state reset, the header records, the
// error listings prepared before and removed after the product's reformatter, and the packing.
namespace qrv {

namespace {

constexpr const char* kSelectMessage = "Please select product type or select file name before reformat data ";

enum class Family { Credit, MediaClearing, Cheque, DirectDebit100M, None };

Family familyOf(Choice c) {
    switch (c) {
        case Choice::Direct10m:
        case Choice::Pay:
        case Choice::Pay2:
        case Choice::Pay3:
            return Family::Credit;
        case Choice::Media:
        case Choice::Pay4:
        case Choice::Pay5:
        case Choice::Pay6:
            return Family::MediaClearing;
        case Choice::Mcp:
            return Family::Cheque;
        case Choice::DirectDebit100M:
            return Family::DirectDebit100M;
        default:
            return Family::None;
    }
}

// The folder part of a path: up to and including its last "/" (empty for a bare name).
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
    std::string_view suffix;
    bool RunState::*found;
};

std::vector<Listing> listingsOf(Family family) {
    std::vector<Listing> l = {{kInvalidAcctSuffix, &RunState::InvalidAcctFound},
                              {kCreditZeroAmountSuffix, &RunState::ZeroAmountFound},
                              {kCreditAmountInvalidSuffix, &RunState::AmountInvalidFound}};
    if (family == Family::MediaClearing) {
        l.push_back({kBankBranchCodeSuffix, &RunState::BankBranchFound});
    }
    return l;
}

std::string listingCode(Family family, const std::string& productCode) {
    switch (family) {
        case Family::MediaClearing:
            return "MCL";
        case Family::Cheque:
            return "MCP";
        default:
            return productCode;
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

}  // namespace

std::filesystem::path ListingPath(const Workbench& wb, const std::string& code, std::string_view suffix) {
    return std::filesystem::path(wb.run.OutputFolder + wb.fields.edtComId + "_" + code + std::string(suffix));
}

void Workbench::btnActionClick() {
    run.HeaderRecord.clear();
    run.OutputFolder = folderPart(fields.edtDestination);
    if (fields.edtComId.empty()) {
        message("Please insert company id");
        return;
    }
    if (!isSafeCompanyId(fields.edtComId)) {
        message("Invalid company id");
        return;
    }
    run.InvalidAcctFound = false;
    run.ZeroAmountFound = false;
    run.AmountInvalidFound = false;
    run.BankBranchFound = false;
    run.UploadCreated = false;
    const Family family = familyOf(selected());
    if (family != Family::None && family != Family::DirectDebit100M) {
        run.ProductCode = choiceInfo(selected()).productCode;
    }
    if (family == Family::None || fields.edtSource.empty() || fields.edtDestination.empty()) {
        message(kSelectMessage);
        return;
    }
    std::error_code ec;
    if (!std::filesystem::exists(fields.edtSource, ec)) {
        message("Source file name does not exist. Please insert valid file name and retry");
        return;
    }
    ResetRecordFields(run.Records, settings().Print);
    const HeaderRecords headers = BuildHeaderRecords(*cp874::fromUtf8(fields.edtComId), clock().today());
    run.HeaderRecord = headers.HeaderRecord;
    run.HeaderRecordDD = headers.HeaderRecordDD;

    switch (family) {
        case Family::Credit: {
            const std::string debit(Trim(fields.edtDebitAcct));
            const std::string fee(Trim(fields.edtFeeAcct));
            if (debit.empty()) {
                message("Please insert debit account");
                return;
            }
            if (fee.empty()) {
                message("Please insert debit fee account");
                return;
            }
            if (!IsValidAccountNo(debit)) {
                message("Invalid debit account");
                return;
            }
            if (!IsValidAccountNo(fee)) {
                message("Invalid debit fee account");
                return;
            }
            break;
        }
        case Family::Cheque:
            if (!allLinesAre700(fields.edtSource)) {
                message("Length of line in the source file are missmatch for format cheque issuance");
                return;
            }
            break;
        case Family::DirectDebit100M: {
            const std::string credit(Trim(fields.CreditAccountEdit));
            const std::string fee(Trim(fields.DebitFeeAccEdt));
            if (credit.empty()) {
                message("Please, insert Credit account.");
                return;
            }
            if (fee.empty()) {
                message("Please, insert debit fee account.");
                return;
            }
            if (!IsValidAccountNo(credit)) {
                message("!! Invalid Credit Account account.");
                return;
            }
            if (!IsValidAccountNo(fee)) {
                message("!! Invalid debit fee account.");
                return;
            }
            if (fields.ProcessingRound.empty()) {
                message("Please insert Processing Round");
                return;
            }
            run.ProductCode = "DDR";
            ReformatDirectDebit100M(*this);  // it packs its own upload file
            return;
        }
        default:
            break;
    }

    // Every listing of the product starts empty; a listing that cannot be created is silently skipped
    // (the reformatter's first line to it then reports the failure).
    const std::string code = listingCode(family, run.ProductCode);
    const std::vector<Listing> listings = listingsOf(family);
    for (const Listing& l : listings) {
        try {
            FileWriter(ListingPath(*this, code, l.suffix), FileWriter::Mode::Create).close();
        } catch (const std::exception&) {
        }
    }
    // Listings without an entry go on every way out, a run stopped by an unexpected error included.
    struct EmptyListingsRemover {
        Workbench& wb;
        const std::string& code;
        const std::vector<Listing>& listings;
        ~EmptyListingsRemover() {
            for (const Listing& l : listings) {
                if (!(wb.run.*l.found)) {
                    platform::removeQuietly(ListingPath(wb, code, l.suffix));
                }
            }
        }
    } remover{*this, code, listings};
    switch (family) {
        case Family::Credit:
            ReformatDirectCredit(*this);
            break;
        case Family::MediaClearing:
            ReformatMediaClearing(*this);
            break;
        case Family::Cheque:
            ReformatManagerCheque(*this);
            break;
        default:
            break;
    }
    if (run.UploadCreated) {
        ZipOutputs(*this, fields.edtDestination);
    }
}

}  // namespace qrv
