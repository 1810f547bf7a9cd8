#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "workbench/Workbench.h"

namespace qrv {
namespace {

using test::WorkbenchFixture;

// A workbench with every field a credit run needs, valid, on product `choice`.
struct Ready : WorkbenchFixture {
    explicit Ready(Choice choice) {
        wb.FormCreate();
        wb.selectProduct(choice);
        test::writeFile(out / "src.txt", "header\r\n");
        wb.fields.edtComId = "ACME01";
        wb.fields.edtSource = (out / "src.txt").string();
        wb.fields.edtDestination = (out / "up.txt").string();
        wb.fields.edtDebitAcct = "1234567896";
        wb.fields.edtFeeAcct = "1234567896";
        wb.fields.CreditAccountEdit = "1234567896";
        wb.fields.DebitFeeAccEdt = "1234567896";
        wb.ProcessingRoundChange("Immediately");
    }
    std::string press() {
        ui.messages.clear();
        wb.btnActionClick();
        return ui.messages.empty() ? std::string() : ui.messages.front().text;
    }
};

TEST(ReformatCommand, CreditPreChecksInTheirOrder) {
    Ready r(Choice::Pay3);
    r.wb.fields.edtComId = "";
    r.wb.fields.edtSource = "";
    EXPECT_EQ(r.press(), "Please insert company id");
    r.wb.fields.edtComId = "   ";  // only emptiness is tested
    EXPECT_EQ(r.press(), "Please select product type or select file name before reformat data ");
    r.wb.fields.edtSource = (r.out / "missing.txt").string();
    EXPECT_EQ(r.press(), "Source file name does not exist. Please insert valid file name and retry");
    r.wb.fields.edtSource = (r.out / "src.txt").string();
    r.wb.fields.edtDebitAcct = "  ";
    r.wb.fields.edtFeeAcct = "";
    EXPECT_EQ(r.press(), "Please insert debit account");
    r.wb.fields.edtDebitAcct = "0000000000";
    EXPECT_EQ(r.press(), "Please insert debit fee account");
    r.wb.fields.edtFeeAcct = "1234567895";
    EXPECT_EQ(r.press(), "Invalid debit account");
    r.wb.fields.edtDebitAcct = " 12301234567 ";  // trimmed; 11 digits with a right check digit
    EXPECT_EQ(r.press(), "Invalid debit fee account");
    EXPECT_EQ(r.wb.run.ProductCode, "PA3");
    // Nothing was written by a refused press.
    EXPECT_EQ(test::listFolder(r.out), std::vector<std::string>{"src.txt"});
}

TEST(ReformatCommand, NoProductOrACommandWithoutReformat) {
    for (const Choice c : {Choice::None, Choice::Debit, Choice::Convert100M, Choice::ReturnFile}) {
        Ready r(Choice::Direct10m);
        r.wb.selectProduct(c);
        EXPECT_EQ(r.press(), "Please select product type or select file name before reformat data ");
        EXPECT_EQ(r.wb.run.ProductCode, "") << "the code keeps its previous value";
    }
}

TEST(ReformatCommand, CompanyIdThatWouldLeaveTheOutputFolderIsRefused) {
    for (const char* id : {"../x", "a/b", "a\\b", "a\tb", "a\x01"}) {
        Ready r(Choice::Direct10m);
        r.wb.fields.edtComId = id;
        r.wb.fields.edtDebitAcct = "";
        EXPECT_EQ(r.press(), "Invalid company id") << id;
    }
}

TEST(ReformatCommand, DirectDebit100MChecksItsOwnAccountsAndRound) {
    Ready r(Choice::DirectDebit100M);
    r.wb.fields.edtComId = "";
    r.wb.fields.CreditAccountEdit = "";
    EXPECT_EQ(r.press(), "Please insert company id");
    r.wb.fields.edtComId = "V5CORP";
    EXPECT_EQ(r.press(), "Please, insert Credit account.");
    r.wb.fields.CreditAccountEdit = "1234567895";
    r.wb.fields.DebitFeeAccEdt = " ";
    EXPECT_EQ(r.press(), "Please, insert debit fee account.");
    r.wb.fields.DebitFeeAccEdt = "1234567895";
    EXPECT_EQ(r.press(), "!! Invalid Credit Account account.");
    r.wb.fields.CreditAccountEdit = "1234567896";
    EXPECT_EQ(r.press(), "!! Invalid debit fee account.");
    r.wb.fields.DebitFeeAccEdt = "1234567896";
    r.wb.selectProduct(Choice::DirectDebit100M);  // empties the round
    EXPECT_EQ(r.press(), "Please insert Processing Round");
    r.wb.fields.ProcessingRound = "----- Please Select -----";  // counts as not empty
    r.press();
    EXPECT_EQ(r.wb.run.ProductCode, "DDR");
}

TEST(ReformatCommand, ManagerChequeNeedsEveryLine700Long) {
    Ready r(Choice::Mcp);
    test::writeFile(r.out / "src.txt", test::crlfLines({std::string(700, 'x'), std::string(699, 'x')}));
    EXPECT_EQ(r.press(), "Length of line in the source file are missmatch for format cheque issuance");
    EXPECT_EQ(test::listFolder(r.out), std::vector<std::string>{"src.txt"});
}

TEST(ReformatCommand, HeaderRecordIsBuiltAtThePress) {
    Ready r(Choice::Direct10m);
    r.press();
    EXPECT_EQ(r.wb.run.HeaderRecord.substr(0, 23), "001ACME01      20261208");
    EXPECT_EQ(r.wb.run.OutputFolder, (r.out / "").string());
}

}  // namespace
}  // namespace qrv
