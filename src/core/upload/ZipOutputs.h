#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "io/ChunkQueue.h"
#include "io/WorkFile.h"

namespace qrv {

// Packs the upload file into the day's archive as its one entry, named `entryName` (the upload's own
// name: its bytes may still lie in a work file), replacing whatever entries the archive held. The archive
// is written whole beside the target, for the run to put in place. When no upload file exists nothing is
// made: no empty archive, and an existing one stays as it was. An existing file that is not a zip archive
// is an error, and is left untouched.
std::optional<AtomicFile> PackArchive(const std::filesystem::path& archive,
                                      const std::filesystem::path& uploadFile, const std::string& entryName);

// Packs an archive as PackArchive does, on a thread of its own, from the upload's bytes as they are handed
// to it (PackArchive reads them from the file meanwhile). The entry is deflated as the archive library
// deflates a file (its stream does not depend on how the bytes are split), and takes its time and permissions
// from `uploadFile` once every byte is given, so the archive is the one PackArchive makes of the finished
// file.
class ArchivePacker {
  public:
    // `size`: the upload's bytes in all. An existing archive that is not a zip archive is refused here.
    ArchivePacker(const std::filesystem::path& archive, const std::filesystem::path& uploadFile,
                  const std::string& entryName, std::uint64_t size);
    ArchivePacker(const ArchivePacker&) = delete;
    ArchivePacker& operator=(const ArchivePacker&) = delete;
    // Without finish(): the packing stops and its work files go.
    ~ArchivePacker();

    // The next bytes of the upload; waits while the packer is a few chunks behind.
    void add(std::string_view bytes);
    // Every byte given and `uploadFile` complete (written, with its permissions): waits for the archive.
    // A failure of the packing shows here.
    AtomicFile finish();

  private:
    struct Source;  // what the archive library reads the entry from
    void pack();

    std::filesystem::path archive_;
    std::filesystem::path upload_;
    std::string entry_;
    std::uint64_t size_;
    std::optional<WorkFile> work_;
    ChunkQueue queue_;  // the upload's bytes, from the writer to the packing thread
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace qrv
