#include "convert/debit/HashCheck.h"

#include "base/Cp874.h"
#include "convert/RejectSink.h"
#include "convert/RunCommit.h"
#include "convert/debit/DirectDebitHash.h"
#include "io/LineReader.h"
#include "layout/SourceLine.h"
#include "store/TableStore.h"

namespace qrv {

namespace {

using debit::ControlCheck;
using debit::ControlRecord;
using debit::DetailRecord;
using layout::SourceLine;

// The report of the check: the hash report when clean, the error report otherwise.
void showHashReport(const ControlRecord& control, const HashCheckRequest& request, Services& services,
                    HashCheckResult& result) {
    const bool clean = result.outcome == Outcome::Written;
    ReportRunner report = clean ? services.reports.open(kHashRunner, "rptGenHash.frf")
                                : services.reports.open(kHashErrorRunner, "rptGenHashError.frf");
    report.setVariable("ComName", cp874::toUtf8(control.companyName));
    report.setVariable("PayType", "Direct Debit ");
    report.setVariable("ValueDate", cp874::toUtf8(control.valueDateText()));
    report.setVariable("HashCode", clean ? result.hash : request.shownHash);
    report.setVariable("File Name", request.sourcePath.string());
    if (clean) {
        report.setVariable("Total Record", std::to_string(result.records));
    }
    services.showReport(report, result);
}

// The detail pass: each detail checked, its faults rejected into the error table and its sound debit
// into the hash table.
struct DetailPass {
    const ControlRecord& control;
    TableStore& store;
    RejectSink& rejects;
    std::int64_t count = 0;
    Money sum;

    void reject(Reject kind, const SourceLine& line, const layout::Field& field) {
        rejects.reject({kind, line.lineNo(), &field});
    }

    void check(const SourceLine& line) {
        ++count;
        const bool isShort = control.form == &layout::kHashShortForm;
        const DetailRecord d = debit::readDetailRecord(line, *control.form);
        if (!d.signValid) {
            reject(Reject::HashSign, line, layout::ddr::kSign);
        }
        const bool sameDate = d.effectiveDate == control.effectiveDateNumber;
        if (d.amount) {
            sum.addAt(*d.amount, [&] { return line.place(*d.amountField); });
        }
        if (d.accountValid && d.amount) {
            if (sameDate) {
                debit::AppendDebit(store, d);
            } else {
                reject(Reject::HashDate, line, layout::ddr::kDetailDate);
            }
        } else if (d.amount) {
            reject(sameDate && !isShort ? Reject::HashAccountLong : Reject::HashAccount, line,
                   layout::ddr::kAccount);
            if (!sameDate) {
                reject(Reject::HashDate, line, layout::ddr::kDetailDate);
            }
        } else if (!d.accountValid) {
            reject(Reject::HashAccount, line, layout::ddr::kAccount);
            reject(isShort ? Reject::HashAmountShort : Reject::HashAmount, line, *d.amountField);
        } else {
            reject(Reject::HashAmount, line, *d.amountField);
        }
    }
};

HashCheckResult check(const HashCheckRequest& request, Services& services) {
    HashCheckResult result;
    if (request.sourcePath.empty()) {
        services.message("No Input File. Please Browse Input File");
        result.refuse(RequestField::Source);
        return result;
    }
    const std::string hashValue = debit::SourceHash(request.sourcePath, services.events);
    // The checks read the file again: they must read the bytes the hash was taken of.
    LineReader reader{request.sourcePath, LineReader::Digesting::Yes};
    SourceLine line(request.sourcePath, layout::SourceFile::DirectDebitHash);
    if (!line.next(reader)) {
        line.read({}, 1);
    }
    services.events.setProgress(0);
    const ControlCheck checked = debit::checkControlRecord(line, services.clock.today());
    if (!checked.record) {
        services.message(checked.fault);
        return result;
    }
    const ControlRecord& control = *checked.record;
    const layout::HashForm& form = *control.form;

    TableStore& store = services.store;
    RunCommit commit(services);
    store.reset(debit::kHashTable);
    store.reset(debit::kHashErrorTable);
    RejectSink rejects(result, &store, RejectSink::Table::HashErrors);
    DetailPass pass{control, store, rejects, 0, Money()};
    while (line.next(reader)) {
        pass.check(line);
        services.checkCancelled();
        services.events.setProgress(debit::DetailProgress(pass.count, control.totalRecord));
    }

    commit.reading([&] { debit::RequireHashedBytes(request.sourcePath, hashValue, reader.finishReading()); });
    if (pass.sum != control.totalAmount) {
        rejects.reject({Reject::HashTotalAmount, 1, form.totalAmount});
    }
    if (pass.count != control.totalRecord) {
        rejects.reject({Reject::HashTotalRecord, 1, form.totalRecord});
    }

    result.records = pass.count;
    result.total = pass.sum;
    if (result.rejected.empty()) {
        result.outcome = Outcome::Written;
        result.hash = hashValue;
        result.control = control;
    } else {
        result.outcome = Outcome::AllRejected;
    }
    showHashReport(control, request, services, result);
    commit.commit();
    result.storeChanges = store.changesByOthers();
    return result;
}

}  // namespace

HashCheckResult checkDirectDebitFile(const HashCheckRequest& request, Services& services) {
    try {
        return check(request, services);
    } catch (const layout::SourceRefusal& refusal) {
        services.message(refusal.what());
        HashCheckResult result;
        result.refuse(RequestField::Source);
        return result;
    }
}

}  // namespace qrv
