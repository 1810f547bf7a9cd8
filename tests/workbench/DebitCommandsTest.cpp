#include <gtest/gtest.h>

#include "core/convert/debit/HashTestHelpers.h"
#include "support/DebitHashFiles.h"
#include "support/workbench/WorkbenchFixture.h"
#include "workbench/Workbench.h"

// The window's direct debit commands: what the fields and the dialogs do around the operations.
namespace qrv {
namespace {

using test::HashControl;
using test::hashControlRecord;
using test::HashDetail;
using test::hashDetailRecord;
using test::variable;

// A workbench with a direct debit file; today is 2026-12-08.
struct HashRun : test::WorkbenchFixture {
    std::filesystem::path source = dir / "debit.txt";

    void generate(const std::vector<std::string>& lines) {
        test::writeFile(source, test::crlfLines(lines));
        wb.fields.sourcePath = source.string();
        wb.generateHash();
    }
};

// A failed check clears the hash field (no cover letter for a file that did not pass); its error report still
// shows the hash the field held.
TEST(DirectDebitHash, AFailedRunClearsTheHashFieldAndItsReportShowsTheEarlierOne) {
    HashRun f;
    f.generate({hashControlRecord(HashControl{}), hashDetailRecord(HashDetail{}, false)});
    const std::string earlier = f.wb.fields.hashValue;
    ASSERT_EQ(earlier.size(), 40u);
    EXPECT_EQ(f.ui.progress, std::vector<int>{100});  // the bar hears only changes, not the 0 it rests at
    HashDetail bad;
    bad.sign = "X";
    f.generate({hashControlRecord(HashControl{}), hashDetailRecord(bad, false)});
    EXPECT_EQ(f.wb.fields.hashValue, "");
    ASSERT_EQ(f.ui.reports.size(), 2u);
    EXPECT_EQ(f.ui.reports[1].layoutFile, "rptGenHashError.frf");
    EXPECT_EQ(variable(f.ui.reports[1], "HashCode"), earlier);
}

struct LetterRun : test::WorkbenchFixture {
    std::filesystem::path source = dir / "debit.txt";
    LetterRun() {
        ui.accountAnswers = {{"123", "4", "56789", "6", "บริษัท เอ บี ซี จำกัด"}};
        wb.fields.sourcePath = source.string();
    }
    void write(const std::vector<std::string>& lines) { test::writeFile(source, test::crlfLines(lines)); }
    // The hash a clean check of the file as it stands would show.
    std::string fileHash() const { return test::sha1Upper(test::readFile(source)); }
};

TEST(CoverLetter, RefusedBeforeTheDialogWhenNoHashIsShown) {
    LetterRun f;
    f.write({hashControlRecord(HashControl{}), hashDetailRecord(HashDetail{}, false)});
    f.wb.coverLetter();
    EXPECT_EQ(f.ui.texts(),
              std::vector<std::string>{
                  "Click button Generate Hash or if Generate Hash have ERROR can not Cover Letter"});
    EXPECT_TRUE(f.ui.accountDialogFieldsAtOpen.empty());
    EXPECT_TRUE(f.ui.reports.empty());
    EXPECT_TRUE(f.wb.accountDialog.Accepted);
}

// The dialog opens with its boxes emptied; the entry's checks refuse an account and keep it open, EXIT
// ends the command without a word and the hash stays.
TEST(CoverLetter, DialogLeftWithExitOrRefusedEndsSilently) {
    LetterRun f;
    f.write({hashControlRecord(HashControl{}), hashDetailRecord(HashDetail{}, false)});
    f.wb.fields.hashValue = f.fileHash();
    f.wb.accountDialog.accountPart1 = "999";
    f.wb.accountDialog.accountName = "typed before";
    f.ui.accountAnswers = {{"000", "0", "00000", "0", "ACME"}};
    f.wb.coverLetter();
    EXPECT_EQ(f.ui.texts(), std::vector<std::string>{"หมายเลขบัญชีไม่ถูกต้อง"});
    EXPECT_FALSE(f.wb.accountDialog.Accepted);
    EXPECT_TRUE(f.ui.reports.empty());
    EXPECT_EQ(f.wb.fields.hashValue, f.fileHash());

    f.ui.messages.clear();
    f.ui.accountAnswers.clear();
    f.wb.coverLetter();
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_TRUE(f.ui.reports.empty());
    EXPECT_EQ(f.ui.accountDialogFieldsAtOpen, (std::vector<std::string>{"", ""}));
}

struct Comparison : ::testing::Test {
    test::WorkbenchFixture fx;
    std::filesystem::path sent = fx.out / "sent.txt";
    std::filesystem::path ret = fx.out / "return.txt";
    std::filesystem::path dest = fx.out / "compare.txt";

    void SetUp() override {
        fx.wb.loadSettings();
        fx.wb.selectProduct(Choice::ReturnFile);
        fx.wb.fields.sourcePath = sent.string();
        fx.wb.fields.secondFilePath = ret.string();
        fx.wb.fields.destinationPath = dest.string();
    }
};

TEST_F(Comparison, SaveProposesANameFromTheClock) {
    fx.clock.set(DateTime{Date{2026, 12, 8}, 9, 5, 7});
    fx.ui.saveAnswer = "/data/chosen.txt";
    fx.wb.fields.destinationPath.clear();
    fx.wb.chooseComparisonFile();
    EXPECT_EQ(fx.ui.proposedNames, (std::vector<std::string>{"081226-090507 Return File.txt"}));
    EXPECT_EQ(fx.ui.filters.back(), "Text File|*.txt|All File|*.*");
    EXPECT_EQ(fx.wb.fields.destinationPath, "/data/chosen.txt");
    fx.ui.saveAnswer.reset();  // cancelled: the field keeps its text
    fx.wb.chooseComparisonFile();
    EXPECT_EQ(fx.wb.fields.destinationPath, "/data/chosen.txt");
    fx.wb.fields.secondFilePath.clear();  // with either file missing the button does nothing
    fx.wb.chooseComparisonFile();
    fx.wb.fields.secondFilePath = ret.string();
    fx.wb.fields.sourcePath.clear();
    fx.wb.chooseComparisonFile();
    EXPECT_EQ(fx.ui.proposedNames.size(), 2u);
    EXPECT_TRUE(fx.ui.messages.empty());
}

TEST_F(Comparison, TheRadioButtonWarnsWhileAHashIsShownAndCancelKeepsTheProduct) {
    fx.wb.selectProduct(Choice::DirectCredit);
    fx.wb.fields.hashValue = std::string(40, 'F');
    fx.ui.confirmAnswer = false;
    EXPECT_FALSE(fx.wb.selectProduct(Choice::ReturnFile));
    EXPECT_EQ(fx.ui.texts(), (std::vector<std::string>{"Clear Form"}));
    EXPECT_EQ(fx.wb.selected(), Choice::DirectCredit);
    EXPECT_TRUE(fx.wb.controls.at(Control::printDetail).visible);  // the credit layout stays whole
    EXPECT_FALSE(fx.wb.controls.at(Control::compareReturnFile).visible);
    EXPECT_TRUE(fx.wb.controls.at(Control::reformat).visible);
}

}  // namespace
}  // namespace qrv
