#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "convert/Services.h"
#include "io/LineReader.h"
#include "io/OutputCommit.h"
#include "reports/ReportRunner.h"
#include "store/TableStore.h"

namespace qrv {

// One run, all or nothing. While it lives the run prepares its outputs: files as work files beside their
// targets (outputs()), table changes in the command's transaction, and what it says once they are in
// place (its "completed" message, its reports) waits. commit() puts the tables and then the files in
// place and then says it. A run that ends without commit (a check, an error, a cancel, a signal) leaves
// every earlier output as it was.
class RunCommit {
  public:
    // Whether the run changes tables (and so opens the table store).
    enum class Tables { Changed, Untouched };
    explicit RunCommit(Services& services, Tables tables = Tables::Changed);
    RunCommit(const RunCommit&) = delete;
    RunCommit& operator=(const RunCommit&) = delete;
    ~RunCommit();

    OutputCommit& outputs() { return outputs_; }
    // A message said once the outputs are in place.
    void tellAfter(std::string message) { told_.emplace_back(std::move(message)); }
    // A report shown once the outputs are in place (its files, if any, were staged).
    void showAfter(ShownReport report) { told_.emplace_back(std::move(report)); }
    bool holdsTold() const { return !told_.empty(); }

    // Cancelling ends; the tables are committed, the files put in place in their order, then the messages
    // and reports held back are told.
    void commit();

    // Runs `reading`, a part of the run that reads a file it read before; when the file turns out to have
    // changed meanwhile, the run's table changes are taken back with it: nothing may be made of such a
    // file, rows neither (a run that stops otherwise keeps the rows it appended).
    template <typename Reading>
    decltype(auto) reading(Reading&& reading) {
        try {
            return reading();
        } catch (const FileChangedWhileRead&) {
            services_.store.discardCommand();
            throw;
        }
    }

  private:
    Services& services_;
    RunCommit* outer_;
    std::optional<TableStore::CommandScope> scope_;
    OutputCommit outputs_;
    std::vector<std::variant<std::string, ShownReport>> told_;
};

}  // namespace qrv
