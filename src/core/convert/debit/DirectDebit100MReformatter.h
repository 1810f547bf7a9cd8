#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Money.h"

// Direct Debit (100M): a control record, then one detail record per account to debit. The file becomes an
// upload file only when it holds no error at all; every error found is a row of ErrorDirect100M.
namespace qrv {

// The field formatter of the totals. Mode "F" turns a number written with three decimals ("1000.000",
// "-.500") into an amount field of `width` digits (thousandths, zero-filled, "-" first when negative);
// mode "S" blank-fills on the right. The result is cut to `width`.
std::string FormatAmountField(std::string_view text, std::string_view mode, int width);

// A number written with exactly three decimals, no separators and no digit before the point when the
// whole part is 0 ("1000.000", ".500", "-12.250").
std::string ThreeDecimalText(Money value);

// The company field of the header record as the reports show it: the company id (as typed) blank-filled
// to 12.
std::string V5CorpText(const std::string& companyId);

}  // namespace qrv
