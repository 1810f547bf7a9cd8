#include "base/CharacterCount.h"

namespace qrv {

int CharacterCount(std::string_view utf8) {
    int n = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

}  // namespace qrv
