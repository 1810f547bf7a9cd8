#include "convert/ResultReport.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "io/Platform.h"
#include "workbench/Workbench.h"

namespace qrv {

const char* ResultLayoutFile(int resultLayout) {
    switch (resultLayout) {
        case 1:
            return "rptResultNoErr.frf";
        case 2:
            return "rptResultNoUpload.frf";
        default:
            return "rptResult.frf";
    }
}

std::string AmountText(const std::string& amountField) {
    return std::string(Columns(amountField, 1, 13)) + "." + std::string(Columns(amountField, 14, 16));
}

namespace {

std::string integerText(const std::string& text, const char* what) {
    const auto value = ToInteger(text);
    if (!value) {
        throw QrvError("'" + text + "' is not a valid integer value (" + what + " of the result report)");
    }
    return std::to_string(*value);
}

}  // namespace

void PrintResultReport(Workbench& wb, const std::string& payType, const std::string& debitRecord,
                       const std::string& creditRecord, const std::string& amount,
                       const std::string& valueDate, const std::string& comName, const std::string& cusCap,
                       bool uploadWrittenThisRun) {
    ReportRunner& runner = wb.reports().result;
    RunState& run = wb.run;
    const WorkbenchFields& f = wb.fields;
    runner.loadLayout(wb.reports().layout(ResultLayoutFile(run.ResultLayout)));
    const auto set = [&runner](const char* name, const std::string& utf8) { runner.setVariable(name, utf8); };
    set("FromFile", cp874::sanitizeUtf8(f.edtSource));
    set("ToFile", run.UploadCreated ? cp874::sanitizeUtf8(f.edtDestination) : "");
    set("HashCode", f.edtHashValue);
    set("ComId", f.edtComId);
    set("PayType", cp874::toUtf8(payType));
    set("DebitRecord", integerText(debitRecord, "DebitRecord"));
    set("CreditRecord", integerText(creditRecord, "CreditRecord"));
    set("Amount", AmountText(amount));
    set("ComName", cp874::toUtf8(comName));
    set("ValueDate", cp874::toUtf8(valueDate));
    set("CusCap", cp874::toUtf8(cusCap));
    set("TotalZeroAcct", run.TotalZeroAcct);
    set("TotalZeroAm", run.TotalZeroAm);
    set("TotalNagativeAm", run.TotalNagativeAm);
    set("NoZeroAcct", run.NoZeroAcct);
    set("NoZeroAm", run.NoZeroAm);
    set("NoNagativeAm", run.NoNagativeAm);
    set("TotalReject", run.TotalReject);
    set("TotalBNKBRN", run.TotalBNKBRN);
    set("Error2million", run.Error2million);
    set("SpaceAmount", run.SpaceAmount);
    set("InvalidAmount", run.InvalidAmount);
    set("TotalError", run.TotalError);
    set("InvalidEffect", run.InvalidEffect);
    set("FutureEffect", run.FutureEffect);
    set("Length", run.Length);
    set("SignErr", run.SignErr);
    set("invalidDebitAcct", run.invalidDebitAcct);
    set("totalAmount", run.totalAmount);
    set("TotalRecord", run.TotalRecord);
    wb.ui().showReport(runner.prepare(wb.store()));
    // A voided upload goes; an earlier file of that name that this run did not write stays.
    if (!run.KeepUpload && uploadWrittenThisRun) {
        platform::removeQuietly(f.edtDestination);
    }
}

}  // namespace qrv
