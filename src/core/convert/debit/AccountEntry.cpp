#include "convert/debit/AccountEntry.h"

namespace qrv {

namespace {

// Characters `from`..`to` (1-based, code points) of UTF-8 text; `to` < 0 for the rest.
std::string characters(const std::string& utf8, int from, int to) {
    std::string part;
    int index = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++index;
        }
        if (index >= from && (to < 0 || index <= to)) {
            part += c;
        }
    }
    return part;
}

}  // namespace

AccountEntry AccountEntry::fromText(const std::string& accountNo, const std::string& accountName) {
    return {characters(accountNo, 1, 3), characters(accountNo, 4, 4), characters(accountNo, 5, 9),
            characters(accountNo, 10, -1), accountName};
}

int maxLength(AccountField field) {
    switch (field) {
        case AccountField::accountPart1:
            return 3;
        case AccountField::accountPart2:
        case AccountField::accountPart4:
            return 1;
        case AccountField::accountPart3:
            return 5;
        case AccountField::accountName:
            return 100;
    }
    return 0;
}

AccountEntryCheck CheckAccountEntry(const AccountEntry& e) {
    const auto refuse = [](const char* thai, const char* english) {
        return AccountEntryCheck{std::nullopt, thai, english};
    };
    if (e.accountPart1.empty() || e.accountPart2.empty() || e.accountPart3.empty() ||
        e.accountPart4.empty() || e.accountName.empty()) {
        return refuse("กรุณา กรอกข้อมูลให้ครบถ้วน",
                      "Please fill in the whole account number and the account name");
    }
    if (CharacterCount(e.accountPart1) != 3 || CharacterCount(e.accountPart2) != 1 ||
        CharacterCount(e.accountPart3) != 5 || CharacterCount(e.accountPart4) != 1) {
        return refuse("กรุณาใส่หมายเลขบัญชีให้ครบ", "Please enter the whole account number: 10 digits");
    }
    const std::string accountNo = e.accountPart1 + e.accountPart2 + e.accountPart3 + e.accountPart4;
    if (accountNo == "0000000000") {
        return refuse("หมายเลขบัญชีไม่ถูกต้อง", "The account number is not correct");
    }
    const std::optional<AccountNumber> number = AccountNumber::parse(accountNo);
    if (!number) {
        return refuse("เลขที่บัญชี :กรุณาใส่ เป็นตัวเลข", "The account number must be digits only");
    }
    if (!number->hasValidCheckDigit()) {
        return refuse("หมายเลขบัญชีไม่ถูกต้อง",
                      "The account number is not correct: its check digit does not fit its other digits");
    }
    return {CompanyAccount{*number, e.accountName}, {}, {}};
}

}  // namespace qrv
