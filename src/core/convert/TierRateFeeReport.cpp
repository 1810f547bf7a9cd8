#include "convert/TierRateFeeReport.h"

#include "upload/RecordText.h"

#include <algorithm>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/Money.h"
#include "base/QrvError.h"
#include "io/InputGuards.h"
#include "io/LineReader.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/SourceLine.h"
#include "store/Settings.h"
#include "store/TableStore.h"

namespace qrv {

using namespace layout;

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

TierCounts countLines(LineReader& reader, const std::filesystem::path& source) {
    TierCounts counts;
    // Nothing of a line but its codes and amount is read; every line is judged whole for Thai saved as
    // UTF-8, since that would be no Media Clearing file at all.
    SourceLine line(source, SourceFile::MediaClearing);
    while (line.next(reader)) {
        if (!line.code(mcl::kRecordType) || line[mcl::kSendingBank] == kHomeBankCode) {
            continue;
        }
        const Money amount = line.require(line.amount(mcl::kAmount));
        if (amount <= kTier1Top) {
            ++counts.count1;
        } else if (amount <= kTier2Top) {
            ++counts.count2;
        } else if (amount <= kTier3Top) {
            ++counts.count3;
        }
    }
    return counts;
}

// A file this large is read in two parts, each on its own thread; a smaller one is read in less time than a
// thread takes to start.
constexpr std::uint64_t kTwoPartsFrom = 8 << 20;

// The counts of one part, or nothing when reading it stopped on a fault.
std::optional<TierCounts> countPart(const ReadOnlyFile& file, ByteRange range,
                                    const std::filesystem::path& source) {
    try {
        LineReader reader(file, range);
        return countLines(reader, source);
    } catch (...) {
        return std::nullopt;
    }
}

// The counts of the whole file; a large one is read in two parts at once. When a part stops on a fault, the
// file is read once more from its start, so that the first fault is the one told, with its line number in
// the whole file, as a reading in one piece tells it.
TierCounts countFile(const ReadOnlyFile& file, const std::filesystem::path& source) {
    const std::vector<ByteRange> parts = file.linesInParts(file.size() >= kTwoPartsFrom ? 2 : 1);
    if (parts.size() == 2) {
        std::optional<TierCounts> second;
        std::optional<TierCounts> first;
        {
            const std::jthread reading([&] { second = countPart(file, parts[1], source); });
            first = countPart(file, parts[0], source);
        }
        if (first && second) {
            return {first->count1 + second->count1, first->count2 + second->count2,
                    first->count3 + second->count3};
        }
    }
    LineReader reader(file, {0, file.size()});
    return countLines(reader, source);
}

// The company name of the file's header line (its first line, when that is no credit line), as it stands.
std::string companyName(const ReadOnlyFile& file, const std::filesystem::path& source) {
    LineReader reader(file, {0, file.size()});
    SourceLine header(source, SourceFile::MediaClearing);
    if (!header.next(reader) || header.code(mcl::kRecordType)) {
        return {};
    }
    return cp874::toUtf8(header[mcl::kCompanyName]);
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
    const std::filesystem::path& source = request.sourcePath;
    const ReadOnlyFile file(source);
    const TierFees fees{feeValue(fee1Text, "RangeFee1", config), feeValue(fee2Text, "RangeFee2", config),
                        feeValue(fee3Text, "RangeFee3", config)};
    TierCounts counts;
    std::string company;
    try {
        company = companyName(file, source);
        counts = countFile(file, source);
    } catch (const SourceRefusal& refusal) {
        services.message(refusal.what());
        return result;
    }

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
    ReportRunner runner = services.reports.open(kResultRunner, "DeductFee.frf");
    runner.setVariable("report_range1", std::to_string(result.tier1Lines));
    runner.setVariable("report_range2", std::to_string(result.tier2Lines));
    runner.setVariable("report_range3", std::to_string(result.tier3Lines));
    runner.setVariable("report_total_range", std::to_string(result.records));
    runner.setVariable("report_total_fee_range1", result.tier1Fee.toPlainText());
    runner.setVariable("report_total_fee_range2", result.tier2Fee.toPlainText());
    runner.setVariable("report_total_fee_range3", result.tier3Fee.toPlainText());
    runner.setVariable("report_total_fee_range", result.total->toPlainText());
    runner.setVariable("ComName", company);
    runner.setVariable("FromFile", cp874::sanitizeUtf8(source.string()));
    services.showReport(runner, result);
    return result;
}

}  // namespace qrv
