#include "workbench/Workbench.h"

#include <gtest/gtest.h>

#include "convert/Examples.h"
#include "support/workbench/WorkbenchFixture.h"

namespace qrv {
namespace {

using test::variable;
using test::WorkbenchFixture;

bool visible(const Workbench& wb, Control c) {
    return wb.controls.at(c).visible;
}

TEST(DefaultSettings, DefaultPreselectsEvenADisabledChoice) {
    WorkbenchFixture f(Date{2026, 12, 8}, "[ReFormat]\nDefault=PA5\nPAY=false\n");
    f.wb.loadSettings();
    EXPECT_EQ(f.wb.selected(), Choice::MediaPayroll2);
    EXPECT_FALSE(f.wb.isEnabled(Choice::MediaPayroll2));
    EXPECT_FALSE(f.wb.isEnabled(Choice::Payroll));
    EXPECT_TRUE(f.wb.isEnabled(Choice::DirectCredit));
    EXPECT_TRUE(visible(f.wb, Control::tierRateReport));  // the media clearing layout is applied
}

TEST(DefaultSettings, LowerCaseDefaultSelectsNothingAndMissingKeysEnableAll) {
    WorkbenchFixture f(Date{2026, 12, 8}, "[ReFormat]\nDefault=dcp\n");
    f.wb.loadSettings();
    EXPECT_EQ(f.wb.selected(), Choice::None);
    for (const ChoiceInfo& c : choices()) {
        EXPECT_TRUE(f.wb.isEnabled(c.choice)) << c.control;
    }
    EXPECT_EQ(f.wb.settings().Print, "T");
    EXPECT_EQ(f.wb.settings().DefaultBranchCode, "Error");
    EXPECT_FALSE(visible(f.wb, Control::secondFile));
}

// The window's choices of a product take its caption and code from the product table; the others have
// none.
TEST(ProductChoice, AProductsChoiceIsItsRow) {
    for (const ProductInfo& p : products()) {
        const Choice c = choiceFor(p.product);
        EXPECT_EQ(choiceInfo(c).product, p.product);
        EXPECT_EQ(choiceInfo(c).caption, p.caption);
        EXPECT_EQ(productCodeOf(c), p.code);
        EXPECT_EQ(sourceFileOf(c), p.source);
    }
    EXPECT_EQ(sourceFileOf(Choice::DirectDebitHash), std::nullopt);
    EXPECT_EQ(productCodeOf(Choice::Convert100M), "");
}

TEST(Workbench, ProductLayoutsSwitchTheFields) {
    WorkbenchFixture f;
    f.wb.loadSettings();
    f.wb.selectProduct(Choice::ManagerCheque);
    EXPECT_TRUE(visible(f.wb, Control::secondFile));
    EXPECT_EQ(f.wb.controls.at(Control::sourceCaption).caption, "Payment File Name");
    EXPECT_FALSE(visible(f.wb, Control::debitAccount));
    f.wb.selectProduct(Choice::DirectDebit100M);
    EXPECT_TRUE(visible(f.wb, Control::v5CorporateIdCaption));
    EXPECT_FALSE(visible(f.wb, Control::companyIdCaption));
    EXPECT_TRUE(visible(f.wb, Control::creditAccount));
    EXPECT_EQ(f.wb.controls.at(Control::thirdLineCaption).caption, "Processing Round");
    f.wb.selectProduct(Choice::ReturnFile);
    EXPECT_EQ(f.wb.controls.at(Control::thirdLineCaption).caption, "File From V5");
    EXPECT_TRUE(visible(f.wb, Control::compareReturnFile));
    EXPECT_FALSE(visible(f.wb, Control::printDetail));
    f.wb.selectProduct(Choice::DirectCredit);
    EXPECT_TRUE(visible(f.wb, Control::printDetail));
    EXPECT_TRUE(visible(f.wb, Control::debitAccount));
    EXPECT_FALSE(visible(f.wb, Control::compareReturnFile));
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(Workbench, DirectDebit100MEmptiesTheProcessingRound) {
    WorkbenchFixture f;
    f.wb.loadSettings();
    f.wb.processingRoundChanged("Start of Day");
    EXPECT_EQ(f.wb.fields.chosenRound, ProcessingRound::StartOfDay);
    f.wb.selectProduct(Choice::DirectDebit100M);
    EXPECT_EQ(f.wb.fields.processingRound, "");
    EXPECT_EQ(f.wb.fields.chosenRound, ProcessingRound::Immediately);
    f.wb.processingRoundChanged("End of Day");
    EXPECT_EQ(f.wb.fields.chosenRound, ProcessingRound::EndOfDay);
    f.wb.processingRoundChanged("typed text");
    EXPECT_EQ(f.wb.fields.chosenRound, ProcessingRound::EndOfDay);
}

TEST(Workbench, AShownHashAsksToClearTheFormOrKeepsTheProduct) {
    WorkbenchFixture f;
    f.wb.loadSettings();
    const auto showHash = [&f] {
        f.wb.fields.companyId = "ACME01";
        f.wb.fields.hashValue = std::string(40, 'A');
    };
    // Cancel: the product, its layout and its fields stay, whatever the product asked for.
    showHash();
    f.ui.confirmAnswer = false;
    for (const Choice c : {Choice::MediaClearing, Choice::DirectCredit, Choice::DirectDebit100M,
                           Choice::Convert100M, Choice::ReturnFile}) {
        EXPECT_FALSE(f.wb.selectProduct(c));
    }
    EXPECT_EQ(f.ui.texts(),
              (std::vector<std::string>{"Clear Form", "Please Clear Form", " Please, Clear Form. ",
                                        "Please Clear Form", "Clear Form"}));
    EXPECT_EQ(f.wb.selected(), Choice::DirectCredit);
    EXPECT_TRUE(visible(f.wb, Control::debitAccount));
    EXPECT_FALSE(visible(f.wb, Control::compareReturnFile));
    EXPECT_EQ(f.wb.fields.companyId, "ACME01");
    f.ui.openAnswer = "/tmp/a.txt";
    f.wb.browseSource();
    EXPECT_EQ(f.ui.texts().back(), "Please Clear Form");
    EXPECT_EQ(f.wb.fields.sourcePath, "");

    // OK: the form is cleared, then the product switches.
    f.ui.confirmAnswer = true;
    EXPECT_TRUE(f.wb.selectProduct(Choice::Convert100M));
    EXPECT_TRUE(visible(f.wb, Control::convertTo100M));
    EXPECT_EQ(f.wb.fields.hashValue, "");
    EXPECT_TRUE(f.wb.selectProduct(Choice::DirectCredit));
    EXPECT_EQ(f.wb.fields.companyId, "") << "cleared before the switch";
    f.wb.browseSource();
    EXPECT_EQ(f.wb.fields.sourcePath, "/tmp/a.txt");
    EXPECT_EQ(f.ui.filters.back(), "Text File|*.txt|Spreadsheet|*.csv;*.xlsx|All File|*.*");
    // A spreadsheet is the source only once a file was built from it, which takes a window.
    f.ui.openAnswer = "/tmp/pay.XLSX";
    f.wb.browseSource();
    EXPECT_EQ(f.wb.fields.sourcePath, "/tmp/a.txt");
    // A product whose source no sheet builds is offered text files only.
    EXPECT_TRUE(f.wb.selectProduct(Choice::Convert100M));
    f.ui.openAnswer = "/tmp/b.csv";
    f.wb.browseSource();
    EXPECT_EQ(f.wb.fields.sourcePath, "/tmp/b.csv");
    EXPECT_EQ(f.ui.filters.back(), "Text File|*.txt|All File|*.*");
}

TEST(Workbench, EachProductKeepsItsOwnFields) {
    WorkbenchFixture f;
    f.wb.loadSettings();
    f.wb.selectProduct(Choice::DirectDebit100M);
    f.wb.fields.companyId = "V5CORP01";
    f.wb.fields.sourcePath = "/in/debits.txt";
    f.wb.processingRoundChanged("Start of Day");
    f.wb.selectProduct(Choice::MediaClearing);
    EXPECT_EQ(f.wb.fields.companyId, "");
    EXPECT_EQ(f.wb.fields.sourcePath, "");
    f.wb.fields.companyId = "MCL01";
    f.wb.selectProduct(Choice::DirectDebit100M);
    EXPECT_EQ(f.wb.fields.companyId, "V5CORP01");
    EXPECT_EQ(f.wb.fields.sourcePath, "/in/debits.txt");
    EXPECT_EQ(f.wb.reformatRequest().companyId, "V5CORP01");
    f.wb.selectProduct(Choice::MediaClearing);
    EXPECT_EQ(f.wb.fields.companyId, "MCL01");
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(Workbench, CopyButtonsAndClearForm) {
    WorkbenchFixture f;
    f.wb.loadSettings();
    f.wb.fields.debitAccount = "1234567896";
    f.wb.copyDebitAccount();
    EXPECT_EQ(f.wb.fields.feeAccount, "1234567896");
    f.wb.fields.creditAccount = "1234567890";
    f.wb.copyCreditAccount();
    EXPECT_EQ(f.wb.fields.debitFeeAccount, "1234567890");
    EXPECT_EQ(f.wb.fields.feeAccountType, "4");
    EXPECT_EQ(f.wb.fields.feeBranch, "123");
    f.wb.fields.printDetail = true;
    f.wb.setProgress(40);
    f.wb.clearForm();
    EXPECT_EQ(f.wb.fields.debitAccount, "");
    EXPECT_EQ(f.wb.fields.debitFeeAccount, "");
    EXPECT_EQ(f.wb.fields.feeBranch, "");
    EXPECT_FALSE(f.wb.fields.printDetail);
    EXPECT_EQ(f.wb.fields.progress, 0);
    EXPECT_EQ(f.wb.fields.chosenRound, ProcessingRound::Immediately);
    EXPECT_EQ(f.wb.selected(), Choice::DirectCredit);  // the product stays
}

TEST(Workbench, HashChoiceTicksPrintDetail) {
    WorkbenchFixture f;
    f.wb.loadSettings();
    f.wb.selectProduct(Choice::DirectDebitHash);
    EXPECT_TRUE(f.wb.fields.printDetail);
    EXPECT_FALSE(visible(f.wb, Control::printDetail));
    EXPECT_TRUE(visible(f.wb, Control::generateHash));
    // Chosen again while a hash is shown: kept as it was, or the form cleared and the box ticked.
    f.wb.fields.hashValue = "X";
    f.wb.fields.printDetail = false;
    f.ui.confirmAnswer = false;
    f.wb.selectProduct(Choice::DirectDebitHash);
    EXPECT_FALSE(f.wb.fields.printDetail);
    EXPECT_EQ(f.wb.fields.hashValue, "X");
    f.ui.confirmAnswer = true;
    f.wb.selectProduct(Choice::DirectDebitHash);
    EXPECT_TRUE(f.wb.fields.printDetail);
    EXPECT_EQ(f.wb.fields.hashValue, "");
    EXPECT_EQ(f.ui.texts(), (std::vector<std::string>{"Clear Form", "Clear Form"}));
}

// The hidden button: the Media Clearing detail layout with the variables the runner holds from the run.
TEST(MediaClearing, HiddenButtonShowsTheDetailLayoutWithTheVariablesTheRunnerHolds) {
    WorkbenchFixture f;
    const std::filesystem::path source = f.dir / "media.txt";
    for (const ExampleFile& e : buildExamples(f.clock.today())) {
        if (e.name == "media-clearing.txt") {
            test::writeFile(source, e.bytes);
        }
    }
    f.wb.selectProduct(Choice::MediaClearing);
    f.wb.fields.companyId = "ACME01";
    f.wb.fields.sourcePath = source.string();
    f.wb.fields.destinationPath = (f.out / "upload.txt").string();
    f.wb.reformat();  // as the window runs it: the workbench sees the report
    ASSERT_EQ(f.ui.reports.size(), 1u) << testing::PrintToString(f.ui.texts());
    ASSERT_EQ(f.ui.reports[0].layoutFile, "rptResult.frf");
    f.wb.mediaDetailReport();
    ASSERT_EQ(f.ui.reports.size(), 2u);
    EXPECT_EQ(f.ui.reports[1].layoutFile, "rptMclDetail.frf");
    EXPECT_EQ(variable(f.ui.reports[1], "FromFile"), source.string());
    EXPECT_EQ(variable(f.ui.reports[1], "HashCode"), f.wb.fields.hashValue);
    EXPECT_EQ(f.wb.fields.hashValue.size(), 40u);
}

}  // namespace
}  // namespace qrv
