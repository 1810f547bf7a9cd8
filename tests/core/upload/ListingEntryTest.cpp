#include "support/ListingEntry.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace qrv {
namespace {

TEST(ListingEntry, ReadsBackTheLinesOfTheListingsInSourceOrder) {
    test::TempDir dir;
    // As the listings hold them: "LineNo : <n>  Column : <columns><message with its own blanks>".
    test::writeFile(dir / "a.txt",
                    "LineNo : 37  Column : 1-10  Account is invalid QRV account\r\n"
                    "LineNo : 5  Column : 47-59   Credit amount is zero\r\n");
    test::writeFile(dir / "b.txt",
                    "LineNo : 5  Column : 59  Amount \xA1\xA2\r\n"  // code page 874 text
                    "LineNo : 9  Column : header  Not a column\r\n"
                    "not a listing line\r\n"
                    "LineNo : x  Column : 1-2 bad number\r\n");
    const std::vector<ListingEntry> entries = ReadListingEntries({dir / "a.txt", dir / "b.txt"});
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].line, 5);
    EXPECT_EQ(entries[0].firstColumn, 47);
    EXPECT_EQ(entries[0].lastColumn, 59);
    EXPECT_EQ(entries[0].message, "Credit amount is zero");
    EXPECT_EQ(entries[1].line, 5);  // a line rejected twice keeps both, in listing order
    EXPECT_EQ(entries[1].firstColumn, 59);
    EXPECT_EQ(entries[1].lastColumn, 59);
    EXPECT_EQ(entries[1].message, "Amount \xE0\xB8\x81\xE0\xB8\x82");
    EXPECT_EQ(entries[2].line, 9);  // columns it cannot read: the whole line
    EXPECT_EQ(entries[2].firstColumn, 0);
    EXPECT_EQ(entries[2].message, "header  Not a column");
    EXPECT_EQ(entries[3].line, 37);
    EXPECT_EQ(entries[3].lastColumn, 10);
    EXPECT_EQ(entries[3].message, "Account is invalid QRV account");
}

}  // namespace
}  // namespace qrv
