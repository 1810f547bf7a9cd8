#include "reformat/Reformatters.h"
#include "workbench/Workbench.h"

// Products whose reformatter is not part of this build yet.
namespace qrv {

void ReformatDirectCredit(Workbench& wb) { wb.message("This product cannot be reformatted by this version."); }

}  // namespace qrv
