#include "io/SystemClock.h"

#include <ctime>

#include "io/Platform.h"

namespace qrv {

DateTime SystemClock::now() const {
    const std::time_t t = std::time(nullptr);
    const std::tm tm = platform::localTime(t);
    return {{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace qrv
