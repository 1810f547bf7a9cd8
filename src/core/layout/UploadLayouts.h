#pragma once

#include "layout/Field.h"

// The records of the upload file for the host system: the header 001 in its two forms, the debit record
// 002, the credit records 003 to 006, the direct-debit records 007 and 008, and the trailer 999. Amounts
// are 16-digit amount fields (thousandths of a baht); dates are yyyymmdd.
namespace qrv::layout {

namespace r001 {
inline constexpr Field kRecordType = code("record type", 1, 3, "001", {}, "001");
inline constexpr Field kCompanyId = text("company id", 4, 15, "as typed, left-aligned");
inline constexpr Field kCreationDate = date("creation date", 16, 23, DateForm::YyyyMmDd);
inline constexpr Field kReserved24 = filler(24, 47);
inline constexpr Field kBatchDate = date("batch date", 48, 55, DateForm::YyyyMmDd);
inline constexpr Field kBatchTime = digits("batch time", 56, 61, {}, "000000");
inline constexpr Field kBank = code("bank system", 62, 64, "BCM", {}, "BCM");
inline constexpr Field kValueDate = date("effective date", 65, 72, DateForm::YyyyMmDd);
inline constexpr Field kReserved73 = filler(73, 96);
inline constexpr Field kFields[] = {kRecordType, kCompanyId, kCreationDate, kReserved24, kBatchDate,
                                    kBatchTime,  kBank,      kValueDate,    kReserved73};
// The direct-debit form: no dates but the batch date.
inline constexpr Field kReservedDd16 = filler(16, 47);
inline constexpr Field kReservedDd65 = filler(65, 96);
inline constexpr Field kDirectDebitFields[] = {kRecordType, kCompanyId, kReservedDd16, kBatchDate,
                                               kBatchTime,  kBank,      kReservedDd65};
}  // namespace r001
inline constexpr Layout kHeaderRecord{"header record 001", r001::kFields, 96};
inline constexpr Layout kDirectDebitHeaderRecord{"header record 001, direct debit", r001::kDirectDebitFields,
                                                 96};
static_assert(tiles(kHeaderRecord) && tiles(kDirectDebitHeaderRecord));

namespace r002 {
inline constexpr Field kRecordType = code("record type", 1, 3, "002", {}, "002");
inline constexpr Field kProductCode = code("product code", 4, 6, "DCP|PAY|PA2|PA3|MCL|PA4|PA5|PA6|MCP");
inline constexpr Field kValueDate = date("effective date", 7, 14, DateForm::YyyyMmDd);
inline constexpr Field kDebitAccount = text("debit account", 15, 39, "left-aligned");
inline constexpr Field kDebitAccountType =
    digits("debit account type", 40, 41, "\"0\" and the account's 4th digit", "00");
inline constexpr Field kDebitBranch =
    digits("debit account branch", 42, 45, "\"0\" and the account's first three digits", "0000");
inline constexpr Field kCurrency = code("currency", 46, 48, "THB", {}, "THB");
inline constexpr Field kTotalAmount = amount("total amount", 49, 64, 3);
inline constexpr Field kDebitSequence = digits("debit sequence number", 65, 72, {}, "00000001");
inline constexpr Field kCreditCount = digits("number of credits", 73, 78);
inline constexpr Field kFeeAccount = text("fee account", 79, 103, "left-aligned");
inline constexpr Field kFeeAccountType = digits("fee account type", 104, 105, "as the debit account's", "00");
inline constexpr Field kFeeBranch = digits("fee account branch", 106, 109, "as the debit account's", "0000");
inline constexpr Field kFields[] = {
    kRecordType,  kProductCode,   kValueDate,   kDebitAccount, kDebitAccountType, kDebitBranch, kCurrency,
    kTotalAmount, kDebitSequence, kCreditCount, kFeeAccount,   kFeeAccountType,   kFeeBranch};
}  // namespace r002
inline constexpr Layout kRecord002{"debit record 002", r002::kFields, 109};
static_assert(tiles(kRecord002));

namespace r003 {
inline constexpr Field kRecordType = code("record type", 1, 3, "003", {}, "003");
inline constexpr Field kCreditSequence = digits("credit sequence number", 4, 9, {}, "000001");
inline constexpr Field kCreditAccount = text("credit account", 10, 34, "left-aligned; blanks for a cheque");
inline constexpr Field kAmount = amount("credit amount", 35, 50, 3);
inline constexpr Field kCurrency = code("currency", 51, 53, "THB", {}, "THB");
inline constexpr Field kDebitSequence = digits("debit sequence number", 54, 61);
inline constexpr Field kTaxFlag = code("withholding-tax flag", 62, 62, "Y|N", "Y: records 005 follow", "N");
inline constexpr Field kInvoiceFlag = code("invoice flag", 63, 63, "Y|N", "Y: records 006 follow", "N");
inline constexpr Field kFlag64 = code("flag", 64, 64, "N", {}, "N");
inline constexpr Field kDeliveryCode = code("cheque delivery code", 65, 65, "P|C|M");
inline constexpr Field kPickupLocation = code("pickup location", 66, 69, "C001|C002", "with delivery code C");
inline constexpr Field kTaxFormCode = code("withholding-tax form", 70, 71, "00|01|02|03|53", {}, "00");
inline constexpr Field kTaxRunningNo = text("withholding-tax running number", 72, 85);
inline constexpr Field kTaxAttachNo = digits("withholding-tax attachment number", 86, 91);
inline constexpr Field kTaxItemCount = digits("number of withholding-tax items", 92, 93);
inline constexpr Field kTaxAmount = amount("withholding-tax amount", 94, 109, 3);
inline constexpr Field kInvoiceCount = digits("number of invoice lines", 110, 115);
inline constexpr Field kInvoiceTotal = amount("invoice total", 116, 131, 3);
inline constexpr Field kTaxPaidCondition = text("tax payment condition", 132, 132, {}, "0");
inline constexpr Field kFreeText = text("free text", 133, 172);
inline constexpr Field kTaxDate = date("withholding-tax date", 173, 180, DateForm::YyyyMmDd);
inline constexpr Field kBankCode = digits("receiving bank code", 181, 183);
inline constexpr Field kBankName = text("receiving bank name", 184, 218);
inline constexpr Field kBranchCode = digits("receiving branch code", 219, 222);
inline constexpr Field kBranchName = text("receiving branch name", 223, 257);
inline constexpr Field kChequeFlag = code("cheque flag", 258, 258, "C", "C for a manager cheque");
inline constexpr Field kFlag259 = code("flag", 259, 259, "N", {}, "N");
inline constexpr Field kReferenceNo = text("reference number", 260, 279);
inline constexpr Field kChequeType = code("cheque type", 280, 280, "1|4");
inline constexpr Field kReserved281 = filler(281, 283);
inline constexpr Field kServiceType = text("service type", 284, 285);
inline constexpr Field kReserved286 = filler(286, 355);
inline constexpr Field kFields[] = {
    kRecordType,       kCreditSequence, kCreditAccount, kAmount,       kCurrency,       kDebitSequence,
    kTaxFlag,          kInvoiceFlag,    kFlag64,        kDeliveryCode, kPickupLocation, kTaxFormCode,
    kTaxRunningNo,     kTaxAttachNo,    kTaxItemCount,  kTaxAmount,    kInvoiceCount,   kInvoiceTotal,
    kTaxPaidCondition, kFreeText,       kTaxDate,       kBankCode,     kBankName,       kBranchCode,
    kBranchName,       kChequeFlag,     kFlag259,       kReferenceNo,  kChequeType,     kReserved281,
    kServiceType,      kReserved286};
}  // namespace r003
inline constexpr Layout kRecord003{"credit record 003", r003::kFields, 355};
static_assert(tiles(kRecord003));

namespace r004 {
inline constexpr Field kRecordType = code("record type", 1, 3, "004", {}, "004");
inline constexpr Field kDebitSequence = digits("debit sequence number", 4, 11, {}, "00000001");
inline constexpr Field kCreditSequence = digits("credit sequence number", 12, 17, {}, "000001");
inline constexpr Field kPayeeCode = text("payee code", 18, 32);
inline constexpr Field kNameThai = text("payee name (Thai)", 33, 132, "a name holding a Thai consonant");
inline constexpr Field kAddress1 = text("payee address line 1", 133, 202);
inline constexpr Field kAddress2 = text("payee address line 2", 203, 272);
inline constexpr Field kAddress3 = text("payee address line 3", 273, 342);
inline constexpr Field kTaxId = text("payee tax identification number", 343, 352);
inline constexpr Field kNameEnglish =
    text("payee name (English)", 353, 422, "a name without a Thai consonant");
inline constexpr Field kReserved423 = filler(423, 432);
inline constexpr Field kReserved433 = filler(433, 442);
inline constexpr Field kReserved443 = filler(443, 506);
inline constexpr Field kReserved507 = filler(507, 606);
inline constexpr Field kReserved607 = filler(607, 676);
inline constexpr Field kReserved677 = filler(677, 746);
inline constexpr Field kReserved747 = filler(747, 816);
inline constexpr Field kFields[] = {kRecordType,  kDebitSequence, kCreditSequence, kPayeeCode,   kNameThai,
                                    kAddress1,    kAddress2,      kAddress3,       kTaxId,       kNameEnglish,
                                    kReserved423, kReserved433,   kReserved443,    kReserved507, kReserved607,
                                    kReserved677, kReserved747};
}  // namespace r004
inline constexpr Layout kRecord004{"payee record 004", r004::kFields, 816};
static_assert(tiles(kRecord004));

namespace r005 {
inline constexpr Field kRecordType = code("record type", 1, 3, "005", {}, "005");
inline constexpr Field kDebitSequence = digits("debit sequence number", 4, 11);
inline constexpr Field kCreditSequence = digits("credit sequence number", 12, 17);
inline constexpr Field kItemNo = digits("item number", 18, 19);
inline constexpr Field kTaxAmount = amount("withholding-tax amount", 20, 35, 3);
inline constexpr Field kIncomeType = text("income type", 36, 40, "right-aligned");
inline constexpr Field kDescription = text("description", 41, 120);
inline constexpr Field kTaxRate = digits("tax rate (per cent)", 121, 122);
inline constexpr Field kIncomeAmount = amount("income", 123, 138, 3);
inline constexpr Field kFields[] = {kRecordType, kDebitSequence, kCreditSequence, kItemNo,      kTaxAmount,
                                    kIncomeType, kDescription,   kTaxRate,        kIncomeAmount};
}  // namespace r005
inline constexpr Layout kRecord005{"withholding-tax record 005", r005::kFields, 138};
static_assert(tiles(kRecord005));

namespace r006 {
inline constexpr Field kRecordType = code("record type", 1, 3, "006", {}, "006");
inline constexpr Field kDebitSequence = digits("debit sequence number", 4, 11);
inline constexpr Field kCreditSequence = digits("credit sequence number", 12, 17);
inline constexpr Field kInvoiceLineNo = digits("invoice line number", 18, 23);
inline constexpr Field kInvoiceNo = text("invoice number", 24, 38);
inline constexpr Field kInvoiceAmount = signedAmount("invoice amount", 39, 54, 3);
inline constexpr Field kInvoiceDate = date("invoice date", 55, 62, DateForm::YyyyMmDd);
inline constexpr Field kDescription = filler(63, 132, "description");
inline constexpr Field kPoNo = text("purchase order number", 133, 147);
inline constexpr Field kVatAmount = signedAmount("VAT amount", 148, 163, 3);
inline constexpr Field kChargeAmount = signedAmount("charge amount", 164, 179, 3);
inline constexpr Field kTaxAmount = signedAmount("withholding-tax amount", 180, 195, 3);
inline constexpr Field kPrintFlag = text("print flag", 196, 196, "the Print setting of Default.ini", "T");
inline constexpr Field kFields[] = {
    kRecordType,  kDebitSequence, kCreditSequence, kInvoiceLineNo, kInvoiceNo, kInvoiceAmount, kInvoiceDate,
    kDescription, kPoNo,          kVatAmount,      kChargeAmount,  kTaxAmount, kPrintFlag};
}  // namespace r006
inline constexpr Layout kRecord006{"invoice record 006", r006::kFields, 196};
static_assert(tiles(kRecord006));

namespace r007 {
inline constexpr Field kRecordType = code("record type", 1, 3, "007", {}, "007");
inline constexpr Field kProductCode = code("product code", 4, 6, "DDR", {}, "DDR");
inline constexpr Field kDebitSequence = digits("debit sequence number", 7, 14, {}, "00000001");
inline constexpr Field kValueDate = date("effective date", 15, 22, DateForm::YyyyMmDd);
inline constexpr Field kProcessingRound = code("processing round", 23, 24, "00|01|02");
inline constexpr Field kCreditAccount = text("credit account", 25, 49, "left-aligned");
inline constexpr Field kCreditAccountType = digits("credit account type", 50, 51);
inline constexpr Field kCreditBank = digits("credit bank code", 52, 54, {}, "014");
inline constexpr Field kCreditBranch = digits("credit account branch", 55, 58);
inline constexpr Field kFeeAccount = text("debit fee account", 59, 83, "left-aligned");
inline constexpr Field kFeeAccountType = digits("debit fee account type", 84, 85);
inline constexpr Field kFeeBank = digits("debit fee bank code", 86, 88, {}, "014");
inline constexpr Field kFeeBranch = digits("debit fee account branch", 89, 92);
inline constexpr Field kCurrency = code("currency", 93, 95, "THB", {}, "THB");
inline constexpr Field kTotalAmount = amount("total amount", 96, 111, 3);
inline constexpr Field kDebitCount = digits("number of debits", 112, 117);
inline constexpr Field kReserved118 = filler(118, 300);
inline constexpr Field kFields[] = {
    kRecordType,        kProductCode, kDebitSequence, kValueDate,  kProcessingRound, kCreditAccount,
    kCreditAccountType, kCreditBank,  kCreditBranch,  kFeeAccount, kFeeAccountType,  kFeeBank,
    kFeeBranch,         kCurrency,    kTotalAmount,   kDebitCount, kReserved118};
}  // namespace r007
inline constexpr Layout kRecord007{"batch record 007", r007::kFields, 300};
static_assert(tiles(kRecord007));

namespace r008 {
inline constexpr Field kRecordType = code("record type", 1, 3, "008", {}, "008");
inline constexpr Field kDebitSequence = digits("batch sequence number", 4, 11, {}, "00000001");
inline constexpr Field kSequence = digits("debit sequence number", 12, 17);
inline constexpr Field kAccount = text("account", 18, 42, "left-aligned");
inline constexpr Field kCurrency = code("currency", 43, 45, "THB", {}, "THB");
inline constexpr Field kAmount = amount("amount", 46, 61, 3);
inline constexpr Field kReference = text("reference", 62, 78, "as it stands in the source");
inline constexpr Field kReserved79 = filler(79, 81);
inline constexpr Field kRest = text("name and reference text", 82, 112, "as it stands in the source");
inline constexpr Field kReserved113 = filler(113, 200);
inline constexpr Field kFields[] = {kRecordType, kDebitSequence, kSequence,   kAccount, kCurrency,
                                    kAmount,     kReference,     kReserved79, kRest,    kReserved113};
}  // namespace r008
inline constexpr Layout kRecord008{"debit record 008", r008::kFields, 200};
static_assert(tiles(kRecord008));

namespace r999 {
inline constexpr Field kRecordType = code("record type", 1, 3, "999", {}, "999");
inline constexpr Field kDebitCount = digits("number of debits", 4, 9);
inline constexpr Field kCreditCount = digits("number of credits", 10, 15);
inline constexpr Field kTotalAmount = amount("total amount", 16, 31, 3);
inline constexpr Field kFields[] = {kRecordType, kDebitCount, kCreditCount, kTotalAmount};
}  // namespace r999
inline constexpr Layout kTrailerRecord{"trailer record 999", r999::kFields, 31};
static_assert(tiles(kTrailerRecord));

}  // namespace qrv::layout
