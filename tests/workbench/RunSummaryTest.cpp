#include "workbench/RunSummary.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "workbench/RejectedLines.h"
#include "workbench/Workbench.h"

namespace qrv {
namespace {

TEST(RunSummary, CountsReadAsPeopleReadThemAndEveryKindInWords) {
    LastRun run;
    run.command = Command::Reformat;
    run.rejectedLines = 1234;
    RunResult r;
    r.outcome = Outcome::Written;
    r.records = 200000;
    r.total = Money::fromUnits(287395LL * 100);
    for (int i = 0; i < 1500; ++i) {
        r.reject("InvalidAcct", 10 + i);
    }
    r.reject("SomethingNew", 7);
    EXPECT_EQ(RunSummaryLines(run, r),
              (std::vector<std::string>{"Upload file written", "Accepted: 200,000 entries",
                                        "Rejected: 1,501 entries on 1,234 lines",
                                        "    Invalid credit account: 1,500 (last at line 1,509)",
                                        "    SomethingNew: 1 (last at line 7)", "Total: 2,873.95 baht"}));
    r.records = 1;
    r.rejected.clear();
    r.reject("OverLimit", 8);
    run.rejectedLines = 1;
    const std::vector<std::string> one = RunSummaryLines(run, r);
    EXPECT_EQ(one[1], "Accepted: 1 entry");
    EXPECT_EQ(one[2], "Rejected: 1 entry on 1 line");
}

TEST(RunSummary, ARunThatWroteNothingKeepsItsReason) {
    LastRun run;
    run.command = Command::CompareReturnFile;
    run.messages = {"Value date not match", "Total amount not match"};
    RunResult r;
    r.outcome = Outcome::Refused;
    EXPECT_EQ(RunSummaryLines(run, r),
              (std::vector<std::string>{"No comparison file written", "Reason: Total amount not match",
                                        "Debits compared: 0", "Rejected: none"}));
    // A written one says what it wrote; its messages are the boxes'.
    run.command = Command::TierRateReport;
    r.outcome = Outcome::Written;
    EXPECT_EQ(RunSummaryLines(run, r).front(), "Fee report shown");
    EXPECT_EQ(RunSummaryLines(run, r)[1], "Credits in the fee tiers: 0");
}

// A Media Clearing file voided by an over-limit credit: what passed its own checks is not called
// accepted, nor is its total.
TEST(RunSummary, AVoidedUploadAcceptedNothing) {
    LastRun run;
    run.command = Command::Reformat;
    run.messages = {"Reformat data fail because some transactions are rejected"};
    run.rejectedLines = 1;
    RunResult r;
    r.outcome = Outcome::AllRejected;
    r.records = 2;
    r.total = Money::fromUnits(2501500LL * 10000);
    r.reject("OverLimit", 3);
    EXPECT_EQ(RunSummaryLines(run, r),
              (std::vector<std::string>{"No upload file written",
                                        "Reason: Reformat data fail because some transactions are rejected",
                                        "Voided with the file: 2 entries", "Rejected: 1 entry on 1 line",
                                        "    Above 2,000,000.00 baht from another bank: 1 (last at line 3)",
                                        "Total voided: 2,501,500.00 baht"}));
}

// Two listings naming the same line once each, and an over-limit credit that no listing names.
TEST(RejectedLines, EntriesOnOneLineCountOnceAndOverLimitCreditsAreFoundInTheSource) {
    test::TempDir dir;
    const std::string other(57, ' ');
    const auto credit = [&other](const std::string& sendingBank, const std::string& amount) {
        std::string line = other;
        line.replace(27, 3, sendingBank);
        return line + amount;
    };
    test::writeFile(dir / "src.txt",
                    test::crlfLines({"101", credit("014", "000000010000"), credit("002", "000250000000"),
                                     credit("014", "bad"), credit("014", "999999999999")}));
    test::writeFile(dir / "a.txt", "LineNo : 4  Column : 17-27  Credit account is invalid QRV account\r\n");
    test::writeFile(dir / "b.txt",
                    "LineNo : 4  Column : 58-69  Credit amount less than zero or invalid number\r\n");
    LastRun run;
    run.command = Command::Reformat;
    run.productCode = "MCL";
    run.source = (dir / "src.txt").string();
    RunResult r;
    r.outcome = Outcome::AllRejected;
    r.written = {{OutputKind::Listing, dir / "a.txt"}, {OutputKind::Listing, dir / "b.txt"}};
    r.reject("InvalidAcct", 4);
    r.reject("CreditAmountInvalid", 4);
    r.reject("OverLimit", 3);
    TableStore store(dir / "Data");
    EXPECT_EQ(RejectedLineCount(run, r, store), 2);
    const std::vector<ListingEntry> entries = RejectedEntriesOf(run, r, store);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].line, 3);  // the home bank's big credit on line 5 voids nothing
    EXPECT_EQ(entries[0].firstColumn, 58);
    EXPECT_EQ(entries[0].lastColumn, 69);
    EXPECT_EQ(entries[1].line, 4);
    EXPECT_EQ(entries[2].line, 4);
}

}  // namespace
}  // namespace qrv
