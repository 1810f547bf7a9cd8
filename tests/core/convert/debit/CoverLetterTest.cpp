#include <gtest/gtest.h>

#include "HashTestHelpers.h"
#include "base/QrvError.h"
#include "convert/debit/CoverLetter.h"
#include "convert/debit/DirectDebitHash.h"
#include "support/DebitHashFiles.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::HashControl;
using test::hashControlRecord;
using test::HashDebitRow;
using test::HashDetail;
using test::hashDetailRecord;
using test::variable;

// A direct debit file and the cover letter's request for it, with the company's account as typed.
struct LetterRun : test::OperationFixture {
    std::filesystem::path source = dir / "debit.txt";
    CoverLetterRequest request;
    LetterRun() {
        request.sourcePath = source;
        request.account = {"123", "4", "56789", "6", "บริษัท เอ บี ซี จำกัด"};
    }
    CoverLetterResult print() {
        Services run = services();
        return printCoverLetter(request, run);
    }
    void write(const std::vector<std::string>& lines) { test::writeFile(source, test::crlfLines(lines)); }
    // The hash a clean check of the file as it stands would show.
    std::string fileHash() const { return test::sha1Upper(test::readFile(source)); }
    void earlierDebit() {
        store.append("Report_Hash", {{"id_field", std::string()},
                                     {"Name", std::string("EARLIER")},
                                     {"Account_No", std::string("1111111114")},
                                     {"Amount", 1.0}});
    }
};

// The letter is only for the file whose hash it is given: another file, or the same file changed after its
// check, is refused.
TEST(CoverLetter, RefusedForAFileOtherThanTheOneChecked) {
    LetterRun f;
    f.write({hashControlRecord(HashControl{}), hashDetailRecord(HashDetail{}, false)});
    f.request.hash = f.fileHash();
    HashDetail other;
    other.account = "1111111114";
    f.write({hashControlRecord(HashControl{}), hashDetailRecord(other, false)});
    EXPECT_EQ(f.print().outcome, Outcome::Refused);
    EXPECT_EQ(f.events.texts(),
              std::vector<std::string>{
                  "Click button Generate Hash or if Generate Hash have ERROR can not Cover Letter"});
    EXPECT_TRUE(f.events.reports.empty());
}

TEST(CoverLetter, ListsTheAcceptableDebitsWithTheNewHash) {
    LetterRun f;
    HashControl c;
    c.companyCode = "004512";
    c.totalRecord = "00012";       // not compared with the details
    c.totalAmount = "0000123456";  // nor summed
    HashDetail good;
    good.amount = "000150050";
    good.name = "SOMCHAI";
    HashDetail signOnly = good;
    signOnly.sign = "7";
    signOnly.account = "1111111114";
    HashDetail badAccount = good;
    badAccount.account = "1234567895";
    HashDetail badAmount = good;
    badAmount.amount = "00000000A";
    HashDetail otherDate = good;
    otherDate.effectiveDate = "091226";
    f.write({hashControlRecord(c), hashDetailRecord(good, false), hashDetailRecord(signOnly, false),
             hashDetailRecord(badAccount, false), hashDetailRecord(badAmount, false),
             hashDetailRecord(otherDate, false)});
    f.earlierDebit();
    f.request.hash = f.fileHash();

    const CoverLetterResult result = f.print();

    EXPECT_TRUE(f.events.messages.empty());
    const std::string hash = test::sha1Upper(test::readFile(f.source));
    EXPECT_EQ(result.hash, hash);
    const std::vector<HashDebitRow> expected = {{"1234567896", test::padRight("SOMCHAI", 30), 1500.50},
                                                {"1111111114", test::padRight("SOMCHAI", 30), 1500.50}};
    EXPECT_EQ(test::hashDebitRows(f.store), expected);
    ASSERT_EQ(f.events.reports.size(), 1u);
    const ShownReport& r = f.events.reports[0];
    EXPECT_EQ(r.layoutFile, "rptCoverLetter.frf");
    EXPECT_TRUE(r.modal);
    const std::vector<std::pair<std::string, std::string>> variables = {
        {"ComName", test::padRight("ACME TRADING CO", 30)},
        {"TransDate", "08/12/2026"},
        {"ComID", "004512"},
        {"TotalRecord", "12"},
        {"TotalAmount", "1234.56"},
        {"HashCode", hash},
        {"AccountNumber", "123-4-56789-6"},
        {"NameAccount", "บริษัท เอ บี ซี จำกัด"},
    };
    EXPECT_EQ(r.variables, variables);
    EXPECT_EQ(f.events.progress.back(), 42);  // 5 of 12 announced records
    const std::string html = RenderReportHtml(r);
    EXPECT_NE(html.find("123-4-56789-6"), std::string::npos);
    EXPECT_NE(html.find("1,500.50"), std::string::npos);
}

TEST(CoverLetter, LongLayoutTextsAndASmallTotal) {
    LetterRun f;
    HashControl c;
    c.longLayout = true;
    c.totalRecord = "00001";
    c.totalAmount = "00000000005";
    c.effectiveDate = "050327";
    HashDetail d;
    d.effectiveDate = "050327";
    d.amount = "00000000005";
    f.write({hashControlRecord(c), hashDetailRecord(d, true)});
    f.request.hash = f.fileHash();
    f.print();
    ASSERT_EQ(f.events.reports.size(), 1u);
    EXPECT_EQ(variable(f.events.reports[0], "TotalAmount"), "0.05");
    EXPECT_EQ(variable(f.events.reports[0], "TotalRecord"), "1");
    EXPECT_EQ(variable(f.events.reports[0], "TransDate"), "05/03/2027");
    ASSERT_EQ(test::hashDebitRows(f.store).size(), 1u);
    EXPECT_EQ(test::hashDebitRows(f.store)[0].amount, 0.05);
}

TEST(CoverLetter, ControlFaultsAndWhenTheShortLayoutEmptiesTheTable) {
    const struct {
        bool longLayout;
        std::function<void(HashControl&)> change;
        std::string message;
        size_t rowsLeft;
    } cases[] = {
        {false, [](HashControl& c) { c.totalAmount = "0000000000"; },
         "TOTAL AMOUNT should be greater than zero", 0},
        {true, [](HashControl& c) { c.totalAmount = "00000000000"; },
         "TOTAL AMOUNT should be greater than zero", 1},
        {false, [](HashControl& c) { c.totalRecord = "0000A"; },
         "TOTAL RECORD need to be Numberic (5 digits)", 1},
        {false, [](HashControl& c) { c.effectiveDate = "071226"; }, "EFFECTIVE DATE < Today", 1},
        {true, [](HashControl& c) { c.applyCode = "D"; }, "Invalid APPLY CODE", 1},
        {false, [](HashControl& c) { c.mediaType = "I"; }, "Invalid MEDIA-TYPE", 1},
    };
    for (const auto& k : cases) {
        LetterRun f;
        HashControl c;
        c.longLayout = k.longLayout;
        k.change(c);
        f.write({hashControlRecord(c), hashDetailRecord(HashDetail{}, k.longLayout)});
        f.earlierDebit();
        f.request.hash = f.fileHash();
        const CoverLetterResult result = f.print();
        EXPECT_EQ(f.events.texts(), std::vector<std::string>{k.message});
        EXPECT_EQ(test::hashDebitRows(f.store).size(), k.rowsLeft) << k.message;
        EXPECT_TRUE(f.events.reports.empty());
        EXPECT_EQ(result.outcome, Outcome::Refused);
    }
}

TEST(CoverLetter, ADetailDateThatIsNoNumberPrintsNoLetter) {
    LetterRun f;
    HashDetail d;
    d.effectiveDate = "08 226";
    f.write({hashControlRecord(HashControl{}), hashDetailRecord(HashDetail{}, false),
             hashDetailRecord(d, false)});
    f.request.hash = f.fileHash();
    EXPECT_THROW(f.print(), QrvError);
    EXPECT_TRUE(f.events.reports.empty());
    EXPECT_EQ(test::hashDebitRows(f.store).size(), 1u);
}

}  // namespace
}  // namespace qrv
