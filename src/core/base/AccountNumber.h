#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qrv {

// A bank account number: ten characters in the bank's 3-1-5-1 grouping (branch, account type, serial
// number, check digit), taken apart once where it is read. An account the home bank's check accepted
// may also have eleven digits: the check leaves out the fourth, which the upload records still take as
// the type, and its serial then has six.
class AccountNumber {
  public:
    // Ten characters that read as a number (IsNumeric); nothing otherwise.
    static std::optional<AccountNumber> parse(std::string_view text);
    // The text as given when the home bank's check accepts it (IsValidAccountNo: ten or eleven digits,
    // not all zero, the check digit fitting); nothing otherwise.
    static std::optional<AccountNumber> checked(std::string_view text);

    const std::string& text() const { return text_; }
    std::string_view branch() const { return std::string_view(text_).substr(0, 3); }
    std::string_view type() const { return std::string_view(text_).substr(3, 1); }
    std::string_view serial() const { return std::string_view(text_).substr(4, text_.size() - 5); }
    char checkDigit() const { return text_.back(); }
    // Not all zero, and the check digit fits the nine digits before it (in the eleven-digit form, those
    // after the fourth).
    bool hasValidCheckDigit() const;
    // The parts joined by "-": 123-4-56789-0.
    std::string grouped() const;

    bool operator==(const AccountNumber&) const = default;

  private:
    explicit AccountNumber(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

}  // namespace qrv
