#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "io/FileWriter.h"

namespace qrv {

// A private work file with a unique name in a folder, never replacing an existing file, and removed
// on every way out of the command that made it.
class WorkFile {
  public:
    // `stem` starts the name ("pay.txtTemp" gives "pay.txtTempXXXXXX").
    WorkFile(const std::filesystem::path& folder, const std::string& stem);
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;
    WorkFile(WorkFile&&) noexcept;
    WorkFile& operator=(WorkFile&&) noexcept;
    ~WorkFile();

    const std::filesystem::path& path() const { return path_; }
    FileWriter& writer() { return *writer_; }
    // Flushes and closes the writer; the file stays until this object goes.
    void close() { writer_->close(); }
    // Hands the file over (it is no longer removed here).
    std::filesystem::path release();

  private:
    std::filesystem::path path_;
    std::unique_ptr<FileWriter> writer_;
};

// Work file for a destination: in the destination's folder, named after it with `suffix` ("Temp").
WorkFile workFileFor(const std::filesystem::path& destination, const std::string& suffix);

// An output that replaces its target only when complete: written to a work file in the target's
// folder and renamed over the target on commit. Without commit the target stays as it was.
class AtomicFile {
  public:
    explicit AtomicFile(const std::filesystem::path& target);
    FileWriter& writer() { return work_.writer(); }
    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& tempPath() const { return work_.path(); }
    void commit();
    bool committed() const { return committed_; }

  private:
    std::filesystem::path target_;
    WorkFile work_;
    bool committed_ = false;
};

}  // namespace qrv
