#include "upload/UploadRecords.h"

#include "base/FieldHelpers.h"
#include "layout/UploadLayouts.h"

namespace qrv {

using namespace layout;

HeaderRecords BuildHeaderRecords(std::string_view comId, const Date& created) {
    const std::string date = created.yyyymmdd();
    const std::string_view id = Trim(comId);
    RecordWriter credit(kHeaderRecord);
    credit.text(r001::kCompanyId, id);
    credit.text(r001::kCreationDate, date);
    credit.text(r001::kBatchDate, date);
    credit.text(r001::kValueDate, date);
    RecordWriter directDebit(kDirectDebitHeaderRecord);
    directDebit.text(r001::kCompanyId, id);
    directDebit.text(r001::kBatchDate, date);
    return {credit.record() + "\r\n", directDebit.record()};
}

std::string DebitRecord(const DebitRecordValues& values) {
    RecordWriter r(kRecord002);
    r.text(r002::kProductCode, values.productCode);
    if (values.valueDate) {
        r.text(r002::kValueDate, values.valueDate->yyyymmdd());
    }
    if (values.debit != nullptr) {
        r.account(r002::kDebitAccount, r002::kDebitAccountType, r002::kDebitBranch, *values.debit);
    }
    if (values.fee != nullptr) {
        r.account(r002::kFeeAccount, r002::kFeeAccountType, r002::kFeeBranch, *values.fee);
    }
    if (!values.branch.empty()) {
        r.text(r002::kDebitBranch, values.branch);
        r.text(r002::kFeeBranch, values.branch);
    }
    r.amount(r002::kTotalAmount, values.total);
    r.number(r002::kCreditCount, values.credits);
    return r.record();
}

std::string TrailerRecord(std::int64_t debits, std::int64_t credits, Money total) {
    RecordWriter trailer(kTrailerRecord);
    trailer.number(r999::kDebitCount, debits);
    trailer.number(r999::kCreditCount, credits);
    trailer.amount(r999::kTotalAmount, total);
    return trailer.record();
}

}  // namespace qrv
