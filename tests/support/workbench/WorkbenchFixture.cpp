#include "support/workbench/WorkbenchFixture.h"

namespace qrv::test {

WorkbenchFixture::WorkbenchFixture(Date today, const std::string& defaultIni)
    : TestData(today, defaultIni), wb(ui, store, clock, AppPaths{data, QRV_SOURCE_REPORTS}) {}

ReformatResult WorkbenchFixture::reformat() {
    return reformat(wb.reformatRequest());
}

ReformatResult WorkbenchFixture::reformat(const ReformatRequest& request) {
    Services services{store, clock, wb.reports(), wb.settings(), ui};
    last = qrv::reformat(request, services);
    return last;
}

}  // namespace qrv::test
