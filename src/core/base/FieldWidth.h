#pragma once

#include <string_view>

#include "base/QrvError.h"

// A value wider than the fixed-width field it goes into.
namespace qrv {

// The reformat operation turns it into a refusal: the run stops before any output is put in place.
class FieldOverflow : public QrvError {
  public:
    FieldOverflow(std::string_view field, std::string_view value, int width);
};

}  // namespace qrv
