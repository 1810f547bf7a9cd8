#include <gtest/gtest.h>

#include "base/AccountNumber.h"
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
    EXPECT_EQ(TrailerRecord(1, 0, Money()).size(), 31u);
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
    EXPECT_EQ(TrailerRecord(1, 2, *Money::fromDecimalText("124.45")), "9990000010000020000000000124450");
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
    r.amount(r003::kAmount, *Money::fromImpliedDecimals("00000012345", 2));
    r.amount(r003::kTaxAmount, *Money::fromDecimalText("30"));
    const std::string& text = r.record();
    ASSERT_EQ(text.size(), 355u);
    EXPECT_EQ(text.substr(3, 6), "000042");
    EXPECT_EQ(text.substr(9, 25), "1234567896" + std::string(15, ' '));
    EXPECT_EQ(text.substr(34, 16), "0000000000123450");
    EXPECT_EQ(text.substr(93, 16), "0000000000030000");
    // A negative amount keeps its sign in the first column.
    RecordWriter r006(kRecord006);
    r006.amount(r006::kInvoiceAmount, *Money::fromDecimalText("-10.50"));
    r006.amount(r006::kVatAmount, *Money::fromDecimalText("-7"));
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

TEST(RecordWriter, EveryRecordKeepsItsLayoutsWidth) {
    // A tax rate of 100 per cent or more, a company id of thirteen characters: refused, not grown.
    RecordWriter r(kRecord005);
    r.digits(r005::kTaxRate, "7");
    r.amount(r005::kIncomeAmount, *Money::fromDecimalText("1000"));
    EXPECT_EQ(r.record().substr(120), "07" + std::string("0000000001000000"));
    EXPECT_THROW(r.digits(r005::kTaxRate, "200"), FieldOverflow);
    EXPECT_EQ(r.record().size(), 138u);
    EXPECT_THROW(BuildHeaderRecords("ABCDEFGHIJKLM", Date{2026, 12, 8}), FieldOverflow);
    // Blanks typed around a company id are no part of it.
    EXPECT_EQ(BuildHeaderRecords(" ACME01 ", Date{2026, 12, 8}).HeaderRecordDD.substr(3, 12), "ACME01      ");
    // A short value is blank-filled: record 008 of a detail that ends in its reference is whole.
    RecordWriter r008(kRecord008);
    r008.text(r008::kReference, "REF");
    r008.text(r008::kRest, "");
    const std::string full = defaultRecord(kRecord008);
    EXPECT_EQ(r008.record(), full.substr(0, 61) + "REF" + full.substr(64));
    EXPECT_EQ(r008.record().size(), 200u);
}

TEST(DebitRecord, PutTogetherFromItsValues) {
    const std::optional<AccountNumber> debit = AccountNumber::checked("1234567896");
    const std::optional<AccountNumber> fee = AccountNumber::checked("12301234567");
    const std::string r002 =
        DebitRecord({"DCP", Date{2026, 12, 9}, &*debit, &*fee, {}, *Money::fromDecimalText("1000.5"), 3});
    EXPECT_EQ(r002, "002DCP20261209" + std::string("1234567896") + std::string(15, ' ') + "040123THB" +
                        "0000000001000500" + "00000001000003" + "12301234567" + std::string(14, ' ') +
                        "000123");
    // Media Clearing: the sending branch in place of the accounts' branch; no line, no date or account.
    const std::string media = DebitRecord({"MCL", Date{2026, 12, 9}, &*debit, &*debit, "0999", Money(), 0});
    EXPECT_EQ(media.substr(41, 4), "0999");
    EXPECT_EQ(media.substr(105, 4), "0999");
    const std::string none = DebitRecord({"MCP", std::nullopt, nullptr, nullptr, {}, Money(), 0});
    EXPECT_EQ(none, defaultRecord(kRecord002).replace(3, 3, "MCP"));
}

}  // namespace
}  // namespace qrv
