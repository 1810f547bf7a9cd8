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

// Another run holds what this one needs (the data folder's tables, a folder it puts outputs into) past
// the wait: nothing of this run was written. Not a fault of the program: the front ends say it as a
// message that stops the run, not as an unexpected error.
class InUseError : public QrvError {
  public:
    using QrvError::QrvError;
};

}  // namespace qrv
