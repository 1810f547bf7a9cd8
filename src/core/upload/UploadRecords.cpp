#include "upload/UploadRecords.h"

#include "base/FieldHelpers.h"
#include "base/FieldWidth.h"

namespace qrv {
namespace {

template <typename... Fields>
std::string join(const Fields&... fields) {
    std::string s;
    s.reserve((fields.size() + ...));
    (s.append(fields), ...);
    return s;
}

std::string blanks(int n) {
    return std::string(static_cast<size_t>(n), ' ');
}
std::string zeros(int n) {
    return std::string(static_cast<size_t>(n), '0');
}

}  // namespace

std::string Record002::text() const {
    return join(RecordType, ProductCode, ValueDate, DebitAccount, DebitAccountType, DebitBranch, Currency,
                TotalAmount, DebitSequence, CreditCount, FeeAccount, FeeAccountType, FeeBranch);
}

std::string Record003::text() const {
    return join(RecordType, CreditSequence, CreditAccount, Amount, Currency, DebitSequence, WhtFlag,
                InvoiceFlag, Flag9, DeliveryCode, PickupLocation, WhtFormCode, WhtRunNo, WhtAttachNo,
                WhtItemCount, WhtAmount, InvoiceCount, InvoiceTotal, TaxPaidCondition, FreeText, WhtDate,
                BankCode, BankName, BranchCode, BranchName, ChequeFlag, Flag27, ReferenceNo, ChequeType,
                Reserved30, ServiceType, Reserved32);
}

std::string Record004::text() const {
    return join(RecordType, DebitSequence, CreditSequence, PayeeCode, NameThai, Address1, Address2, Address3,
                TaxId, NameEnglish, Reserved11, Reserved12, Reserved13, Reserved14, Reserved15, Reserved16,
                Reserved17);
}

std::string Record005::text() const {
    return join(RecordType, DebitSequence, CreditSequence, ItemNo, WhtAmount, IncomeType, Description,
                TaxRate, IncomeAmount);
}

std::string Record006::text() const {
    return join(RecordType, DebitSequence, CreditSequence, InvoiceLineNo, InvoiceNo, InvoiceAmount,
                InvoiceDate, Description, PoNo, VatAmount, ChargeAmount, WhtAmount, PrintFlag);
}

void ResetRecordFields(RecordFields& r, std::string_view printFlag) {
    r.r002 = Record002{"002",     blanks(3),  blanks(8), blanks(25), "00", "0000", "THB",
                       zeros(16), "00000001", "000000",  blanks(25), "00", "0000"};
    r.r003 = Record003{"003",     "000001",   blanks(25), zeros(16),  "THB",     zeros(8),   "N",
                       "N",       "N",        blanks(1),  blanks(4),  "00",      blanks(14), "000000",
                       "00",      zeros(16),  "000000",   zeros(16),  "0",       blanks(40), blanks(8),
                       "000",     blanks(35), "0000",     blanks(35), blanks(1), "N",        blanks(20),
                       blanks(1), blanks(3),  blanks(2),  blanks(70)};
    r.r004 = Record004{"004",      "00000001",  "000001",   blanks(15), blanks(100), blanks(70),
                       blanks(70), blanks(70),  blanks(10), blanks(70), blanks(10),  blanks(10),
                       blanks(64), blanks(100), blanks(70), blanks(70), blanks(70)};
    r.r005 = Record005{"005", zeros(8), "000000", "00", zeros(16), blanks(5), blanks(80), "00", zeros(16)};
    r.r006 = Record006{"006",
                       zeros(8),
                       "000000",
                       "000000",
                       blanks(15),
                       zeros(16),
                       blanks(8),
                       blanks(70),
                       blanks(15),
                       zeros(16),
                       zeros(16),
                       zeros(16),
                       std::string(printFlag)};
}

HeaderRecords BuildHeaderRecords(std::string_view comId, const Date& created) {
    const std::string date = created.yyyymmdd();
    const std::string company = PadText(comId, 12);
    HeaderRecords h;
    h.HeaderRecord =
        "001" + company + date + blanks(24) + date + "000000" + "BCM" + date + blanks(24) + "\r\n";
    h.HeaderRecordDD = "001" + company + blanks(32) + date + "000000" + "BCM" + blanks(32);
    return h;
}

std::string TrailerRecord(std::int64_t debits, std::int64_t credits, std::string_view totalAmountField) {
    return "999" + NumberField(debits, 6, "debit count of the trailer") +
           NumberField(credits, 6, "credit count of the trailer") + std::string(totalAmountField);
}

}  // namespace qrv
