#pragma once

#include <string>

namespace qrv {

class Events;

// The account accepted by the account entry dialog, kept until the next confirmation.
struct AccountEntry {
    std::string AccountNo;    // the four parts joined: 10 digits
    std::string AccountName;  // as typed (UTF-8), up to 100 characters
};

// The fields of the account entry dialog, left to right.
enum class AccountField { accountPart1, accountPart2, accountPart3, accountPart4, accountName };

// The account entry dialog ("Account") as a model the window drives: the five field texts as typed
// (UTF-8), the field that has the input focus, the checks of "OK" and the result the cover letter reads.
// It lives as long as the workbench.
class AccountEntryDialog {
  public:
    // The most characters each field takes (the window enforces them while typing).
    static int maxLength(AccountField field);

    // Empties the five fields and puts the focus on the first (before the dialog is shown).
    void clearFields();

    // A field's text changed (typed or pasted); runs the field's change handler.
    void setText(AccountField field, const std::string& text);
    const std::string& text(AccountField field) const;

    // Automatic advance: a full first, second or third part moves the focus to the next part.
    void accountPart1Changed();
    void accountPart2Changed();
    void accountPart3Changed();

    // "OK": checks the fields in order; the first fault shows its message (plain) and leaves the dialog
    // open with the typed values. On success stores AccountEntry, sets Accepted and closes; true then.
    bool confirm(Events& events);
    // "EXIT": clears Accepted and closes; AccountEntry keeps what it held.
    void exit();
    // An account given as data, typed as a person would: the four number boxes get characters 1-3, 4,
    // 5-9 and 10 onwards, the name box the name; then OK, and EXIT when OK refuses. True when accepted.
    bool typeAndConfirm(const AccountEntry& account, Events& events);

    std::string accountPart1;
    std::string accountPart2;
    std::string accountPart3;
    std::string accountPart4;
    std::string accountName;
    AccountField focus = AccountField::accountPart1;
    bool visible = false;

    // Whether the dialog was confirmed (the cover letter sets it before it shows the dialog).
    bool Accepted = false;
    AccountEntry entry;
};

// Characters (code points) of UTF-8 text.
int CharacterCount(const std::string& utf8);

}  // namespace qrv
