#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qrv {

struct ShownReport;
class AccountEntryDialog;

enum class MessageKind { Plain, Information, Confirmation, Warning, Error };

// Everything only a person sees or answers. The window implements it with dialogs, the command line
// prints, tests record. Texts are UTF-8.
class Ui {
  public:
    virtual ~Ui() = default;

    // A message box with an OK button.
    virtual void showMessage(MessageKind kind, const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool askConfirmation(const std::string& text) = 0;
    // The progress bar, 0..100.
    virtual void setProgress(int percent) = 0;
    // A report prepared by a runner; its `modal` tells whether the caller waits for it.
    virtual void showReport(const ShownReport& report) = 0;
    // File dialogs with a filter such as "Text File|*.txt|All File|*.*"; nothing on cancel.
    virtual std::optional<std::string> chooseOpenFile(const std::string& filter) = 0;
    virtual std::optional<std::string> chooseSaveFile(const std::string& filter,
                                                      const std::string& proposedName) = 0;
    // The account entry dialog, shown modally after the cover letter emptied its fields: the person types
    // and presses OK (dialog.btnOKClick, which may refuse and keep it open) or EXIT (dialog.Button1Click).
    // True when it closed confirmed. Without a dialog of its own a front end leaves it as EXIT does.
    virtual bool askAccountEntry(AccountEntryDialog& dialog);
};

}  // namespace qrv
