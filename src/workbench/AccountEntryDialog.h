#pragma once

#include <optional>
#include <string>

#include "convert/debit/AccountEntry.h"

namespace qrv {

class Events;

// The account entry dialog ("Account") as a model the window drives: the five boxes as typed (UTF-8),
// the box that has the input focus and the checks of "OK". It lives as long as the workbench and keeps
// the account it accepted last.
class AccountEntryDialog {
  public:
    // Empties the five boxes and puts the focus on the first (before the dialog is shown).
    void clearFields();

    // A box's text changed (typed or pasted); a full first, second or third part moves the focus on.
    void setText(AccountField field, const std::string& text);
    const std::string& text(AccountField field) const;
    // The five boxes as the cover letter's request takes them.
    AccountEntry typed() const;

    // "OK": the entry's checks in order; the first fault shows its message (plain) and leaves the dialog
    // open with the typed values. On success keeps the account, sets Accepted and closes; true then.
    bool confirm(Events& events);
    // "EXIT": clears Accepted and closes; the account accepted earlier stays.
    void exit();

    std::string accountPart1;
    std::string accountPart2;
    std::string accountPart3;
    std::string accountPart4;
    std::string accountName;
    AccountField focus = AccountField::accountPart1;
    bool visible = false;

    // Whether the dialog was confirmed (the cover letter sets it before it shows the dialog).
    bool Accepted = false;
    std::optional<CompanyAccount> accepted;
};

}  // namespace qrv
