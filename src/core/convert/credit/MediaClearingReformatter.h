#pragma once

#include <string_view>

// Media Clearing and Media Clearing Payroll 1, 2 and 3 (MCL, PA4, PA5, PA6): interbank credits with
// bank and branch look-ups, the 2,000,000 limit for other sending banks, and an upload file that goes
// through whole or not at all. The reformatter itself is reformatMediaClearing (convert/ReformatRun.h).
namespace qrv {

// The text of a service type code for the detail table; empty for any code not in the list.
std::string_view MediaClearingServiceType(std::string_view code);

}  // namespace qrv
