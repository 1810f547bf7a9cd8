#pragma once

#include <cstdint>
#include <filesystem>

#include "store/Money.h"

// The tier-rate fee report of a media clearing file: credit lines ("102") of other banks counted in
// three amount tiers, each count times the tier's fee from "Config.ini".
namespace qrv {

class Workbench;

struct TierFees {
    Money fee1, fee2, fee3;
};

struct TierCounts {
    std::int64_t count1 = 0, count2 = 0, count3 = 0;
};

// Counts the "102" lines of `source` whose bank code (columns 28-30) is not "014" by the amount in
// columns 58-67 "." 68-69: tier 1 up to 100,000.00, tier 2 up to 500,000.00, tier 3 up to
// 2,000,000.00, none above. An amount that is no number throws QrvError naming the line.
TierCounts CountTiers(const std::filesystem::path& source);

// "Calculate Tier Rate Report": reads the fees afresh, counts and shows "DeductFee.frf" on the
// result runner. True when the report was shown (false when the source file does not exist).
bool RunTierRateFeeReport(Workbench& wb);

}  // namespace qrv
