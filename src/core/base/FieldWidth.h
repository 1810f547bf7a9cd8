#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Money.h"
#include "base/QrvError.h"

// Computed values (totals, counts, sequence numbers) in fixed-width record fields.
namespace qrv {

// A computed value wider than its field. The reformat operation turns it into a refusal: the run stops
// before any output is put in place.
class FieldOverflow : public QrvError {
  public:
    FieldOverflow(std::string_view field, std::string_view value, int width);
};

// `value` zero-filled on the left to `width`; throws FieldOverflow naming `field` when it does not fit.
std::string NumberField(std::int64_t value, int width, std::string_view field);
// Money::toAmountField(width), checked the same way.
std::string AmountField(Money amount, int width, std::string_view field);
// A field text already formatted: throws FieldOverflow when it is longer than `width`.
const std::string& CheckedField(const std::string& text, int width, std::string_view field);

}  // namespace qrv
