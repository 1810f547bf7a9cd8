#include "workbench/Workbench.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::WorkbenchFixture;

bool visible(const Workbench& wb, Control c) {
    return wb.controls.at(c).visible;
}

TEST(DefaultSettings, DefaultPreselectsEvenADisabledChoice) {
    WorkbenchFixture f(Date{2026, 12, 8}, "[ReFormat]\nDefault=PA5\nPAY=false\n");
    f.wb.FormCreate();
    EXPECT_EQ(f.wb.selected(), Choice::Pay5);
    EXPECT_FALSE(f.wb.isEnabled(Choice::Pay5));
    EXPECT_FALSE(f.wb.isEnabled(Choice::Pay));
    EXPECT_TRUE(f.wb.isEnabled(Choice::Direct10m));
    EXPECT_TRUE(visible(f.wb, Control::calculateTierRate));  // the media clearing layout is applied
}

TEST(DefaultSettings, LowerCaseDefaultSelectsNothingAndMissingKeysEnableAll) {
    WorkbenchFixture f(Date{2026, 12, 8}, "[ReFormat]\nDefault=dcp\n");
    f.wb.FormCreate();
    EXPECT_EQ(f.wb.selected(), Choice::None);
    for (const ChoiceInfo& c : choices()) {
        EXPECT_TRUE(f.wb.isEnabled(c.choice)) << c.control;
    }
    EXPECT_EQ(f.wb.settings().Print, "T");
    EXPECT_EQ(f.wb.settings().DefaultBranchCode, "Error");
    EXPECT_FALSE(visible(f.wb, Control::edtInvoice));
}

TEST(Workbench, ProductLayoutsSwitchTheFields) {
    WorkbenchFixture f;
    f.wb.FormCreate();
    f.wb.selectProduct(Choice::Mcp);
    EXPECT_TRUE(visible(f.wb, Control::edtInvoice));
    EXPECT_EQ(f.wb.controls.at(Control::lblSource).caption, "Payment File Name");
    EXPECT_FALSE(visible(f.wb, Control::edtDebitAcct));
    f.wb.selectProduct(Choice::DirectDebit100M);
    EXPECT_TRUE(visible(f.wb, Control::lblV5CorporateId));
    EXPECT_FALSE(visible(f.wb, Control::lblComId));
    EXPECT_TRUE(visible(f.wb, Control::CreditAccountEdit));
    EXPECT_EQ(f.wb.controls.at(Control::lblThirdLine).caption, "Processing Round");
    f.wb.selectProduct(Choice::ReturnFile);
    EXPECT_EQ(f.wb.controls.at(Control::lblThirdLine).caption, "File From V5");
    EXPECT_TRUE(visible(f.wb, Control::Button2));
    EXPECT_FALSE(visible(f.wb, Control::CheckBox1));
    f.wb.selectProduct(Choice::Direct10m);
    EXPECT_TRUE(visible(f.wb, Control::CheckBox1));
    EXPECT_TRUE(visible(f.wb, Control::edtDebitAcct));
    EXPECT_FALSE(visible(f.wb, Control::Button2));
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(Workbench, DirectDebit100MEmptiesTheProcessingRound) {
    WorkbenchFixture f;
    f.wb.FormCreate();
    f.wb.ProcessingRoundChange("Start of Day");
    EXPECT_EQ(f.wb.run.ProcessingRoundCode, "02");
    f.wb.selectProduct(Choice::DirectDebit100M);
    EXPECT_EQ(f.wb.fields.ProcessingRound, "");
    EXPECT_EQ(f.wb.run.ProcessingRoundCode, "00");
    f.wb.ProcessingRoundChange("End of Day");
    EXPECT_EQ(f.wb.run.ProcessingRoundCode, "01");
    f.wb.ProcessingRoundChange("typed text");
    EXPECT_EQ(f.wb.run.ProcessingRoundCode, "01");
}

TEST(Workbench, AShownHashWarnsButStillSwitches) {
    WorkbenchFixture f;
    f.wb.FormCreate();
    f.wb.fields.edtHashValue = std::string(40, 'A');
    f.wb.selectProduct(Choice::Media);
    f.wb.selectProduct(Choice::Direct10m);
    f.wb.selectProduct(Choice::DirectDebit100M);
    f.wb.selectProduct(Choice::Convert100M);
    EXPECT_EQ(f.ui.texts(), (std::vector<std::string>{"Clear Form", "Please Clear Form",
                                                      " Please, Clear Form. ", "Please Clear Form"}));
    EXPECT_TRUE(visible(f.wb, Control::CreditAccountEdit));  // switched to 100M, but not to convert
    EXPECT_FALSE(visible(f.wb, Control::btnConvert));
    f.ui.openAnswer = "/tmp/a.txt";
    f.wb.btnBrowseClick();
    EXPECT_EQ(f.ui.texts().back(), "Please Clear Form");
    EXPECT_EQ(f.wb.fields.edtSource, "");
    f.wb.bntClearFormClick();
    f.wb.btnBrowseClick();
    EXPECT_EQ(f.wb.fields.edtSource, "/tmp/a.txt");
    EXPECT_EQ(f.ui.filters.back(), "Text File|*.txt|All File|*.*");
}

TEST(Workbench, CopyButtonsAndClearForm) {
    WorkbenchFixture f;
    f.wb.FormCreate();
    f.wb.fields.edtDebitAcct = "1234567896";
    f.wb.btnCopyAcctClick();
    EXPECT_EQ(f.wb.fields.edtFeeAcct, "1234567896");
    f.wb.fields.CreditAccountEdit = "1234567890";
    f.wb.btncopyAccDDPClick();
    EXPECT_EQ(f.wb.fields.DebitFeeAccEdt, "1234567890");
    EXPECT_EQ(f.wb.fields.display_AcctType_FeeAcct, "4");
    EXPECT_EQ(f.wb.fields.display_BranCode_FeeAcct, "123");
    f.wb.fields.CheckBox1 = true;
    f.wb.setProgress(40);
    f.wb.bntClearFormClick();
    EXPECT_EQ(f.wb.fields.edtDebitAcct, "");
    EXPECT_EQ(f.wb.fields.DebitFeeAccEdt, "");
    EXPECT_EQ(f.wb.fields.display_BranCode_FeeAcct, "");
    EXPECT_FALSE(f.wb.fields.CheckBox1);
    EXPECT_EQ(f.wb.fields.pgbState, 0);
    EXPECT_EQ(f.wb.run.ProcessingRoundCode, "00");
    EXPECT_EQ(f.wb.selected(), Choice::Direct10m);  // the product stays
}

TEST(Workbench, HashChoiceTicksPrintDetailOnlyWithoutAHash) {
    WorkbenchFixture f;
    f.wb.FormCreate();
    f.wb.selectProduct(Choice::Debit);
    EXPECT_TRUE(f.wb.fields.CheckBox1);
    EXPECT_FALSE(visible(f.wb, Control::CheckBox1));
    EXPECT_TRUE(visible(f.wb, Control::btnGenHash));
    f.wb.fields.edtHashValue = "X";
    f.wb.selectProduct(Choice::Debit);
    EXPECT_FALSE(f.wb.fields.CheckBox1);
    EXPECT_EQ(f.ui.texts(), std::vector<std::string>{"Clear Form"});
}

}  // namespace
}  // namespace qrv
