#pragma once

#include "layout/Field.h"

// The customers' credit files: Direct Credit and Payroll (one header and detail layout in a long-amount
// and a short-amount form), Media Clearing, and the Manager Cheque payment and invoice files.
namespace qrv::layout {

// Direct Credit and Payroll. The header decides the form for every detail line: columns 1-9 all blank
// is the short-amount form (9-digit amounts), anything else the long-amount form (11-digit amounts).
namespace dcp {
inline constexpr Field kLayoutMark = filler(1, 9, "layout mark");
inline constexpr Field kCompanyNameLong = text("company name", 16, 45, "shown on the reports as it stands");
inline constexpr Field kCompanyNameShort = text("company name", 17, 46, "shown on the reports as it stands");
inline constexpr std::string_view kDateRule = "a calendar date, today or later";
inline constexpr Field kEffectiveDateLong = date("effective date", 48, 53, DateForm::DdMmYy, kDateRule);
inline constexpr Field kEffectiveDateShort = date("effective date", 49, 54, DateForm::DdMmYy, kDateRule);
inline constexpr std::string_view kCountRule = "the number of detail lines (only scales the progress)";
inline constexpr Field kRecordCountLong = digits("record count", 54, 58, kCountRule);
inline constexpr Field kRecordCountShort = digits("record count", 55, 59, kCountRule);
inline constexpr Field kHeaderLongFields[] = {unread(1, 15), kCompanyNameLong, unread(46, 47),
                                              kEffectiveDateLong, kRecordCountLong};
inline constexpr Field kHeaderShortFields[] = {kLayoutMark,    unread(10, 16),      kCompanyNameShort,
                                               unread(47, 48), kEffectiveDateShort, kRecordCountShort};

inline constexpr Field kCreditAccount = digits("credit account", 1, 10,
                                               "a home-bank account: 10 digits with a valid check digit, "
                                               "not all zeros; its first three digits are its branch");
inline constexpr std::string_view kAmountRule =
    "baht and satang (2 implied decimals), digits only, above zero";
inline constexpr Field kAmountLong = amount("amount", 18, 28, 2, kAmountRule);
inline constexpr Field kAmountShort = amount("amount", 18, 26, 2, kAmountRule);
inline constexpr std::string_view kNameRule = "trimmed; may be blank (then no record 004)";
inline constexpr Field kPayeeNameLong = text("payee name", 29, 88, kNameRule);
inline constexpr Field kPayeeNameShort = text("payee name", 27, 86, kNameRule);
inline constexpr Field kDetailLongFields[] = {kCreditAccount, unread(11, 17), kAmountLong, kPayeeNameLong};
inline constexpr Field kDetailShortFields[] = {kCreditAccount, unread(11, 17), kAmountShort, kPayeeNameShort};
}  // namespace dcp
inline constexpr Layout kCreditHeaderLong{"header line, long-amount form (columns 1-9 not all blank)",
                                          dcp::kHeaderLongFields, 58};
inline constexpr Layout kCreditHeaderShort{"header line, short-amount form (columns 1-9 blank)",
                                           dcp::kHeaderShortFields, 59};
inline constexpr Layout kCreditDetailLong{"detail line, long-amount form", dcp::kDetailLongFields, 88};
inline constexpr Layout kCreditDetailShort{"detail line, short-amount form", dcp::kDetailShortFields, 86};
static_assert(tiles(kCreditHeaderLong) && tiles(kCreditHeaderShort) && tiles(kCreditDetailLong) &&
              tiles(kCreditDetailShort));

// The fields of one form of the Direct Credit file.
struct CreditForm {
    const Layout* header;
    const Layout* detail;
    const Field* companyName;
    const Field* effectiveDate;
    const Field* recordCount;
    const Field* amount;
    const Field* payeeName;
};
inline constexpr CreditForm kCreditLongForm{
    &kCreditHeaderLong,     &kCreditDetailLong, &dcp::kCompanyNameLong, &dcp::kEffectiveDateLong,
    &dcp::kRecordCountLong, &dcp::kAmountLong,  &dcp::kPayeeNameLong};
inline constexpr CreditForm kCreditShortForm{
    &kCreditHeaderShort,     &kCreditDetailShort, &dcp::kCompanyNameShort, &dcp::kEffectiveDateShort,
    &dcp::kRecordCountShort, &dcp::kAmountShort,  &dcp::kPayeeNameShort};
// The form a header line chooses: columns 1-9 all blank, the short-amount form.
const CreditForm& creditFormOf(std::string_view header);

// Media Clearing and Media Clearing Payroll 1, 2 and 3.
namespace mcl {
inline constexpr Field kEffectiveDate =
    date("effective date", 31, 38, DateForm::DdMmYyyy, "a calendar date, later than today");
inline constexpr Field kRecordCount =
    digits("record count", 41, 46, "the number of detail lines (only scales the progress)");
inline constexpr Field kCompanyName = text("company name", 53, 82, "shown on the reports as it stands");
inline constexpr Field kHeaderFields[] = {unread(1, 30), kEffectiveDate, unread(39, 40),
                                          kRecordCount,  unread(47, 52), kCompanyName};

inline constexpr Field kRecordType = code("record type", 1, 3, "102", "the fee report counts these lines");
inline constexpr Field kBankCode =
    digits("receiving bank code", 10, 12, "3 digits; an unknown bank is registered");
inline constexpr Field kBranchCode =
    digits("receiving branch code", 13, 16, "4 digits; an unknown branch is registered");
inline constexpr Field kCreditAccount =
    digits("credit account", 17, 27,
           "bank 014: a home-bank account in columns 18-27; other banks: 11 digits, not all zeros");
// A home-bank account is the field without its first column.
inline constexpr Field kHomeBankAccount =
    digits("credit account", 18, 27, "bank 014: a home-bank account with a valid check digit");
inline constexpr Field kSendingBank =
    text("sending bank code", 28, 30, "not 014: a credit above 2,000,000.00 voids the upload file");
inline constexpr Field kSendingBranch = text("sending branch code", 31, 34, "copied to record 002");
inline constexpr Field kDebitAccount =
    digits("debit account", 36, 45, "a home-bank account with a valid check digit, on every line");
inline constexpr Field kServiceType = text("service type", 54, 55, "copied to record 003");
inline constexpr Field kAmount =
    amount("amount", 58, 69, 2, "baht and satang (2 implied decimals), digits only, above zero");
inline constexpr Field kReceiverId = text("receiver identifier", 190, 199, "all zeros: none");
inline constexpr Field kReceiverName = text("receiver name", 200, 222, "copied as it stands");
inline constexpr Field kDetailFields[] = {kRecordType,    unread(4, 9),    kBankCode,      kBranchCode,
                                          kCreditAccount, kSendingBank,    kSendingBranch, unread(35, 35),
                                          kDebitAccount,  unread(46, 53),  kServiceType,   unread(56, 57),
                                          kAmount,        unread(70, 189), kReceiverId,    kReceiverName};
}  // namespace mcl
inline constexpr Layout kMediaClearingHeader{"header line", mcl::kHeaderFields, 82};
inline constexpr Layout kMediaClearingDetail{"detail line", mcl::kDetailFields, 222};
static_assert(tiles(kMediaClearingHeader) && tiles(kMediaClearingDetail));

// Manager Cheque: one 700-character line per cheque, and the invoice file.
namespace mcp {
inline constexpr std::string_view kAmount13 = "11 digits of baht and 2 of satang";
inline constexpr std::string_view kAmount9 = "7 digits of baht and 2 of satang";
inline constexpr Field kPaymentKey = text("payment key", 1, 26, "matches the invoice lines of the cheque");
inline constexpr Field kDebitAccount =
    digits("debit account", 27, 36, "a home-bank account with a valid check digit");
inline constexpr Field kDueDate =
    date("due date", 37, 46, DateForm::YyyyMmDdSeparated, "yyyy?mm?dd, a calendar date, today or later");
inline constexpr Field kChequeAmount = amount("cheque amount", 47, 59, 2, kAmount13);
inline constexpr Field kInvoiceAmount = amount("invoice amount", 60, 72, 2, kAmount13);
inline constexpr Field kTaxAmount = amount("withholding-tax amount", 86, 94, 2, kAmount9);
inline constexpr Field kVatAmount = amount("VAT amount", 95, 103, 2, kAmount9);
inline constexpr Field kTaxFlag =
    code("withholding-tax flag", 104, 104, "1", "1: the cheque carries withholding tax");
inline constexpr Field kReferenceNo = text("reference number", 105, 124);
inline constexpr Field kDeliveryCode = code("delivery code", 127, 127, "1|2|3", "1 P, 2 C, 3 M");
inline constexpr Field kChequeType = code("cheque type", 128, 128, "1", "1, or anything else for 4");
inline constexpr Field kInvoiceFlag = code("invoice flag", 129, 129, "1", "1: the cheque has invoices");
inline constexpr Field kInvoiceCount = digits("number of invoice lines", 130, 132);
inline constexpr Field kPayeeCode = text("payee code", 133, 147);
inline constexpr Field kPayeeName = text("payee name", 148, 217, "Thai or English");
inline constexpr Field kAddress1 = text("payee address line 1", 218, 287);
inline constexpr Field kAddress2 = text("payee address line 2", 288, 337);
inline constexpr Field kAddress3 = text("payee address line 3", 338, 387);
inline constexpr Field kTaxId = text("payee tax identification number", 404, 413);
inline constexpr Field kTaxForm = code("tax form code", 414, 414, "1|3|4|7", "1 01, 3 02, 4 03, 7 53");
inline constexpr Field kTaxDate = date("tax date", 415, 424, DateForm::YyyyMmDdSeparated, "yyyy?mm?dd");
inline constexpr Field kTaxRunningNo = text("tax running number", 425, 438);
inline constexpr Field kTaxAttachNo = text("tax attachment number", 439, 443, "a number, blanks trimmed");
inline constexpr Field kIncomeType = code("income type", 444, 444, "6", "6: itemised income");
inline constexpr Field kDescription1 =
    text("income description 1", 445, 464, "with 465-514: a single item's");
inline constexpr Field kDescription2 = text("income description 2", 465, 484);
inline constexpr Field kDescription3 = text("income description 3", 485, 514);
// A single item's description runs over the three descriptions' columns.
inline constexpr Field kSingleDescription = text("income description", 445, 514);
inline constexpr Field kTaxPaidCondition = text("tax payment condition", 515, 515);
inline constexpr Field kFreeText = text("free text", 516, 555);
inline constexpr Field kPickupBranch =
    text("pickup branch", 601, 605, "a number of up to 4 digits, or blanks");
inline constexpr Field kItemTax1 = amount("tax of item 1", 616, 624, 2, kAmount9);
inline constexpr Field kItemTax2 = amount("tax of item 2", 625, 633, 2, kAmount9);
inline constexpr Field kItemIncome1 = amount("income of item 1", 634, 646, 2, kAmount13);
inline constexpr Field kItemIncome2 = amount("income of item 2", 647, 659, 2, kAmount13);
inline constexpr Field kItemTax3 = amount("tax of item 3", 660, 668, 2, kAmount9);
inline constexpr Field kItemIncome3 = amount("income of item 3", 669, 681, 2, kAmount13);
inline constexpr Field kChequeFields[] = {
    kPaymentKey,       kDebitAccount, kDueDate,         kChequeAmount, kInvoiceAmount,   unread(73, 85),
    kTaxAmount,        kVatAmount,    kTaxFlag,         kReferenceNo,  unread(125, 126), kDeliveryCode,
    kChequeType,       kInvoiceFlag,  kInvoiceCount,    kPayeeCode,    kPayeeName,       kAddress1,
    kAddress2,         kAddress3,     unread(388, 403), kTaxId,        kTaxForm,         kTaxDate,
    kTaxRunningNo,     kTaxAttachNo,  kIncomeType,      kDescription1, kDescription2,    kDescription3,
    kTaxPaidCondition, kFreeText,     unread(556, 600), kPickupBranch, unread(606, 615), kItemTax1,
    kItemTax2,         kItemIncome1,  kItemIncome2,     kItemTax3,     kItemIncome3,     unread(682, 700)};

inline constexpr std::string_view kSigned13 = "11+2 digits, or \"-\" and 10+2 digits";
inline constexpr std::string_view kSigned9 = "7+2 digits, or \"-\" and 6+2 digits";
inline constexpr Field kInvoicePaymentKey = text("payment key", 1, 26, "equal to the cheque line's");
inline constexpr Field kInvoiceNo = text("invoice number", 27, 41);
inline constexpr Field kInvoiceLineAmount = signedAmount("invoice amount", 52, 64, 2, kSigned13);
inline constexpr Field kInvoiceDate = date("invoice date", 65, 74, DateForm::YyyyMmDdSeparated, "yyyy?mm?dd");
inline constexpr Field kPoNo = text("purchase order number", 125, 139);
inline constexpr Field kInvoiceVat = signedAmount("VAT amount", 140, 148, 2, kSigned9);
inline constexpr Field kInvoiceCharge = signedAmount("charge amount", 149, 157, 2, kSigned9);
inline constexpr Field kInvoiceTax = signedAmount("withholding-tax amount", 158, 166, 2, kSigned9);
inline constexpr Field kInvoiceFields[] = {
    kInvoicePaymentKey, kInvoiceNo, unread(42, 51), kInvoiceLineAmount, kInvoiceDate,
    unread(75, 124),    kPoNo,      kInvoiceVat,    kInvoiceCharge,     kInvoiceTax};
}  // namespace mcp
inline constexpr Layout kChequeLine{"cheque line (every line 700 characters)", mcp::kChequeFields, 700};
inline constexpr Layout kInvoiceLine{"invoice line (the invoice file)", mcp::kInvoiceFields, 166};
static_assert(tiles(kChequeLine) && tiles(kInvoiceLine));

}  // namespace qrv::layout
