#include "convert/TierRateFeeReport.h"

#include "upload/RecordText.h"

#include <algorithm>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/FieldHelpers.h"
#include "base/Money.h"
#include "base/QrvError.h"
#include "io/InputGuards.h"
#include "io/LineReader.h"
#include "store/Settings.h"
#include "store/TableStore.h"

namespace qrv {

namespace {

struct TierFees {
    Money fee1, fee2, fee3;
};

struct TierCounts {
    std::int64_t count1 = 0, count2 = 0, count3 = 0;
};

constexpr Money kTier1Top = Money::fromUnits(100'000LL * Money::kScale);
constexpr Money kTier2Top = Money::fromUnits(500'000LL * Money::kScale);
constexpr Money kTier3Top = Money::fromUnits(2'000'000LL * Money::kScale);

// A fee setting as a decimal number; anything else is a conversion error, and a fee below zero (which
// would pay the customer for each credit) is no fee.
Money feeValue(const std::string& text, const char* key, const std::filesystem::path& file) {
    const std::optional<Money> fee = Money::fromDecimalText(Trim(text));
    const std::string where = std::string(key) + " in section ThreeTierRate of \"" + file.string() + "\"";
    if (!fee) {
        throw QrvError("'" + text + "' is not a valid number (" + where + ")");
    }
    if (*fee < Money()) {
        throw QrvError("'" + text + "' is not a valid fee: a fee is not below zero (" + where + ")");
    }
    return *fee;
}

Money times(Money fee, std::int64_t count, const char* tier) {
    std::int64_t units = 0;
    if (__builtin_mul_overflow(fee.units(), count, &units)) {
        throw QrvError(std::string("The fee of ") + tier + " overflows");
    }
    return Money::fromUnits(units);
}

// The amount of columns 58-67 "." 68-69 (leading blanks allowed), or nothing when that is no amount.
std::optional<Money> lineAmount(std::string_view line) {
    const std::string_view digits = Columns(line, 58, 69);
    if (digits.size() == 12 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        // The usual line, twelve digits: satang counted directly.
        std::int64_t satang = 0;
        for (const char c : digits) {
            satang = satang * 10 + (c - '0');
        }
        return Money::fromUnits(satang * (Money::kScale / 100));
    }
    // Blanks or a sign alone in the baht columns are no amount (they would read as zero).
    std::string_view whole = TrimLeading(Columns(line, 58, 67));
    if (!whole.empty() && (whole.front() == '+' || whole.front() == '-')) {
        whole.remove_prefix(1);
    }
    if (whole.empty()) {
        return std::nullopt;
    }
    const std::string text(std::string(TrimLeading(Columns(line, 58, 67))) + "." +
                           std::string(Columns(line, 68, 69)));
    const std::optional<Money> amount = Money::fromDecimalText(text);
    if (!amount || Columns(line, 68, 69).size() != 2) {
        return std::nullopt;
    }
    return amount;
}

TierCounts countLines(LineReader& reader, const std::filesystem::path& source) {
    TierCounts counts;
    std::string_view line;
    while (reader.next(line)) {
        if (Columns(line, 1, 3) != "102" || Columns(line, 28, 30) == kHomeBankCode) {
            continue;
        }
        const std::optional<Money> amount = lineAmount(line);
        if (!amount) {
            const std::string text(std::string(TrimLeading(Columns(line, 58, 67))) + "." +
                                   std::string(Columns(line, 68, 69)));
            throw QrvError("'" + text + "' is not a valid amount (line " +
                           std::to_string(reader.lineNumber()) + " of \"" + source.string() +
                           "\", columns 58-69)");
        }
        if (*amount <= kTier1Top) {
            ++counts.count1;
        } else if (*amount <= kTier2Top) {
            ++counts.count2;
        } else if (*amount <= kTier3Top) {
            ++counts.count3;
        }
    }
    return counts;
}

}  // namespace

TierFeeResult tierRateFeeReport(const TierFeeRequest& request, Services& services) {
    TierFeeResult result;
    const std::filesystem::path& config = request.configPath;
    const Settings settings = Settings::load(config);
    const std::string fee1Text = settings.get("ThreeTierRate", "RangeFee1", "");
    const std::string fee2Text = settings.get("ThreeTierRate", "RangeFee2", "");
    const std::string fee3Text = settings.get("ThreeTierRate", "RangeFee3", "");

    if (const auto refusal = notRegularFile(request.sourcePath, "source")) {
        services.message(*refusal);
        return result;
    }
    if (!FileExists(request.sourcePath)) {
        services.message("Source file name does not exist. Please insert valid file name and retry");
        return result;
    }
    if (const auto refusal = notCodePage874(request.sourcePath)) {
        services.message(*refusal);
        return result;
    }
    const std::filesystem::path& source = request.sourcePath;
    LineReader reader(source);
    const TierFees fees{feeValue(fee1Text, "RangeFee1", config), feeValue(fee2Text, "RangeFee2", config),
                        feeValue(fee3Text, "RangeFee3", config)};
    const TierCounts counts = countLines(reader, source);

    result.tier1Lines = counts.count1;
    result.tier2Lines = counts.count2;
    result.tier3Lines = counts.count3;
    result.tier1Fee = times(fees.fee1, counts.count1, "tier 1");
    result.tier2Fee = times(fees.fee2, counts.count2, "tier 2");
    result.tier3Fee = times(fees.fee3, counts.count3, "tier 3");
    result.records = counts.count1 + counts.count2 + counts.count3;
    result.total =
        result.tier1Fee.plus(result.tier2Fee, "the total fee").plus(result.tier3Fee, "the total fee");
    result.outcome = Outcome::Written;

    // The report's variables, made from the result.
    ReportRunner& runner = services.reports.result;
    runner.loadLayout(services.reports.layout("DeductFee.frf"));
    runner.setVariable("report_range1", std::to_string(result.tier1Lines));
    runner.setVariable("report_range2", std::to_string(result.tier2Lines));
    runner.setVariable("report_range3", std::to_string(result.tier3Lines));
    runner.setVariable("report_total_range", std::to_string(result.records));
    runner.setVariable("report_total_fee_range1", result.tier1Fee.toPlainText());
    runner.setVariable("report_total_fee_range2", result.tier2Fee.toPlainText());
    runner.setVariable("report_total_fee_range3", result.tier3Fee.toPlainText());
    runner.setVariable("report_total_fee_range", result.total->toPlainText());
    services.showReport(runner, result);
    return result;
}

}  // namespace qrv
