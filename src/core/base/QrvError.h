#pragma once

#include <stdexcept>
#include <string>

namespace qrv {

// An unexpected failure (file system, table store, conversion). Its text says what failed and where;
// each front end catches it once per command and shows it.
class QrvError : public std::runtime_error {
  public:
    explicit QrvError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace qrv
