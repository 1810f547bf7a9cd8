#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "io/Sha1.h"
#include "io/WorkFile.h"
#include "upload/HashedUpload.h"

namespace qrv {

// Assembles an upload file: the hash line, the header, the record that follows it (the debit record 002,
// or Direct Debit's header), then the records and the trailer. Records go to a private work file as they
// come (002 needs the totals known only at the end); completing hashes head + records and, when asked,
// writes the upload file whole beside the destination, for the run to put in place.
class CreditUploadFile {
  public:
    // How the upload is made. A dry run writes nothing: it makes the upload twice, the first time only to
    // learn the record after the header (Learn), the second time hashing the records as they come behind
    // the header and that record (Hash), so that neither needs a file nor memory that grows with the file.
    enum class Mode { Write, Learn, Hash };

    // `headerRecord` carries its own CR LF. With Mode::Hash, `knownRecord` is the record after the header.
    CreditUploadFile(const std::filesystem::path& destination, std::string headerRecord,
                     Mode mode = Mode::Write, std::string knownRecord = {});

    // A written upload is packed into `entry`'s archive as it is written (see PrepareHashedUpload).
    void packInto(ArchiveEntry entry) { archive_ = std::move(entry); }

    // One record line (003, 004, 005, 006 or the trailer); CR LF is added.
    void writeRecord(std::string_view record);

    struct Result {
        std::string hash;                   // 40 upper-case hexadecimal digits
        std::optional<AtomicFile> file;     // the upload written whole, not yet in place
        std::optional<AtomicFile> archive;  // the archive packed from it, when packInto() was asked
        std::string learnedRecord;          // Mode::Learn: the record after the header, when a hash was asked
        bool written() const { return file.has_value(); }
    };
    // Puts `record` after the header and computes the hash; writes the file only when `writeUpload` is
    // true. A caller that shows no hash of an unwritten file passes `hashUnwritten` false and the work
    // file is not read again. In Mode::Hash a record other than the known one means the source changed
    // between the two makings (FileChangedWhileRead naming `source`). The work file is removed when
    // this object goes.
    Result complete(std::string_view record, bool writeUpload, bool hashUnwritten = true,
                    const std::filesystem::path& source = {});

  private:
    std::filesystem::path destination_;
    std::string header_;
    Mode mode_;
    std::string knownRecord_;
    std::optional<WorkFile> work_;
    std::optional<Sha1> sha_;
    std::optional<ArchiveEntry> archive_;
};

}  // namespace qrv
