#include "convert/debit/CoverLetter.h"

#include "base/Cp874.h"
#include "convert/debit/DirectDebitHash.h"
#include "io/LineReader.h"
#include "layout/SourceLine.h"
#include "store/TableStore.h"

namespace qrv {

namespace {

// The account of the letter: given as data or asked through the dialog; nothing when not confirmed.
std::optional<AccountEntry> accountOf(const CoverLetterRequest& request, Events& events) {
    AccountEntryDialog dialog;
    dialog.Accepted = true;
    dialog.clearFields();
    dialog.visible = true;
    if (request.account) {
        dialog.typeAndConfirm(*request.account, events);
    } else {
        events.askAccountEntry(dialog);
    }
    dialog.visible = false;
    if (!dialog.Accepted) {
        return std::nullopt;
    }
    return dialog.entry;
}

constexpr const char* kNoCheckedHash =
    "Click button Generate Hash or if Generate Hash have ERROR can not Cover Letter";

}  // namespace

CoverLetterResult printCoverLetter(const CoverLetterRequest& request, Services& services) {
    CoverLetterResult result;
    if (request.hash.empty()) {
        services.message(kNoCheckedHash);
        return result;
    }
    // The letter is only for the file that passed the check, unchanged since: another file, or the same
    // one changed, has a hash of its own (an unreadable file says so and fails below).
    std::string hashValue;
    try {
        hashValue = debit::SourceHash(request.sourcePath, services.events);
    } catch (const layout::TextNotCodePage874& refusal) {
        services.message(refusal.what());
        return result;
    }
    if (!hashValue.empty() && hashValue != request.hash) {
        services.message(kNoCheckedHash);
        return result;
    }
    result.account = accountOf(request, services.events);
    if (!result.account) {
        return result;
    }

    const std::string source = request.sourcePath.string();
    LineReader reader{request.sourcePath};
    std::string_view view;
    const std::string controlLine = reader.next(view) ? std::string(view) : std::string();
    services.events.setProgress(0);
    TableStore& store = services.store;
    TableStore::CommandScope scope(store);
    // The short-amount layout empties the table as soon as TOTAL RECORD has passed.
    const debit::ControlCheck check = debit::CheckControlRecord(controlLine, services.clock.today(),
                                                                [&store] { store.reset(debit::kHashTable); });
    if (!check.record) {
        services.message(check.fault);
        return result;
    }
    const debit::ControlRecord& control = *check.record;
    if (control.layout == debit::AmountLayout::Long) {
        store.reset(debit::kHashTable);
    }

    std::int64_t lineNo = 1;
    std::int64_t detailCount = 0;
    while (reader.next(view)) {
        ++lineNo;
        ++detailCount;
        const debit::DetailRecord d = debit::ReadDetailRecord(view, control.layout);
        const std::int64_t effective = debit::DetailEffectiveDate(d, source, lineNo);
        if (d.accountValid && d.amount && effective == control.effectiveDateNumber) {
            debit::AppendDebit(store, d);
            ++result.records;
        }
        services.checkCancelled();
        services.events.setProgress(debit::DetailProgress(detailCount, control.totalRecord));
    }

    result.outcome = Outcome::Written;
    result.hash = hashValue;
    ReportRunner& report = services.reports.coverLetter;
    report.loadLayout(services.reports.layout("rptCoverLetter.frf"));
    report.setVariable("ComName", cp874::toUtf8(control.companyName));
    report.setVariable("TransDate", cp874::toUtf8(control.transferDateText()));
    report.setVariable("ComID", cp874::toUtf8(control.companyCode));
    report.setVariable("TotalRecord", cp874::toUtf8(control.totalRecordText()));
    report.setVariable("TotalAmount", cp874::toUtf8(control.totalAmountText()));
    report.setVariable("HashCode", result.hash);
    report.setVariable("AccountNumber", debit::AccountNumberText(result.account->AccountNo));
    report.setVariable("NameAccount", result.account->AccountName);
    services.showReport(report, result);
    return result;
}

}  // namespace qrv
