#include <gtest/gtest.h>

#include "base/AccountNumber.h"
#include "convert/UploadCheck.h"
#include "io/Sha1.h"
#include "layout/RecordWriter.h"
#include "layout/UploadLayouts.h"
#include "support/TestSupport.h"

// An upload file read back: a file as the host takes it is clean and summed up; each kind of fault is
// named by its line, record, field and columns.
namespace qrv {
namespace {

using namespace layout;

std::string record(const Layout& layout, std::initializer_list<std::pair<const Field*, std::string>> values) {
    RecordWriter r(layout);
    for (const auto& [field, value] : values) {
        r.text(*field, value);
    }
    return r.record();
}

// A Direct Credit file of two credits of 100.00 and 50.50 baht, as the host takes it.
std::vector<std::string> directCredit() {
    const std::string date = "20261208";
    return {
        record(kHeaderRecord, {{&r001::kCompanyId, "ACME01"},
                               {&r001::kCreationDate, date},
                               {&r001::kBatchDate, date},
                               {&r001::kValueDate, date}}),
        record(kRecord002, {{&r002::kProductCode, "DCP"},
                            {&r002::kValueDate, "20261215"},
                            {&r002::kDebitAccount, "1234567896"},
                            {&r002::kTotalAmount, "0000000000150500"},
                            {&r002::kCreditCount, "000002"}}),
        record(kRecord003, {{&r003::kCreditAccount, "1111111114"},
                            {&r003::kAmount, "0000000000100000"},
                            {&r003::kDebitSequence, "00000001"}}),
        record(kRecord004, {{&r004::kNameEnglish, "SOMCHAI"}}),
        record(kRecord003, {{&r003::kCreditSequence, "000002"},
                            {&r003::kAmount, "0000000000050500"},
                            {&r003::kDebitSequence, "00000001"}}),
        record(kRecord004, {{&r004::kCreditSequence, "000002"}}),
        record(kTrailerRecord, {{&r999::kDebitCount, "000001"},
                                {&r999::kCreditCount, "000002"},
                                {&r999::kTotalAmount, "0000000000150500"}}),
    };
}

std::string hashOf(const std::string& body) {
    Sha1 sha;
    sha.update(body);
    return HexUpper(sha.finish());
}

class UploadCheckTest : public ::testing::Test {
  protected:
    // The records written with their hash line, each line ending in `end`.
    UploadCheckResult check(const std::vector<std::string>& records, std::optional<Product> product = {},
                            const std::string& end = "\r\n") {
        std::string body;
        for (const std::string& r : records) {
            body += r + end;
        }
        test::writeFile(dir_ / "up.txt", hashOf(body) + end + body);
        return checkUploadFile({dir_ / "up.txt", product, {}});
    }
    std::vector<std::string> faults(const std::vector<std::string>& records,
                                    std::optional<Product> product = {}) {
        std::vector<std::string> messages;
        for (const UploadFault& f : check(records, product).faults) {
            messages.push_back(f.message());
        }
        return messages;
    }
    // The files here hold faults on purpose: the suite's own check of every upload a test leaves is not
    // for them.
    void TearDown() override {
        for (const char* name : {"up.txt", "short.txt", "empty.txt"}) {
            std::filesystem::remove(dir_ / name);
        }
    }
    test::TempDir dir_;
};

TEST_F(UploadCheckTest, AFileAsTheHostTakesItIsCleanAndSummedUp) {
    const UploadCheckResult result = check(directCredit());
    EXPECT_TRUE(result.clean()) << (result.faults.empty() ? "" : result.faults[0].message());
    const UploadSummary& s = result.summary;
    EXPECT_EQ(s.product, "DCP");
    EXPECT_EQ(s.companyId, "ACME01");
    EXPECT_EQ(s.valueDate, "20261215");
    EXPECT_EQ(s.account, "1234567896");
    EXPECT_EQ(s.debits, 1);
    EXPECT_EQ(s.credits, 2);
    EXPECT_EQ(s.lines, 8);
    EXPECT_EQ(s.total, Money::fromUnits(1505000));
    EXPECT_EQ(s.hash, s.hashLine);

    // Line ends other than CR LF are one fault, at the first such line; the hash is of the bytes stored.
    const UploadCheckResult lf = check(directCredit(), std::nullopt, "\n");
    ASSERT_EQ(lf.faultCount, 1);
    EXPECT_EQ(lf.faults[0].message(),
              "line 1: the line ends in LF where the host takes CR LF (and so do 7 more lines)");
}

TEST_F(UploadCheckTest, EachKindOfFaultIsNamedByLineRecordFieldAndColumns) {
    std::vector<std::string> grown = directCredit();
    grown[4].insert(220, "5");  // a pickup branch of five digits
    EXPECT_EQ(faults(grown),
              std::vector<std::string>{
                  "line 6, credit record 003: a record of 356 characters where its layout has 355"});

    std::vector<std::string> total = directCredit();
    total[6].replace(15, 16, "0000000000150000");
    EXPECT_EQ(faults(total),
              std::vector<std::string>{"line 8, trailer record 999, columns 16-31 (total amount): "
                                       "\"0000000000150000\" where the amounts sum to \"0000000000150500\""});

    std::vector<std::string> count = directCredit();
    count[1].replace(72, 6, "000003");
    EXPECT_EQ(faults(count),
              std::vector<std::string>{"line 3, debit record 002, columns 73-78 (number of credits): "
                                       "\"000003\" where the records counted are \"000002\""});

    std::vector<std::string> code = directCredit();
    code[2].replace(50, 3, "USD");
    EXPECT_EQ(faults(code),
              std::vector<std::string>{
                  "line 4, credit record 003, columns 51-53 (currency): \"USD\" is not one of THB"});

    std::vector<std::string> skipped = directCredit();
    skipped[4].replace(3, 6, "000003");
    skipped[5].replace(11, 6, "000003");
    EXPECT_EQ(faults(skipped),
              std::vector<std::string>{
                  "line 6, credit record 003, columns 4-9 (credit sequence number): \"000003\" "
                  "where the sequence number due is \"000002\""});

    std::vector<std::string> order = directCredit();
    std::swap(order[2], order[3]);
    EXPECT_EQ(faults(order).front(),
              "line 4, payee record 004: record \"004\" cannot stand here: after record 002 "
              "comes 003 or 999 in a DCP file");
}

TEST_F(UploadCheckTest, TheHashLineIsTheSha1OfWhatFollowsIt) {
    std::string body;
    for (const std::string& r : directCredit()) {
        body += r + "\r\n";
    }
    test::writeFile(dir_ / "up.txt", std::string(40, '0') + "\r\n" + body);
    const UploadCheckResult result = checkUploadFile({dir_ / "up.txt", std::nullopt, {}});
    ASSERT_EQ(result.faultCount, 1);
    EXPECT_EQ(result.faults[0].message(), "line 1: the hash line \"" + std::string(40, '0') +
                                              "\" is not the SHA-1 of the lines after it, \"" + hashOf(body) +
                                              "\"");

    test::writeFile(dir_ / "short.txt", "abc\r\n" + body);
    EXPECT_EQ(checkUploadFile({dir_ / "short.txt", std::nullopt, {}}).faults[0].message(),
              "line 1: \"abc\" is not a hash line of 40 upper-case hexadecimal digits");
    test::writeFile(dir_ / "empty.txt", "");
    EXPECT_EQ(checkUploadFile({dir_ / "empty.txt", std::nullopt, {}}).faults[0].message(),
              "line 1: no hash line: the file is empty");
}

TEST_F(UploadCheckTest, TheProductGivenOrReadDecidesWhichRecordsMayFollow) {
    // Media Clearing writes a payee record after every credit; Direct Credit may leave it out.
    std::vector<std::string> noPayee = directCredit();
    noPayee.erase(noPayee.begin() + 3);
    EXPECT_TRUE(check(noPayee).clean());
    EXPECT_EQ(
        faults(noPayee, Product::MediaClearing),
        (std::vector<std::string>{"line 3, debit record 002, columns 4-6 (product code): \"DCP\" where the "
                                  "product checked is \"MCL\"",
                                  "line 5, credit record 003: record \"003\" cannot stand here: after record "
                                  "003 comes 004 in a MCL file"}));

    // A product code of no product: every credit record may follow, and the file is checked all the same.
    std::vector<std::string> unknown = directCredit();
    unknown[1].replace(3, 3, "XYZ");
    unknown.insert(unknown.begin() + 4, record(kRecord005, {{&r005::kDebitSequence, "00000001"},
                                                            {&r005::kCreditSequence, "000001"},
                                                            {&r005::kItemNo, "01"}}));
    const UploadCheckResult result = check(unknown);
    ASSERT_EQ(result.faultCount, 1);
    EXPECT_EQ(result.faults[0].message(),
              "line 3, debit record 002, columns 4-6 (product code): \"XYZ\" is not one "
              "of DCP|PAY|PA2|PA3|MCL|PA4|PA5|PA6|MCP");
    EXPECT_EQ(result.summary.product, "");
}

TEST_F(UploadCheckTest, ADirectDebitFileCountsItsDebits) {
    const std::vector<std::string> records = {
        record(kDirectDebitHeaderRecord, {{&r001::kCompanyId, "V5CORP01"}, {&r001::kBatchDate, "20261208"}}),
        record(kRecord007, {{&r007::kValueDate, "20261215"},
                            {&r007::kProcessingRound, "00"},
                            {&r007::kCreditAccount, "0142000013"},
                            {&r007::kTotalAmount, "0000000000300000"},
                            {&r007::kDebitCount, "000002"}}),
        record(kRecord008, {{&r008::kSequence, "000001"}, {&r008::kAmount, "0000000000100000"}}),
        record(kRecord008, {{&r008::kSequence, "000002"}, {&r008::kAmount, "0000000000200000"}}),
        record(kTrailerRecord, {{&r999::kDebitCount, "000002"},
                                {&r999::kCreditCount, "000001"},
                                {&r999::kTotalAmount, "0000000000300000"}}),
    };
    const UploadCheckResult result = check(records);
    EXPECT_TRUE(result.clean()) << (result.faults.empty() ? "" : result.faults[0].message());
    EXPECT_EQ(result.summary.product, "DDR");
    EXPECT_EQ(result.summary.debits, 2);
    EXPECT_EQ(result.summary.credits, 1);
    EXPECT_EQ(result.summary.account, "0142000013");

    std::vector<std::string> cut = records;
    cut.pop_back();
    EXPECT_EQ(faults(cut),
              std::vector<std::string>{"line 6, trailer record 999: no trailer record 999 at the end "
                                       "of the file"});
}

TEST_F(UploadCheckTest, AHostileFileGivesFaultsNotAWrongTotalNorACrash) {
    // Amounts that no total can hold, a record after the trailer, an empty line, a control character.
    std::vector<std::string> records = directCredit();
    for (const int at : {2, 4}) {
        records[static_cast<size_t>(at)].replace(34, 16, "9999999999999999");
    }
    for (int i = 0; i < 200; ++i) {
        records.insert(records.begin() + 4, records[2]);
    }
    records.push_back("");
    records[3].replace(400, 1, "\x01");
    const UploadCheckResult result = check(records);
    EXPECT_GT(result.faultCount, 200);
    bool overflow = false;
    for (const UploadFault& f : result.faults) {
        overflow = overflow || (f.rule == UploadRule::Total && f.expected.starts_with("no total"));
    }
    EXPECT_TRUE(overflow);
    EXPECT_EQ(result.faults.back().message(),
              "line " + std::to_string(result.summary.lines) + ": an empty line");
}

}  // namespace
}  // namespace qrv
