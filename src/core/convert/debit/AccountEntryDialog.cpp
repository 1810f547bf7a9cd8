#include "convert/debit/AccountEntryDialog.h"

#include "base/Events.h"
#include "base/FieldHelpers.h"

namespace qrv {

int CharacterCount(const std::string& utf8) {
    int n = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

int AccountEntryDialog::maxLength(AccountField field) {
    switch (field) {
        case AccountField::accountPart1:
            return 3;
        case AccountField::accountPart2:
        case AccountField::accountPart4:
            return 1;
        case AccountField::accountPart3:
            return 5;
        case AccountField::accountName:
            return 100;
    }
    return 0;
}

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
    switch (field) {
        case AccountField::accountPart1:
            accountPart1 = value;
            accountPart1Changed();
            return;
        case AccountField::accountPart2:
            accountPart2 = value;
            accountPart2Changed();
            return;
        case AccountField::accountPart3:
            accountPart3 = value;
            accountPart3Changed();
            return;
        case AccountField::accountPart4:
            accountPart4 = value;
            return;
        case AccountField::accountName:
            accountName = value;
            return;
    }
}

void AccountEntryDialog::accountPart1Changed() {
    if (CharacterCount(accountPart1) == 3) {
        focus = AccountField::accountPart2;
    }
}

void AccountEntryDialog::accountPart2Changed() {
    if (CharacterCount(accountPart2) == 1) {
        focus = AccountField::accountPart3;
    }
}

void AccountEntryDialog::accountPart3Changed() {
    if (CharacterCount(accountPart3) == 5) {
        focus = AccountField::accountPart4;
    }
}

bool AccountEntryDialog::confirm(Events& ui) {
    const auto refuse = [&ui](const char* text) {
        ui.showMessage(MessageKind::Plain, text);
        return false;
    };
    if (accountPart1.empty() || accountPart2.empty() || accountPart3.empty() || accountPart4.empty() ||
        accountName.empty()) {
        return refuse("กรุณา กรอกข้อมูลให้ครบถ้วน");
    }
    if (CharacterCount(accountPart1) != 3 || CharacterCount(accountPart2) != 1 ||
        CharacterCount(accountPart3) != 5 || CharacterCount(accountPart4) != 1) {
        return refuse("กรุณาใส่หมายเลขบัญชีให้ครบ");
    }
    const std::string accountNo = accountPart1 + accountPart2 + accountPart3 + accountPart4;
    if (accountNo == "0000000000") {
        return refuse("หมายเลขบัญชีไม่ถูกต้อง");
    }
    if (!IsNumeric(accountNo)) {
        return refuse("เลขที่บัญชี :กรุณาใส่ เป็นตัวเลข");
    }
    entry.AccountNo = accountNo;
    entry.AccountName = accountName;
    Accepted = true;
    visible = false;
    return true;
}

void AccountEntryDialog::exit() {
    Accepted = false;
    visible = false;
}

namespace {

// Characters `from`..`to` (1-based, code points) of UTF-8 text; `to` < 0 for the rest.
std::string characters(const std::string& utf8, int from, int to) {
    std::string part;
    int index = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++index;
        }
        if (index >= from && (to < 0 || index <= to)) {
            part += c;
        }
    }
    return part;
}

}  // namespace

bool AccountEntryDialog::typeAndConfirm(const AccountEntry& account, Events& events) {
    setText(AccountField::accountPart1, characters(account.AccountNo, 1, 3));
    setText(AccountField::accountPart2, characters(account.AccountNo, 4, 4));
    setText(AccountField::accountPart3, characters(account.AccountNo, 5, 9));
    setText(AccountField::accountPart4, characters(account.AccountNo, 10, -1));
    setText(AccountField::accountName, account.AccountName);
    if (confirm(events)) {
        return true;
    }
    exit();
    return false;
}

// A front end that has no account dialog leaves it as EXIT would.
bool Events::askAccountEntry(AccountEntryDialog& dialog) {
    dialog.exit();
    return false;
}

}  // namespace qrv
