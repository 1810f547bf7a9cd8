#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The encodings a customer's text file (a CSV sheet, a mapping) comes in, and their reading into UTF-8.
namespace qrv {

enum class TextEncoding { Ascii, Utf8, Utf8WithBom, Utf16LE, Utf16BE, Utf32LE, Utf32BE, CodePage874 };

// "ASCII", "UTF-8", "UTF-8 with byte-order mark", "UTF-16 (little-endian)", "code page 874 (Windows Thai)".
std::string_view encodingName(TextEncoding encoding);

// The encoding a byte-order mark at the start of a text names (UTF-32 before UTF-16, whose mark begins
// it); nothing without one.
std::optional<TextEncoding> byteOrderMark(std::string_view start);

// The evidence of a whole text without a UTF-16 or UTF-32 mark, fed block by block: how many characters
// are whole UTF-8 sequences of more than one byte, and how many bytes cannot be UTF-8. The text is UTF-8
// when the sequences outnumber those bytes, so that one stray byte in a UTF-8 file is a stray byte (named
// by its line) rather than the sign of another encoding; code page 874 Thai, read as UTF-8, is stray bytes
// nearly throughout.
class EncodingSurvey {
  public:
    void feed(std::string_view bytes);
    // After the last block: a sequence cut by the end of the text is a stray byte.
    void finish();

    // Ascii, Utf8, Utf8WithBom or CodePage874.
    TextEncoding verdict() const;
    // Bytes that are not UTF-8 in a text found to be UTF-8, and the line (from 1) of the first.
    std::int64_t strayBytes() const { return isUtf8() ? stray_ : 0; }
    std::int64_t firstStrayLine() const { return firstStrayLine_; }
    // The text holds a NUL byte: no text file of these encodings does.
    bool holdsNul() const { return nul_; }

  private:
    bool isUtf8() const { return bom_ || sequences_ > stray_; }
    void strayByte();

    bool started_ = false;
    bool bom_ = false;
    bool nul_ = false;
    int pending_ = 0;  // continuation bytes the current sequence still needs
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
    std::int64_t sequences_ = 0;
    std::int64_t stray_ = 0;
    std::int64_t line_ = 1;
    std::int64_t firstStrayLine_ = 0;
};

// Text of an encoding made UTF-8 block by block (a character cut by the end of a block is finished by the
// next). Never fails: what is not a character of the encoding becomes U+FFFD, counted.
class TextDecoder {
  public:
    explicit TextDecoder(TextEncoding encoding) : encoding_(encoding) {}

    // Appends the UTF-8 of `bytes` to `out`.
    void decode(std::string_view bytes, std::string& out);
    // After the last block: appends U+FFFD for a character cut by the end of the text.
    void finish(std::string& out);
    std::int64_t replaced() const { return replaced_; }

  private:
    void utf8(std::string_view bytes, std::string& out);
    void units(std::string_view bytes, std::string& out);
    void unit(char32_t u, std::string& out);
    void replacement(std::string& out);

    TextEncoding encoding_;
    std::string pending_;  // bytes of a character not yet whole
    char32_t highSurrogate_ = 0;
    std::int64_t replaced_ = 0;
};

// A whole small text (a mapping) in UTF-8: its encoding told by a byte-order mark, else by the evidence;
// the mark itself dropped. `stray` gets the bytes that are not UTF-8 in a UTF-8 text, `encoding` what was
// found.
std::string textAsUtf8(std::string_view bytes, TextEncoding& encoding, std::int64_t& stray,
                       std::int64_t& firstStrayLine);

}  // namespace qrv
