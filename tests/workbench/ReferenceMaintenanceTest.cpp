#include <gtest/gtest.h>

#include "support/workbench/WorkbenchFixture.h"
#include "workbench/ReferenceMaintenance.h"

namespace qrv {
namespace {

using B = MaintenanceButton;
using S = MaintenanceState;

// An empty store with a few banks, the window models over it and a recording Ui.
class Maintenance : public ::testing::Test {
  protected:
    Maintenance() {
        addBank("014", "ธนาคารหลัก", "Home Bank");
        addBank("002", "ธนาคารกรุง", "Capital Bank");
        addBank("011", "ธนาคารทหาร", "Army Bank");
    }
    void addBank(const std::string& code, const std::string& th, const std::string& en) {
        store.append("Bank", {{"BANK_CODE", code}, {"BANK_NAME_TH", th}, {"BANK_NAME_EN", en}});
    }
    void addBranch(const std::string& code, const std::string& bank, const std::string& en) {
        store.append("BRANCH", {{"BRANCH_CODE", code},
                                {"BANK_CODE", bank},
                                {"BRANCH_NAME_TH", "สาขา " + code},
                                {"BRANCH_NAME_EN", en},
                                {"REGION_CODE", "01"}});
    }
    std::vector<std::string> column(const ReferenceMaintenance& m, size_t c) const {
        std::vector<std::string> cells;
        for (int r = 0; r < static_cast<int>(m.rows().size()); ++r) {
            cells.push_back(m.cell(r, c));
        }
        return cells;
    }
    void selectCode(ReferenceMaintenance& m, const std::string& code) {
        for (int r = 0; r < static_cast<int>(m.rows().size()); ++r) {
            if (m.cell(r, 0) == code) {
                m.setCurrent(r);
                return;
            }
        }
        FAIL() << "no row " << code;
    }
    void type(ReferenceMaintenance& m, const std::vector<std::string>& texts) {
        for (size_t i = 0; i < texts.size(); ++i) {
            m.setFieldText(i, texts[i]);
        }
    }
    std::optional<Row> bank(const std::string& code) { return store.lookup("Bank", "BANK_CODE", code); }
    size_t count(const std::string& table) { return store.query("SELECT * FROM " + table).size(); }

    test::TempDir dir;
    TableStore store{dir.path()};
    test::RecordingUi ui;
    ReferenceMaintenance banks = ReferenceMaintenance::forBanks(store, ui);
};

TEST_F(Maintenance, EachStateEnablesItsButtons) {
    banks.activate();
    struct Expect {
        S state;
        MaintenancePage page;
        std::vector<B> on;
    };
    const std::vector<B> all = {B::Back, B::Branch, B::New, B::Edit, B::Delete, B::View, B::Save, B::Cancel};
    auto check = [&](const Expect& e) {
        EXPECT_EQ(banks.state(), e.state);
        EXPECT_EQ(banks.page(), e.page);
        for (const B b : all) {
            const bool on = std::find(e.on.begin(), e.on.end(), b) != e.on.end();
            EXPECT_EQ(banks.enabled(b), on)
                << "state " << static_cast<int>(e.state) << " button " << static_cast<int>(b);
        }
    };
    const Expect browse{
        S::Browse, MaintenancePage::List, {B::Back, B::Branch, B::New, B::Edit, B::Delete, B::View}};
    check(browse);
    EXPECT_EQ(banks.message(), "Message : ");

    banks.newClick();
    check({S::New, MaintenancePage::Detail, {B::Back, B::Save, B::Cancel}});
    EXPECT_EQ(banks.icon(), PageIcon::New);
    EXPECT_EQ(banks.message(), "");
    EXPECT_EQ(banks.focusField(), 0u);
    for (size_t f = 0; f < 3; ++f) {
        EXPECT_TRUE(banks.fieldEditable(f));
        EXPECT_EQ(banks.fieldText(f), "");
    }
    banks.cancelClick();
    check(browse);
    EXPECT_EQ(count("Bank"), 3u);  // the new row is dropped

    banks.editClick();
    check({S::Edit, MaintenancePage::Detail, {B::Back, B::Save, B::Cancel}});
    EXPECT_EQ(banks.icon(), PageIcon::Edit);
    EXPECT_EQ(banks.focusField(), 1u);
    EXPECT_FALSE(banks.fieldEditable(0));
    EXPECT_TRUE(banks.fieldEditable(1));
    EXPECT_TRUE(banks.fieldEditable(2));
    EXPECT_FALSE(banks.backClick());
    check(browse);

    banks.viewClick();
    check({S::View, MaintenancePage::Detail, {B::Back}});
    EXPECT_EQ(banks.icon(), PageIcon::View);
    EXPECT_EQ(banks.focusField(), std::nullopt);
    for (size_t f = 0; f < 3; ++f) {
        EXPECT_FALSE(banks.fieldEditable(f));
    }
    banks.saveClick();  // Save is disabled in view
    EXPECT_EQ(banks.state(), S::View);
    EXPECT_FALSE(banks.backClick());
    check(browse);
    EXPECT_TRUE(banks.backClick());  // Back on the list page closes the window

    ReferenceMaintenance branches = ReferenceMaintenance::forBranches(store, ui, {"014", "", ""});
    branches.activate();
    EXPECT_FALSE(branches.enabled(B::Branch));
    EXPECT_TRUE(branches.enabled(B::New));
}

TEST_F(Maintenance, BankListIsSortedByEnglishNameWithItsColumns) {
    banks.activate();
    EXPECT_EQ(column(banks, 0), (std::vector<std::string>{"011", "002", "014"}));
    EXPECT_EQ(column(banks, 1), (std::vector<std::string>{"ธนาคารทหาร", "ธนาคารกรุง", "ธนาคารหลัก"}));
    EXPECT_EQ(column(banks, 2), (std::vector<std::string>{"Army Bank", "Capital Bank", "Home Bank"}));
    const MaintenanceForm& l = banks.form();
    ASSERT_EQ(l.columns.size(), 3u);
    EXPECT_EQ(l.columns[0].title, "Bank Code");
    EXPECT_EQ(l.columns[1].title, "Bank Name Thai");
    EXPECT_EQ(l.columns[2].title, "Bank Name English");
    EXPECT_EQ(banks.current(), 0);
}

TEST_F(Maintenance, SaveChecksRequiredFieldsInPageOrder) {
    banks.activate();
    banks.newClick();
    banks.saveClick();
    EXPECT_EQ(banks.message(), std::string("* Please Input ") + "Bank Code" + " , " + "Bank Name Thai" +
                                   " , " + "Bank Name English" + " ");
    EXPECT_EQ(banks.state(), S::New);
    EXPECT_EQ(count("Bank"), 3u);

    // Blanks alone count as missing once trimmed; the one missing name keeps its trailing blank.
    type(banks, {"020", "   ", "  Twenty Bank "});
    banks.saveClick();
    EXPECT_EQ(banks.message(), std::string("* Please Input ") + "Bank Name Thai" + " ");
    EXPECT_EQ(banks.fieldText(1), "");
    EXPECT_EQ(banks.fieldText(2), "Twenty Bank");
    EXPECT_EQ(count("Bank"), 3u);

    type(banks, {"020", " ธนาคารยี่สิบ ", "  Twenty Bank "});
    banks.saveClick();
    EXPECT_EQ(banks.state(), S::Browse);
    const auto saved = bank("020");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->text("BANK_NAME_TH"), "ธนาคารยี่สิบ");
    EXPECT_EQ(saved->text("BANK_NAME_EN"), "Twenty Bank");
    // The list ran again and the new bank is the current row.
    ASSERT_EQ(banks.rows().size(), 4u);
    EXPECT_EQ(banks.cell(banks.current(), 0), "020");
}

// Codes are stored in the form the Media Clearing checks read them: bank 3 digits, branch 4, region 2.
TEST_F(Maintenance, CodesHaveTheirWidthAndDigits) {
    banks.activate();
    banks.newClick();
    EXPECT_TRUE(banks.fieldTakesDigits(0));
    EXPECT_FALSE(banks.fieldTakesDigits(1));
    type(banks, {"k1b", "ธนาคารเค", "k bank"});
    EXPECT_EQ(banks.fieldText(0), "K1B");     // typed in upper case, then refused
    EXPECT_EQ(banks.fieldText(2), "k bank");  // names keep their case
    banks.saveClick();
    EXPECT_EQ(banks.message(), "* Bank Code must be 3 digits.");
    EXPECT_EQ(banks.state(), S::New);
    for (const char* code : {"12", "=1+", "1 2"}) {
        banks.setFieldText(0, code);
        banks.saveClick();
        EXPECT_EQ(banks.message(), "* Bank Code must be 3 digits.") << code;
    }
    banks.setFieldText(0, "12345");
    EXPECT_EQ(banks.fieldText(0), "123");  // the edit takes three characters
    banks.saveClick();
    EXPECT_EQ(banks.state(), S::Browse);
    EXPECT_EQ(bank("123")->text("BANK_NAME_EN"), "k bank");
    EXPECT_EQ(count("Bank"), 4u);

    banks.newClick();
    std::string longThai;
    for (int i = 0; i < 101; ++i) {
        longThai += "ก";
    }
    banks.setFieldText(1, longThai);
    EXPECT_EQ(banks.fieldText(1), longThai.substr(0, 100 * std::string("ก").size()));
    banks.cancelClick();

    ReferenceMaintenance branches = ReferenceMaintenance::forBranches(store, ui, {"014", "", ""});
    branches.activate();
    branches.newClick();
    EXPECT_TRUE(branches.fieldTakesDigits(0));
    EXPECT_TRUE(branches.fieldTakesDigits(3));
    type(branches, {"9", "สาขา", "Main", "01"});
    branches.saveClick();
    EXPECT_EQ(branches.message(), "* Branch Code must be 4 digits.");
    type(branches, {"0009", "สาขา", "Main", "zz"});
    branches.saveClick();
    EXPECT_EQ(branches.message(), "* Region Code must be 2 digits.");
    branches.setFieldText(3, "123");
    EXPECT_EQ(branches.fieldText(3), "12");
    branches.saveClick();
    EXPECT_EQ(branches.state(), S::Browse);
    EXPECT_EQ(store.query("SELECT * FROM BRANCH WHERE BRANCH_CODE = '0009' AND REGION_CODE = '12'").size(),
              1u);

    // A row registered by Media Clearing with a code of another form keeps it; its region is checked.
    addBranch("0A1", "014", "New branch");
    store.execute("UPDATE BRANCH SET REGION_CODE = '' WHERE BRANCH_CODE = '0A1'");
    branches.activate();
    selectCode(branches, "0A1");
    branches.editClick();
    branches.setFieldText(3, "x");
    branches.saveClick();
    EXPECT_EQ(branches.message(), "* Region Code must be 2 digits.");
    branches.setFieldText(3, "05");
    branches.saveClick();
    EXPECT_EQ(branches.state(), S::Browse);
}

TEST_F(Maintenance, RefusedPostStaysWithPostError) {
    banks.activate();
    banks.newClick();
    type(banks, {"014", "ซ้ำ", "Duplicate"});
    banks.saveClick();
    EXPECT_EQ(banks.message(), "* Post Error. Bank Code 014 exists already.");
    EXPECT_EQ(banks.state(), S::New);
    EXPECT_EQ(banks.fieldText(0), "014");
    EXPECT_EQ(bank("014")->text("BANK_NAME_EN"), "Home Bank");
    // Corrected, the same row goes in.
    type(banks, {"015"});
    banks.saveClick();
    EXPECT_EQ(banks.state(), S::Browse);
    EXPECT_EQ(bank("015")->text("BANK_NAME_EN"), "Duplicate");

    // A row that another program removed while it was being edited cannot be posted either.
    selectCode(banks, "002");
    banks.editClick();
    store.execute("DELETE FROM Bank WHERE BANK_CODE = ?", {std::string("002")});
    type(banks, {"002", "ใหม่", "Renamed"});
    banks.saveClick();
    EXPECT_EQ(banks.message(), "* Post Error.");
    EXPECT_EQ(banks.state(), S::Edit);
    banks.cancelClick();
    EXPECT_EQ(banks.state(), S::Browse);
    EXPECT_FALSE(bank("002"));
}

TEST_F(Maintenance, EditChangesNamesButNotTheCode) {
    banks.activate();
    selectCode(banks, "014");
    banks.editClick();
    EXPECT_EQ(banks.fieldText(0), "014");
    EXPECT_EQ(banks.fieldText(1), "ธนาคารหลัก");
    banks.setFieldText(0, "099");
    EXPECT_EQ(banks.fieldText(0), "014");
    banks.setFieldText(2, "Main Bank");
    banks.saveClick();
    EXPECT_EQ(banks.state(), S::Browse);
    EXPECT_EQ(bank("014")->text("BANK_NAME_EN"), "Main Bank");
    EXPECT_FALSE(bank("099"));
    EXPECT_EQ(count("Bank"), 3u);
    EXPECT_EQ(banks.cell(banks.current(), 0), "014");

    // Cancel throws the typed values away.
    banks.editClick();
    banks.setFieldText(2, "Other");
    banks.cancelClick();
    EXPECT_EQ(bank("014")->text("BANK_NAME_EN"), "Main Bank");
}

TEST_F(Maintenance, NewBankRowOfMediaClearingIsListedAndRenamedByEdit) {
    store.append("Bank", {{"BANK_CODE", std::string("999")}, {"BANK_NAME_EN", std::string("New bank")}});
    banks.activate();
    selectCode(banks, "999");
    EXPECT_EQ(banks.cell(banks.current(), 1), "");
    EXPECT_EQ(banks.cell(banks.current(), 2), "New bank");
    banks.editClick();
    EXPECT_EQ(banks.fieldText(1), "");
    banks.saveClick();  // its Thai name was never given
    EXPECT_EQ(banks.message(), std::string("* Please Input ") + "Bank Name Thai" + " ");
    type(banks, {"999", "ธนาคารเก้า", "Nine Bank"});
    banks.saveClick();
    EXPECT_EQ(banks.state(), S::Browse);
    EXPECT_EQ(bank("999")->text("BANK_NAME_TH"), "ธนาคารเก้า");
    EXPECT_EQ(bank("999")->text("BANK_NAME_EN"), "Nine Bank");
    EXPECT_EQ(count("Bank"), 4u);
}

TEST_F(Maintenance, DeleteAsksAndWarnsWhenRefused) {
    banks.activate();
    selectCode(banks, "002");
    ui.confirmAnswer = false;
    banks.deleteClick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(
        ui.messages[0].text,
        "ยืนยันการลบข้อมูล ?\n\nBank Code : 002\nBank Name Thai : ธนาคารกรุง\nBank Name English : Capital Bank");
    EXPECT_TRUE(bank("002"));

    ui.confirmAnswer = true;
    banks.deleteClick();
    EXPECT_FALSE(bank("002"));
    EXPECT_EQ(banks.rows().size(), 2u);
    EXPECT_EQ(banks.state(), S::Browse);
    EXPECT_EQ(ui.messages.size(), 2u);

    // Deleting a bank keeps its branches.
    addBranch("0001", "011", "Army Main");
    selectCode(banks, "011");
    banks.deleteClick();
    EXPECT_FALSE(bank("011"));
    EXPECT_EQ(count("BRANCH"), 1u);

    // A row that is already gone cannot be deleted: the warning, and the list shows the truth.
    selectCode(banks, "014");
    store.execute("DELETE FROM Bank WHERE BANK_CODE = ?", {std::string("014")});
    ui.messages.clear();
    banks.deleteClick();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[1].text, "ไม่สามารถทำการลบข้อมูลนี้ได้");
    EXPECT_TRUE(banks.rows().empty());
}

TEST_F(Maintenance, EditViewDeleteAndBranchDoNothingOnAnEmptyList) {
    store.execute("DELETE FROM Bank");
    banks.activate();
    EXPECT_TRUE(banks.empty());
    EXPECT_EQ(banks.current(), -1);
    banks.editClick();
    banks.viewClick();
    banks.deleteClick();
    EXPECT_EQ(banks.branchClick(), std::nullopt);
    EXPECT_EQ(banks.state(), S::Browse);
    EXPECT_TRUE(ui.messages.empty());
    banks.newClick();  // New works on an empty list
    EXPECT_EQ(banks.state(), S::New);
}

TEST_F(Maintenance, KeysActOnlyWhileTheirButtonIsEnabled) {
    banks.activate();
    // F9 on the list page does nothing.
    EXPECT_EQ(banks.keyDown(MaintenanceKey::F9), KeyOutcome::Consumed);
    EXPECT_EQ(banks.state(), S::Browse);
    EXPECT_EQ(banks.message(), "Message : ");
    EXPECT_EQ(count("Bank"), 3u);

    EXPECT_EQ(banks.keyDown(MaintenanceKey::F2), KeyOutcome::Consumed);
    EXPECT_EQ(banks.state(), S::Edit);
    // F1 while editing does nothing: the row stays open with what was typed.
    banks.setFieldText(2, "Typed");
    EXPECT_EQ(banks.keyDown(MaintenanceKey::F1), KeyOutcome::Consumed);
    EXPECT_EQ(banks.state(), S::Edit);
    EXPECT_EQ(banks.fieldText(2), "Typed");
    EXPECT_EQ(banks.keyDown(MaintenanceKey::F3), KeyOutcome::Consumed);  // no delete while editing
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(banks.keyDown(MaintenanceKey::Enter), KeyOutcome::FocusNext);
    EXPECT_EQ(banks.keyDown(MaintenanceKey::Other), KeyOutcome::PassOn);
    EXPECT_EQ(banks.keyDown(MaintenanceKey::F9), KeyOutcome::Consumed);
    EXPECT_EQ(banks.state(), S::Browse);
    EXPECT_EQ(banks.cell(banks.current(), 2), "Typed");

    EXPECT_EQ(banks.keyDown(MaintenanceKey::F4), KeyOutcome::Consumed);
    EXPECT_EQ(banks.state(), S::View);
    EXPECT_EQ(banks.keyDown(MaintenanceKey::F9), KeyOutcome::Consumed);  // no Save in view
    EXPECT_EQ(banks.state(), S::View);
    EXPECT_EQ(banks.keyDown(MaintenanceKey::Esc), KeyOutcome::Consumed);
    EXPECT_EQ(banks.state(), S::Browse);

    EXPECT_EQ(banks.keyDown(MaintenanceKey::F1), KeyOutcome::Consumed);
    EXPECT_EQ(banks.state(), S::New);
    type(banks, {"030", "ธนาคาร", "Escaped"});
    EXPECT_EQ(banks.keyDown(MaintenanceKey::Esc), KeyOutcome::Consumed);  // Back also cancels
    EXPECT_FALSE(bank("030"));

    ui.confirmAnswer = false;
    EXPECT_EQ(banks.keyDown(MaintenanceKey::F3), KeyOutcome::Consumed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("ยืนยันการลบข้อมูล ?\n\nBank Code : ", 0), 0u);
    EXPECT_EQ(banks.keyDown(MaintenanceKey::Esc), KeyOutcome::Close);
}

TEST_F(Maintenance, BranchWindowKeepsTheBranchesOfTheSelectedBank) {
    addBranch("0001", "014", "Home Main");
    addBranch("0002", "014", "Home Second");
    addBranch("0001", "002", "Capital Main");
    addBank("O'1", "ธนาคารโอ", "o'quote bank");
    addBranch("0009", "O'1", "Quoted");
    banks.activate();
    selectCode(banks, "014");
    const auto chosen = banks.branchClick();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->code, "014");

    ReferenceMaintenance branches = ReferenceMaintenance::forBranches(store, ui, *chosen);
    branches.activate();
    EXPECT_EQ(column(branches, 0), (std::vector<std::string>{"0001", "0002"}));
    EXPECT_EQ(column(branches, 2), (std::vector<std::string>{"Home Main", "Home Second"}));
    EXPECT_EQ(column(branches, 3), (std::vector<std::string>{"01", "01"}));
    EXPECT_EQ(branches.bankStrip(), (std::vector<std::string>{"014", "ธนาคารหลัก", "HOME BANK"}));

    branches.newClick();
    branches.saveClick();
    EXPECT_EQ(branches.message(), std::string("* Please Input ") + "Branch Code" + " , " +
                                      "Branch Name Thai" + " , " + "Branch Name English" + " , " +
                                      "Region Code" + " ");
    type(branches, {"0003", "สาขาสาม", "Third", "02"});
    branches.saveClick();
    EXPECT_EQ(branches.state(), S::Browse);
    const auto added = store.query("SELECT * FROM BRANCH WHERE BRANCH_CODE = ? AND BANK_CODE = ?",
                                   {std::string("0003"), std::string("014")});
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].text("BRANCH_NAME_EN"), "Third");
    EXPECT_EQ(branches.rows().size(), 3u);

    // The same branch code under another bank is another row; twice under one bank is refused.
    branches.newClick();
    type(branches, {"0001", "ซ้ำ", "Again", "01"});
    branches.saveClick();
    EXPECT_EQ(branches.message(), "* Post Error. Branch Code 0001 of bank 014 exists already.");
    EXPECT_EQ(branches.state(), S::New);
    branches.cancelClick();

    // A bank code holding a quote is bound, not pasted into the statement.
    selectCode(banks, "O'1");
    ReferenceMaintenance quoted = ReferenceMaintenance::forBranches(store, ui, *banks.branchClick());
    quoted.activate();
    EXPECT_EQ(column(quoted, 0), (std::vector<std::string>{"0009"}));
    EXPECT_EQ(quoted.bankStrip(), (std::vector<std::string>{"O'1", "ธนาคารโอ", "O'QUOTE BANK"}));
}

TEST_F(Maintenance, ActivationRereadsTheListButNeverLosesAnOpenRow) {
    banks.activate();
    selectCode(banks, "014");
    addBank("050", "ธนาคารห้าสิบ", "Fifty Bank");
    banks.activate();
    EXPECT_EQ(banks.rows().size(), 4u);
    EXPECT_EQ(banks.cell(banks.current(), 0), "014");  // the current row stays current

    banks.editClick();
    banks.setFieldText(2, "Half typed");
    addBank("060", "ธนาคารหกสิบ", "Sixty Bank");
    banks.activate();  // back from another window
    EXPECT_EQ(banks.state(), S::Edit);
    EXPECT_EQ(banks.fieldText(2), "Half typed");
    banks.saveClick();
    EXPECT_EQ(bank("014")->text("BANK_NAME_EN"), "Half typed");
    EXPECT_EQ(banks.rows().size(), 5u);
}

TEST_F(Maintenance, FindMovesToTheNextRowHoldingTheTextRoundToTheFirst) {
    banks.activate();                 // Army Bank 011, Capital Bank 002, Home Bank 014
    EXPECT_TRUE(banks.find("bank"));  // any case; from the row after the current one
    EXPECT_EQ(banks.cell(banks.current(), 0), "002");
    EXPECT_TRUE(banks.find("BANK"));
    EXPECT_EQ(banks.cell(banks.current(), 0), "014");
    EXPECT_TRUE(banks.find("Bank"));  // round to the first
    EXPECT_EQ(banks.cell(banks.current(), 0), "011");
    EXPECT_TRUE(banks.find("ธนาคารหลัก"));
    EXPECT_EQ(banks.cell(banks.current(), 0), "014");
    EXPECT_TRUE(banks.find("02"));  // codes too
    EXPECT_EQ(banks.cell(banks.current(), 0), "002");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(banks.find("Nowhere"));
    EXPECT_EQ(banks.cell(banks.current(), 0), "002");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"\"Nowhere\" was not found."});
    banks.editClick();
    EXPECT_FALSE(banks.find("Home"));  // not while a row is open
    EXPECT_EQ(banks.cell(banks.current(), 0), "002");
}

TEST_F(Maintenance, ImportTakesAFileOfTheWindowsTableWhole) {
    banks.activate();
    test::writeFile(dir / "banks.csv", "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n020,ธนาคาร,Twenty\n");
    EXPECT_TRUE(banks.importFile(dir / "banks.csv"));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Imported 1 banks and 0 branches"});
    EXPECT_EQ(banks.rows().size(), 4u);  // listed at once

    ui.messages.clear();
    test::writeFile(dir / "bad.csv", "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n021,a,b\n1,a,b\n");
    EXPECT_FALSE(banks.importFile(dir / "bad.csv"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(ui.messages[0].text,
              (dir / "bad.csv").string() + " line 3: the field BANK_CODE must be 3 digits");
    EXPECT_FALSE(bank("021"));
    ui.messages.clear();
    EXPECT_FALSE(banks.importFile(dir / "missing.csv"));  // unreadable: said, not thrown
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);

    ReferenceMaintenance branches = ReferenceMaintenance::forBranches(store, ui, {"020", "", ""});
    branches.activate();
    test::writeFile(
        dir / "branches.csv",
        "BRANCH_CODE,BANK_CODE,BRANCH_NAME_TH,BRANCH_NAME_EN,REGION_CODE\n0001,020,สาขา,One,01\n");
    EXPECT_TRUE(branches.importFile(dir / "branches.csv"));
    EXPECT_EQ(column(branches, 0), std::vector<std::string>{"0001"});
}

}  // namespace
}  // namespace qrv
