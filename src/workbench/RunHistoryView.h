#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "store/RunHistory.h"

namespace qrv {

// The Run history window's model: the filter as chosen, the runs it takes (newest first), the text of
// each cell, and what the window does with a run (open its folder, copy its hash).
class RunHistoryView {
  public:
    explicit RunHistoryView(TableStore& store) : history_(store) {}

    // The filter: an empty company, product or date takes any; dates are "yyyy-mm-dd", both included.
    RunFilter filter;
    // Reads the runs the filter takes again.
    void refresh();
    const std::vector<RunEntry>& runs() const { return runs_; }

    // The table's column captions, and the text of a run's cell.
    static const std::vector<std::string>& columns();
    static std::string cell(const RunEntry& run, size_t column);
    // Whether a column holds numbers (shown right-aligned); whether it holds the program's own words
    // (the outcome, where the run came from), which a window shows in its language.
    static bool numeric(size_t column);
    static bool translated(size_t column);
    // The products the filter offers ("" first: all of them).
    static std::vector<std::string> productChoices();

    // The folder of the run's destination, where its upload, listings and archive are.
    static std::filesystem::path folderOf(const RunEntry& run);
    // The hash the run's upload file carries; empty when it wrote none.
    static const std::string& hashOf(const RunEntry& run) { return run.uploadHash; }

  private:
    RunHistory history_;
    std::vector<RunEntry> runs_;
};

}  // namespace qrv
