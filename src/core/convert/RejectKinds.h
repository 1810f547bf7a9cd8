#pragma once

#include <string>

#include <span>
#include <string_view>

// Every kind of rejected entry of every operation, one row each: the result's counter it counts under,
// the listing it goes to, its message, and the field name its error table gives. The texts are the
// system's own, blanks included.
namespace qrv {

// The counters of the credit products' rejected entries (the names the result report's counters and
// `--json` use).
inline constexpr std::string_view kInvalidAcct = "InvalidAcct";
inline constexpr std::string_view kCreditZeroAmount = "CreditZeroAmount";
inline constexpr std::string_view kCreditAmountInvalid = "CreditAmountInvalid";
inline constexpr std::string_view kBankBranchCode = "BankBranchCode";
inline constexpr std::string_view kOverLimit = "OverLimit";

// The counters of Direct Debit (100M), each named as the result report's counter of it.
struct DirectDebitRejects {
    static constexpr std::string_view SpaceAmount = "SpaceAmount", InvalidAmount = "InvalidAmount",
                                      InvalidEffect = "InvalidEffect", FutureEffect = "FutureEffect",
                                      Length = "Length", SignErr = "SignErr",
                                      invalidDebitAcct = "invalidDebitAcct", totalAmount = "totalAmount",
                                      TotalRecord = "TotalRecord";
};

// The listings of the credit products: folder + company id + "_" + listing code + suffix.
inline constexpr std::string_view kInvalidAcctSuffix = "_InvalidAcctRecord.txt";
inline constexpr std::string_view kCreditZeroAmountSuffix = "_CreditZeroAmountRecord.txt";
inline constexpr std::string_view kCreditAmountInvalidSuffix = "_CreditAmountInvalidRecord.txt";
inline constexpr std::string_view kBankBranchCodeSuffix = "_BankBranchCode.txt";

enum class Reject {
    // Direct Credit and Payroll.
    AccountZero,
    AccountInvalid,
    // Direct Credit, Payroll and Media Clearing.
    AmountZero,
    AmountInvalid,
    // Media Clearing.
    HomeBankAccount,
    OtherBankAccount,
    BankBranchCode,
    OverLimit,
    // Manager Cheque: its listings' columns end in a blank.
    ChequeAmountZero,
    ChequeAmountInvalid,
    ChequeFieldAmount,  // another amount of the cheque's data
    InvoiceAmount,      // an amount of an invoice line of the cheque
    // Direct Debit (100M): the control record (C1-C6), the detail records (D1-D7), the totals (T1, T2 in
    // the wording of the full error scan or of a clean first reading).
    ControlAmountWidth,
    ControlAmountPattern,
    ControlAmountNumeric,
    ControlDate,
    ControlPastDate,
    ControlLength,
    DetailDate,
    DetailPastDate,
    DetailSign,
    DetailAccount,
    DetailAmountPattern,
    DetailAmountNumeric,
    DetailLength,
    SumAfterScan,
    SumAfterFirstReading,
    CountAfterScan,
    CountAfterFirstReading,
    // The hash check of a Direct Debit (HASH) file; the short-amount form words two of them with a blank.
    HashSign,
    HashAccount,
    HashAccountLong,
    HashDate,
    HashAmount,
    HashAmountShort,
    HashTotalAmount,
    HashTotalRecord,
};

// How the columns of an entry's field are written in its listing line or error row.
enum class ColumnText {
    Plain,          // "1-10"; two fields "10-12 Column: 13-16" in a listing, "10-12,13-16" in a table
    TrailingBlank,  // "47-59 "
    Spaced,         // " 18-28 "
    WholeLine,      // " This line "
};

struct RejectRow {
    Reject kind;
    std::string_view counter;    // the result's counter it counts under
    std::string_view suffix;     // the listing it goes to; empty: none
    std::string_view message;    // its listing's message, or its error row's text; {0}, {1}, {2}: its details
    std::string_view field;      // the field name of its error row
    std::string_view tableText;  // the text of its row in the credit products' error table, where it differs
    ColumnText columns = ColumnText::Plain;
};

const RejectRow& rejectRow(Reject kind);
// Every row, in the order of the enum.
std::span<const RejectRow> rejectRows();

// A rejected entry's kind (its counter name) in words a clerk reads; an unknown kind as it is.
std::string rejectedKindText(const std::string& kind);

}  // namespace qrv
