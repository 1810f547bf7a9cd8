#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "io/Platform.h"
#include "io/WorkFile.h"

namespace qrv {

// The steps of putting a run's outputs in place, in their order: its table changes first, then its report
// files, its listings, its upload file (or a command's one file: the comparison or converted file), and
// last the archive that holds the upload, so that a new archive means every output of its run is in
// place. Told follows the last file, before the run says it is done.
enum class CommitStep { Tables, Reports, Listings, Upload, Archive, Told };

const char* commitStepName(CommitStep step);

// Test seam: when set, called as each step begins (for steps without files too). Only tests set it, to
// stop a process between two steps; the default is nothing.
using CommitStepHook = void (*)(CommitStep step);
void setCommitStepHookForTests(CommitStepHook hook) noexcept;

// The outputs of one run, prepared whole as work files beside their targets and put in place together by
// commit(). Until then no target changes: a run that ends without commit (a check, an error, a signal)
// removes its work files and leaves every earlier output as it was.
class OutputCommit {
  public:
    OutputCommit() = default;
    OutputCommit(const OutputCommit&) = delete;
    OutputCommit& operator=(const OutputCommit&) = delete;
    ~OutputCommit();

    // A file written whole, put in place at `step`. Its bytes are made durable here, so that a full disk
    // shows before anything is put in place.
    void add(CommitStep step, AtomicFile file);
    // At `step`, removes `path` if it is still the file `seen` describes (the same file, unchanged).
    void removeIfUnchanged(CommitStep step, const std::filesystem::path& path,
                           const platform::FileStamp& seen);
    // The files prepared so far, in the order they were added.
    std::vector<std::filesystem::path> targets() const;
    bool empty() const { return entries_.empty(); }

    // Puts everything in place in the order of the steps: `tables` (the table store's commit) first, then
    // the files. The folders of the files are locked first (another run committing into one of them is
    // waited for: platform::FolderLocks). TERM, INT and HUP wait until the last file is in place. A
    // failure after some files were put in place names them.
    void commit(const std::function<void()>& tables);

  private:
    // The folders the files go into, as their targets name them.
    std::vector<std::filesystem::path> folders() const;
    struct Entry {
        CommitStep step;
        std::unique_ptr<AtomicFile> file;  // or, without one, a removal
        std::filesystem::path removed;
        platform::FileStamp seen;
    };
    std::vector<Entry> entries_;
};

}  // namespace qrv
