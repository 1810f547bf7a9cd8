#include "base/FieldWidth.h"

#include "base/FieldHelpers.h"

namespace qrv {

FieldOverflow::FieldOverflow(std::string_view field, std::string_view value, int width)
    : QrvError("The " + std::string(field) + " " + std::string(value) + " does not fit its field of " +
               std::to_string(width) + " characters: the run stopped and nothing was written") {}

const std::string& CheckedField(const std::string& text, int width, std::string_view field) {
    if (static_cast<int>(text.size()) > width) {
        throw FieldOverflow(field, text, width);
    }
    return text;
}

std::string NumberField(std::int64_t value, int width, std::string_view field) {
    std::string text = PadNumber(value, width);
    CheckedField(text, width, field);
    return text;
}

std::string AmountField(Money amount, int width, std::string_view field) {
    std::string text = amount.toAmountField(width);
    if (static_cast<int>(text.size()) > width) {
        throw FieldOverflow(field, amount.toText2() + " baht", width);
    }
    return text;
}

}  // namespace qrv
