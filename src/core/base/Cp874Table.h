#pragma once

#include <array>

namespace qrv::cp874 {

// The code point of every byte of code page 874 (Windows Thai); 0 marks a byte the code page leaves
// undefined (byte 0 is U+0000). One table on every platform, so that all builds convert alike.
extern const std::array<char32_t, 256> kToUnicode;

}  // namespace qrv::cp874
