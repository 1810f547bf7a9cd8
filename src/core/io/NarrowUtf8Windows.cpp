// On Windows the program's narrow text is UTF-8, as on Linux: file names typed in the window or built from
// a text field reach std::filesystem::path as UTF-8 strings. libstdc++ decodes a narrow path with the C
// library's mbrtowc, which MinGW's runtime ties to the "C" locale (one byte, one character), while
// path::string() already encodes UTF-8. These definitions, linked before the runtime's, make the decoding
// UTF-8 too, so that a Thai folder name survives the round trip. Characters beyond U+FFFF (two UTF-16
// units) are refused as an invalid sequence.
#include <cerrno>
#include <cstddef>
#include <cwchar>

namespace {

constexpr size_t kInvalid = static_cast<size_t>(-1);
constexpr size_t kIncomplete = static_cast<size_t>(-2);

// Decodes one UTF-8 character of at most `n` bytes at `s` into `out`; returns its length, kIncomplete, or
// kInvalid with errno EILSEQ.
size_t decode(const char* s, size_t n, wchar_t& out) {
    const auto c0 = static_cast<unsigned char>(s[0]);
    size_t len = 0;
    unsigned cp = 0;
    if (c0 < 0x80) {
        out = static_cast<wchar_t>(c0);
        return 1;
    } else if ((c0 & 0xE0) == 0xC0) {
        len = 2;
        cp = c0 & 0x1F;
    } else if ((c0 & 0xF0) == 0xE0) {
        len = 3;
        cp = c0 & 0x0F;
    } else {
        errno = EILSEQ;
        return kInvalid;
    }
    for (size_t k = 1; k < len; ++k) {
        if (k >= n) {
            return kIncomplete;
        }
        const auto c = static_cast<unsigned char>(s[k]);
        if ((c & 0xC0) != 0x80) {
            errno = EILSEQ;
            return kInvalid;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (cp >= 0xD800 && cp <= 0xDFFF)) {
        errno = EILSEQ;
        return kInvalid;
    }
    out = static_cast<wchar_t>(cp);
    return len;
}

size_t encode(wchar_t wc, char* s) {
    const auto c = static_cast<unsigned>(static_cast<unsigned short>(wc));
    if (c < 0x80) {
        s[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        s[0] = static_cast<char>(0xC0 | (c >> 6));
        s[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
        errno = EILSEQ;
        return kInvalid;
    }
    s[0] = static_cast<char>(0xE0 | (c >> 12));
    s[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
}

}  // namespace

extern "C" {

size_t mbrtowc(wchar_t* pwc, const char* s, size_t n, mbstate_t*) {
    if (s == nullptr) {
        return 0;
    }
    if (n == 0) {
        return kIncomplete;
    }
    wchar_t wc = 0;
    const size_t len = decode(s, n, wc);
    if (len == kInvalid || len == kIncomplete) {
        return len;
    }
    if (pwc != nullptr) {
        *pwc = wc;
    }
    return wc == 0 ? 0 : len;
}

size_t mbrlen(const char* s, size_t n, mbstate_t* ps) {
    return mbrtowc(nullptr, s, n, ps);
}

size_t mbsrtowcs(wchar_t* dst, const char** src, size_t len, mbstate_t*) {
    size_t count = 0;
    const char* s = *src;
    while (dst == nullptr || count < len) {
        wchar_t wc = 0;
        const size_t n = decode(s, 4, wc);
        if (n == kInvalid || n == kIncomplete) {
            if (dst != nullptr) {
                *src = s;
            }
            errno = EILSEQ;
            return kInvalid;
        }
        if (dst != nullptr) {
            dst[count] = wc;
        }
        if (wc == 0) {
            if (dst != nullptr) {
                *src = nullptr;
            }
            return count;
        }
        s += n;
        ++count;
    }
    *src = s;
    return count;
}

size_t wcrtomb(char* s, wchar_t wc, mbstate_t*) {
    char buffer[4];
    return encode(wc, s != nullptr ? s : buffer);
}

size_t wcsrtombs(char* dst, const wchar_t** src, size_t len, mbstate_t*) {
    size_t count = 0;
    const wchar_t* w = *src;
    for (;; ++w) {
        char buffer[4];
        const size_t n = encode(*w, buffer);
        if (n == kInvalid) {
            if (dst != nullptr) {
                *src = w;
            }
            return kInvalid;
        }
        if (*w == 0) {
            if (dst != nullptr) {
                if (count < len) {
                    dst[count] = '\0';
                }
                *src = nullptr;
            }
            return count;
        }
        if (dst != nullptr) {
            if (count + n > len) {
                *src = w;
                return count;
            }
            for (size_t k = 0; k < n; ++k) {
                dst[count + k] = buffer[k];
            }
        }
        count += n;
    }
}

}  // extern "C"
