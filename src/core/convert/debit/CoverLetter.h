#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "convert/RunResult.h"
#include "convert/Services.h"
#include "convert/debit/AccountEntry.h"
#include "convert/debit/HashCheck.h"

namespace qrv {

// "Cover Letter": after a clean hash check, the letter of the direct debit file for the company's account.
struct CoverLetterRequest {
    std::filesystem::path sourcePath;
    std::string hash;  // the hash the clean check gave; empty: the letter is refused
    // The company's account as typed into the account entry; its checks and messages apply.
    AccountEntry account;
    // The clean check of this file that the same command has just made (Report_Hash holds its debits):
    // the letter is made from it without reading the file again. Absent: the file is read and its
    // control record checked again, and a file changed since `hash` was taken is refused.
    std::optional<HashCheckResult> checked;
};

// Refused: no hash, a hash of another file, an account the entry's checks refuse, or a control-record
// fault. Written: the letter was shown; `hash` is the file's hash value, `records` the debits it lists.
struct CoverLetterResult : RunResult {
    std::optional<CompanyAccount> account;  // the account the letter names
};

CoverLetterResult printCoverLetter(const CoverLetterRequest& request, Services& services);

}  // namespace qrv
