#include "sheet/TextEncoding.h"

#include "base/Cp874.h"
#include "base/Utf8.h"

namespace qrv {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// What a UTF-8 lead byte starts: the continuation bytes it needs and the range of the first of them (no
// overlong forms, no surrogates, nothing past U+10FFFF); nothing for a byte that starts no sequence.
struct Lead {
    int continuations;
    unsigned char low;
    unsigned char high;
};

std::optional<Lead> leadOf(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) {
        return Lead{1, 0x80, 0xBF};
    }
    if (b >= 0xE0 && b <= 0xEF) {
        return Lead{2, static_cast<unsigned char>(b == 0xE0 ? 0xA0 : 0x80),
                    static_cast<unsigned char>(b == 0xED ? 0x9F : 0xBF)};
    }
    if (b >= 0xF0 && b <= 0xF4) {
        return Lead{3, static_cast<unsigned char>(b == 0xF0 ? 0x90 : 0x80),
                    static_cast<unsigned char>(b == 0xF4 ? 0x8F : 0xBF)};
    }
    return std::nullopt;
}

}  // namespace

std::string_view encodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ascii:
            return "ASCII";
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Utf8WithBom:
            return "UTF-8 with byte-order mark";
        case TextEncoding::Utf16LE:
            return "UTF-16 (little-endian)";
        case TextEncoding::Utf16BE:
            return "UTF-16 (big-endian)";
        case TextEncoding::Utf32LE:
            return "UTF-32 (little-endian)";
        case TextEncoding::Utf32BE:
            return "UTF-32 (big-endian)";
        case TextEncoding::CodePage874:
            return "code page 874 (Windows Thai)";
    }
    return "";
}

std::optional<TextEncoding> byteOrderMark(std::string_view start) {
    if (start.substr(0, 4) == std::string_view("\xFF\xFE\0\0", 4)) {
        return TextEncoding::Utf32LE;
    }
    if (start.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4)) {
        return TextEncoding::Utf32BE;
    }
    if (start.substr(0, 2) == "\xFF\xFE") {
        return TextEncoding::Utf16LE;
    }
    if (start.substr(0, 2) == "\xFE\xFF") {
        return TextEncoding::Utf16BE;
    }
    if (start.substr(0, 3) == kUtf8Bom) {
        return TextEncoding::Utf8WithBom;
    }
    return std::nullopt;
}

void EncodingSurvey::strayByte() {
    if (stray_++ == 0) {
        firstStrayLine_ = line_;
    }
}

void EncodingSurvey::feed(std::string_view bytes) {
    if (!started_) {
        started_ = true;
        bom_ = bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    }
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (pending_ > 0) {
            if ((b & 0xC0) == 0x80 && b >= low_ && b <= high_) {
                low_ = 0x80;
                high_ = 0xBF;
                sequences_ += --pending_ == 0;
                continue;
            }
            pending_ = 0;
            strayByte();  // the sequence so far is one stray; this byte starts afresh
        }
        line_ += b == '\n';
        nul_ = nul_ || b == 0;
        if (b < 0x80) {
            continue;
        }
        if (const std::optional<Lead> lead = leadOf(b)) {
            pending_ = lead->continuations;
            low_ = lead->low;
            high_ = lead->high;
        } else {
            strayByte();
        }
    }
}

void EncodingSurvey::finish() {
    if (pending_ > 0) {
        pending_ = 0;
        strayByte();
    }
}

TextEncoding EncodingSurvey::verdict() const {
    if (bom_) {
        return TextEncoding::Utf8WithBom;
    }
    if (sequences_ == 0 && stray_ == 0) {
        return TextEncoding::Ascii;
    }
    return isUtf8() ? TextEncoding::Utf8 : TextEncoding::CodePage874;
}

void TextDecoder::replacement(std::string& out) {
    out += kReplacement;
    ++replaced_;
}

void TextDecoder::decode(std::string_view bytes, std::string& out) {
    switch (encoding_) {
        case TextEncoding::Ascii:
        case TextEncoding::Utf8:
        case TextEncoding::Utf8WithBom:
            utf8(bytes, out);
            break;
        case TextEncoding::CodePage874:
            out += cp874::toUtf8(bytes);
            break;
        default:
            units(bytes, out);
            break;
    }
}

void TextDecoder::utf8(std::string_view bytes, std::string& out) {
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (!pending_.empty()) {
            const std::optional<Lead> lead = leadOf(static_cast<unsigned char>(pending_[0]));
            const unsigned char low = pending_.size() == 1 ? lead->low : 0x80;
            const unsigned char high = pending_.size() == 1 ? lead->high : 0xBF;
            if (b >= low && b <= high) {
                pending_ += ch;
                if (static_cast<int>(pending_.size()) == lead->continuations + 1) {
                    out += pending_;
                    pending_.clear();
                }
                continue;
            }
            pending_.clear();
            replacement(out);
        }
        if (b < 0x80) {
            out += ch;
        } else if (leadOf(b)) {
            pending_ += ch;
        } else {
            replacement(out);
        }
    }
}

void TextDecoder::unit(char32_t u, std::string& out) {
    const bool wide = encoding_ == TextEncoding::Utf32LE || encoding_ == TextEncoding::Utf32BE;
    if (!wide && u >= 0xDC00 && u <= 0xDFFF && highSurrogate_ != 0) {
        appendUtf8(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (u - 0xDC00), out);
        highSurrogate_ = 0;
        return;
    }
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        replacement(out);
    }
    if (!wide && u >= 0xD800 && u <= 0xDBFF) {
        highSurrogate_ = u;
    } else if ((u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF) {
        replacement(out);
    } else {
        appendUtf8(u, out);
    }
}

void TextDecoder::units(std::string_view bytes, std::string& out) {
    const bool wide = encoding_ == TextEncoding::Utf32LE || encoding_ == TextEncoding::Utf32BE;
    const bool little = encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf32LE;
    const size_t size = wide ? 4 : 2;
    for (const char ch : bytes) {
        pending_ += ch;
        if (pending_.size() < size) {
            continue;
        }
        char32_t u = 0;
        for (size_t i = 0; i < size; ++i) {
            const auto b = static_cast<unsigned char>(pending_[little ? size - 1 - i : i]);
            u = (u << 8) | b;
        }
        pending_.clear();
        unit(u, out);
    }
}

void TextDecoder::finish(std::string& out) {
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        replacement(out);
    }
    if (!pending_.empty()) {
        pending_.clear();
        replacement(out);
    }
}

std::string textAsUtf8(std::string_view bytes, TextEncoding& encoding, std::int64_t& stray,
                       std::int64_t& firstStrayLine) {
    stray = 0;
    firstStrayLine = 0;
    const std::optional<TextEncoding> mark = byteOrderMark(bytes);
    if (mark && *mark != TextEncoding::Utf8WithBom) {
        encoding = *mark;
    } else {
        EncodingSurvey survey;
        survey.feed(bytes);
        survey.finish();
        encoding = survey.verdict();
        stray = survey.strayBytes();
        firstStrayLine = survey.firstStrayLine();
    }
    TextDecoder decoder(encoding);
    std::string text;
    decoder.decode(bytes, text);
    decoder.finish(text);
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        text.erase(0, kUtf8Bom.size());  // the mark, in whichever encoding it came
    }
    return text;
}

}  // namespace qrv
