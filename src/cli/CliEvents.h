#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "base/Events.h"

namespace qrv::cli {

// The command line's events sink: each message is one line on standard output, a question is answered Yes,
// progress goes to standard error only when it is a terminal, and with --report-out every report shown
// is also written as HTML and JSON named after the layout asked for.
class CliEvents final : public Events {
  public:
    // `printMessages` false holds the messages for the --json object instead of printing them.
    CliEvents(std::ostream& out, std::optional<std::filesystem::path> reportOut, bool printMessages = true);

    void showMessage(MessageKind kind, const std::string& text) override;
    bool askConfirmation(const std::string& text) override;
    void setProgress(int percent) override;
    // The report's files were staged with the run's outputs; showing it adds nothing here.
    void showReport(const ShownReport&) override {}
    // With --report-out: the report's HTML and JSON written whole as work files of the run.
    void stageReport(const ShownReport& report, OutputCommit& outputs) override;
    std::vector<std::filesystem::path> reportFiles() const override;
    // Checks, without making anything, that the --report-out folder can take files: it is a folder that can
    // be written, or it can be made (nothing without the option).
    void checkReportFolder() const;
    // Makes the --report-out folder and checks that files can be made in it (nothing without the option).
    void prepareReportFolder();

    std::ostream& out() { return out_; }
    const std::vector<std::pair<MessageKind, std::string>>& messages() const { return messages_; }
    // Ends a progress line on the terminal, if one was drawn.
    void finishProgress();

  private:
    std::ostream& out_;
    std::optional<std::filesystem::path> reportOut_;
    bool printMessages_;
    std::vector<std::pair<MessageKind, std::string>> messages_;
    bool progressShown_ = false;
    bool reportFolderReady_ = false;
    bool terminal_ = false;
};

}  // namespace qrv::cli
