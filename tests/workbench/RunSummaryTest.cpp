#include "workbench/RunSummary.h"

#include <gtest/gtest.h>

#include "workbench/RejectedLines.h"
#include "workbench/Workbench.h"

namespace qrv {
namespace {

TEST(RunSummary, CountsReadAsPeopleReadThemAndEveryKindInWords) {
    LastRun run;
    run.command = Command::Reformat;
    RunResult r;
    r.outcome = Outcome::Written;
    r.records = 200000;
    r.total = Money::fromUnits(287395LL * 100);
    r.rejected = {{"InvalidAcct", 1500, 1509}, {"SomethingNew", 1, 7}};
    r.rejectedLines = 1234;
    EXPECT_EQ(RunSummaryLines(run, r),
              (std::vector<std::string>{"Upload file written", "Accepted: 200,000 entries",
                                        "Rejected: 1,501 entries on 1,234 lines",
                                        "    Invalid credit account: 1,500 (last at line 1,509)",
                                        "    SomethingNew: 1 (last at line 7)", "Total: 2,873.95 baht"}));
    r.records = 1;
    r.rejected = {{"OverLimit", 1, 8}};
    r.rejectedLines = 1;
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
    RunResult r;
    r.outcome = Outcome::AllRejected;
    r.records = 2;
    r.total = Money::fromUnits(2501500LL * 10000);
    r.rejected = {{"OverLimit", 1, 3}};
    r.rejectedLines = 1;
    EXPECT_EQ(RunSummaryLines(run, r),
              (std::vector<std::string>{"No upload file written",
                                        "Reason: Reformat data fail because some transactions are rejected",
                                        "Voided with the file: 2 entries", "Rejected: 1 entry on 1 line",
                                        "    Above 2,000,000.00 baht from another bank: 1 (last at line 3)",
                                        "Total voided: 2,501,500.00 baht"}));
}

// The window shows a run's entries in the order of their lines, an over-limit credit in its own words.
TEST(RejectedLines, EntriesInLineOrderAndOverLimitCreditsInWords) {
    RunResult r;
    r.entries = {{Reject::SumAfterScan, 1, 59, 69, "Invalid Input File,Sum Amount not equal Total Amount."},
                 {Reject::OverLimit, 3, 58, 69, "Detail Amount have not over 2,000,000"},
                 {Reject::HomeBankAccount, 2, 17, 27, "Credit account is invalid QRV account"},
                 {Reject::AmountInvalid, 2, 58, 69, "Credit amount less than zero or invalid number"}};
    const std::vector<RejectedEntry> entries = RejectedEntriesOf(r);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].line, 1);
    EXPECT_EQ(entries[1].kind, Reject::HomeBankAccount) << "a line's entries in the order found";
    EXPECT_EQ(entries[2].kind, Reject::AmountInvalid);
    EXPECT_EQ(entries[3].message,
              "Amount above 2,000,000.00 baht from another sending bank: voids the upload");
    EXPECT_EQ(entries[3].firstColumn, 58);
}

}  // namespace
}  // namespace qrv
