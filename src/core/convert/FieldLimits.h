#pragma once

#include "layout/DebitSourceLayouts.h"
#include "layout/UploadLayouts.h"

namespace qrv {

// The most characters each typed text of a request holds, as the window's fields take them; the command
// line refuses a longer value as a usage error.
struct FieldLimits {
    static constexpr int companyId = layout::r001::kCompanyId.width();
    static constexpr int companyCode = layout::ddr::kCompanyCode.width();  // Convert 100 M
    static constexpr int debitAccount = 25;
    static constexpr int feeAccount = 25;
    static constexpr int creditAccount = 10;    // Direct Debit (100M)
    static constexpr int debitFeeAccount = 10;  // Direct Debit (100M)
};

}  // namespace qrv
