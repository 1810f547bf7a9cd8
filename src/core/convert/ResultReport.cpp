#include "convert/ResultReport.h"

#include <optional>

#include "base/Cp874.h"
#include "convert/ReformatResult.h"
#include "convert/ResultCounters.h"
#include "convert/Services.h"
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

std::string AmountText(const std::optional<Money>& amount) {
    if (!amount) {
        return "0.";
    }
    // The whole baht, a point, the decimals of the 16-digit amount field (any record's: they are alike).
    const layout::Field& field = layout::r999::kTotalAmount;
    const std::string text = amount->toAmountField(field.width());
    const size_t whole = text.size() - static_cast<size_t>(field.decimals);
    return text.substr(0, whole) + "." + text.substr(whole);
}

namespace {

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
    set("DebitRecord", std::to_string(values.debitRecord));
    set("CreditRecord", std::to_string(values.creditRecord));
    set("Amount", AmountText(values.amount));
    set("ComName", cp874::toUtf8(values.comName));
    set("ValueDate", cp874::toUtf8(values.valueDate));
    set("CusCap", cp874::toUtf8(values.cusCap));
    for (const ResultCounter& counter : resultCounters(result)) {
        set(counter.name, counterText(counter.value));
    }
    services.showReport(runner, result);
}

}  // namespace qrv
