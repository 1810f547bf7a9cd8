#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/AccountNumber.h"
#include "base/Date.h"
#include "base/Money.h"
#include "layout/RecordWriter.h"

// The records every upload file shares: the header 001 in both forms, the debit record 002 and the
// trailer 999. Texts are code page 874.
namespace qrv {

struct HeaderRecords {
    std::string HeaderRecord;    // 96 characters and CR LF
    std::string HeaderRecordDD;  // 96 characters, no line end
};
// Both header forms for a company id (code page 874, blanks around it trimmed) and the creation date.
HeaderRecords BuildHeaderRecords(std::string_view comId, const Date& created);

// What the debit record 002 of a credit file holds.
struct DebitRecordValues {
    std::string_view productCode;
    std::optional<Date> valueDate;         // none when no line gave one (a file without details)
    const AccountNumber* debit = nullptr;  // the account debited; none when no line gave one
    const AccountNumber* fee = nullptr;    // the account charged the fee
    // The branch of both accounts in their place (Media Clearing: the sending branch); empty: the
    // accounts' own.
    std::string_view branch;
    Money total;
    std::int64_t credits = 0;
};
// Record 002, 109 characters.
std::string DebitRecord(const DebitRecordValues& values);

// Trailer "999": debits, credits, the total amount.
std::string TrailerRecord(std::int64_t debits, std::int64_t credits, Money total);

// The debit sequence number of the one debit of a credit file.
inline constexpr std::string_view kFirstDebit = "00000001";

}  // namespace qrv
