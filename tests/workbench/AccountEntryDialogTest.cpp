#include "workbench/AccountEntryDialog.h"

#include <gtest/gtest.h>

#include "support/workbench/WorkbenchFixture.h"

namespace qrv {
namespace {

void type(AccountEntryDialog& d, const std::string& p1, const std::string& p2, const std::string& p3,
          const std::string& p4, const std::string& name) {
    d.setText(AccountField::accountPart1, p1);
    d.setText(AccountField::accountPart2, p2);
    d.setText(AccountField::accountPart3, p3);
    d.setText(AccountField::accountPart4, p4);
    d.setText(AccountField::accountName, name);
}

TEST(AccountEntryDialog, RefusalsInOrderKeepTheDialogOpen) {
    const struct {
        std::string p1, p2, p3, p4, name, message;
    } cases[] = {
        {"123", "4", "56789", "0", "", "กรุณา กรอกข้อมูลให้ครบถ้วน"},
        {"", "4", "56789", "0", "ACME", "กรุณา กรอกข้อมูลให้ครบถ้วน"},
        {"12", "4", "56789", "0", "", "กรุณา กรอกข้อมูลให้ครบถ้วน"},
        {"12", "4", "56789", "0", "ACME", "กรุณาใส่หมายเลขบัญชีให้ครบ"},
        {"123", "45", "6789", "0", "ACME", "กรุณาใส่หมายเลขบัญชีให้ครบ"},
        {"000", "0", "00000", "0", "ACME", "หมายเลขบัญชีไม่ถูกต้อง"},
        {"12A", "4", "56789", "0", "ACME", "เลขที่บัญชี :กรุณาใส่ เป็นตัวเลข"},
        {"123", "4", "567 9", "0", "ACME", "เลขที่บัญชี :กรุณาใส่ เป็นตัวเลข"},
        {"123", "4", "56789", "0", "ACME", "หมายเลขบัญชีไม่ถูกต้อง"},  // the check digit does not fit
    };
    for (const auto& k : cases) {
        test::RecordingUi ui;
        AccountEntryDialog d;
        d.accepted = CompanyAccount{*AccountNumber::parse("9999999999"), "EARLIER"};
        d.visible = true;
        type(d, k.p1, k.p2, k.p3, k.p4, k.name);
        EXPECT_FALSE(d.confirm(ui));
        ASSERT_EQ(ui.messages.size(), 1u) << k.message;
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Plain);
        EXPECT_EQ(ui.messages[0].text, k.message);
        EXPECT_FALSE(d.Accepted);
        EXPECT_TRUE(d.visible);
        EXPECT_EQ(d.accountPart1, k.p1);
        EXPECT_EQ(d.accountName, k.name);
        EXPECT_EQ(d.accepted->number.text(), "9999999999");
    }
}

TEST(AccountEntryDialog, AcceptsTheFourPartsOfAnAccountWhoseCheckDigitFits) {
    test::RecordingUi ui;
    AccountEntryDialog d;
    d.visible = true;
    type(d, "123", "4", "56789", "6", "   ");  // blanks are a name
    EXPECT_TRUE(d.confirm(ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(d.Accepted);
    EXPECT_FALSE(d.visible);
    EXPECT_EQ(d.accepted->number.text(), "1234567896");
    EXPECT_EQ(d.accepted->name, "   ");

    // EXIT keeps the accepted account and clears the flag.
    d.clearFields();
    EXPECT_EQ(d.accountPart1 + d.accountPart2 + d.accountPart3 + d.accountPart4 + d.accountName, "");
    d.exit();
    EXPECT_FALSE(d.Accepted);
    EXPECT_EQ(d.accepted->number.text(), "1234567896");
}

TEST(AccountEntryDialog, FullPartsMoveTheFocusOn) {
    AccountEntryDialog d;
    d.clearFields();
    EXPECT_EQ(d.focus, AccountField::accountPart1);
    d.setText(AccountField::accountPart1, "12");
    EXPECT_EQ(d.focus, AccountField::accountPart1);
    d.setText(AccountField::accountPart1, "123");
    EXPECT_EQ(d.focus, AccountField::accountPart2);
    d.setText(AccountField::accountPart2, "4");
    EXPECT_EQ(d.focus, AccountField::accountPart3);
    d.setText(AccountField::accountPart3, "5678");
    EXPECT_EQ(d.focus, AccountField::accountPart3);
    d.setText(AccountField::accountPart3, "56789");
    EXPECT_EQ(d.focus, AccountField::accountPart4);
    d.setText(AccountField::accountPart4, "0");
    EXPECT_EQ(d.focus, AccountField::accountPart4);
    // A Thai name counts characters, not bytes.
    EXPECT_EQ(CharacterCount("บริษัท"), 6);
    EXPECT_EQ(maxLength(AccountField::accountName), 100);
    EXPECT_EQ(maxLength(AccountField::accountPart3), 5);
}

}  // namespace
}  // namespace qrv
