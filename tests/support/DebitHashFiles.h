#pragma once

#include <openssl/evp.h>

#include <algorithm>
#include <string>

// Direct Debit (HASH) files built field by field from their column layouts:
// control record, short-amount layout: blanks 1-9, TERM-PAYMENT 10, COMPANY CODE 11-16, name 17-46,
// APPLY CODE 47, STATUS 48, EFFECTIVE-DATE 49-54, TOTAL RECORD 55-59, TOTAL AMOUNT 60-69, MEDIA-TYPE 70;
// long-amount layout: blanks 1-8, then the same fields one column earlier, TOTAL AMOUNT 59-69 (11),
// MEDIA-TYPE 70. Detail record: account 1-10, effective date 11-16, sign 17, amount 18-26 (short, 9) or
// 18-28 (long, 11), name 27-56 (short, 30) or 31-78 (long, 48).
namespace qrv::test {

inline std::string padRight(std::string s, size_t width) {
    s.resize(std::max(s.size(), width), ' ');
    return s;
}

struct HashControl {
    bool longLayout = false;
    std::string term = "M";
    std::string companyCode = "012345";
    std::string companyName = "ACME TRADING CO";
    std::string applyCode;  // default "D" (short), "C" (long)
    std::string status = "A";
    std::string effectiveDate = "081226";
    std::string totalRecord = "00001";
    std::string totalAmount;  // default 100.00 baht in the layout's width
    std::string mediaType;    // default "T" (short), "I" (long)
};

inline std::string hashControlRecord(const HashControl& c) {
    const std::string apply = !c.applyCode.empty() ? c.applyCode : c.longLayout ? "C" : "D";
    const std::string amount = !c.totalAmount.empty() ? c.totalAmount
                               : c.longLayout         ? "00000010000"
                                                      : "0000010000";
    const std::string media = !c.mediaType.empty() ? c.mediaType : c.longLayout ? "I" : "T";
    return std::string(c.longLayout ? 8 : 9, ' ') + c.term + c.companyCode + padRight(c.companyName, 30) +
           apply + c.status + c.effectiveDate + c.totalRecord + amount + media;
}

struct HashDetail {
    std::string account = "1234567896";
    std::string effectiveDate = "081226";
    std::string sign = "0";
    std::string amount;  // 9 (short) or 11 (long) digits; default 100.00 baht
    std::string name = "SOMCHAI JAIDEE";
};

inline std::string hashDetailRecord(const HashDetail& d, bool longLayout) {
    if (longLayout) {
        const std::string amount = d.amount.empty() ? "00000010000" : d.amount;
        return d.account + d.effectiveDate + d.sign + amount + "  " + padRight(d.name, 48);
    }
    const std::string amount = d.amount.empty() ? "000010000" : d.amount;
    return d.account + d.effectiveDate + d.sign + amount + padRight(d.name, 30);
}

// SHA-1 of the bytes, 40 upper-case hexadecimal digits.
inline std::string sha1Upper(const std::string& bytes) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(bytes.data(), bytes.size(), md, &len, EVP_sha1(), nullptr);
    static const char* hex = "0123456789ABCDEF";
    std::string s;
    for (unsigned int i = 0; i < len; ++i) {
        s += hex[md[i] >> 4];
        s += hex[md[i] & 15];
    }
    return s;
}

}  // namespace qrv::test
