#include "base/AccountNumber.h"

#include "base/FieldHelpers.h"

namespace qrv {

std::optional<AccountNumber> AccountNumber::parse(std::string_view text) {
    if (text.size() != 10 || !IsNumeric(text)) {
        return std::nullopt;
    }
    return AccountNumber(std::string(text));
}

std::optional<AccountNumber> AccountNumber::checked(std::string_view text) {
    if (!IsValidAccountNo(text)) {
        return std::nullopt;
    }
    return AccountNumber(std::string(text));
}

bool AccountNumber::hasValidCheckDigit() const {
    return IsValidAccountNo(text_);
}

std::string AccountNumber::grouped() const {
    return std::string(branch()) + "-" + std::string(type()) + "-" + std::string(serial()) + "-" +
           checkDigit();
}

}  // namespace qrv
