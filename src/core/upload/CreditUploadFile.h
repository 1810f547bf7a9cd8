#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "io/Sha1.h"
#include "io/WorkFile.h"

namespace qrv {

// Assembles an upload file: the hash line, the header, the record that follows it (the debit record 002,
// or Direct Debit's header), then the records and the trailer. The hash line and the record after the
// header are known only at the end (002 holds the totals), but their widths are known from the start: the
// records go to the upload's own file behind that many bytes set aside, and completing hashes head +
// records and writes hash line + head over the bytes set aside. The file is then the upload, for the run
// to put in place: no second copy is made.
class CreditUploadFile {
  public:
    // How the upload is made. A dry run writes nothing: it makes the upload twice, the first time only to
    // learn the record after the header (Learn), the second time hashing the records as they come behind
    // the header and that record (Hash), so that neither needs a file nor memory that grows with the file.
    enum class Mode { Write, Learn, Hash };

    // `headerRecord` carries its own CR LF; `recordWidth` is the width of the record after it (without its
    // CR LF). With Mode::Hash, `knownRecord` is the record after the header.
    CreditUploadFile(const std::filesystem::path& destination, std::string headerRecord,
                     std::size_t recordWidth, Mode mode = Mode::Write, std::string knownRecord = {});

    // One record line (003, 004, 005, 006 or the trailer); CR LF is added.
    void writeRecord(std::string_view record);

    struct Result {
        std::string hash;                // 40 upper-case hexadecimal digits
        std::optional<AtomicFile> file;  // the upload, complete but not yet finished nor in place
        std::string learnedRecord;       // Mode::Learn: the record after the header, when a hash was asked
        bool written() const { return file.has_value(); }
    };
    // Puts `record` after the header and computes the hash; keeps the file only when `writeUpload` is
    // true. A caller that shows no hash of an unwritten file passes `hashUnwritten` false and the file is
    // not read again. A record to be written whose width is not `recordWidth` is an error (QrvError) and
    // nothing is kept: the bytes set aside cannot take it. In Mode::Hash a record other than the known one
    // means the source changed between the two makings (FileChangedWhileRead naming `source`). A file
    // not handed over in the result is removed when this object goes.
    Result complete(std::string_view record, bool writeUpload, bool hashUnwritten = true,
                    const std::filesystem::path& source = {});

  private:
    std::filesystem::path destination_;
    std::string header_;
    std::size_t recordWidth_;
    Mode mode_;
    std::string knownRecord_;
    std::optional<AtomicFile> upload_;
    std::optional<Sha1> sha_;
};

}  // namespace qrv
