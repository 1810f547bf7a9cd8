#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Money.h"
#include "store/TableStore.h"

namespace qrv {

// Where a run was started.
enum class RunOrigin { Window, CommandLine };
std::string_view runOriginName(RunOrigin origin);  // "window", "qrv"

// How a run ended, in the history's words.
namespace run_outcome {
inline constexpr std::string_view kCompleted = "completed";  // its output written
inline constexpr std::string_view kAllRejected = "all rejected";
inline constexpr std::string_view kRefused = "refused";  // a check stopped it once it ran
inline constexpr std::string_view kFailed = "failed";    // an unexpected error
inline constexpr std::string_view kCancelled = "cancelled";
}  // namespace run_outcome

struct RunFile {
    std::string kind;  // "upload", "listing", "archive", ...
    std::string path;
};

// One run as the history keeps it. Texts are UTF-8; paths as the run named them, made absolute.
struct RunEntry {
    std::int64_t id = 0;
    std::string ranAt;  // local time, "yyyy-mm-dd hh:mm:ss"
    std::string userName;
    std::string origin;  // runOriginName()
    std::string product;
    std::string companyId;
    std::string sourcePath;
    std::int64_t sourceSize = 0;
    std::string sourceSha1;  // 40 upper-case hexadecimal digits
    std::string destination;
    std::string uploadHash;  // the upload's hash line; empty when none was written
    std::int64_t records = 0;
    std::optional<Money> total;
    std::int64_t rejected = 0;
    std::string outcome;  // run_outcome
    std::vector<RunFile> written;
};

// Which runs to show; an empty field takes any. Dates are "yyyy-mm-dd", both days included.
struct RunFilter {
    std::string companyId;
    std::string product;
    std::string since;
    std::string until;
};

// Whether a reading of the history reads the files each run wrote (a listing that shows none skips them).
enum class RunFiles { Read, Skipped };

// The run history in the data folder's table store. Each entry is written whole in a transaction of its
// own, so a run that is killed leaves either its whole entry or none. A store without the table (made
// before it existed, or never written to) has an empty history.
class RunHistory {
  public:
    explicit RunHistory(TableStore& store) : store_(store) {}

    // Adds the entry (its id is given by the store).
    void record(const RunEntry& entry);
    // The runs the filter takes, newest first; stops when `each` returns false.
    void forEach(const RunFilter& filter, const std::function<bool(const RunEntry&)>& each,
                 RunFiles files = RunFiles::Read);
    std::vector<RunEntry> list(const RunFilter& filter, RunFiles files = RunFiles::Read);
    // Whether a completed run of the company and product read a source of this size (a cheap test
    // before the source's content is hashed).
    bool anyCompleted(std::string_view companyId, std::string_view product, std::int64_t sourceSize);
    // The latest completed run of the company and product whose source had this size and content.
    std::optional<RunEntry> latestCompleted(std::string_view companyId, std::string_view product,
                                            std::int64_t sourceSize, std::string_view sourceSha1);

  private:
    bool exists();
    void select(const std::string& where, const Binds& binds, RunFiles files,
                const std::function<bool(const RunEntry&)>& each);
    TableStore& store_;
};

// Writes the runs the filter takes, newest first, as a CSV file for an audit (UTF-8, a header row, CR
// LF); the file is replaced only once whole. Returns how many runs it holds.
std::int64_t exportRunHistoryCsv(RunHistory& history, const RunFilter& filter,
                                 const std::filesystem::path& file);

}  // namespace qrv
