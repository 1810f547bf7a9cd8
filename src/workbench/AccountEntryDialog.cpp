#include "workbench/AccountEntryDialog.h"

#include "base/Events.h"

namespace qrv {

void AccountEntryDialog::clearFields() {
    accountPart1.clear();
    accountPart2.clear();
    accountPart3.clear();
    accountPart4.clear();
    accountName.clear();
    focus = AccountField::accountPart1;
}

const std::string& AccountEntryDialog::text(AccountField field) const {
    switch (field) {
        case AccountField::accountPart1:
            return accountPart1;
        case AccountField::accountPart2:
            return accountPart2;
        case AccountField::accountPart3:
            return accountPart3;
        case AccountField::accountPart4:
            return accountPart4;
        case AccountField::accountName:
            break;
    }
    return accountName;
}

void AccountEntryDialog::setText(AccountField field, const std::string& value) {
    // The box that moves the focus on when full, and the box it moves it to.
    const auto advance = [this, field](const std::string& text, AccountField next) {
        if (CharacterCount(text) == maxLength(field)) {
            focus = next;
        }
    };
    switch (field) {
        case AccountField::accountPart1:
            accountPart1 = value;
            advance(accountPart1, AccountField::accountPart2);
            return;
        case AccountField::accountPart2:
            accountPart2 = value;
            advance(accountPart2, AccountField::accountPart3);
            return;
        case AccountField::accountPart3:
            accountPart3 = value;
            advance(accountPart3, AccountField::accountPart4);
            return;
        case AccountField::accountPart4:
            accountPart4 = value;
            return;
        case AccountField::accountName:
            accountName = value;
            return;
    }
}

AccountEntry AccountEntryDialog::typed() const {
    return {accountPart1, accountPart2, accountPart3, accountPart4, accountName};
}

bool AccountEntryDialog::confirm(Events& events) {
    AccountEntryCheck check = CheckAccountEntry(typed());
    if (!check.account) {
        events.showMessage(MessageKind::Plain, check.fault);
        return false;
    }
    accepted = std::move(check.account);
    Accepted = true;
    visible = false;
    return true;
}

void AccountEntryDialog::exit() {
    Accepted = false;
    visible = false;
}

}  // namespace qrv
