#include "convert/credit/McpDetailReport.h"

#include "base/Cp874.h"
#include "convert/ReformatRun.h"

namespace qrv {

void PrintMcpDetailReport(ReformatRun& run, const std::string& valueDate, const std::string& debitAccount) {
    if (!run.writes()) {
        return;
    }
    ReportRunner runner = run.services.reports.open(kResultRunner, "rptMcpDetail.frf");
    const std::string account = cp874::toUtf8(debitAccount);
    runner.setVariable("HashCode", run.result.hash);
    runner.setVariable("ComId", run.request.companyId);
    runner.setVariable("PayType", "Manager Cheque");
    runner.setVariable("ValueDate", cp874::toUtf8(valueDate));
    runner.setVariable("Acct", account);
    runner.setVariable("AcctFee", account);
    run.services.showReport(runner, run.result);
}

}  // namespace qrv
