#include "base/FieldWidth.h"

#include <string>

namespace qrv {

FieldOverflow::FieldOverflow(std::string_view field, std::string_view value, int width)
    : QrvError("The " + std::string(field) + " " + std::string(value) + " does not fit its field of " +
               std::to_string(width) + " characters: the run stopped and nothing was written") {}

}  // namespace qrv
