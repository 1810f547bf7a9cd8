#include "io/InputGuards.h"

#include <system_error>

namespace qrv {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

std::optional<std::string> overwritesInput(const std::filesystem::path& destination,
                                           const std::filesystem::path& input, std::string_view inputName) {
    if (destination.empty() || input.empty()) {
        return std::nullopt;
    }
    std::error_code ec;
    if (!std::filesystem::equivalent(destination, input, ec) || ec) {
        return std::nullopt;
    }
    return "The destination file \"" + destination.string() + "\" is the " + std::string(inputName) +
           " file \"" + input.string() + "\". Please choose another destination file";
}

bool looksLikeUtf8Thai(std::string_view bytes, bool complete) {
    bool thai = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = c < 0x80             ? 1
                                   : (c & 0xE0) == 0xC0 ? 2
                                   : (c & 0xF0) == 0xE0 ? 3
                                   : (c & 0xF8) == 0xF0 ? 4
                                                        : 0;
        if (length == 0 || (length == 2 && c < 0xC2) || (length == 4 && c > 0xF4)) {
            return false;
        }
        if (i + length > bytes.size()) {
            // A sequence cut by the end of the prefix read is no fault of the file.
            for (std::size_t k = i + 1; k < bytes.size(); ++k) {
                if (!isContinuation(static_cast<unsigned char>(bytes[k]))) {
                    return false;
                }
            }
            return !complete && thai;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (!isContinuation(static_cast<unsigned char>(bytes[i + k]))) {
                return false;
            }
        }
        const auto c1 = static_cast<unsigned char>(bytes[i + 1 < bytes.size() ? i + 1 : i]);
        if ((length == 3 && c == 0xE0 && c1 < 0xA0) || (length == 3 && c == 0xED && c1 > 0x9F) ||
            (length == 4 && c == 0xF0 && c1 < 0x90) || (length == 4 && c == 0xF4 && c1 > 0x8F)) {
            return false;  // overlong, surrogate or beyond U+10FFFF
        }
        thai = thai || (length == 3 && c == 0xE0 && (c1 == 0xB8 || c1 == 0xB9));
        i += length;
    }
    return thai;
}

}  // namespace qrv
