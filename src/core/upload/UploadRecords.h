#pragma once

#include <string>
#include <string_view>

#include "base/Date.h"

// The common records of the upload file. Each field holds its final text (code page 874); writing a
// record concatenates its fields in order. Reformatters pad values with PadText/PadNumber.
namespace qrv {

// Debit record "002" (109 characters with all defaults).
struct Record002 {
    std::string RecordType, ProductCode, ValueDate, DebitAccount, DebitAccountType, DebitBranch, Currency,
        TotalAmount, DebitSequence, CreditCount, FeeAccount, FeeAccountType, FeeBranch;
    std::string text() const;
};

// Credit record "003" (355 characters).
struct Record003 {
    std::string RecordType, CreditSequence, CreditAccount, Amount, Currency, DebitSequence, WhtFlag,
        InvoiceFlag, Flag9, DeliveryCode, PickupLocation, WhtFormCode, WhtRunNo, WhtAttachNo, WhtItemCount,
        WhtAmount, InvoiceCount, InvoiceTotal, TaxPaidCondition, FreeText, WhtDate, BankCode, BankName,
        BranchCode, BranchName, ChequeFlag, Flag27, ReferenceNo, ChequeType, Reserved30, ServiceType,
        Reserved32;
    std::string text() const;
};

// Payee record "004" (816 characters).
struct Record004 {
    std::string RecordType, DebitSequence, CreditSequence, PayeeCode, NameThai, Address1, Address2, Address3,
        TaxId, NameEnglish, Reserved11, Reserved12, Reserved13, Reserved14, Reserved15, Reserved16,
        Reserved17;
    std::string text() const;
};

// Withholding-tax record "005" (138 characters).
struct Record005 {
    std::string RecordType, DebitSequence, CreditSequence, ItemNo, WhtAmount, IncomeType, Description,
        TaxRate, IncomeAmount;
    std::string text() const;
};

// Invoice record "006" (196 characters).
struct Record006 {
    std::string RecordType, DebitSequence, CreditSequence, InvoiceLineNo, InvoiceNo, InvoiceAmount,
        InvoiceDate, Description, PoNo, VatAmount, ChargeAmount, WhtAmount, PrintFlag;
    std::string text() const;
};

struct RecordFields {
    Record002 r002;
    Record003 r003;
    Record004 r004;
    Record005 r005;
    Record006 r006;
};

// Every field of records 002 to 006 back to its default; `printFlag` is the "Print" setting.
void ResetRecordFields(RecordFields& records, std::string_view printFlag);

struct HeaderRecords {
    std::string HeaderRecord;    // 96 characters and CR LF
    std::string HeaderRecordDD;  // 96 characters, no line end
};
// Both header variants for a company id (code page 874) and the creation date.
HeaderRecords BuildHeaderRecords(std::string_view comId, const Date& created);

// Trailer "999": debits (6 digits), credits (6 digits), total amount field.
std::string TrailerRecord(std::int64_t debits, std::int64_t credits, std::string_view totalAmountField);

}  // namespace qrv
