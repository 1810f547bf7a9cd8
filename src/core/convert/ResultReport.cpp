#include "convert/ResultReport.h"

#include <optional>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "convert/Reformat.h"
#include "layout/UploadLayouts.h"

namespace qrv {

const char* ResultLayoutFile(ResultLayout layout) {
    switch (layout) {
        case ResultLayout::NoErrors:
            return "rptResultNoErr.frf";
        case ResultLayout::NoUpload:
            return "rptResultNoUpload.frf";
        case ResultLayout::Result:
            break;
    }
    return "rptResult.frf";
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
    ReportRunner runner = services.reports.open(kResultRunner, ResultLayoutFile(values.layout));
    const bool uploadWritten = result.wrote(OutputKind::Upload);
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
    for (const ResultCounter& counter : ResultCounters(result)) {
        set(counter.name, counterText(counter.value));
    }
    services.showReport(runner, result);
}

}  // namespace qrv
