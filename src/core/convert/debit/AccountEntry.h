#pragma once

#include <optional>
#include <string>

#include "base/AccountNumber.h"
#include "base/CharacterCount.h"

namespace qrv {

// The company's account for a cover letter as typed: the four boxes of the account number (3-1-5-1
// characters) and the account name (UTF-8).
struct AccountEntry {
    std::string accountPart1;
    std::string accountPart2;
    std::string accountPart3;
    std::string accountPart4;
    std::string accountName;

    // An account given as text: the four boxes get characters 1-3, 4, 5-9 and 10 onwards.
    static AccountEntry fromText(const std::string& accountNo, const std::string& accountName);
};

// The boxes of the account entry, left to right, and the most characters each takes.
enum class AccountField { accountPart1, accountPart2, accountPart3, accountPart4, accountName };
int maxLength(AccountField field);

// The account an entry names: its number and its name as typed.
struct CompanyAccount {
    AccountNumber number;
    std::string name;
};

// The entry's checks in their order: the account, or the message of the first check that refuses it. The
// account is the company's account at the home bank, checked as every such account is: its check digit
// must fit (the entry used to take any ten digits, 1234567890 among them).
struct AccountEntryCheck {
    std::optional<CompanyAccount> account;
    std::string fault;           // as the account dialog shows it (Thai)
    std::string faultInEnglish;  // the same for the command line, which speaks English
};
AccountEntryCheck CheckAccountEntry(const AccountEntry& entry);

}  // namespace qrv
