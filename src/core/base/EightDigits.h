#pragma once

#include <cstdint>
#include <cstring>
#include <optional>

// Eight characters tested (and read) as digits at once, one 64-bit word for all: amounts, numbers and
// dates of every line pass here. Inline, as they sit in the innermost loops.
namespace qrv {

// A byte is a digit when its high half is 3 and adding 6 keeps it 3 (no carry crosses into the next byte
// once every high half is 3).
inline bool AreEightDigits(const char* at) {
    constexpr std::uint64_t kHighHalves = 0xF0F0F0F0F0F0F0F0ULL;
    constexpr std::uint64_t kThrees = 0x3030303030303030ULL;
    constexpr std::uint64_t kSixes = 0x0606060606060606ULL;
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, at, 8);
    return (bytes & kHighHalves) == kThrees && ((bytes + kSixes) & kHighHalves) == kThrees;
}

// Their value; nothing when one of them is no digit. For a little-endian machine, where the first
// character is the lowest byte: pairs, then fours, then the eight are combined.
inline std::optional<std::uint64_t> EightDigitValue(const char* at) {
    if (!AreEightDigits(at)) {
        return std::nullopt;
    }
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, at, 8);
    bytes -= 0x3030303030303030ULL;
    bytes = bytes * 10 + (bytes >> 8);
    constexpr std::uint64_t kMask = 0x000000FF000000FFULL;
    return (((bytes & kMask) * (100 + (1000000ULL << 32))) +
            (((bytes >> 16) & kMask) * (1 + (10000ULL << 32)))) >>
           32;
}

}  // namespace qrv
