#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "convert/RunResult.h"
#include "convert/Services.h"
#include "convert/debit/AccountEntryDialog.h"

namespace qrv {

// "Cover Letter": after a clean hash check, the letter of the direct debit file for the company's account.
struct CoverLetterRequest {
    std::filesystem::path sourcePath;
    std::string hash;  // the hash the clean check gave; empty: the letter is refused
    // The account as data: typed into the account entry dialog and OK pressed (its checks and messages
    // apply). Absent: the dialog is asked through the events.
    std::optional<AccountEntry> account;
};

// Refused: no hash, the dialog left with EXIT or refused, or a control-record fault. Written: the letter
// was shown; `hash` is the file's hash value, `records` the debits the letter lists.
struct CoverLetterResult : RunResult {
    std::optional<AccountEntry> account;  // the account the dialog accepted
};

CoverLetterResult printCoverLetter(const CoverLetterRequest& request, Services& services);

}  // namespace qrv
