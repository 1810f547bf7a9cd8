#pragma once

#include <cstdint>
#include <filesystem>

#include "base/Money.h"
#include "convert/RunResult.h"
#include "convert/Services.h"

// The tier-rate fee report of a media clearing file: credit lines ("102") of other banks than the home
// bank counted in three amount tiers (up to 100,000.00, 500,000.00 and 2,000,000.00 baht; none above),
// each count times the tier's fee from "Config.ini", section "ThreeTierRate".
namespace qrv {

struct TierFeeRequest {
    std::filesystem::path sourcePath;
    std::filesystem::path configPath;  // "Config.ini", read afresh
};

// The lines counted and the fee of each tier; `records` is the lines of all three, `total` the total fee.
struct TierFeeResult : RunResult {
    std::int64_t tier1Lines = 0, tier2Lines = 0, tier3Lines = 0;
    Money tier1Fee, tier2Fee, tier3Fee;
};

// "Calculate Tier Rate Report": counts the lines of the source file and shows "DeductFee.frf" on the
// result runner. Refused when the source file does not exist; Written when the report was shown. A fee or
// an amount that is no number throws QrvError naming it.
TierFeeResult tierRateFeeReport(const TierFeeRequest& request, Services& services);

}  // namespace qrv
