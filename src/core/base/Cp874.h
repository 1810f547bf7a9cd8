#pragma once

#include <optional>
#include <string>
#include <string_view>

// Code page 874 (Thai) <-> UTF-8. Files and records carry CP874 bytes; the table store, reports and
// windows carry UTF-8. Each conversion happens once, where text crosses.
namespace qrv::cp874 {

// Never fails: a byte that code page 874 leaves undefined becomes U+FFFD.
std::string toUtf8(std::string_view cp874);

// The CP874 form of UTF-8 text, or nothing when a character has no CP874 form (or the UTF-8 is invalid).
std::optional<std::string> fromUtf8(std::string_view utf8);

// UTF-8 text with every invalid sequence replaced by U+FFFD (for paths shown in reports and JSON).
std::string sanitizeUtf8(std::string_view text);

}  // namespace qrv::cp874
