#include <gtest/gtest.h>

#include <map>
#include <string>

#include "convert/Reformat.h"
#include "convert/RejectSink.h"
#include "convert/ResultCounters.h"

namespace qrv {
namespace {

void reject(ReformatResult& r, Reject kind, std::int64_t line) {
    RejectSink(r, nullptr, RejectSink::Table::None).reject({kind, line});
}

// The counters a run keeps, by name; "-" for one it does not keep.
std::map<std::string, std::string> countersOf(const ReformatResult& result) {
    std::map<std::string, std::string> shown;
    for (const ResultCounter& c : resultCounters(result)) {
        shown[c.name] = c.value ? std::to_string(*c.value) : "-";
    }
    return shown;
}

TEST(ResultCounters, NineteenNamesInTheReportsOrderNoneKeptBeforeARunCounts) {
    ReformatResult r;
    reject(r, Reject::AccountInvalid, 3);
    const std::vector<ResultCounter> counters = resultCounters(r);
    ASSERT_EQ(counters.size(), 19u);
    EXPECT_STREQ(counters[0].name, "TotalZeroAcct");
    EXPECT_STREQ(counters[3].name, "NoZeroAcct");
    EXPECT_STREQ(counters[11].name, "TotalError");
    EXPECT_STREQ(counters[18].name, "TotalRecord");
    for (const ResultCounter& c : counters) {
        EXPECT_FALSE(c.value) << c.name;
    }
}

// Every credit kind feeds its counter and the total of rejects; a kind without entries has no last line.
TEST(ResultCounters, CreditCountsEachKindItsLastLineAndTheirTotal) {
    ReformatResult r;
    r.counters = CounterSet::Credit;
    reject(r, Reject::AccountInvalid, 2);
    reject(r, Reject::AmountInvalid, 4);
    reject(r, Reject::AccountInvalid, 7);
    reject(r, Reject::BankBranchCode, 8);
    reject(r, Reject::OverLimit, 9);
    std::map<std::string, std::string> c = countersOf(r);
    EXPECT_EQ(c["TotalZeroAcct"], "2");
    EXPECT_EQ(c["NoZeroAcct"], "7");
    EXPECT_EQ(c["TotalZeroAm"], "0");
    EXPECT_EQ(c["NoZeroAm"], "-");
    EXPECT_EQ(c["TotalNagativeAm"], "1");
    EXPECT_EQ(c["NoNagativeAm"], "4");
    EXPECT_EQ(c["TotalBNKBRN"], "1");
    EXPECT_EQ(c["Error2million"], "1");
    EXPECT_EQ(c["TotalReject"], "5");
    EXPECT_EQ(c["SpaceAmount"], "-");
    EXPECT_EQ(c["TotalError"], "-");
}

// Direct Debit (100M) keeps its nine counters and their total; shown by its own reports they stay at zero,
// and a written run keeps the credit counters too, at zero.
TEST(ResultCounters, DirectDebitErrorsZeroAndClean) {
    ReformatResult r;
    r.counters = CounterSet::DirectDebitErrors;
    reject(r, Reject::DetailSign, 3);
    reject(r, Reject::DetailSign, 5);
    reject(r, Reject::CountAfterScan, 1);
    std::map<std::string, std::string> c = countersOf(r);
    EXPECT_EQ(c["SignErr"], "2");
    EXPECT_EQ(c["TotalRecord"], "1");
    EXPECT_EQ(c["Length"], "0");
    EXPECT_EQ(c["TotalError"], "3");
    EXPECT_EQ(c["Error2million"], "0");
    EXPECT_EQ(c["TotalZeroAcct"], "-");

    r.counters = CounterSet::DirectDebitZero;
    c = countersOf(r);
    EXPECT_EQ(c["SignErr"], "0");
    EXPECT_EQ(c["TotalError"], "0");
    EXPECT_EQ(c["Error2million"], "-");

    ReformatResult clean;
    clean.counters = CounterSet::DirectDebitClean;
    c = countersOf(clean);
    for (const auto& [name, value] : c) {
        EXPECT_EQ(value, "0") << name;
    }
    EXPECT_EQ(resultCounterOf(clean, "NoZeroAcct"), 0);
    EXPECT_EQ(resultCounterOf(clean, "NoSuchCounter"), std::nullopt);
}

}  // namespace
}  // namespace qrv
