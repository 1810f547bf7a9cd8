#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Money.h"

// Direct Debit (100M): a control record, then one detail record per account to debit. The file becomes an
// upload file only when it holds no error at all; every error found is a row of ErrorDirect100M.
namespace qrv {

// Columns of the 100M source layout (1-based, inclusive).
namespace ddr100m {
inline constexpr int kShiftFrom = 1, kShiftTo = 9;  // all blanks: the control dates are read one column later
inline constexpr int kCompanyNameFrom = 16, kCompanyNameTo = 45;
inline constexpr int kControlDateFrom = 48, kControlDateTo = 53;
inline constexpr int kTotalRecordFrom = 54, kTotalRecordTo = 58;
inline constexpr int kTotalAmountFrom = 59, kTotalAmountTo = 69;
inline constexpr int kAccountFrom = 1, kAccountTo = 10;
inline constexpr int kDetailDateFrom = 11, kDetailDateTo = 16;
inline constexpr int kSign = 17;
inline constexpr int kAmountFrom = 18, kAmountTo = 28;
inline constexpr int kNameFrom = 31, kNameTo = 80;
inline constexpr std::size_t kMaxLine = 80;
}  // namespace ddr100m

// The field formatter of the totals. Mode "F" turns a number written with three decimals ("1000.000",
// "-.500") into an amount field of `width` digits (thousandths, zero-filled, "-" first when negative);
// mode "S" blank-fills on the right. The result is cut to `width`.
std::string FormatAmountField(std::string_view text, std::string_view mode, int width);

// A number written with exactly three decimals, no separators and no digit before the point when the
// whole part is 0 ("1000.000", ".500", "-12.250").
std::string ThreeDecimalText(Money value);

// A 9+2 amount as the totals read it: `digits9` "." `decimals2` of the line. Throws QrvError naming the
// file, line and columns when the text is not a decimal number.
Money ReadNinePlusTwo(std::string_view line, int from, int to, std::int64_t lineNumber,
                      const std::filesystem::path& file);

// The company field of the header record as the reports show it: the company id (as typed) blank-filled
// to 12.
std::string V5CorpText(const std::string& companyId);

}  // namespace qrv
