#include <gtest/gtest.h>

#ifndef _WIN32
#include <iconv.h>
#endif

#include "base/Cp874.h"
#include "base/Cp874Table.h"

namespace qrv {
namespace {

#ifndef _WIN32
// The built-in table is the system's CP874 codec, byte for byte.
TEST(Cp874Table, AgreesWithIconvOnEveryByte) {
    iconv_t cd = iconv_open("UTF-32LE", "CP874");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char32_t expected = 0;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && outLeft == 4) {
            expected = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (out[3] << 24));
        }
        EXPECT_EQ(cp874::kToUnicode[b], expected) << "byte " << b;
    }
    iconv_close(cd);
}
#endif

// Every defined byte survives CP874 -> UTF-8 -> CP874; every undefined one reads as U+FFFD.
TEST(Cp874Table, EveryByteRoundTripsOrIsReplaced) {
    int undefined = 0;
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = cp874::toUtf8(byte);
        if (cp874::kToUnicode[b] == 0) {
            EXPECT_EQ(utf8, "\xEF\xBF\xBD") << "byte " << b;
            ++undefined;
        } else {
            EXPECT_EQ(cp874::fromUtf8(utf8), byte) << "byte " << b;
        }
    }
    EXPECT_EQ(undefined, 31);  // 0x81-0x84, 0x86-0x90, 0x98-0x9F, 0xDB-0xDE, 0xFC-0xFF
}

TEST(Cp874, ConvertsBothWaysAndReplacesUndefinedBytes) {
    EXPECT_EQ(cp874::toUtf8("\xA1\xD2\xC3 abc"), "การ abc");
    EXPECT_EQ(cp874::toUtf8("a\x81z\xFF"), "a\xEF\xBF\xBDz\xEF\xBF\xBD");
    EXPECT_EQ(cp874::fromUtf8("การ abc"), std::optional<std::string>("\xA1\xD2\xC3 abc"));
    EXPECT_FALSE(cp874::fromUtf8("日本"));
    EXPECT_FALSE(cp874::fromUtf8("\xC3("));
    EXPECT_EQ(cp874::sanitizeUtf8("ok\xFFok"), "ok\xEF\xBF\xBDok");
}

}  // namespace
}  // namespace qrv
