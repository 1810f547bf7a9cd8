#pragma once

// The tier-rate fee report of a media clearing file: credit lines ("102") of other banks than the home
// bank counted in three amount tiers (up to 100,000.00, 500,000.00 and 2,000,000.00 baht; none above),
// each count times the tier's fee from "Config.ini", section "ThreeTierRate".
namespace qrv {

class Workbench;

// "Calculate Tier Rate Report": reads the fees afresh, counts the lines of the source file and shows
// "DeductFee.frf" on the result runner. True when the report was shown (false when the source file
// does not exist). A fee or an amount that is no number throws QrvError naming it.
bool RunTierRateFeeReport(Workbench& wb);

}  // namespace qrv
