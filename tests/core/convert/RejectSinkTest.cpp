#include <gtest/gtest.h>

#include "convert/RejectSink.h"
#include "io/OutputCommit.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/DebitSourceLayouts.h"
#include "support/TestSupport.h"
#include "upload/ErrorListings.h"

// One sink takes every rejected entry to its listing line, its error table's row and the result, by the
// one row of its kind.
namespace qrv {
namespace {

using namespace layout;

std::vector<std::vector<std::string>> rowsOf(TableStore& store, const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    for (const Row& r : store.query(sql)) {
        rows.push_back({r.text("a"), r.text("b"), r.text("c"), r.text("d")});
    }
    return rows;
}

TEST(RejectSink, WritesTheListingLineTheTableRowAndTheResultOfEachEntry) {
    test::OperationFixture f;
    RunResult result;
    ErrorListings listings(std::string{});
    {
        RejectSink sink(result, &f.store, RejectSink::Table::CreditErrors, &listings,
                        (f.out / "ACME01_MCL").string());
        sink.reject({Reject::HomeBankAccount, 2, &mcl::kCreditAccount});
        sink.reject({Reject::AmountZero, 2, &mcl::kAmount});
        sink.reject(
            {Reject::BankBranchCode, 3, &mcl::kBankCode, &mcl::kBranchCode, {"0A1", "0001", {}}, {}, 10, 12});
        sink.reject({Reject::OverLimit, 5, &mcl::kAmount});
        EXPECT_EQ(sink.count("InvalidAcct"), 1);
    }
    listings.close();
    OutputCommit outputs;
    listings.stageInto(outputs);
    outputs.commit([] {});
    EXPECT_EQ(test::readFile(f.out / "ACME01_MCL_InvalidAcctRecord.txt"),
              "LineNo : 2  Column : 17-27  Credit account is invalid QRV account\r\n");
    EXPECT_EQ(test::readFile(f.out / "ACME01_MCL_BankBranchCode.txt"),
              "LineNo : 3  Column : 10-12 Column: 13-16 invalid code\r\n");
    EXPECT_EQ(test::listFolder(f.out).size(), 3u) << "an over-limit credit goes to no listing";
    EXPECT_EQ(rowsOf(f.store, "SELECT LnNo AS a, FieldName AS b, ColNo AS c, DesErr AS d FROM Dcp_Err"),
              (std::vector<std::vector<std::string>>{
                  {"2", "Account", "17-27", "Credit account is invalid QRV account"},
                  {"2", "Amount", "58-69", "Credit amount is zero"},
                  {"3", "Bank Code,Branch Code", "10-12,13-16", "Bank 0A1 branch 0001 invalid code"},
                  {"5", "Amount", "58-69", "Detail Amount have not over 2,000,000"}}));
    ASSERT_EQ(result.rejected.size(), 4u);
    EXPECT_EQ(result.rejected[0].kind, "InvalidAcct");
    EXPECT_EQ(result.rejected[3].kind, "OverLimit");
    EXPECT_EQ(result.rejectedLines, 3);
    ASSERT_EQ(result.entries.size(), 4u);
    EXPECT_EQ(result.entries[2].firstColumn, 10);
    EXPECT_EQ(result.entries[2].lastColumn, 12) << "the faulty code only";
    EXPECT_EQ(result.entries[2].message, "Bank 0A1 branch 0001 invalid code");
}

TEST(RejectSink, DirectDebitRowsNameTheirColumnsAsTheTableDoes) {
    test::OperationFixture f;
    RunResult result;
    RejectSink sink(result, &f.store, RejectSink::Table::DirectDebitErrors);
    sink.reject({Reject::ControlLength, 1, nullptr, nullptr, {}, "-"});
    sink.reject({Reject::DetailAccount, 2, &ddr::kAccount, nullptr, {}, "1234567895"});
    sink.reject({Reject::DetailAmountPattern, 2, &ddr::kAmount, nullptr, {}, "1234567895"});
    sink.reject({Reject::SumAfterScan, 1, &ddr::kTotalAmount, nullptr, {}, "-"});
    EXPECT_EQ(
        rowsOf(f.store, "SELECT account AS a, line AS b, \"column\" AS c, field AS d FROM ErrorDirect100M"),
        (std::vector<std::vector<std::string>>{{"-", "1", " This line ", "CONTROL"},
                                               {"1234567895", "2", "1-10", "DETAIL,ACCOUNT NO."},
                                               {"1234567895", "2", " 18-28 ", "DETAIL,AMOUNT."},
                                               {"-", "1", " 59-69 ", "CONTROL,TOTAL-AMOUNT"}}));
    EXPECT_EQ(result.rejectedLines, 2) << "line 1 once, though its entries come first and last";
    EXPECT_EQ(result.entries[0].firstColumn, 0) << "the whole line";
}

// A file of a million rejected lines: the result counts them all and keeps the first entries only.
TEST(RejectSink, KeepsTheFirstEntriesAndCountsEveryOne) {
    RunResult result;
    RejectSink sink(result, nullptr, RejectSink::Table::None);
    const std::int64_t lines = RejectSink::kKeptEntries + 500;
    for (std::int64_t line = 2; line < lines + 2; ++line) {
        sink.reject({Reject::AmountInvalid, line, &dcp::kAmountLong});
    }
    EXPECT_EQ(result.entries.size(), RejectSink::kKeptEntries);
    EXPECT_EQ(result.entries.back().line, static_cast<std::int64_t>(RejectSink::kKeptEntries) + 1);
    ASSERT_EQ(result.rejected.size(), 1u);
    EXPECT_EQ(result.rejected[0].count, lines);
    EXPECT_EQ(result.rejected[0].lastLine, lines + 1);
    EXPECT_EQ(result.rejectedLines, lines);
}

TEST(RejectKinds, EveryKindHasOneRowInItsOrder) {
    for (const RejectRow& row : rejectRows()) {
        EXPECT_EQ(&rejectRow(row.kind), &row);
        EXPECT_FALSE(row.counter.empty());
        EXPECT_TRUE(!row.message.empty() || !row.tableText.empty()) << row.counter;
    }
    EXPECT_EQ(withDetails("  Invoice line {0}, columns {1}: invalid {2}", {"3", "52-64", "invoice amount"}),
              "  Invoice line 3, columns 52-64: invalid invoice amount");
}

}  // namespace
}  // namespace qrv
