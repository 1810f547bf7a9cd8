#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Date.h"
#include "layout/RecordWriter.h"

// The records every upload file shares: the header 001 in both forms, the accounts of the batch records
// and the trailer 999. Texts are code page 874.
namespace qrv {

struct HeaderRecords {
    std::string HeaderRecord;    // 96 characters and CR LF
    std::string HeaderRecordDD;  // 96 characters, no line end
};
// Both header forms for a company id (code page 874) and the creation date.
HeaderRecords BuildHeaderRecords(std::string_view comId, const Date& created);

// An account in a batch record: the account left-aligned in `account`, "0" and its 4th character in
// `type`, "0" and its first three characters in `branch`.
void WriteAccount(layout::RecordWriter& record, const layout::Field& account, const layout::Field& type,
                  const layout::Field& branch, std::string_view accountText);

// Trailer "999": debits, credits, the total amount field (16 characters).
std::string TrailerRecord(std::int64_t debits, std::int64_t credits, std::string_view totalAmountField);

// The debit sequence number of the one debit of a credit file.
inline constexpr std::string_view kFirstDebit = "00000001";

}  // namespace qrv
