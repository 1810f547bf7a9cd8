#pragma once

#include <string>
#include <string_view>

namespace qrv {

// The bank's own code, as records and checks name it.
inline constexpr std::string_view kHomeBankCode = "014";

// Text typed by a person or kept in the tables (UTF-8) going into a fixed-width record: its code page
// 874 form. A character that code page 874 cannot hold is refused (QrvError naming `field`): a "?" or
// the UTF-8 bytes would shift or corrupt the record's columns.
std::string recordText(std::string_view utf8, std::string_view field);

}  // namespace qrv
