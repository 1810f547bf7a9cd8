#include "reformat/Reformatters.h"
#include "workbench/Workbench.h"

// Products whose reformatter is not part of this build yet.
namespace qrv {

namespace {
void notAvailable(Workbench& wb) {
    wb.message("This product cannot be reformatted by this version.");
}
}  // namespace

void ReformatMediaClearing(Workbench& wb) {
    notAvailable(wb);
}
void ReformatManagerCheque(Workbench& wb) {
    notAvailable(wb);
}
void ReformatDirectDebit100M(Workbench& wb) {
    notAvailable(wb);
}

}  // namespace qrv
