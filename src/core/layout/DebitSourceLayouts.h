#pragma once

#include "layout/Field.h"

// The direct-debit files: the 100M layout (control record and detail records; the Direct Debit (100M)
// source, the file sent that a return comparison reads, the file Convert 100M writes, and the long-amount
// form of a Direct Debit (HASH) file), the short-amount hash form, the host's return file, the comparison
// file, and the input of Convert 100M. Amounts of the 100M layout are 9 digits of baht and 2 of satang.
namespace qrv::layout {

namespace ddr {
inline constexpr Field kLeadingBlanks = filler(1, 8, "leading blanks");
inline constexpr Field kTermPayment = code(
    "term payment", 9, 9, "M|H|W", "Direct Debit (100M): blank reads the control dates one column later");
inline constexpr Field kCompanyCode = digits("company code", 10, 15, "6 digits");
inline constexpr Field kCompanyName = text("company name", 16, 45, "shown on the reports as it stands");
inline constexpr Field kApplyCode = code("apply code", 46, 46, "C|S|G");
inline constexpr Field kStatus = code("status", 47, 47, "A");
inline constexpr Field kEffectiveDate =
    date("effective date", 48, 53, DateForm::DdMmYy, "a calendar date, today or later");
inline constexpr Field kTotalRecord = digits("total record", 54, 58, "the number of detail records");
inline constexpr Field kTotalAmount =
    amount("total amount", 59, 69, 2, "11 digits, above zero: the sum of the detail amounts");
inline constexpr Field kMediaType = code("media type", 70, 70, "I", "read by the hash check only");
inline constexpr Field kControlFields[] = {kLeadingBlanks, kTermPayment, kCompanyCode,   kCompanyName,
                                           kApplyCode,     kStatus,      kEffectiveDate, kTotalRecord,
                                           kTotalAmount,   kMediaType};

inline constexpr Field kAccount = digits("account", 1, 10, "a home-bank account with a valid check digit");
inline constexpr Field kDetailDate =
    date("effective date", 11, 16, DateForm::DdMmYy, "a calendar date, today or later");
inline constexpr Field kSign = code("sign", 17, 17, "1", "1 (0 or 1 in a hash check)");
inline constexpr Field kAmount = amount("amount", 18, 28, 2, "11 digits, above zero");
inline constexpr Field kStatusCode = text("status code", 29, 30, "written by the return comparison");
inline constexpr Field kReference = text("reference", 31, 47, "copied to record 008 as it stands");
inline constexpr Field kNameText =
    text("name and reference text", 48, 78, "copied to record 008 as it stands");
inline constexpr Field kTail = text("end of the name", 79, 80, "in the completion table only");
inline constexpr Field kDetailFields[] = {kAccount,    kDetailDate, kSign,     kAmount,
                                          kStatusCode, kReference,  kNameText, kTail};
// The longest control or detail record a Direct Debit (100M) run accepts ("Character have not over 80
// Character.").
inline constexpr int kMaxLine = 80;
// The name the completion table takes: from the reference to the end of the line.
inline constexpr Field kCompletionName = text("name and reference text", 31, 80);
// The name a hash check of this form takes.
inline constexpr Field kHashName = text("name", 31, 78);
}  // namespace ddr
inline constexpr Layout kDebit100MControl{"control record", ddr::kControlFields, 70};
inline constexpr Layout kDebit100MDetail{"detail record (at most 80 characters)", ddr::kDetailFields, 80};
static_assert(tiles(kDebit100MControl) && tiles(kDebit100MDetail));

// The short-amount form of a Direct Debit (HASH) file: columns 1-9 blank, 9-digit amounts.
namespace hash {
inline constexpr Field kLeadingBlanks = filler(1, 9, "leading blanks");
inline constexpr Field kTermPayment = code("term payment", 10, 10, "M|H|W");
inline constexpr Field kCompanyCode = digits("company code", 11, 16, "6 digits");
inline constexpr Field kCompanyName = text("company name", 17, 46, "shown on the reports as it stands");
inline constexpr Field kApplyCode = code("apply code", 47, 47, "D");
inline constexpr Field kStatus = code("status", 48, 48, "A");
inline constexpr Field kEffectiveDate =
    date("effective date", 49, 54, DateForm::DdMmYy, "a calendar date, today or later");
inline constexpr Field kTotalRecord = digits("total record", 55, 59, "5 digits, above zero");
inline constexpr Field kTotalAmount = amount("total amount", 60, 69, 2, "10 digits, above zero");
inline constexpr Field kMediaType = code("media type", 70, 70, "T|D|K");
inline constexpr Field kControlFields[] = {kLeadingBlanks, kTermPayment, kCompanyCode,   kCompanyName,
                                           kApplyCode,     kStatus,      kEffectiveDate, kTotalRecord,
                                           kTotalAmount,   kMediaType};

inline constexpr Field kAmount = amount("amount", 18, 26, 2, "9 digits, above zero");
inline constexpr Field kName = text("name", 27, 56, "copied to the hash table");
inline constexpr Field kDetailFields[] = {ddr::kAccount, ddr::kDetailDate, ddr::kSign, kAmount, kName};
}  // namespace hash
inline constexpr Layout kHashControlShort{"control record, short-amount form (columns 1-9 blank)",
                                          hash::kControlFields, 70};
inline constexpr Layout kHashDetailShort{"detail record, short-amount form", hash::kDetailFields, 56};
static_assert(tiles(kHashControlShort) && tiles(kHashDetailShort));

// The fields of one form of a Direct Debit (HASH) file: the short-amount form above, or the long-amount
// form, which is the 100M layout.
struct HashForm {
    const Layout* control;
    const Layout* detail;
    const Field* leadingBlanks;
    const Field* termPayment;
    const Field* companyCode;
    const Field* companyName;
    const Field* applyCode;
    const Field* status;
    const Field* effectiveDate;
    const Field* totalRecord;
    const Field* totalAmount;
    const Field* mediaType;
    const Field* amount;
    const Field* name;
};
inline constexpr HashForm kHashShortForm{
    &kHashControlShort,  &kHashDetailShort, &hash::kLeadingBlanks, &hash::kTermPayment,   &hash::kCompanyCode,
    &hash::kCompanyName, &hash::kApplyCode, &hash::kStatus,        &hash::kEffectiveDate, &hash::kTotalRecord,
    &hash::kTotalAmount, &hash::kMediaType, &hash::kAmount,        &hash::kName};
inline constexpr HashForm kHashLongForm{
    &kDebit100MControl, &kDebit100MDetail, &ddr::kLeadingBlanks, &ddr::kTermPayment,   &ddr::kCompanyCode,
    &ddr::kCompanyName, &ddr::kApplyCode,  &ddr::kStatus,        &ddr::kEffectiveDate, &ddr::kTotalRecord,
    &ddr::kTotalAmount, &ddr::kMediaType,  &ddr::kAmount,        &ddr::kHashName};

// The return file of the host system: a header, one detail per debit and a trailer.
namespace ret {
inline constexpr Field kHeaderCode = code("record code", 1, 3, "001");
inline constexpr Field kValueDate =
    date("value date", 260, 265, DateForm::YyMmDd, "equal to the sent file's");
inline constexpr Field kHeaderFields[] = {kHeaderCode, unread(4, 259), kValueDate};

inline constexpr Field kDetailCode = code("record code", 1, 3, "002");
inline constexpr Field kAccount = text("account", 10, 34, "a number, blanks trimmed: the sent account");
inline constexpr Field kReference = text("reference", 35, 51, "replaces the sent reference");
inline constexpr Field kAmount = amount("amount", 269, 279, 2, "equal to the sent amount");
inline constexpr Field kPaidAmount = amount("amount paid", 281, 296, 3, "the amount of result P");
inline constexpr Field kResult = code("result", 314, 314, "S|F|V|P");
inline constexpr Field kReason = text("reason", 315, 317, "refines result F");
inline constexpr Field kDetailFields[] = {kDetailCode,      unread(4, 9), kAccount,         kReference,
                                          unread(52, 268),  kAmount,      unread(280, 280), kPaidAmount,
                                          unread(297, 313), kResult,      kReason};

inline constexpr Field kTrailerCode = code("record code", 1, 3, "999");
inline constexpr Field kRecordCount = digits("record count", 4, 9, "equal to the sent total record");
inline constexpr Field kTotalAmount = amount("total amount", 10, 25, 3, "equal to the sent total amount");
inline constexpr Field kTrailerFields[] = {kTrailerCode, kRecordCount, kTotalAmount};

// The comparison file: the sent detail with the result's status code and reference.
inline constexpr Field kComparisonFields[] = {ddr::kAccount,    ddr::kDetailDate, ddr::kSign,    ddr::kAmount,
                                              ddr::kStatusCode, ddr::kReference,  ddr::kNameText};
}  // namespace ret
inline constexpr Layout kReturnHeader{"return header record", ret::kHeaderFields, 265};
inline constexpr Layout kReturnDetail{"return detail record", ret::kDetailFields, 317};
inline constexpr Layout kReturnTrailer{"return trailer record", ret::kTrailerFields, 25};
inline constexpr Layout kComparisonLine{"comparison file line", ret::kComparisonFields, 78};
static_assert(tiles(kReturnHeader) && tiles(kReturnDetail) && tiles(kReturnTrailer) &&
              tiles(kComparisonLine));

// The input of Convert 100M: a header, one detail line per debit, and summary lines ("599").
namespace c100m {
inline constexpr Field kValueDate =
    date("value date", 189, 194, DateForm::YyMmDd, "copied into every record");
inline constexpr Field kHeaderFields[] = {unread(1, 188), kValueDate};

inline constexpr Field kSummaryCode = code("record type", 1, 3, "599", "599: a summary line");
inline constexpr Field kDebitCount = digits("number of debits", 7, 11, "copied as it stands");
inline constexpr Field kTotalAmount = amount("total amount", 17, 27, 2, "copied as it stands");
inline constexpr Field kSummaryFields[] = {kSummaryCode, unread(4, 6), kDebitCount, unread(12, 16),
                                           kTotalAmount};

inline constexpr Field kAmount = amount("amount", 11, 21, 2, "copied as it stands");
inline constexpr Field kAccount = digits("account", 23, 32, "copied as it stands");
inline constexpr Field kResult =
    code("result letter", 221, 221, "S|F", "S 00, F 01; anything else repeats the code before");
inline constexpr Field kRemainder = text("remainder", 222, 268, "copied as it stands");
inline constexpr Field kDetailFields[] = {unread(1, 10),   kAmount, unread(22, 22), kAccount,
                                          unread(33, 220), kResult, kRemainder};

// What it writes: the 100M control record (up to the total amount) and this detail record.
inline constexpr Field kControlFields[] = {ddr::kLeadingBlanks, ddr::kTermPayment, ddr::kCompanyCode,
                                           ddr::kCompanyName,   ddr::kApplyCode,   ddr::kStatus,
                                           ddr::kEffectiveDate, ddr::kTotalRecord, ddr::kTotalAmount};
inline constexpr Field kResultCode = code("result code", 29, 30, "00|01");
inline constexpr Field kConvertedRemainder = text("remainder", 31, 77, "input columns 222-268");
inline constexpr Field kConvertedFields[] = {ddr::kAccount, ddr::kDetailDate, ddr::kSign,
                                             ddr::kAmount,  kResultCode,      kConvertedRemainder};
}  // namespace c100m
inline constexpr Layout kConvertInputHeader{"header line", c100m::kHeaderFields, 194};
inline constexpr Layout kConvertInputSummary{"summary line (599)", c100m::kSummaryFields, 27};
inline constexpr Layout kConvertInputDetail{"detail line", c100m::kDetailFields, 268};
inline constexpr Layout kConvertedControl{"converted control record", c100m::kControlFields, 69};
inline constexpr Layout kConvertedDetail{"converted detail record", c100m::kConvertedFields, 77};
static_assert(tiles(kConvertInputHeader) && tiles(kConvertInputSummary) && tiles(kConvertInputDetail) &&
              tiles(kConvertedControl) && tiles(kConvertedDetail));

}  // namespace qrv::layout
