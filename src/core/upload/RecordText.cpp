#include "upload/RecordText.h"

#include <optional>

#include "base/Cp874.h"
#include "base/QrvError.h"

namespace qrv {

std::string recordText(std::string_view utf8, std::string_view field) {
    std::optional<std::string> text = cp874::fromUtf8(utf8);
    if (!text) {
        throw QrvError("The " + std::string(field) + " holds a character that code page 874 cannot hold");
    }
    return std::move(*text);
}

}  // namespace qrv
