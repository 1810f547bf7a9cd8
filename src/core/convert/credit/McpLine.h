#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Money.h"

// Reading the fields of a Manager Cheque line or invoice line: columns, 16-digit amount texts and the
// values behind them. A field read as a number that holds none ends the run with a QrvError that names
// the file, the line and the columns.
namespace qrv {

class McpLine {
  public:
    // `file` names the file in messages ("source file", "invoice file"); `text` is code page 874.
    McpLine(std::string_view file, std::int64_t lineNo, std::string_view text)
        : file_(file), lineNo_(lineNo), text_(text) {}

    std::string_view text() const { return text_; }
    std::int64_t lineNo() const { return lineNo_; }
    // Columns `from`..`to` (1-based), those that exist.
    std::string cols(int from, int to) const;
    // One column; empty past the end.
    std::string col(int c) const { return cols(c, c); }

    // The 16-digit amount of an 11+2 field: "00" + columns + "0".
    std::string amount13(int from, int to) const { return "00" + cols(from, to) + "0"; }
    // The 16-digit amount of a 7+2 field: "000000" + columns + "0".
    std::string amount9(int from, int to) const { return "000000" + cols(from, to) + "0"; }
    // A signed 16-digit amount: as above, or "-" + the zeros + the characters after the "-" + "0".
    std::string signedAmount(int from, int to, std::string_view zeros) const;

    // The value of a 16-digit amount text built from columns `from`..`to`; throws when it holds none.
    Money value(std::string_view amount16, int from, int to) const;
    // The count in columns `from`..`to` after `prefix` (leading blanks allowed, digits only); throws
    // when it holds no count.
    std::int64_t count(std::string_view prefix, int from, int to) const;
    // Ends the run: what is wrong with columns `from`..`to` of this line.
    [[noreturn]] void fail(int from, int to, const std::string& what) const;

  private:
    std::string file_;
    std::int64_t lineNo_;
    std::string_view text_;
};

// The value of a 16-digit amount text: characters 1-13 as a signed number of baht, 14-16 as its
// decimals; nothing when that is not a number.
std::optional<Money> AmountFieldValue(std::string_view amount16);

// yyyymmdd -> dd/mm/yyyy (characters that are missing stay missing).
std::string DdMmYyyy(std::string_view yyyymmdd);

}  // namespace qrv
