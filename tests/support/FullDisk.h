#pragma once

#include <string>

namespace qrv::test {

// While one lives, every write of the table store to a file whose name ends in `suffix` fails as a full
// disk makes it fail (SQLite's own writes, which the platform layer's write seam does not see). With the
// default "-wal" a command's changes fail when they are committed.
class FullStoreDisk {
  public:
    explicit FullStoreDisk(std::string suffix = "-wal");
    FullStoreDisk(const FullStoreDisk&) = delete;
    FullStoreDisk& operator=(const FullStoreDisk&) = delete;
    ~FullStoreDisk();
    // Writes refused since it was made.
    static int failures();
};

}  // namespace qrv::test
