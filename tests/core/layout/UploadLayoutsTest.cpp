#include <gtest/gtest.h>

#include "base/FieldWidth.h"
#include "base/Money.h"
#include "layout/RecordWriter.h"
#include "layout/UploadLayouts.h"
#include "upload/UploadRecords.h"

// The upload records as their layouts define them: defaults, lengths, and the writer that fills them.
namespace qrv {
namespace {

using namespace layout;

TEST(UploadRecords, DefaultRecordsHaveTheirLengths) {
    EXPECT_EQ(defaultRecord(kRecord002).size(), 109u);
    EXPECT_EQ(defaultRecord(kRecord003).size(), 355u);
    EXPECT_EQ(defaultRecord(kRecord004).size(), 816u);
    EXPECT_EQ(defaultRecord(kRecord005).size(), 138u);
    EXPECT_EQ(defaultRecord(kRecord006).size(), 196u);
    EXPECT_EQ(defaultRecord(kRecord007).size(), 300u);
    EXPECT_EQ(defaultRecord(kRecord008).size(), 200u);
    EXPECT_EQ(TrailerRecord(1, 0, std::string(16, '0')).size(), 31u);
}

TEST(UploadRecords, DefaultsAreThoseOfTheLayout) {
    EXPECT_EQ(defaultRecord(kRecord002), "002" + std::string(3 + 8 + 25, ' ') + "000000THB" +
                                             std::string(16, '0') + "00000001000000" + std::string(25, ' ') +
                                             "000000");
    const std::string r003 = defaultRecord(kRecord003);
    EXPECT_EQ(r003.substr(0, 9), "003000001");
    EXPECT_EQ(r003.substr(50, 3), "THB");
    EXPECT_EQ(r003.substr(61, 4), "NNN ");
    EXPECT_EQ(r003.substr(180, 3), "000");
    EXPECT_EQ(r003.substr(218, 4), "0000");
    EXPECT_EQ(r003.substr(258, 1), "N");
    EXPECT_EQ(defaultRecord(kRecord006).back(), 'T');
    RecordWriter r006(kRecord006);
    r006.text(r006::kPrintFlag, "F");
    EXPECT_EQ(r006.record().back(), 'F');
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

TEST(RecordWriter, FormatsEachKindIntoItsColumns) {
    RecordWriter r(kRecord003);
    r.text(r003::kCreditAccount, "1234567896");
    r.number(r003::kCreditSequence, 42);
    r.amountDigits(r003::kAmount, "00000012345", 2);
    r.amount(r003::kTaxAmount, *Money::fromDecimalText("30"));
    const std::string& text = r.record();
    ASSERT_EQ(text.size(), 355u);
    EXPECT_EQ(text.substr(3, 6), "000042");
    EXPECT_EQ(text.substr(9, 25), "1234567896" + std::string(15, ' '));
    EXPECT_EQ(text.substr(34, 16), "0000000000123450");
    EXPECT_EQ(text.substr(93, 16), "0000000000030000");
    // A signed source amount keeps its sign in the first column.
    RecordWriter r006(kRecord006);
    r006.amountDigits(r006::kInvoiceAmount, "-000000001050", 2);
    r006.amountDigits(r006::kVatAmount, "-00000700", 2);
    EXPECT_EQ(r006.record().substr(38, 16), "-000000000010500");
    EXPECT_EQ(r006.record().substr(147, 16), "-000000000007000");
    // Back to the defaults, or to what the run prepared as its defaults.
    r.keepAsDefaults();
    r.text(r003::kCreditAccount, "X");
    r.reset();
    EXPECT_EQ(r.record().substr(9, 10), "1234567896");
}

TEST(RecordWriter, RefusesAValueWiderThanItsFieldNamingTheField) {
    RecordWriter r(kRecord003);
    try {
        r.digits(r003::kBranchCode, "12345");
        FAIL() << "no refusal";
    } catch (const FieldOverflow& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("receiving branch code of credit record 003"), std::string::npos) << what;
        EXPECT_NE(what.find("12345"), std::string::npos) << what;
    }
    EXPECT_THROW(r.number(r003::kCreditSequence, 1000000), FieldOverflow);
    EXPECT_THROW(r.amount(r003::kAmount, Money::fromUnits(10'000'000'000'000LL * Money::kScale)),
                 FieldOverflow);
    EXPECT_EQ(r.record(), defaultRecord(kRecord003)) << "a refused value changes nothing";
}

TEST(RecordWriter, TheFieldsWrittenWholeGrowTheirRecord) {
    // A tax rate of 100 per cent or more keeps its digits; the income follows it one column later.
    RecordWriter r(kRecord005);
    r.wholeDigits(r005::kTaxRate, "7");
    r.amountDigits(r005::kIncomeAmount, "0000000100000", 2);
    EXPECT_EQ(r.record().substr(120), "07" + std::string("0000000001000000"));
    r.wholeDigits(r005::kTaxRate, "200");
    EXPECT_EQ(r.record().size(), 139u);
    EXPECT_EQ(r.record().substr(120), "200" + std::string("0000000001000000"));
    // Set again within its width, the field is as wide as ever.
    r.digits(r005::kTaxRate, "3");
    EXPECT_EQ(r.record().size(), 138u);
    EXPECT_EQ(BuildHeaderRecords("ABCDEFGHIJKLM", Date{2026, 12, 8}).HeaderRecordDD.size(), 97u);
}

TEST(RecordWriter, ACopiedFieldOfAShortSourceLineLeavesTheRecordShort) {
    // Record 008 from a detail that ends in its reference: as the fields concatenated, 162 characters.
    const Field& reference = r008::kReference;
    RecordWriter r(kRecord008);
    r.copy(reference, "REF", text("reference", 31, 47));
    r.copy(r008::kRest, "", text("name", 48, 78));
    const std::string full = defaultRecord(kRecord008);
    EXPECT_EQ(r.record().size(), 200u - 14 - 31);
    EXPECT_EQ(r.record(), full.substr(0, 61) + "REF" + "   " + full.substr(112));
    r.reset();
    EXPECT_EQ(r.record(), full);

    // A short copy or a whole text kept as a default stays so after every reset, until set again.
    r.copy(reference, "REF", text("reference", 31, 47));
    r.keepAsDefaults();
    r.wholeText(r008::kRest, std::string(120, 'N'));
    EXPECT_EQ(r.record().size(), 200u - 14 + 120 - 31);
    r.reset();
    EXPECT_EQ(r.record(), full.substr(0, 61) + "REF" + full.substr(78));
    r.text(reference, "REFERENCE");
    EXPECT_EQ(r.record(), full.substr(0, 61) + "REFERENCE" + full.substr(70));
}

}  // namespace
}  // namespace qrv
