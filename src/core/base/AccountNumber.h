#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qrv {

// A bank account number: ten characters in the bank's 3-1-5-1 grouping (branch, account type, serial
// number, check digit), taken apart once where it is read.
class AccountNumber {
  public:
    // Ten characters that read as a number (IsNumeric); nothing otherwise.
    static std::optional<AccountNumber> parse(std::string_view text);

    const std::string& text() const { return text_; }
    std::string_view branch() const { return std::string_view(text_).substr(0, 3); }
    std::string_view type() const { return std::string_view(text_).substr(3, 1); }
    std::string_view serial() const { return std::string_view(text_).substr(4, 5); }
    char checkDigit() const { return text_[9]; }
    // Ten digits, not all zero, whose check digit fits the other nine.
    bool hasValidCheckDigit() const;
    // The parts joined by "-": 123-4-56789-0.
    std::string grouped() const;

    bool operator==(const AccountNumber&) const = default;

  private:
    explicit AccountNumber(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

}  // namespace qrv
