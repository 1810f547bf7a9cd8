#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "io/OutputCommit.h"
#include "io/WorkFile.h"

namespace qrv {

// A listing line: "LineNo : " + line number + "  Column : " + columns + message (the message carries its
// own leading blanks). Assigned to `out`, whose buffer is reused.
void ListingLine(std::string& out, std::int64_t lineNo, std::string_view columns, std::string_view message);
std::string ListingLine(std::int64_t lineNo, std::string_view columns, std::string_view message);

// The error listings of a run: each is a work file in the output folder from its first line on, handed to
// the run's commit at its end; without that none is put in place.
class ErrorListings {
  public:
    // A listing set that `discards` takes lines and writes nothing (a dry run).
    explicit ErrorListings(std::string outputFolder, bool discards = false)
        : folder_(std::move(outputFolder)), discards_(discards) {}

    // AppendErrorLine: `line` and CR LF at the end of folder + listingName.
    void AppendErrorLine(const std::string& listingName, std::string_view line);
    // Writes what is buffered; errors are reported here rather than lost at destruction.
    void close();
    // Hands every listing that got a line to `outputs`, to replace the listing of its name.
    void stageInto(OutputCommit& outputs);

  private:
    std::string folder_;
    bool discards_ = false;
    std::map<std::string, std::unique_ptr<AtomicFile>> open_;
};

}  // namespace qrv
