#include "convert/debit/CoverLetter.h"

#include "base/Cp874.h"
#include "convert/RequestFault.h"
#include "convert/RunCommit.h"
#include "convert/debit/DirectDebitHash.h"
#include "io/LineReader.h"
#include "layout/SourceLine.h"
#include "store/TableStore.h"

namespace qrv {

namespace {

constexpr const char* kNoCheckedHash =
    "Click button Generate Hash or if Generate Hash have ERROR can not Cover Letter";

// Reads the file again and checks its control record as the hash check does, Report_Hash refilled with
// the acceptable debits; nothing when a control-record fault ends the letter (its message shown).
std::optional<debit::ControlRecord> readDebits(const CoverLetterRequest& request,
                                               const std::string& hashValue, Services& services,
                                               CoverLetterResult& result) {
    // The letter reads the file again: it must read the bytes the hash was taken of.
    LineReader reader{request.sourcePath, LineReader::Digesting::Yes};
    layout::SourceLine line(request.sourcePath, layout::SourceFile::DirectDebitHash);
    if (!line.next(reader)) {
        line.read({}, 1);
    }
    services.events.setProgress(0);
    TableStore& store = services.store;
    // The short-amount layout empties the table as soon as TOTAL RECORD has passed.
    const debit::ControlCheck check =
        debit::checkControlRecord(line, services.clock.today(), [&store] { store.reset(debit::kHashTable); });
    if (!check.record) {
        services.message(check.fault);
        return std::nullopt;
    }
    const debit::ControlRecord& control = *check.record;
    if (control.form == &layout::kHashLongForm) {
        store.reset(debit::kHashTable);
    }

    std::int64_t detailCount = 0;
    while (line.next(reader)) {
        ++detailCount;
        const debit::DetailRecord d = debit::readDetailRecord(line, *control.form);
        if (d.accountValid && d.amount && d.effectiveDate == control.effectiveDateNumber) {
            debit::AppendDebit(store, d);
            ++result.records;
        }
        services.checkCancelled();
        services.events.setProgress(debit::DetailProgress(detailCount, control.totalRecord));
    }
    debit::RequireHashedBytes(request.sourcePath, hashValue, reader.finishReading());
    return control;
}

}  // namespace

std::optional<RequestFault> requestFault(const CoverLetterRequest& request) {
    return FirstTooLong(
        {{RequestField::Account, request.account.accountName, maxLength(AccountField::accountName)}});
}

namespace {

CoverLetterResult letter(const CoverLetterRequest& request, Services& services) {
    CoverLetterResult result;
    if (const std::optional<RequestFault> fault = requestFault(request)) {
        result.refuse(fault->field);
        return result;
    }
    if (request.hash.empty()) {
        services.message(kNoCheckedHash);
        return result;
    }
    bool checked = request.checked && request.checked->control && request.checked->hash == request.hash;
    // The letter is only for the file that passed the check, unchanged since: another file, or the same
    // one changed, has a hash of its own (an unreadable file says so and fails below).
    std::string hashValue = request.hash;
    if (!checked) {
        hashValue = debit::SourceHash(request.sourcePath, services.events);
        if (!hashValue.empty() && hashValue != request.hash) {
            services.message(kNoCheckedHash);
            return result;
        }
    }
    const AccountEntryCheck account = CheckAccountEntry(request.account);
    if (!account.account) {
        services.message(account.fault);
        result.refuse(RequestField::Account);
        return result;
    }
    result.account = account.account;

    RunCommit commit(services);
    if (checked) {
        // The check's debits are the letter's only while no other run has changed the tables since; held
        // so until the letter is shown. Otherwise the file is read again, as without a check.
        services.store.holdWriteLock();
        checked = services.store.changesByOthers() == request.checked->storeChanges;
        if (checked) {
            services.store.adoptRows(debit::kHashTable);
        }
    }
    const std::optional<debit::ControlRecord> control =
        checked ? request.checked->control
                : commit.reading([&] { return readDebits(request, hashValue, services, result); });
    if (!control) {
        return result;
    }
    if (checked) {
        result.records = request.checked->records;
    }
    result.outcome = Outcome::Written;
    result.hash = hashValue;
    ReportRunner report = services.reports.open(kCoverLetterRunner, "rptCoverLetter.frf");
    report.setVariable("ComName", cp874::toUtf8(control->companyName));
    report.setVariable("TransDate", cp874::toUtf8(control->transferDateText()));
    report.setVariable("ComID", cp874::toUtf8(control->companyCode));
    report.setVariable("TotalRecord", cp874::toUtf8(control->totalRecordText()));
    report.setVariable("TotalAmount", cp874::toUtf8(control->totalAmountText()));
    report.setVariable("HashCode", result.hash);
    report.setVariable("AccountNumber", result.account->number.grouped());
    report.setVariable("NameAccount", result.account->name);
    services.showReport(report, result);
    commit.commit();
    return result;
}

}  // namespace

CoverLetterResult printCoverLetter(const CoverLetterRequest& request, Services& services) {
    try {
        return letter(request, services);
    } catch (const layout::SourceRefusal& refusal) {
        services.message(refusal.what());
        return CoverLetterResult();
    }
}

}  // namespace qrv
