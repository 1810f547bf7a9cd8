#include "convert/ResultReport.h"

#include <algorithm>
#include <optional>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "convert/Reformat.h"
#include "io/Platform.h"
#include "layout/UploadLayouts.h"

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
    // The whole baht, a point, the decimals of the 16-digit amount field (any record's: they are alike).
    const layout::Field& amount = layout::r999::kTotalAmount;
    const size_t whole = static_cast<size_t>(amount.width() - amount.decimals);
    const std::string_view text = amountField;
    return std::string(text.substr(0, whole)) + "." +
           std::string(whole < text.size() ? text.substr(whole, static_cast<size_t>(amount.decimals)) : "");
}

namespace {

std::string integerText(const std::string& text, const char* what) {
    const auto value = ToInteger(text);
    if (!value) {
        throw QrvError("'" + text + "' is not a valid integer value (" + what + " of the result report)");
    }
    return std::to_string(*value);
}

// A counter the product does not keep prints empty.
std::string counterText(const std::optional<std::int64_t>& counter) {
    return counter ? std::to_string(*counter) : std::string();
}

}  // namespace

void ShowResultReport(const ReformatRequest& request, ReformatResult& result,
                      const ResultReportValues& values, Services& services) {
    if (request.dryRun) {
        return;  // a dry run shows no report: its tables are rolled back
    }
    ReportRunner& runner = services.reports.result;
    runner.loadLayout(services.reports.layout(ResultLayoutFile(values.layout)));
    const bool uploadWritten = result.wrote(OutputKind::Upload);
    const ResultCounters& c = result.counters;
    const auto set = [&runner](const char* name, const std::string& utf8) { runner.setVariable(name, utf8); };
    set("FromFile", cp874::sanitizeUtf8(request.sourcePath.string()));
    set("ToFile", uploadWritten ? cp874::sanitizeUtf8(request.destinationPath.string()) : "");
    set("HashCode", result.hash);
    set("ComId", request.companyId);
    set("PayType", cp874::toUtf8(values.payType));
    set("DebitRecord", integerText(values.debitRecord, "DebitRecord"));
    set("CreditRecord", integerText(values.creditRecord, "CreditRecord"));
    set("Amount", AmountText(values.amount));
    set("ComName", cp874::toUtf8(values.comName));
    set("ValueDate", cp874::toUtf8(values.valueDate));
    set("CusCap", cp874::toUtf8(values.cusCap));
    set("TotalZeroAcct", counterText(c.TotalZeroAcct));
    set("TotalZeroAm", counterText(c.TotalZeroAm));
    set("TotalNagativeAm", counterText(c.TotalNagativeAm));
    set("NoZeroAcct", counterText(c.NoZeroAcct));
    set("NoZeroAm", counterText(c.NoZeroAm));
    set("NoNagativeAm", counterText(c.NoNagativeAm));
    set("TotalReject", counterText(c.TotalReject));
    set("TotalBNKBRN", counterText(c.TotalBNKBRN));
    set("Error2million", counterText(c.Error2million));
    set("SpaceAmount", counterText(c.SpaceAmount));
    set("InvalidAmount", counterText(c.InvalidAmount));
    set("TotalError", counterText(c.TotalError));
    set("InvalidEffect", counterText(c.InvalidEffect));
    set("FutureEffect", counterText(c.FutureEffect));
    set("Length", counterText(c.Length));
    set("SignErr", counterText(c.SignErr));
    set("invalidDebitAcct", counterText(c.invalidDebitAcct));
    set("totalAmount", counterText(c.totalAmount));
    set("TotalRecord", counterText(c.TotalRecord));
    services.showReport(runner, result);
    // A voided upload goes; an earlier file of that name that this run did not write stays.
    if (!values.keepUpload && uploadWritten) {
        platform::removeQuietly(request.destinationPath);
        std::erase_if(result.written, [](const WrittenFile& f) { return f.kind == OutputKind::Upload; });
    }
}

}  // namespace qrv
