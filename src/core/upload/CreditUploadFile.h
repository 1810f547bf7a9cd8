#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "io/WorkFile.h"

namespace qrv {

// Assembles a credit upload file: the hash line, the header record 001, the debit record 002, the
// credit records and the trailer. Credits go to a private work file as they are accepted (002 needs the
// totals known only at the end); completing hashes header + 002 + credits and, when asked, writes the
// upload file in one pass, replacing the destination only when it is whole.
class CreditUploadFile {
  public:
    // `headerRecord` carries its own CR LF.
    CreditUploadFile(const std::filesystem::path& destination, std::string headerRecord);

    // One record line (003, 004, 005, 006 or the trailer); CR LF is added.
    void writeRecord(std::string_view record) { work_.writer().writeLine(record); }

    struct Result {
        std::string hash;  // 40 upper-case hexadecimal digits
        bool written = false;
    };
    // Puts `record002` after the header and computes the hash; writes the destination only when
    // `writeUpload` is true. A caller that shows no hash of an unwritten file passes `hashUnwritten`
    // false and the work file is not read again. The work file is removed when this object goes.
    Result complete(std::string_view record002, bool writeUpload, bool hashUnwritten = true);

  private:
    std::filesystem::path destination_;
    std::string header_;
    WorkFile work_;
};

}  // namespace qrv
