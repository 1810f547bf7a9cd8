#include <gtest/gtest.h>

#include "support/workbench/WorkbenchFixture.h"
#include "workbench/SheetMappingForm.h"

// The mapping dialog's model over a customer's own sheet: title rows above the header, a total row below.
namespace qrv {
namespace {

// "ACME payroll" as a title, an empty row, the header, three entries and a total row.
const std::string kOwnSheet =
    "ACME Co. Ltd. payroll December 2026\r\n"
    "\r\n"
    "Account No.,Amount,Name\r\n"
    "1111111114,\"1,500.00\",A\r\n"
    "2222222228,\"2,000.00\",B\r\n"
    "1111111114,\"1,000.50\",C\r\n"
    ",4500.50,Total\r\n";

struct Form : test::WorkbenchFixture {
    Form() {
        EXPECT_TRUE(wb.selectProduct(Choice::DirectCredit));
        wb.fields.companyId = "ACME01";
        test::writeFile(out / "pay.csv", kOwnSheet);
    }
    SheetMappingForm open() { return SheetMappingForm(out / "pay.csv", wb); }
    static size_t field(const SheetMappingForm& form, const std::string& name) {
        for (size_t i = 0; i < form.fields().size(); ++i) {
            if (form.fields()[i].name == name) {
                return i;
            }
        }
        throw std::runtime_error("no field " + name);
    }
    static void column(SheetMappingForm& form, const std::string& name, int column) {
        form.setChoice(field(form, name), {FieldChoice::Kind::Column, {}, column});
    }
    BuildSourceResult run(SheetMappingForm& form, bool dryRun) {
        ui.messages.clear();
        const BuildSourceRequest request = form.request(dryRun);
        BuildSourceResult result = form.run(request, ui);
        form.finished(request, result);
        summary = SheetMappingForm::summary(request, result);
        return result;
    }
    std::string summary;
};

TEST(SheetMappingForm, FindsTheHeaderBelowTitleRowsAndNamesColumnsByIt) {
    Form f;
    SheetMappingForm form = f.open();
    ASSERT_EQ(form.rows().size(), 6u);  // the empty row is none
    EXPECT_EQ(form.headerRow(), 1);
    EXPECT_EQ(form.columnLabel(1), "B: Amount");
    EXPECT_EQ(form.columnTyped("amount"), 1);
    EXPECT_EQ(form.columnTyped("b:  AMOUNT"), 1);
    EXPECT_EQ(form.columnTyped("C"), 2);
    EXPECT_EQ(form.columnTyped("Net pay"), std::nullopt);
    EXPECT_EQ(form.columnTyped("D"), std::nullopt);
    form.setHeaderRow(0);
    EXPECT_EQ(form.columnLabel(0), "A: ACME Co. Ltd. payroll December 2026");
    EXPECT_EQ(form.columnLabel(1), "B");
}

// What still needs choosing is said in the window's words, never in the mapping file's sections.
TEST(SheetMappingForm, ReasonsSpeakOfFieldsNotOfTheMappingFile) {
    Form f;
    SheetMappingForm form = f.open();
    std::vector<std::string> reasons = form.reasons();
    ASSERT_FALSE(reasons.empty());
    EXPECT_EQ(reasons.front(), "Choose the column of \"effective date\", or type its text for every entry");
    for (const std::string& r : reasons) {
        EXPECT_EQ(r.find('['), std::string::npos) << r;
    }
    Form::column(form, "credit account", 0);
    Form::column(form, "amount", 1);
    Form::column(form, "payee name", 2);
    form.setChoice(Form::field(form, "effective date"), {FieldChoice::Kind::Fixed, "", -1});
    EXPECT_EQ(form.reasons(),
              std::vector<std::string>{
                  "Type the text of \"effective date\" for every entry, or choose its column"});
    form.setChoice(Form::field(form, "effective date"), {FieldChoice::Kind::Fixed, "15/12/2026", -1});
    EXPECT_TRUE(form.reasons().empty());
}

// The total row is refused until it is left out, by name or with the rows that cannot be placed; the
// totals the window shows are grouped in thousands; a build keeps the mapping, which the next sheet of
// the company gets with its header row.
TEST(SheetMappingForm, ATotalRowIsLeftOutAndTheMappingComesBack) {
    Form f;
    SheetMappingForm form = f.open();
    Form::column(form, "credit account", 0);
    Form::column(form, "amount", 1);
    Form::column(form, "payee name", 2);
    form.setChoice(Form::field(form, "effective date"), {FieldChoice::Kind::Fixed, "15/12/2026", -1});
    BuildSourceResult r = f.run(form, true);
    EXPECT_EQ(r.outcome, Outcome::AllRejected);
    EXPECT_EQ(r.skippedRows, std::vector<std::int64_t>{7});
    form.leaveOut = {7};
    r = f.run(form, true);
    ASSERT_EQ(r.outcome, Outcome::Written) << testing::PrintToString(f.ui.texts());
    EXPECT_EQ(f.summary, "Checked: 3 entries totalling 4,500.50 baht can be written to \"pay.txt\"");
    EXPECT_EQ(f.ui.texts()[1], "Left out as chosen: row 7");
    form.leaveOut.clear();
    form.skipBadRows = true;
    r = f.run(form, false);
    ASSERT_EQ(r.outcome, Outcome::Written);
    EXPECT_EQ(f.summary, "Wrote 3 entries totalling 4,500.50 baht to \"pay.txt\"");
    ASSERT_TRUE(form.built());
    EXPECT_EQ(*form.built(), f.out / "pay.txt");

    test::writeFile(f.out / "pay.csv", "Title\r\nName,Amount,Account No.\r\n2222222228,1,B\r\n");
    SheetMappingForm again = f.open();
    EXPECT_EQ(again.headerRow(), 1);
    EXPECT_EQ(again.choice(Form::field(again, "amount")), (FieldChoice{FieldChoice::Kind::Column, {}, 1}));
    EXPECT_EQ(again.choice(Form::field(again, "credit account")),
              (FieldChoice{FieldChoice::Kind::Column, {}, 2}));
    EXPECT_EQ(again.choice(Form::field(again, "effective date")),
              (FieldChoice{FieldChoice::Kind::Fixed, "15/12/2026", -1}));
}

// A workbook typed into Source (not chosen with Browse) is a spreadsheet all the same: the mapping
// dialog opens on it, and nothing runs it as a fixed-width text.
TEST(SheetMappingForm, AWorkbookTypedIntoSourceIsMappedNotRunAsText) {
    Form f;
    test::writeFile(f.out / "pay.dat", std::string("PK\x03\x04", 4) + "rest of a package");
    f.wb.fields.sourcePath = (f.out / "pay.dat").string();
    f.wb.fields.destinationPath = (f.out / "up.txt").string();
    f.wb.reformat();
    EXPECT_EQ(f.ui.sheetsMapped, std::vector<std::string>{(f.out / "pay.dat").string()});
    EXPECT_TRUE(f.ui.messages.empty()) << testing::PrintToString(f.ui.texts());
}

}  // namespace
}  // namespace qrv
