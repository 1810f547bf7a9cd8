#include "convert/debit/HashCheck.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "convert/RunCommit.h"
#include "convert/debit/DirectDebitHash.h"
#include "io/LineReader.h"
#include "layout/SourceLine.h"
#include "store/TableStore.h"

namespace qrv {

namespace {

using debit::AmountLayout;
using debit::ControlCheck;
using debit::ControlRecord;
using debit::DetailRecord;

std::string lineWhere(const std::string& file, std::int64_t lineNo) {
    return "line " + std::to_string(lineNo) + " of \"" + cp874::sanitizeUtf8(file) + "\"";
}

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

}  // namespace

HashCheckResult checkDirectDebitFile(const HashCheckRequest& request, Services& services) {
    HashCheckResult result;
    if (request.sourcePath.empty()) {
        services.message("No Input File. Please Browse Input File");
        result.refuse(RequestField::Source);
        return result;
    }
    const std::string source = request.sourcePath.string();
    std::string hashValue;
    try {
        hashValue = debit::SourceHash(request.sourcePath, services.events);
    } catch (const layout::TextNotCodePage874& refusal) {
        services.message(refusal.what());
        result.refuse(RequestField::Source);
        return result;
    }
    // The checks read the file again: they must read the bytes the hash was taken of.
    LineReader reader{request.sourcePath, LineReader::Digesting::Yes};
    std::string_view view;
    const std::string controlLine = reader.next(view) ? std::string(view) : std::string();
    services.events.setProgress(0);
    const ControlCheck check = debit::CheckControlRecord(controlLine, services.clock.today());
    if (!check.record) {
        services.message(check.fault);
        return result;
    }
    const ControlRecord& control = *check.record;
    const bool isShort = control.layout == AmountLayout::Short;

    TableStore& store = services.store;
    RunCommit commit(services);
    store.reset(debit::kHashTable);
    store.reset(debit::kHashErrorTable);
    bool valid = true;
    std::int64_t lineNo = 1;
    std::int64_t detailCount = 0;
    Money detailSum;
    const auto error = [&store, &valid, &lineNo, &result](const char* field, const char* detail) {
        result.reject(field, lineNo);
        store.append(debit::kHashErrorTable, {{"id_field", std::string()},
                                              {"CountLine", lineNo},
                                              {"Field Name Error", std::string(field)},
                                              {"Detail Error", std::string(detail)}});
        valid = false;
    };

    while (reader.next(view)) {
        ++lineNo;
        ++detailCount;
        const DetailRecord d = debit::ReadDetailRecord(view, control.layout);
        const std::int64_t effective = debit::DetailEffectiveDate(d, source, lineNo);
        // The sign is one digit, 0 or 1.
        const std::optional<std::int64_t> sign = layout::numberOf(d.sign, layout::ddr::kSign);
        if (!sign || *sign > 1) {
            error("Sign", "Invalid Sign");
        }
        const bool accountOk = d.accountValid;
        const bool amountOk = d.amount.has_value();
        const bool sameDate = effective == control.effectiveDateNumber;
        if (amountOk) {
            detailSum.add(*d.amount, lineWhere(source, lineNo));
        }
        if (accountOk && amountOk) {
            if (sameDate) {
                debit::AppendDebit(store, d);
            } else {
                error("Effective Date", "Invalid Effective Date");
            }
        } else if (amountOk) {
            if (sameDate) {
                error("Account No", isShort ? "Invalid Account No " : "Invalid Account No");
            } else {
                error("Account No", "Invalid Account No ");
                error("Effective Date", "Invalid Effective Date");
            }
        } else if (!accountOk) {
            error("Account No", "Invalid Account No ");
            error("Amount", isShort ? "Invalid Amount " : "Invalid Amount");
        } else {
            error("Amount", "Invalid Amount");
        }
        services.checkCancelled();
        services.events.setProgress(debit::DetailProgress(detailCount, control.totalRecord));
    }

    commit.reading([&] { debit::RequireHashedBytes(request.sourcePath, hashValue, reader.finishReading()); });
    lineNo = 1;
    if (!control.totalAmount || detailSum != *control.totalAmount) {
        error("Total Amount", "Check Total Amount Error ");
    }
    if (detailCount != control.totalRecord) {
        error("Total Record", "Check Total Record Error ");
    }

    result.records = detailCount;
    result.total = detailSum;
    if (valid) {
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

}  // namespace qrv
