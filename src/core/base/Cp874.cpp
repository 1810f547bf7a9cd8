#include "base/Cp874.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <unordered_map>

#include "base/Cp874Table.h"
#include "base/QrvError.h"
#include "base/Utf8.h"

namespace qrv::cp874 {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The 256 code points of the code page with their UTF-8 forms; 0 marks an undefined byte.
struct CodeTable {
    const std::array<char32_t, 256>& toUnicode = kToUnicode;
    std::array<std::string, 256> toUtf8;
    std::unordered_map<char32_t, unsigned char> fromUnicode;

    CodeTable() {
        for (int b = 0; b < 256; ++b) {
            if (b == 0 || toUnicode[b] != 0) {
                toUtf8[b] = encode(toUnicode[b]);
                fromUnicode.emplace(toUnicode[b], static_cast<unsigned char>(b));
            } else {
                toUtf8[b] = std::string(kReplacement);
            }
        }
    }

    static std::string encode(char32_t c) {
        std::string s;
        appendUtf8(c, s);
        return s;
    }
};

const CodeTable& table() {
    static const CodeTable t;
    return t;
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is invalid.
size_t decodeUtf8(std::string_view text, size_t i, char32_t& out) {
    const auto c0 = static_cast<unsigned char>(text[i]);
    size_t len = 0;
    char32_t cp = 0;
    if (c0 < 0x80) {
        out = c0;
        return 1;
    } else if ((c0 & 0xE0) == 0xC0) {
        len = 2;
        cp = c0 & 0x1F;
    } else if ((c0 & 0xF0) == 0xE0) {
        len = 3;
        cp = c0 & 0x0F;
    } else if ((c0 & 0xF8) == 0xF0) {
        len = 4;
        cp = c0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    const bool overlong = (len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    out = cp;
    return len;
}

}  // namespace

std::string toUtf8(std::string_view cp874) {
    const CodeTable& t = table();
    std::string out;
    out.reserve(cp874.size() * 3 / 2);
    size_t plain = 0;  // start of the run of ASCII bytes, which are the same in both
    for (size_t i = 0; i < cp874.size(); ++i) {
        const auto b = static_cast<unsigned char>(cp874[i]);
        if (b >= 0x80) {
            out.append(cp874.data() + plain, i - plain);
            out += t.toUtf8[b];
            plain = i + 1;
        }
    }
    out.append(cp874.data() + plain, cp874.size() - plain);
    return out;
}

std::optional<std::string> fromUtf8(std::string_view utf8) {
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(utf8);  // ASCII is the same in both
    }
    const CodeTable& t = table();
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const size_t len = decodeUtf8(utf8, i, cp);
        if (len == 0) {
            return std::nullopt;
        }
        const auto it = t.fromUnicode.find(cp);
        if (it == t.fromUnicode.end()) {
            return std::nullopt;
        }
        out += static_cast<char>(it->second);
        i += len;
    }
    return out;
}

std::string sanitizeUtf8(std::string_view text) {
    // Plain ASCII, the common case of report values, is valid as it is.
    size_t ascii = 0;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) {
        ++ascii;
    }
    if (ascii == text.size()) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    out.append(text.substr(0, ascii));
    for (size_t i = ascii; i < text.size();) {
        char32_t cp = 0;
        const size_t len = decodeUtf8(text, i, cp);
        if (len == 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

}  // namespace qrv::cp874
