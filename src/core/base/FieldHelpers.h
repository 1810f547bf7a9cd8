#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Field and text helpers shared by every reformatter. Texts are code page 874 bytes; positions count from 1.
namespace qrv {

// `count` copies of " " or "0", at most 100; empty for count < 1 or another fill character.
std::string FillString(std::string_view fill, int count);

// A text field: the value, blank-filled on the right to `width` (never cut).
std::string PadText(std::string_view value, int width);
// A number field: the digits, zero-filled on the left to `width` (never cut).
std::string PadNumber(std::string_view digits, int width);
std::string PadNumber(std::int64_t value, int width);

// Characters `from`..`to` (1-based, inclusive); those that exist, possibly none. Never throws.
std::string_view Columns(std::string_view line, int from, int to);
// Leading and trailing blanks removed. A blank is the space (code 32) only: a TAB, NUL or other control
// character is text and stays.
std::string_view Trim(std::string_view text);
// Leading blanks removed (spaces only, as Trim).
std::string_view TrimLeading(std::string_view text);

// The whole text is a decimal number: leading blanks, an optional sign, digits with at most one ".",
// an optional exponent (E or e, optional sign, at least one digit). "." alone is 0.
bool IsNumeric(std::string_view text);

// The three numbers form a Gregorian calendar date with year 1..9999.
bool IsValidDate(std::string_view year, std::string_view month, std::string_view day);

// A home-bank account number: 10 digits, or 11 with the 4th dropped, with a valid check digit and not all
// zeros.
bool IsValidAccountNo(std::string_view account);

// One of the first `length` characters is a Thai consonant (0xA1..0xCE in code page 874).
bool HasThaiChar(std::string_view text, int length);

// A file of that name exists: a folder, or a name that cannot be looked at, is no file.
bool FileExists(const std::filesystem::path& file);

// Plain decimal digits only (no blanks, signs or points), at least one.
bool IsDigits(std::string_view text);
// The integer a text of digits (after optional leading blanks and sign) stands for; nothing otherwise.
std::optional<std::int64_t> ToInteger(std::string_view text);

}  // namespace qrv
