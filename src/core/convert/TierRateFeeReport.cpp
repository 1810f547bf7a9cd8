#include "convert/TierRateFeeReport.h"

#include <algorithm>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/FieldHelpers.h"
#include "base/Money.h"
#include "base/QrvError.h"
#include "io/LineReader.h"
#include "store/Settings.h"
#include "store/TableStore.h"
#include "workbench/Workbench.h"

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

// A fee setting as a decimal number; anything else is a conversion error.
Money feeValue(const std::string& text, const char* key, const std::filesystem::path& file) {
    const std::optional<Money> fee = Money::fromDecimalText(Trim(text));
    if (!fee) {
        throw QrvError("'" + text + "' is not a valid number (" + key + " in section ThreeTierRate of \"" +
                       file.string() + "\")");
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
        if (Columns(line, 1, 3) != "102" || Columns(line, 28, 30) == "014") {
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

bool RunTierRateFeeReport(Workbench& wb) {
    const std::filesystem::path config = wb.paths().dataFolder / "Config.ini";
    const Settings settings = Settings::load(config);
    const std::string fee1Text = settings.get("ThreeTierRate", "RangeFee1", "");
    const std::string fee2Text = settings.get("ThreeTierRate", "RangeFee2", "");
    const std::string fee3Text = settings.get("ThreeTierRate", "RangeFee3", "");

    if (!FileExists(wb.fields.edtSource)) {
        wb.message("Source file name does not exist. Please insert valid file name and retry");
        return false;
    }
    const std::filesystem::path source(wb.fields.edtSource);
    LineReader reader(source);
    const TierFees fees{feeValue(fee1Text, "RangeFee1", config), feeValue(fee2Text, "RangeFee2", config),
                        feeValue(fee3Text, "RangeFee3", config)};
    const TierCounts counts = countLines(reader, source);

    const Money fee1 = times(fees.fee1, counts.count1, "tier 1");
    const Money fee2 = times(fees.fee2, counts.count2, "tier 2");
    const Money fee3 = times(fees.fee3, counts.count3, "tier 3");
    const Money total = fee1.plus(fee2, "the total fee").plus(fee3, "the total fee");

    ReportRunner& runner = wb.reports().result;
    runner.loadLayout(wb.reports().layout("DeductFee.frf"));
    runner.setVariable("report_range1", std::to_string(counts.count1));
    runner.setVariable("report_range2", std::to_string(counts.count2));
    runner.setVariable("report_range3", std::to_string(counts.count3));
    runner.setVariable("report_total_range", std::to_string(counts.count1 + counts.count2 + counts.count3));
    runner.setVariable("report_total_fee_range1", fee1.toPlainText());
    runner.setVariable("report_total_fee_range2", fee2.toPlainText());
    runner.setVariable("report_total_fee_range3", fee3.toPlainText());
    runner.setVariable("report_total_fee_range", total.toPlainText());
    wb.ui().showReport(runner.prepare(wb.store()));
    return true;
}

void Workbench::calculateTierRateClick() {
    RunTierRateFeeReport(*this);
}

}  // namespace qrv
