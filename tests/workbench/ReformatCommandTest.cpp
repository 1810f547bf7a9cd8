#include <gtest/gtest.h>

#include "convert/ReformatHistory.h"
#include "core/convert/debit/Ddr100MFixture.h"
#include "support/workbench/WorkbenchFixture.h"
#include "workbench/Workbench.h"

namespace qrv {
namespace {

using test::WorkbenchFixture;

// A workbench with every field a credit run needs, valid, on product `choice`.
struct Ready : WorkbenchFixture {
    explicit Ready(Choice choice) {
        wb.loadSettings();
        wb.selectProduct(choice);
        test::writeFile(out / "src.txt", "header\r\n");
        wb.fields.companyId = "ACME01";
        wb.fields.sourcePath = (out / "src.txt").string();
        wb.fields.destinationPath = (out / "up.txt").string();
        wb.fields.debitAccount = "1234567896";
        wb.fields.feeAccount = "1234567896";
        wb.fields.creditAccount = "1234567896";
        wb.fields.debitFeeAccount = "1234567896";
        wb.processingRoundChanged("Immediately");
    }
    // "Reformat Data" with the request of the fields; its first message.
    std::string press() {
        ui.messages.clear();
        reformat();
        return ui.messages.empty() ? std::string() : ui.messages.front().text;
    }
};

TEST(ReformatCommand, CreditPreChecksInTheirOrder) {
    Ready r(Choice::Payroll3);
    r.wb.fields.companyId = "";
    r.wb.fields.sourcePath = "";
    EXPECT_EQ(r.press(), "Please insert company id");
    r.wb.fields.companyId = "   ";  // blanks only name no company (nor its archive)
    EXPECT_EQ(r.press(), "Please insert company id");
    r.wb.fields.companyId = "ACME01";
    EXPECT_EQ(r.press(), "Please select product type or select file name before reformat data ");
    r.wb.fields.sourcePath = (r.out / "missing.txt").string();
    EXPECT_EQ(r.press(), "Source file name does not exist. Please insert valid file name and retry");
    r.wb.fields.sourcePath = (r.out / "src.txt").string();
    r.wb.fields.debitAccount = "  ";
    r.wb.fields.feeAccount = "";
    EXPECT_EQ(r.press(), "Please insert debit account");
    r.wb.fields.debitAccount = "0000000000";
    EXPECT_EQ(r.press(), "Please insert debit fee account");
    r.wb.fields.feeAccount = "1234567895";
    EXPECT_EQ(r.press(), "Invalid debit account");
    r.wb.fields.debitAccount = " 12301234567 ";  // trimmed; 11 digits with a right check digit
    EXPECT_EQ(r.press(), "Invalid debit fee account");
    EXPECT_EQ(r.last.productCode, "PA3");
    EXPECT_EQ(r.last.outcome, Outcome::Refused);
    EXPECT_TRUE(r.last.written.empty());
    // Nothing was written by a refused press.
    EXPECT_EQ(test::listFolder(r.out), std::vector<std::string>{"src.txt"});
}

TEST(ReformatCommand, NoProductOrACommandWithoutReformat) {
    for (const Choice c : {Choice::None, Choice::DirectDebitHash, Choice::Convert100M, Choice::ReturnFile}) {
        Ready r(Choice::DirectCredit);
        r.wb.selectProduct(c);
        r.wb.fields.companyId = "ACME01";  // each product has its own
        EXPECT_EQ(r.press(), "Please select product type or select file name before reformat data ");
        EXPECT_EQ(r.last.productCode, "") << "no product";
    }
}

TEST(ReformatCommand, CompanyIdThatWouldLeaveTheOutputFolderIsRefused) {
    for (const char* id : {"../x", "a/b", "a\\b", "a\tb", "a\x01"}) {
        Ready r(Choice::DirectCredit);
        r.wb.fields.companyId = id;
        r.wb.fields.debitAccount = "";
        EXPECT_EQ(r.press(), "Invalid company id") << id;
    }
}

TEST(ReformatCommand, DirectDebit100MChecksItsOwnAccountsAndRound) {
    Ready r(Choice::DirectDebit100M);
    r.wb.fields.companyId = "";
    r.wb.fields.creditAccount = "";
    EXPECT_EQ(r.press(), "Please insert company id");
    r.wb.fields.companyId = "V5CORP";
    r.wb.fields.sourcePath = r.out.string();  // the source check comes before the accounts
    EXPECT_EQ(r.press(), "Source file name does not exist. Please insert valid file name and retry");
    r.wb.fields.sourcePath = (r.out / "src.txt").string();
    EXPECT_EQ(r.press(), "Please, insert Credit account.");
    r.wb.fields.creditAccount = "1234567895";
    r.wb.fields.debitFeeAccount = " ";
    EXPECT_EQ(r.press(), "Please, insert debit fee account.");
    r.wb.fields.debitFeeAccount = "1234567895";
    EXPECT_EQ(r.press(), "!! Invalid Credit Account account.");
    r.wb.fields.creditAccount = "1234567896";
    EXPECT_EQ(r.press(), "!! Invalid debit fee account.");
    r.wb.fields.debitFeeAccount = "1234567896";
    r.wb.selectProduct(Choice::DirectDebit100M);  // empties the round
    EXPECT_EQ(r.press(), "Please insert Processing Round");
    r.wb.fields.processingRound = "----- Please Select -----";  // counts as not empty
    r.press();
    EXPECT_EQ(r.last.productCode, "DDR");
    EXPECT_TRUE(r.last.converted);
}

// The account labels of Direct Debit (100M), filled when a press passed the checks.
TEST(ReformatCommand, DirectDebit100MShowsTheTypeAndBranchOfTheAccountsChecked) {
    Ready r(Choice::DirectDebit100M);
    r.wb.fields.creditAccount = test::kCreditAcct;
    r.wb.fields.debitFeeAccount = test::kFeeAcct;
    test::writeFile(r.out / "src.txt",
                    test::crlfLines({test::controlRecord(test::kToday, "00001", "00000012345"),
                                     test::detailRecord(test::kAcct1, test::kToday, "1", "00000012345")}));
    EXPECT_EQ(r.wb.fields.creditAccountType, "");
    r.wb.reformat();
    EXPECT_EQ(r.wb.fields.creditAccountType, "2");
    EXPECT_EQ(r.wb.fields.creditBranch, "014");
    EXPECT_EQ(r.wb.fields.feeAccountType, "0");
    EXPECT_EQ(r.wb.fields.feeBranch, "555");
}

TEST(ReformatCommand, ManagerChequeNeedsEveryLine700Long) {
    Ready r(Choice::ManagerCheque);
    test::writeFile(r.out / "src.txt", test::crlfLines({std::string(700, 'x'), std::string(699, 'x')}));
    EXPECT_EQ(r.press(), "Length of line in the source file are missmatch for format cheque issuance");
    EXPECT_EQ(test::listFolder(r.out), std::vector<std::string>{"src.txt"});
}

TEST(ReformatCommand, ThePressAsksWithTheFieldsAsTypedAndShowsTheHash) {
    Ready r(Choice::DirectDebit100M);
    r.wb.fields.companyId = " ACME01";
    const ReformatRequest q = r.wb.reformatRequest();
    EXPECT_EQ(q.product, Product::DirectDebit100M);
    EXPECT_EQ(q.companyId, " ACME01");
    EXPECT_EQ(q.sourcePath, r.out / "src.txt");
    EXPECT_EQ(q.creditAccount, "1234567896");
    EXPECT_EQ(q.processingRound, ProcessingRound::Immediately);
    r.wb.fields.processingRound.clear();
    EXPECT_EQ(r.wb.reformatRequest().processingRound, ProcessingRound::None);
    // Text in the list but no round chosen: refused, not a record 007 short of its round.
    r.wb.fields.processingRound = "----- Please Select -----";
    r.wb.fields.chosenRound = ProcessingRound::None;
    EXPECT_EQ(r.press(), "Please insert Processing Round");

    Ready credit(Choice::DirectCredit);
    credit.wb.fields.hashValue = "EARLIER";
    test::writeFile(credit.out / "src.txt", "H01ACME0000001 ACME" + std::string(28, ' ') + "081226" +
                                                "00001\r\n1234567896       00000012345\r\n");
    credit.wb.reformat();
    EXPECT_EQ(credit.ui.texts(),
              std::vector<std::string>{"Reformat data and add to 2026-12-08ACME01_DCP.zip completed"});
    EXPECT_EQ(credit.wb.fields.hashValue, test::readFile(credit.out / "up.txt").substr(0, 40));
}

// A file converted before: the person is asked before anything is written, and only Yes converts it again.
TEST(ReformatCommand, AFileConvertedBeforeIsConvertedAgainOnlyWhenThePersonSaysYes) {
    Ready r(Choice::DirectCredit);
    test::writeFile(r.out / "src.txt", "H01ACME0000001 ACME" + std::string(28, ' ') + "081226" +
                                           "00001\r\n1234567896       00000012345\r\n");
    r.wb.reformat();
    const std::vector<RunEntry> first = RunHistory(r.store).list({});
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first.front().origin, "window");
    const std::string question = repeatQuestion(first.front());
    const std::string upload = test::readFile(r.out / "up.txt");

    r.ui.confirmAnswer = false;
    r.ui.messages.clear();
    r.wb.fields.hashValue.clear();
    r.wb.reformat();
    ASSERT_EQ(r.ui.messages.size(), 1u);
    EXPECT_EQ(r.ui.messages.front().kind, MessageKind::Confirmation);
    EXPECT_EQ(r.ui.messages.front().text, question);
    EXPECT_EQ(RunHistory(r.store).list({}).size(), 1u);
    EXPECT_TRUE(r.wb.fields.hashValue.empty());

    r.ui.confirmAnswer = true;
    r.ui.messages.clear();
    r.wb.reformat();
    EXPECT_EQ(r.ui.texts(), (std::vector<std::string>{
                                question, "Reformat data and add to 2026-12-08ACME01_DCP.zip completed"}));
    EXPECT_EQ(RunHistory(r.store).list({}).size(), 2u);
    EXPECT_EQ(test::readFile(r.out / "up.txt"), upload);
}

// A dry run: the same checks, counts and hash as a real run, nothing left in the folder or the tables.
TEST(ReformatCommand, DryRunCountsAsARealRunAndWritesNothing) {
    Ready r(Choice::DirectCredit);
    test::writeFile(r.out / "src.txt", "H01ACME0000001 ACME" + std::string(28, ' ') + "081226" +
                                           "00002\r\n1234567896       00000012345\r\n0000000000       "
                                           "00000000100\r\n");
    r.wb.fields.printDetail = true;  // "Print detail" fills tables
    ReformatRequest dry = r.wb.reformatRequest();
    dry.dryRun = true;
    const ReformatResult would = r.reformat(dry);
    EXPECT_EQ(test::listFolder(r.out), std::vector<std::string>{"src.txt"});
    EXPECT_TRUE(r.store.query("select * from Dcp_Detail").empty());
    EXPECT_TRUE(r.ui.reports.empty());
    EXPECT_TRUE(r.ui.texts().empty()) << "nothing claims a file was written";

    const ReformatResult real = r.reformat(r.wb.reformatRequest());
    EXPECT_EQ(would.outcome, Outcome::Written);
    EXPECT_EQ(would.outcome, real.outcome);
    EXPECT_EQ(would.hash, real.hash);
    EXPECT_EQ(would.records, 1);
    EXPECT_EQ(would.total, real.total);
    ASSERT_EQ(would.rejected.size(), 1u);
    EXPECT_EQ(would.rejected[0].kind, "InvalidAcct");
    EXPECT_EQ(would.rejected[0].lastLine, 3);
    EXPECT_EQ(real.rejected[0].count, 1);
    ASSERT_EQ(would.written.size(), 3u);
    for (size_t i = 0; i < would.written.size(); ++i) {
        EXPECT_EQ(would.written[i].path, real.written[i].path);
        EXPECT_TRUE(std::filesystem::exists(real.written[i].path)) << real.written[i].path;
    }
    EXPECT_FALSE(r.store.query("select * from Dcp_Detail").empty());
}

std::string variableOf(const ShownReport& report, const std::string& name) {
    for (const auto& [n, v] : report.variables) {
        if (n == name) {
            return v;
        }
    }
    return "<unset>";
}

// Each report of a run gets a runner of its own: the result report of a second run holds nothing of the
// first run's detail report. The hidden button still shows the Media Clearing detail layout with every
// variable the window's result-runner reports have set so far.
TEST(ReformatCommand, AReportHoldsOnlyItsRunsVariablesTheHiddenButtonAllOfThem) {
    Ready r(Choice::DirectCredit);
    const std::string source = "H01ACME0000001 ACME" + std::string(28, ' ') + "081226" +
                               "00002\r\n1234567896       00000012345\r\n0000000000       00000000100\r\n";
    test::writeFile(r.out / "src.txt", source);
    r.wb.fields.printDetail = true;
    r.wb.reformat();
    r.wb.clearForm();
    r.wb.fields.companyId = "ACME01";
    r.wb.fields.sourcePath = (r.out / "src.txt").string();
    r.wb.fields.destinationPath = (r.out / "up2.txt").string();
    r.wb.fields.debitAccount = "1234567896";
    r.wb.fields.feeAccount = "1234567896";
    r.wb.reformat();
    ASSERT_EQ(r.ui.reports.size(), 2u);
    EXPECT_EQ(r.ui.reports[0].layoutFile, "rptDcpDetail.frf");
    EXPECT_EQ(variableOf(r.ui.reports[0], "Acct"), "1234567896");
    EXPECT_EQ(r.ui.reports[1].layoutFile, "rptResult.frf");
    EXPECT_EQ(r.ui.reports[1].variables.size(), 30u);
    EXPECT_EQ(variableOf(r.ui.reports[1], "Acct"), "<unset>");
    EXPECT_EQ(variableOf(r.ui.reports[1], "TotalZeroAcct"), "1");

    r.wb.mediaDetailReport();
    ASSERT_EQ(r.ui.reports.size(), 3u);
    const ShownReport& hidden = r.ui.reports[2];
    EXPECT_EQ(hidden.layoutFile, "rptMclDetail.frf");
    EXPECT_FALSE(hidden.modal);
    EXPECT_EQ(variableOf(hidden, "Acct"), "1234567896");
    EXPECT_EQ(variableOf(hidden, "TotalZeroAcct"), "1");
    EXPECT_EQ(variableOf(hidden, "ToFile"), (r.out / "up2.txt").string());
}

}  // namespace
}  // namespace qrv
