#include "upload/UploadRecords.h"

#include "base/FieldHelpers.h"
#include "layout/UploadLayouts.h"

namespace qrv {

using namespace layout;

HeaderRecords BuildHeaderRecords(std::string_view comId, const Date& created) {
    const std::string date = created.yyyymmdd();
    RecordWriter credit(kHeaderRecord);
    credit.wholeText(r001::kCompanyId, comId);
    credit.text(r001::kCreationDate, date);
    credit.text(r001::kBatchDate, date);
    credit.text(r001::kValueDate, date);
    RecordWriter directDebit(kDirectDebitHeaderRecord);
    directDebit.wholeText(r001::kCompanyId, comId);
    directDebit.text(r001::kBatchDate, date);
    return {credit.record() + "\r\n", directDebit.record()};
}

void WriteAccount(RecordWriter& record, const Field& account, const Field& type, const Field& branch,
                  std::string_view accountText) {
    record.text(account, accountText);
    record.text(type, "0" + std::string(Columns(accountText, 4, 4)));
    record.text(branch, "0" + std::string(Columns(accountText, 1, 3)));
}

std::string TrailerRecord(std::int64_t debits, std::int64_t credits, std::string_view totalAmountField) {
    RecordWriter trailer(kTrailerRecord);
    trailer.number(r999::kDebitCount, debits);
    trailer.number(r999::kCreditCount, credits);
    trailer.digits(r999::kTotalAmount, totalAmountField);
    return trailer.record();
}

}  // namespace qrv
