#include <gtest/gtest.h>

#include "HashTestHelpers.h"
#include "base/QrvError.h"
#include "convert/debit/HashCheck.h"
#include "support/DebitHashFiles.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::HashControl;
using test::hashControlRecord;
using test::HashDebitRow;
using test::HashDetail;
using test::hashDetailRecord;
using test::HashErrorRow;
using test::variable;

// A direct debit file and the hash check's request for it; today is 2026-12-08.
struct HashRun : test::OperationFixture {
    std::filesystem::path source = dir / "debit.txt";
    HashCheckRequest request;
    HashCheckResult result;

    void write(const std::vector<std::string>& lines) {
        test::writeFile(source, test::crlfLines(lines));
        request.sourcePath = source;
    }
    void generate(const std::vector<std::string>& lines) {
        write(lines);
        check();
    }
    void check() {
        Services run = services();
        result = checkDirectDebitFile(request, run);
    }
    // The hash of a check that passed; empty for one that did not.
    std::string hash() const { return result.outcome == Outcome::Written ? result.hash : std::string(); }
    std::vector<HashErrorRow> errors() { return test::hashErrorRows(store); }
    std::vector<HashDebitRow> debits() { return test::hashDebitRows(store); }
    // Rows of an earlier run that a refused control record must leave alone.
    void earlierRows() {
        store.append("Report_Hash", {{"id_field", std::string()},
                                     {"Name", std::string("EARLIER")},
                                     {"Account_No", std::string("1111111114")},
                                     {"Amount", 1.0}});
        store.append("Report_Hash_Error", {{"id_field", std::string()},
                                           {"CountLine", std::int64_t{9}},
                                           {"Field Name Error", std::string("Sign")},
                                           {"Detail Error", std::string("Invalid Sign")}});
    }
};

class HashLayouts : public ::testing::TestWithParam<bool> {
  protected:
    bool longLayout() const { return GetParam(); }
    // An amount of the layout's width: whole baht and satang digits.
    std::string amount(const std::string& satangDigits) const {
        return std::string((longLayout() ? 11 : 9) - satangDigits.size(), '0') + satangDigits;
    }
    std::string total(const std::string& satangDigits) const {
        return std::string((longLayout() ? 11 : 10) - satangDigits.size(), '0') + satangDigits;
    }
    HashControl control() const {
        HashControl c;
        c.longLayout = longLayout();
        return c;
    }
    std::string detail(const HashDetail& d) const { return hashDetailRecord(d, longLayout()); }
};

INSTANTIATE_TEST_SUITE_P(BothLayouts, HashLayouts, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Long" : "Short"; });

TEST(HashFileBuilders, RecordsHaveTheirLayoutWidths) {
    EXPECT_EQ(hashControlRecord(HashControl{}).size(), 70u);
    HashControl longControl;
    longControl.longLayout = true;
    EXPECT_EQ(hashControlRecord(longControl).size(), 70u);
    EXPECT_EQ(hashDetailRecord(HashDetail{}, false).size(), 56u);
    EXPECT_EQ(hashDetailRecord(HashDetail{}, true).size(), 78u);
}

TEST_P(HashLayouts, CleanFileFillsTheHashFieldAndShowsTheHashReport) {
    HashRun f;
    HashControl c = control();
    c.companyName = "ACME TRADING CO";
    c.totalRecord = "00002";
    c.totalAmount = total("3012345");  // 30123.45
    HashDetail first;
    first.amount = amount("1000000");
    first.name = "SOMCHAI JAIDEE";
    HashDetail second;
    second.account = "1111111114";
    second.amount = amount("2012345");
    second.name = "  SUDA  ";
    second.sign = "1";
    // Columns 29-30 of the long layout and columns after the name are not read.
    std::string secondLine = detail(second);
    if (longLayout()) {
        secondLine.replace(28, 2, "XY");
    }
    f.generate({hashControlRecord(c), detail(first), secondLine + "IGNORED"});

    const std::string bytes = test::readFile(f.source);
    EXPECT_EQ(f.hash(), test::sha1Upper(bytes));
    EXPECT_TRUE(f.events.messages.empty());
    ASSERT_EQ(f.events.reports.size(), 1u);
    const ShownReport& r = f.events.reports[0];
    EXPECT_EQ(r.layoutFile, "rptGenHash.frf");
    EXPECT_FALSE(r.modal);
    EXPECT_EQ(variable(r, "ComName"), test::padRight("ACME TRADING CO", 30));
    EXPECT_EQ(variable(r, "PayType"), "Direct Debit ");
    EXPECT_EQ(variable(r, "ValueDate"), "08/12/26");
    EXPECT_EQ(variable(r, "HashCode"), f.hash());
    EXPECT_EQ(variable(r, "File Name"), f.source.string());
    EXPECT_EQ(variable(r, "Total Record"), "2");
    const std::vector<HashDebitRow> expected = {
        {"1234567896", test::padRight("SOMCHAI JAIDEE", longLayout() ? 48 : 30), 10000.00},
        {"1111111114", test::padRight("  SUDA  ", longLayout() ? 48 : 30), 20123.45}};
    EXPECT_EQ(f.debits(), expected);
    EXPECT_TRUE(f.errors().empty());
    EXPECT_EQ(f.events.progress, (std::vector<int>{0, 50, 100}));
    // The rendered report carries the file name, the record count and the rows.
    const std::string html = RenderReportHtml(r);
    EXPECT_NE(html.find(f.source.string()), std::string::npos);
    EXPECT_NE(html.find("20,123.45"), std::string::npos);
    EXPECT_NE(html.find("<td>2</td>"), std::string::npos);
}

TEST_P(HashLayouts, ControlRecordOnlyGivesTwoFileLevelRows) {
    HashRun f;
    f.request.shownHash = "";
    f.generate({hashControlRecord(control())});
    const std::vector<HashErrorRow> expected = {{1, "Total Amount", "Check Total Amount Error "},
                                                {1, "Total Record", "Check Total Record Error "}};
    EXPECT_EQ(f.errors(), expected);
    EXPECT_EQ(f.hash(), "");
    ASSERT_EQ(f.events.reports.size(), 1u);
    const ShownReport& r = f.events.reports[0];
    EXPECT_EQ(r.layoutFile, "rptGenHashError.frf");
    EXPECT_EQ(variable(r, "ComName"), test::padRight("ACME TRADING CO", 30));
    EXPECT_EQ(variable(r, "PayType"), "Direct Debit ");
    EXPECT_EQ(variable(r, "ValueDate"), "08/12/26");
    EXPECT_EQ(variable(r, "HashCode"), "");
    EXPECT_EQ(variable(r, "File Name"), f.source.string());
}

TEST_P(HashLayouts, DetailFaultsBecomeRowsInLineOrder) {
    HashRun f;
    HashControl c = control();
    c.totalRecord = "00007";
    // Summed: lines 2, 3, 5, 6 and 7 (100.00 each); lines 4 and 8 have no valid amount.
    c.totalAmount = total("50000");
    HashDetail good;
    good.amount = amount("10000");
    HashDetail badSign = good;
    badSign.sign = "2";
    HashDetail badBoth = good;
    badBoth.account = "1234567895";
    badBoth.amount = "-" + amount("1000").substr(1);  // negative: not an amount, so not summed
    HashDetail badAccount = good;
    badAccount.account = "12345X7896";
    HashDetail otherDate = good;
    otherDate.effectiveDate = "091226";
    HashDetail badAccountOtherDate = badAccount;
    badAccountOtherDate.effectiveDate = "091226";
    HashDetail badAmount = good;
    badAmount.amount = amount("0");
    f.generate({hashControlRecord(c), detail(good), detail(badSign), detail(badBoth), detail(badAccount),
                detail(otherDate), detail(badAccountOtherDate), detail(badAmount)});

    const bool isLong = longLayout();
    const std::vector<HashErrorRow> expected = {
        {3, "Sign", "Invalid Sign"},
        {4, "Account No", "Invalid Account No "},
        {4, "Amount", isLong ? "Invalid Amount" : "Invalid Amount "},
        {5, "Account No", isLong ? "Invalid Account No" : "Invalid Account No "},
        {6, "Effective Date", "Invalid Effective Date"},
        {7, "Account No", "Invalid Account No "},
        {7, "Effective Date", "Invalid Effective Date"},
        {8, "Amount", "Invalid Amount"},
    };
    EXPECT_EQ(f.errors(), expected);
    // A debit whose only fault is its sign is still listed.
    ASSERT_EQ(f.debits().size(), 2u);
    EXPECT_EQ(f.debits()[1].account, "1234567896");
    EXPECT_EQ(f.hash(), "");
    ASSERT_EQ(f.events.reports.size(), 1u);
    EXPECT_EQ(f.events.reports[0].layoutFile, "rptGenHashError.frf");
}

TEST_P(HashLayouts, TotalsAreComparedWithTheDetails) {
    HashRun f;
    HashControl c = control();
    c.totalRecord = "00003";
    c.totalAmount = total("20001");  // one satang more than the two details
    HashDetail d;
    d.amount = amount("10000");
    HashDetail other = d;
    other.amount = amount("10001");
    f.generate({hashControlRecord(c), detail(d), detail(other)});
    const std::vector<HashErrorRow> expected = {{1, "Total Record", "Check Total Record Error "}};
    EXPECT_EQ(f.errors(), expected);
    EXPECT_EQ(f.hash(), "");
}

TEST_P(HashLayouts, LayoutDecisionAndControlChecksStopAtTheFirstFault) {
    const bool isLong = longLayout();
    struct Case {
        std::function<void(HashControl&)> change;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[](HashControl& c) { c.effectiveDate = "310226"; }, "Invalid EFFECTIVE-DATE"},
        {[](HashControl& c) { c.effectiveDate = "31AB26"; }, "Invalid EFFECTIVE-DATE"},
        // A date that reads but is not six digits.
        {[](HashControl& c) { c.effectiveDate = " 11226"; },
         isLong ? "Invalid EFFECTIVE DATE" : "Invalid TERM-PAYMENT"},
        {[](HashControl& c) { c.effectiveDate = "071226"; }, "EFFECTIVE DATE < Today"},
        {[](HashControl& c) { c.effectiveDate = "081225"; }, "EFFECTIVE DATE < Today"},
        {[isLong](HashControl& c) { c.mediaType = isLong ? "T" : "I"; },
         isLong ? "Invalid MEDIA TYPE" : "Invalid MEDIA-TYPE"},
        {[](HashControl& c) { c.companyCode = "01234A"; }, "COMPANY CODE need to be Numberic (6 digits)"},
        {[](HashControl& c) { c.companyCode = " 12345"; }, "COMPANY CODE need to be Numberic (6 digits)"},
        {[isLong](HashControl& c) { c.applyCode = isLong ? "D" : "C"; }, "Invalid APPLY CODE"},
        {[](HashControl& c) { c.status = "B"; }, "Invalid STATUS"},
        {[](HashControl& c) { c.totalRecord = "00000"; }, "TOTAL RECORD should be greater than zero"},
        {[](HashControl& c) { c.totalRecord = "0001 "; }, "TOTAL RECORD need to be Numberic (5 digits)"},
        {[isLong](HashControl& c) { c.totalAmount = std::string(isLong ? 11 : 10, '0'); },
         "TOTAL AMOUNT should be greater than zero"},
        {[isLong](HashControl& c) { c.totalAmount = isLong ? "0000001000 " : "000000100 "; },
         isLong ? "TOTAL AMOUNT need to be Numberic (11 digits)"
                : "TOTAL AMOUNT need to be Numberic (10 digit)"},
        // Two faults: the earlier check speaks.
        {[](HashControl& c) {
             c.status = "X";
             c.companyCode = "ABCDEF";
         },
         "COMPANY CODE need to be Numberic (6 digits)"},
        {[](HashControl& c) {
             c.totalRecord = "00000";
             c.effectiveDate = "010126";
         },
         "EFFECTIVE DATE < Today"},
    };
    for (const Case& k : cases) {
        HashRun f;
        f.earlierRows();
        f.request.shownHash = "EARLIER";
        HashControl c = control();
        k.change(c);
        f.generate({hashControlRecord(c), detail(HashDetail{})});
        EXPECT_EQ(f.events.texts(), std::vector<std::string>{k.message}) << hashControlRecord(c);
        EXPECT_TRUE(f.events.reports.empty());
        EXPECT_EQ(f.errors().size(), 1u) << "tables are not touched";
        EXPECT_EQ(f.debits().size(), 1u);
        EXPECT_EQ(f.hash(), "") << "a failed check shows no hash";
    }
}

TEST(DirectDebitHash, LayoutDecision) {
    const HashControl shortControl;
    const std::string good = hashControlRecord(shortControl);
    const struct {
        std::string line;
        std::string message;
    } cases[] = {
        {std::string(10, ' ') + good.substr(10), "Invalid TERM-PAYMENT"},
        {std::string(8, ' ') + "X" + good.substr(9), "Invalid TERM-PAYMENT"},
        {std::string(7, ' ') + "XM" + good.substr(9), "Invalid Control Record "},
        {"", "Invalid Control Record "},
        {"M", "Invalid Control Record "},
    };
    for (const auto& k : cases) {
        HashRun f;
        test::writeFile(f.source, k.line.empty() ? std::string() : k.line + "\r\n");
        f.request.sourcePath = f.source;
        f.check();
        EXPECT_EQ(f.events.texts(), std::vector<std::string>{k.message}) << "[" << k.line << "]";
        EXPECT_TRUE(f.events.reports.empty());
        EXPECT_EQ(f.hash(), "");
    }
}

TEST(DirectDebitHash, HashIsTheSha1OfTheBytesAsTheyLie) {
    HashRun f;
    const std::vector<std::string> lines = {hashControlRecord(HashControl{}),
                                            hashDetailRecord(HashDetail{}, false)};
    f.generate(lines);
    const std::string first = f.hash();
    EXPECT_EQ(first, test::sha1Upper(test::crlfLines(lines)));
    EXPECT_EQ(first.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    f.check();
    EXPECT_EQ(f.hash(), first);

    // One byte of a name (never checked) changed.
    std::vector<std::string> changed = lines;
    changed[1][30] = 'X';
    f.generate(changed);
    EXPECT_NE(f.hash(), first);
    EXPECT_EQ(f.hash(), test::sha1Upper(test::crlfLines(changed)));

    // The same lines ending in LF only.
    test::writeFile(f.source, lines[0] + "\n" + lines[1] + "\n");
    f.check();
    EXPECT_EQ(f.events.reports.back().layoutFile, "rptGenHash.frf");
    EXPECT_NE(f.hash(), first);
    EXPECT_EQ(f.hash(), test::sha1Upper(lines[0] + "\n" + lines[1] + "\n"));
}

TEST(DirectDebitHash, NoSourceAndAnUnreadableSource) {
    HashRun f;
    f.check();
    EXPECT_EQ(f.events.texts(), std::vector<std::string>{"No Input File. Please Browse Input File"});

    for (const auto& unreadable :
         {f.dir / "missing.txt", f.dir.path()}) {  // a folder cannot be hashed either
        f.events.messages.clear();
        f.request.sourcePath = unreadable;
        EXPECT_THROW(f.check(), QrvError);
        ASSERT_EQ(f.events.messages.size(), 1u);
        EXPECT_EQ(f.events.messages[0].kind, MessageKind::Information);
        EXPECT_EQ(f.events.messages[0].text, "Unable to open source file.");
    }
    EXPECT_TRUE(f.events.reports.empty());
}

TEST(DirectDebitHash, ADetailDateThatIsNoNumberEndsTheRunNamingTheLine) {
    HashRun f;
    HashControl c;
    c.totalRecord = "00003";
    HashDetail badSign;
    badSign.sign = "9";
    HashDetail good;
    f.write({hashControlRecord(c), hashDetailRecord(badSign, false), "", hashDetailRecord(good, false)});
    try {
        f.check();
        FAIL() << "expected an unexpected error";
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("debit.txt"), std::string::npos) << e.what();
    }
    // The rows of line 2 stay; no report, no hash.
    EXPECT_EQ(f.errors(), (std::vector<HashErrorRow>{{2, "Sign", "Invalid Sign"}}));
    EXPECT_EQ(f.debits().size(), 1u);
    EXPECT_TRUE(f.events.reports.empty());
    EXPECT_EQ(f.hash(), "");
}

TEST(DirectDebitHash, AnAmountIsItsNineDigitsWithoutPointOrSign) {
    // "1234567.8" and "+12345678" are numbers of nine characters, but no nine digits: no amount, so
    // neither is summed.
    HashRun f;
    HashControl c;
    c.totalRecord = "00002";
    c.totalAmount = "0012345678";
    HashDetail point;
    point.amount = "1234567.8";
    HashDetail sign;
    sign.amount = "+12345678";
    f.generate({hashControlRecord(c), hashDetailRecord(point, false), hashDetailRecord(sign, false)});
    EXPECT_EQ(f.errors(), (std::vector<HashErrorRow>{{2, "Amount", "Invalid Amount"},
                                                     {3, "Amount", "Invalid Amount"},
                                                     {1, "Total Amount", "Check Total Amount Error "}}));
    EXPECT_TRUE(f.debits().empty());
}

}  // namespace
}  // namespace qrv
