#pragma once

#include <string_view>

namespace qrv {

// The characters of a UTF-8 text (its bytes that do not continue a character): what a field's limit
// counts, since a Thai letter is one character however many bytes it takes.
int CharacterCount(std::string_view utf8);

}  // namespace qrv
