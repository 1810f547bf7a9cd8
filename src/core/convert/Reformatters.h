#pragma once

namespace qrv {

class Workbench;

// The product reformatters that "Reformat Data" dispatches to. Each reads the workbench fields and the
// run state that the command has prepared, and reports through the workbench's Ui.
void ReformatDirectCredit(Workbench& wb);     // DCP, PAY, PA2, PA3
void ReformatMediaClearing(Workbench& wb);    // MCL, PA4, PA5, PA6
void ReformatManagerCheque(Workbench& wb);    // MCP
void ReformatDirectDebit100M(Workbench& wb);  // DDR

}  // namespace qrv
