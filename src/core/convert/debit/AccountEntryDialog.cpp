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
        case AccountField::edtAccNum1:
            return 3;
        case AccountField::edtAccNum2:
        case AccountField::edtAccNum4:
            return 1;
        case AccountField::edtAccNum3:
            return 5;
        case AccountField::NameAccount:
            return 100;
    }
    return 0;
}

void AccountEntryDialog::clearFields() {
    edtAccNum1.clear();
    edtAccNum2.clear();
    edtAccNum3.clear();
    edtAccNum4.clear();
    NameAccount.clear();
    focus = AccountField::edtAccNum1;
}

const std::string& AccountEntryDialog::text(AccountField field) const {
    switch (field) {
        case AccountField::edtAccNum1:
            return edtAccNum1;
        case AccountField::edtAccNum2:
            return edtAccNum2;
        case AccountField::edtAccNum3:
            return edtAccNum3;
        case AccountField::edtAccNum4:
            return edtAccNum4;
        case AccountField::NameAccount:
            break;
    }
    return NameAccount;
}

void AccountEntryDialog::setText(AccountField field, const std::string& value) {
    switch (field) {
        case AccountField::edtAccNum1:
            edtAccNum1 = value;
            edtAccNum1Change();
            return;
        case AccountField::edtAccNum2:
            edtAccNum2 = value;
            edtAccNum2Change();
            return;
        case AccountField::edtAccNum3:
            edtAccNum3 = value;
            edtAccNum3Change();
            return;
        case AccountField::edtAccNum4:
            edtAccNum4 = value;
            return;
        case AccountField::NameAccount:
            NameAccount = value;
            return;
    }
}

void AccountEntryDialog::edtAccNum1Change() {
    if (CharacterCount(edtAccNum1) == 3) {
        focus = AccountField::edtAccNum2;
    }
}

void AccountEntryDialog::edtAccNum2Change() {
    if (CharacterCount(edtAccNum2) == 1) {
        focus = AccountField::edtAccNum3;
    }
}

void AccountEntryDialog::edtAccNum3Change() {
    if (CharacterCount(edtAccNum3) == 5) {
        focus = AccountField::edtAccNum4;
    }
}

bool AccountEntryDialog::btnOKClick(Events& ui) {
    const auto refuse = [&ui](const char* text) {
        ui.showMessage(MessageKind::Plain, text);
        return false;
    };
    if (edtAccNum1.empty() || edtAccNum2.empty() || edtAccNum3.empty() || edtAccNum4.empty() ||
        NameAccount.empty()) {
        return refuse("กรุณา กรอกข้อมูลให้ครบถ้วน");
    }
    if (CharacterCount(edtAccNum1) != 3 || CharacterCount(edtAccNum2) != 1 ||
        CharacterCount(edtAccNum3) != 5 || CharacterCount(edtAccNum4) != 1) {
        return refuse("กรุณาใส่หมายเลขบัญชีให้ครบ");
    }
    const std::string accountNo = edtAccNum1 + edtAccNum2 + edtAccNum3 + edtAccNum4;
    if (accountNo == "0000000000") {
        return refuse("หมายเลขบัญชีไม่ถูกต้อง");
    }
    if (!IsNumeric(accountNo)) {
        return refuse("เลขที่บัญชี :กรุณาใส่ เป็นตัวเลข");
    }
    entry.AccountNo = accountNo;
    entry.AccountName = NameAccount;
    Accepted = true;
    visible = false;
    return true;
}

void AccountEntryDialog::Button1Click() {
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
    setText(AccountField::edtAccNum1, characters(account.AccountNo, 1, 3));
    setText(AccountField::edtAccNum2, characters(account.AccountNo, 4, 4));
    setText(AccountField::edtAccNum3, characters(account.AccountNo, 5, 9));
    setText(AccountField::edtAccNum4, characters(account.AccountNo, 10, -1));
    setText(AccountField::NameAccount, account.AccountName);
    if (btnOKClick(events)) {
        return true;
    }
    Button1Click();
    return false;
}

// A front end that has no account dialog leaves it as EXIT would.
bool Events::askAccountEntry(AccountEntryDialog& dialog) {
    dialog.Button1Click();
    return false;
}

}  // namespace qrv
