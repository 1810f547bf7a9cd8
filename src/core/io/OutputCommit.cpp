#include "io/OutputCommit.h"

#include <algorithm>

#include "base/QrvError.h"
#include "io/WorkFileRegistry.h"

namespace qrv {

namespace {

CommitStepHook g_hook = nullptr;

void reach(CommitStep step) {
    if (g_hook != nullptr) {
        g_hook(step);
    }
}

constexpr CommitStep kFileSteps[] = {CommitStep::Reports, CommitStep::Listings, CommitStep::Upload,
                                     CommitStep::Archive};

// How long a run waits for another that puts its outputs into the same folder: putting them in place takes
// a few renames, so only a run that is stopped there (a debugger, a suspended process) holds it this long.
constexpr std::chrono::seconds kFolderWait{30};

}  // namespace

const char* commitStepName(CommitStep step) {
    switch (step) {
        case CommitStep::Tables:
            return "tables";
        case CommitStep::Reports:
            return "reports";
        case CommitStep::Listings:
            return "listings";
        case CommitStep::Upload:
            return "upload";
        case CommitStep::Archive:
            return "archive";
        case CommitStep::Told:
            return "told";
    }
    return "";
}

void setCommitStepHookForTests(CommitStepHook hook) noexcept {
    g_hook = hook;
}

OutputCommit::~OutputCommit() = default;

void OutputCommit::add(CommitStep step, AtomicFile file) {
    file.finish();
    entries_.push_back({step, std::make_unique<AtomicFile>(std::move(file)), {}, {}});
}

void OutputCommit::removeIfUnchanged(CommitStep step, const std::filesystem::path& path,
                                     const platform::FileStamp& seen) {
    entries_.push_back({step, nullptr, path, seen});
}

std::vector<std::filesystem::path> OutputCommit::targets() const {
    std::vector<std::filesystem::path> t;
    for (const Entry& e : entries_) {
        if (e.file) {
            t.push_back(e.file->target());
        }
    }
    return t;
}

std::vector<std::filesystem::path> OutputCommit::folders() const {
    std::vector<std::filesystem::path> f;
    for (const Entry& e : entries_) {
        f.push_back((e.file ? e.file->target() : e.removed).parent_path());
    }
    return f;
}

void OutputCommit::commit(const std::function<void()>& tables) {
    // Runs that put outputs into one folder take turns, so that the archive and the upload beside it, and
    // the listings, always come from one run. Waited for before the signals are held: a run waiting here
    // can still be stopped.
    const platform::FolderLocks locks(folders(), kFolderWait);
    const workfiles::SignalsHeld held;
    reach(CommitStep::Tables);
    tables();
    std::vector<std::string> placed;
    try {
        for (const CommitStep step : kFileSteps) {
            reach(step);
            for (Entry& e : entries_) {
                if (e.step != step) {
                    continue;
                }
                if (e.file) {
                    e.file->commit();
                    placed.push_back(e.file->target().string());
                } else if (platform::fileStamp(e.removed) == e.seen) {
                    platform::removeQuietly(e.removed);
                }
            }
        }
    } catch (const QrvError& error) {
        if (placed.empty()) {
            throw;
        }
        std::string names;
        for (const std::string& p : placed) {
            names += (names.empty() ? "\"" : ", \"") + p + "\"";
        }
        throw QrvError(std::string(error.what()) + ". Already in place from this run: " + names);
    }
    reach(CommitStep::Told);
}

}  // namespace qrv
