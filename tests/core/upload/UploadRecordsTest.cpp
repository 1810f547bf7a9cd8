#include "upload/UploadRecords.h"

#include <gtest/gtest.h>

#include "base/Money.h"

namespace qrv {
namespace {

TEST(UploadRecords, DefaultRecordsHaveTheirLengths) {
    RecordFields r;
    ResetRecordFields(r, "T");
    EXPECT_EQ(r.r002.text().size(), 109u);
    EXPECT_EQ(r.r003.text().size(), 355u);
    EXPECT_EQ(r.r004.text().size(), 816u);
    EXPECT_EQ(r.r005.text().size(), 138u);
    EXPECT_EQ(r.r006.text().size(), 196u);
    EXPECT_EQ(TrailerRecord(1, 0, std::string(16, '0')).size(), 31u);
}

TEST(UploadRecords, DefaultsAreThoseOfTheLayout) {
    RecordFields r;
    ResetRecordFields(r, "T");
    EXPECT_EQ(r.r002.text(), "002" + std::string(3 + 8 + 25, ' ') + "000000THB" + std::string(16, '0') +
                                 "00000001000000" + std::string(25, ' ') + "000000");
    const std::string r003 = r.r003.text();
    EXPECT_EQ(r003.substr(0, 9), "003000001");
    EXPECT_EQ(r003.substr(50, 3), "THB");
    EXPECT_EQ(r003.substr(61, 4), "NNN ");
    EXPECT_EQ(r003.substr(180, 3), "000");
    EXPECT_EQ(r003.substr(218, 4), "0000");
    EXPECT_EQ(r003.substr(258, 1), "N");
    const std::string r006 = r.r006.text();
    EXPECT_EQ(r006.back(), 'T');
    ResetRecordFields(r, "F");
    EXPECT_EQ(r.r006.text().back(), 'F');
}

TEST(UploadRecords, HeadersAre96CharactersWithTheCompanyPadded) {
    const HeaderRecords h = BuildHeaderRecords("ACME01", Date{2026, 12, 8});
    ASSERT_EQ(h.HeaderRecord.size(), 98u);
    EXPECT_EQ(h.HeaderRecord, "001ACME01      20261208" + std::string(24, ' ') + "20261208000000BCM20261208" +
                                  std::string(24, ' ') + "\r\n");
    EXPECT_EQ(h.HeaderRecordDD,
              "001ACME01      " + std::string(32, ' ') + "20261208000000BCM" + std::string(32, ' '));
    EXPECT_EQ(BuildHeaderRecords("", Date{2026, 1, 2}).HeaderRecord.substr(3, 12), std::string(12, ' '));
}

TEST(UploadRecords, TrailerCarriesCountsAndTotal) {
    EXPECT_EQ(TrailerRecord(1, 2, "0000000000124450"), "9990000010000020000000000124450");
}

TEST(AmountField, ThousandthsOfABaht) {
    EXPECT_EQ(Money::fromImpliedDecimals("1", 2)->toAmountField(), "0000000000000010");
    EXPECT_EQ(Money::fromImpliedDecimals("12345", 2)->toAmountField(), "0000000000123450");
    EXPECT_EQ(Money::fromDecimalText("-10.50")->toAmountField(), "-000000000010500");
    EXPECT_EQ(Money::fromAmountField("0000000000124450")->toText2(), "124.45");
}

}  // namespace
}  // namespace qrv
