#pragma once

#include "base/Date.h"

namespace qrv {

// The machine's clock in its local time zone.
class SystemClock final : public Clock {
  public:
    DateTime now() const override;
};

}  // namespace qrv
