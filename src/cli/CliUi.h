#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "workbench/Ui.h"

namespace qrv::cli {

// The command line's Ui: each message is one line on standard output, a question is answered Yes,
// progress goes to standard error only when it is a terminal, and with --report-out every report shown
// is also written as HTML and JSON named after the layout asked for.
class CliUi final : public Ui {
  public:
    // `printMessages` false holds the messages for the --json object instead of printing them.
    CliUi(std::ostream& out, std::optional<std::filesystem::path> reportOut, bool printMessages = true);

    void showMessage(MessageKind kind, const std::string& text) override;
    bool askConfirmation(const std::string& text) override;
    void setProgress(int percent) override;
    void showReport(const ShownReport& report) override;
    std::optional<std::string> chooseOpenFile(const std::string& filter) override;
    std::optional<std::string> chooseSaveFile(const std::string& filter,
                                              const std::string& proposedName) override;
    // Fills the account entry dialog with the account given by setAccountEntry and presses OK; when
    // refused (or when none was given) it is left with EXIT.
    bool askAccountEntry(AccountEntryDialog& dialog) override;
    void setAccountEntry(std::string accountNo, std::string accountName);

    std::ostream& out() { return out_; }
    const std::vector<std::pair<MessageKind, std::string>>& messages() const { return messages_; }
    int reportsShown() const { return reportsShown_; }
    // Ends a progress line on the terminal, if one was drawn.
    void finishProgress();

  private:
    std::ostream& out_;
    std::optional<std::filesystem::path> reportOut_;
    bool printMessages_;
    std::vector<std::pair<MessageKind, std::string>> messages_;
    int reportsShown_ = 0;
    bool progressShown_ = false;
    bool terminal_ = false;
    std::optional<std::pair<std::string, std::string>> accountEntry_;
};

}  // namespace qrv::cli
