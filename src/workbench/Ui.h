#pragma once

#include <optional>
#include <string>

#include "base/Events.h"
#include "workbench/AccountEntryDialog.h"
#include "workbench/SheetMappingForm.h"

namespace qrv {

class Workbench;

// Everything only a person sees or answers in the window: the events of a run and the file dialogs.
class Ui : public Events {
  public:
    // File dialogs with a filter such as "Text File|*.txt|All File|*.*"; nothing on cancel.
    virtual std::optional<std::string> chooseOpenFile(const std::string& filter) = 0;
    virtual std::optional<std::string> chooseSaveFile(const std::string& filter,
                                                      const std::string& proposedName) = 0;
    // The warning of a product switch while a run's results are on screen ("Clear Form"): true when the
    // person chose to clear the form and switch, false to stay with the product chosen.
    virtual bool askClearForm(const std::string& text) { return askConfirmation(text); }
    // A spreadsheet chosen as the source of the workbench's product: the person maps its columns in the
    // mapping dialog over `form` and the source file is built from it. The file built; nothing when none
    // was (no window to map it in).
    virtual std::optional<std::string> sourceFromSheet(SheetMappingForm& /*form*/) { return std::nullopt; }
    // The account entry dialog, shown modally with the boxes the cover letter emptied: the person types
    // and presses OK (dialog.confirm, which may refuse and keep it open) or EXIT (dialog.exit). True
    // when it closed confirmed. Without a dialog of its own a front end leaves it as EXIT does.
    virtual bool askAccountEntry(AccountEntryDialog& dialog) {
        dialog.exit();
        return false;
    }
};

}  // namespace qrv
