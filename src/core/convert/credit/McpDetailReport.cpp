#include "convert/credit/McpDetailReport.h"

#include "base/Cp874.h"
#include "workbench/Workbench.h"

namespace qrv {

void PrintMcpDetailReport(Workbench& wb, const std::string& valueDate, const std::string& debitAccount) {
    ReportRunner& runner = wb.reports().result;
    runner.loadLayout(wb.reports().layout("rptMcpDetail.frf"));
    const std::string account = cp874::toUtf8(debitAccount);
    runner.setVariable("HashCode", wb.fields.edtHashValue);
    runner.setVariable("ComId", wb.fields.edtComId);
    runner.setVariable("PayType", "Manager Cheque");
    runner.setVariable("ValueDate", cp874::toUtf8(valueDate));
    runner.setVariable("Acct", account);
    runner.setVariable("AcctFee", account);
    wb.ui().showReport(runner.prepare(wb.store()));
}

}  // namespace qrv
