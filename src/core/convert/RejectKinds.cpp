#include "convert/RejectKinds.h"

#include <array>
#include <iterator>
#include <string>

namespace qrv {

namespace {

using C = ColumnText;
using D = DirectDebitRejects;

constexpr std::string_view kCredit = "  Credit amount is zero";
constexpr std::string_view kInvalidAmount = "  Credit amount less than zero or invalid number";
constexpr std::string_view kCheckTotalAmount = "CONTROL,TOTAL-AMOUNT";
constexpr std::string_view kInvalidDate = "Invalid EFFECTIVE-DATE";
constexpr std::string_view kPastDate = "EFFECTIVE-DATE should be today or future date";
constexpr std::string_view kTooLong = "Character have not over 80 Character.";

constexpr RejectRow kRows[] = {
    {Reject::AccountZero, kInvalidAcct, kInvalidAcctSuffix, "  Account is zero", "Account", {}, C::Plain},
    {Reject::AccountInvalid,
     kInvalidAcct,
     kInvalidAcctSuffix,
     "  Account is invalid QRV account",
     "Account",
     {},
     C::Plain},
    {Reject::AmountZero, kCreditZeroAmount, kCreditZeroAmountSuffix, kCredit, "Amount", {}, C::Plain},
    {Reject::AmountInvalid,
     kCreditAmountInvalid,
     kCreditAmountInvalidSuffix,
     kInvalidAmount,
     "Amount",
     {},
     C::Plain},
    {Reject::HomeBankAccount,
     kInvalidAcct,
     kInvalidAcctSuffix,
     "  Credit account is invalid QRV account",
     "Account",
     {},
     C::Plain},
    {Reject::OtherBankAccount, kInvalidAcct, kInvalidAcctSuffix,
     "  Credit account is zero or not numeric or invalid length", "Account",
     "Credit account is invalid account", C::Plain},
    {Reject::BankBranchCode, kBankBranchCode, kBankBranchCodeSuffix, " invalid code", "Bank Code,Branch Code",
     "Bank {0} branch {1} invalid code", C::Plain},
    {Reject::OverLimit, kOverLimit, {}, {}, "Amount", "Detail Amount have not over 2,000,000", C::Plain},
    {Reject::ChequeAmountZero,
     kCreditZeroAmount,
     kCreditZeroAmountSuffix,
     kCredit,
     "Amount",
     {},
     C::TrailingBlank},
    {Reject::ChequeAmountInvalid,
     kCreditAmountInvalid,
     kCreditAmountInvalidSuffix,
     kInvalidAmount,
     "Amount",
     {},
     C::TrailingBlank},
    {Reject::ChequeFieldAmount,
     kCreditAmountInvalid,
     kCreditAmountInvalidSuffix,
     "  {0} less than zero or invalid number",
     "Amount",
     {},
     C::TrailingBlank},
    {Reject::InvoiceAmount,
     kCreditAmountInvalid,
     kCreditAmountInvalidSuffix,
     "  Invoice line {0}, columns {1}: invalid {2}",
     "Amount",
     {},
     C::TrailingBlank},
    {Reject::ControlAmountWidth,
     D::SpaceAmount,
     {},
     " Invalid ,Amount have not space .",
     kCheckTotalAmount,
     {},
     C::Spaced},
    {Reject::ControlAmountPattern,
     D::InvalidAmount,
     {},
     " Amount must be 100M pattern.",
     kCheckTotalAmount,
     {},
     C::Spaced},
    {Reject::ControlAmountNumeric,
     D::InvalidAmount,
     {},
     " Invalid numeric .",
     kCheckTotalAmount,
     {},
     C::Spaced},
    {Reject::ControlDate, D::InvalidEffect, {}, kInvalidDate, "CONTROL,EFFECTIVE-DATE", {}, C::Spaced},
    {Reject::ControlPastDate, D::FutureEffect, {}, kPastDate, "CONTROL,EFFECTIVE-DATE", {}, C::Spaced},
    {Reject::ControlLength, D::Length, {}, kTooLong, "CONTROL", {}, C::WholeLine},
    {Reject::DetailDate, D::InvalidEffect, {}, kInvalidDate, "DETAIL,EFFECTIVE-DATE", {}, C::Spaced},
    {Reject::DetailPastDate, D::FutureEffect, {}, kPastDate, "DETAIL,EFFECTIVE-DATE", {}, C::Spaced},
    {Reject::DetailSign, D::SignErr, {}, "sign error", "DETAIL,SIGN", {}, C::Spaced},
    {Reject::DetailAccount,
     D::invalidDebitAcct,
     {},
     "Invalid QRV debit account.",
     "DETAIL,ACCOUNT NO.",
     {},
     C::Plain},
    {Reject::DetailAmountPattern,
     D::InvalidAmount,
     {},
     "Amount must be 100M pattern.",
     "DETAIL,AMOUNT.",
     {},
     C::Spaced},
    {Reject::DetailAmountNumeric,
     D::InvalidAmount,
     {},
     " Invalid numeric .",
     "DETAIL,AMOUNT.",
     {},
     C::Spaced},
    {Reject::DetailLength, D::Length, {}, kTooLong, "DETAIL", {}, C::WholeLine},
    {Reject::SumAfterScan,
     D::totalAmount,
     {},
     "Invalid Input File,Sum Amount not equal Total Amount.",
     kCheckTotalAmount,
     {},
     C::Spaced},
    {Reject::SumAfterFirstReading,
     D::totalAmount,
     {},
     "column59-69 ,Invalid Input File,Sum Amount not equal Total Amount  .",
     kCheckTotalAmount,
     {},
     C::Spaced},
    {Reject::CountAfterScan,
     D::TotalRecord,
     {},
     " Invalid Input File,No.of Debit not equal Total Record .",
     "CONTROL,TOTAL-RECORD",
     {},
     C::Spaced},
    {Reject::CountAfterFirstReading,
     D::TotalRecord,
     {},
     "column54-58 ,Invalid Input File,No.of Debit not equal Total Record  .",
     "CONTROL,TOTAL-RECORD",
     {},
     C::Spaced},
    {Reject::HashSign, "Sign", {}, "Invalid Sign", "Sign", {}, C::Plain},
    {Reject::HashAccount, "Account No", {}, "Invalid Account No ", "Account No", {}, C::Plain},
    {Reject::HashAccountLong, "Account No", {}, "Invalid Account No", "Account No", {}, C::Plain},
    {Reject::HashDate, "Effective Date", {}, "Invalid Effective Date", "Effective Date", {}, C::Plain},
    {Reject::HashAmount, "Amount", {}, "Invalid Amount", "Amount", {}, C::Plain},
    {Reject::HashAmountShort, "Amount", {}, "Invalid Amount ", "Amount", {}, C::Plain},
    {Reject::HashTotalAmount, "Total Amount", {}, "Check Total Amount Error ", "Total Amount", {}, C::Plain},
    {Reject::HashTotalRecord, "Total Record", {}, "Check Total Record Error ", "Total Record", {}, C::Plain},
};

// The table is in the order of the enum, so that a kind finds its row at once.
constexpr bool inOrder() {
    for (size_t i = 0; i < std::size(kRows); ++i) {
        if (static_cast<size_t>(kRows[i].kind) != i) {
            return false;
        }
    }
    return std::size(kRows) == static_cast<size_t>(Reject::HashTotalRecord) + 1;
}
static_assert(inOrder());

}  // namespace

const RejectRow& rejectRow(Reject kind) {
    return kRows[static_cast<size_t>(kind)];
}

std::span<const RejectRow> rejectRows() {
    return kRows;
}

std::string rejectedKindText(const std::string& kind) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 20> kWords = {{
        // Listings of the credit products.
        {"InvalidAcct", "Invalid credit account"},
        {"CreditZeroAmount", "Zero amount"},
        {"CreditAmountInvalid", "Invalid or negative amount"},
        {"BankBranchCode", "Invalid bank or branch code"},
        {"OverLimit", "Above 2,000,000.00 baht from another bank"},
        // Direct Debit (100M).
        {"SpaceAmount", "Control total not 11 digits"},
        {"InvalidAmount", "Invalid amount"},
        {"InvalidEffect", "Invalid effective date"},
        {"FutureEffect", "Effective date before today"},
        {"Length", "Line longer than 80 characters"},
        {"SignErr", "Sign is not 1"},
        {"invalidDebitAcct", "Invalid debit account"},
        {"totalAmount", "Control total differs from the amounts"},
        {"TotalRecord", "Record count differs from the lines"},
        // The hash check.
        {"Sign", "Sign is not 0 or 1"},
        {"Account No", "Invalid account number"},
        {"Amount", "Invalid amount"},
        {"Effective Date", "Effective date differs from the control record"},
        {"Total Amount", "Control total differs from the amounts"},
        {"Total Record", "Record count differs from the records"},
    }};
    for (const auto& [code, words] : kWords) {
        if (code == kind) {
            return std::string(words);
        }
    }
    return kind;
}

}  // namespace qrv
