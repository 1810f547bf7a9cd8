#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Money.h"
#include "convert/RejectKinds.h"

namespace qrv {

// How an operation ended: stopped by a check before its output (Refused), ran but every entry was
// rejected or the output was voided (AllRejected), or produced its output (Written: the upload,
// comparison or converted file, a clean hash check, the cover letter, the fee report, an import).
enum class Outcome { Refused, AllRejected, Written };

enum class OutputKind { Upload, Listing, Archive, Comparison, Converted };

// The field of a request that a refusal is about, so that the window can take the person to it.
enum class RequestField {
    None,
    CompanyId,
    Source,
    Destination,
    SecondFile,  // the invoice or return file
    DebitAccount,
    FeeAccount,
    CreditAccount,
    DebitFeeAccount,
    ProcessingRound,
    CompanyCode,
    Account,  // the cover letter's account entry
};

struct WrittenFile {
    OutputKind kind;
    std::filesystem::path path;
};

// Rejected entries of one counter ("InvalidAcct", "CreditZeroAmount", ...) and the line of the last one.
struct RejectedEntries {
    std::string kind;
    std::int64_t count = 0;
    std::int64_t lastLine = 0;
};

// One rejected entry: its kind, the line it is on, the columns there of the fields it is about (0 for the
// whole line or the file) and its words (UTF-8), as its listing or error row words it.
struct RejectedEntry {
    Reject kind = Reject::AccountZero;
    std::int64_t line = 0;
    int firstColumn = 0;
    int lastColumn = 0;
    std::string message;
};

// What every operation returns; each operation's result adds its own values.
struct RunResult {
    Outcome outcome = Outcome::Refused;
    std::string hash;                       // 40 upper-case hexadecimal digits, when the run issued one
    std::int64_t records = 0;               // entries accepted (credits, debits, cheques, lines counted)
    std::optional<Money> total;             // their total, where the operation sums amounts
    std::vector<RejectedEntries> rejected;  // by counter, in the order first found
    std::vector<RejectedEntry> entries;     // the first rejected entries, in the order found
    std::int64_t rejectedLines = 0;         // the source lines the rejected entries are on
    std::vector<WrittenFile> written;
    std::vector<std::string> reports;  // layout file names of the reports shown, in order
    RequestField refusedField = RequestField::None;

    // Refuses the run over `field`: the caller has shown the message.
    void refuse(RequestField field) {
        outcome = Outcome::Refused;
        refusedField = field;
    }

    bool wrote(OutputKind kind) const {
        for (const WrittenFile& f : written) {
            if (f.kind == kind) {
                return true;
            }
        }
        return false;
    }
};

}  // namespace qrv
