#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <string_view>

#include "io/FileWriter.h"

namespace qrv {

// A private work file with a unique name in a folder, never replacing an existing file, and removed on
// every way out of the command that made it: by this object, by the handler of TERM, INT and HUP, or,
// after a KILL, by the next work file made in that folder (stale work files whose process is gone).
class WorkFile {
  public:
    // `stem` starts the name: "<stem>.qrv<pid>-XXXXXX", the stem shortened so the name stays within
    // the bytes a file name may hold (with room for the archive library's own suffix).
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
    void discard() noexcept;
    std::filesystem::path path_;
    std::unique_ptr<FileWriter> writer_;
};

// Work file for a destination: hidden, in the destination's folder, named after it with `suffix`.
WorkFile workFileFor(const std::filesystem::path& destination, const std::string& suffix);

// Removes the work files in `folder` left by processes that are gone (killed before they could); only
// files of this program's naming, owned by this user. Never throws.
void RemoveStaleWorkFiles(const std::filesystem::path& folder) noexcept;
// The same for any files of ours whose name starts with `prefix` (a quick test before the pattern) and
// matches `names` whole, its first group the process id.
void RemoveFilesOfGoneProcesses(const std::filesystem::path& folder, std::string_view prefix,
                                const std::regex& names) noexcept;

// An output that replaces its target only when complete: written to a work file in the target's folder
// and renamed over the target on commit. Without commit the target stays as it was. A target that is a
// symbolic link is replaced by the file (the link's target stays); one that is a folder, FIFO or device
// is refused before anything is written.
class AtomicFile {
  public:
    explicit AtomicFile(const std::filesystem::path& target);
    // A work file that another writer (the archive library) filled and closed, to replace `target`.
    AtomicFile(const std::filesystem::path& target, WorkFile written);
    FileWriter& writer() { return work_.writer(); }
    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& tempPath() const { return work_.path(); }
    // The file is whole: its bytes go to disk and it is closed (with the permissions a new file gets);
    // only putting it in place remains. A full disk shows here.
    void finish();
    // Finishes the file as finish() does, its bytes going to disk on a second thread while `meanwhile`
    // runs (work that reads the file, such as packing it). A failure of either shows here, the file's own
    // first.
    void finishWhile(const std::function<void()>& meanwhile);
    // Finishes the file if need be and renames it over the target.
    void commit();
    bool committed() const { return committed_; }

  private:
    static WorkFile checkedWorkFile(const std::filesystem::path& target);
    std::filesystem::path target_;
    WorkFile work_;
    bool finished_ = false;
    bool committed_ = false;
};

}  // namespace qrv
