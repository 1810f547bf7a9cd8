#include <gtest/gtest.h>

#include "base/Cp874.h"
#include "convert/ResultCounters.h"
#include "convert/debit/Convert100M.h"
#include "convert/debit/HashCheck.h"
#include "core/convert/ProductRun.h"
#include "core/convert/debit/Ddr100MFixture.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/FieldRules.h"
#include "layout/RecordWriter.h"
#include "layout/UploadLayouts.h"
#include "support/DebitHashFiles.h"
#include "support/McpTestSupport.h"
#include "support/TestSupport.h"

// The faults of reading one field by one rule in one place and writing another: each group is one kind
// of rule, across the products that read such a field. Source lines are built from the layouts.
namespace qrv {
namespace {

using namespace layout;
using test::Cheque;
using test::McpBench;
using test::Zeros;

// A line of a source layout: its defaults (blanks, zeros) with the given fields' texts.
std::string lineOf(const Layout& layout, std::initializer_list<std::pair<const Field*, std::string>> fields) {
    RecordWriter w(layout);
    for (const auto& [field, text] : fields) {
        w.text(*field, text);
    }
    return w.record();
}

std::string creditHeader() {
    std::string header = lineOf(kCreditHeaderLong, {{&dcp::kCompanyNameLong, "ACME TRADING"},
                                                    {&dcp::kEffectiveDateLong, "081226"},
                                                    {&dcp::kRecordCountLong, "00001"}});
    return header.replace(0, 3, "H01");  // not blank: the long-amount form
}
std::string creditDetail(const std::string& name = "JOHN SMITH") {
    return lineOf(kCreditDetailLong, {{&dcp::kCreditAccount, "1234567896"},
                                      {&dcp::kAmountLong, "00000012345"},
                                      {&dcp::kPayeeNameLong, name}});
}
std::string mediaHeader(const std::string& date = "09122026") {
    return lineOf(kMediaClearingHeader, {{&mcl::kEffectiveDate, date},
                                         {&mcl::kRecordCount, "000001"},
                                         {&mcl::kCompanyName, "ACME TRADING CO"}});
}
std::string mediaDetail(const std::string& bank, const std::string& account) {
    return lineOf(kMediaClearingDetail, {{&mcl::kRecordType, "102"},
                                         {&mcl::kBankCode, bank},
                                         {&mcl::kBranchCode, "0001"},
                                         {&mcl::kCreditAccount, account},
                                         {&mcl::kSendingBank, "014"},
                                         {&mcl::kSendingBranch, "0123"},
                                         {&mcl::kDebitAccount, "1234567896"},
                                         {&mcl::kServiceType, "01"},
                                         {&mcl::kAmount, "000000012345"},
                                         {&mcl::kReceiverName, "JOHN SMITH"}});
}

using test::ProductRun;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A field that its layout gives a fixed number of digits holds digits only, wherever it is checked: a
// sign, a blank, a point or an exponent gets the message or error of a value of the wrong form.
TEST(DigitsRule, DirectDebit100MAmountsWithASignAreOfNoPattern) {
    using test::detailRecord;
    struct Run : test::Ddr100MFixture {
        void TestBody() override {}
    } f;
    // A minus nets the total; the first reading used to let it through, writing record 008 with it.
    f.run({test::controlRecord(test::kToday, "00002", "00000100000"),
           detailRecord(test::kAcct1, test::kToday, "1", "-0000100000"),
           detailRecord(test::kAcct2, test::kToday, "1", "00000200000")});
    EXPECT_FALSE(std::filesystem::exists(f.out / "upload.txt"));
    ASSERT_FALSE(f.errors().empty());
    EXPECT_EQ(f.errors()[0][0], "2");
    EXPECT_EQ(f.errors()[0][2], "Amount must be 100M pattern.");
    // The whole-file scan ran: the first reading applies every rule of the later one.
    EXPECT_EQ(f.events.texts().size(), 1u);
    for (const char* amount : {"+0000100000", "0000100.000", "000001000e2"}) {
        f.run({test::controlRecord(test::kToday, "00001", "00000100000"),
               detailRecord(test::kAcct1, test::kToday, "1", amount)});
        EXPECT_FALSE(std::filesystem::exists(f.out / "upload.txt")) << amount;
        ASSERT_EQ(f.errors().size(), 1u) << amount;
        EXPECT_EQ(f.errors()[0][2], "Amount must be 100M pattern.") << amount;
    }
    // The control total: C2.
    f.run({test::controlRecord(test::kToday, "00001", "+0000100000"),
           detailRecord(test::kAcct1, test::kToday, "1", "00000100000")});
    EXPECT_FALSE(std::filesystem::exists(f.out / "upload.txt"));
    ASSERT_EQ(f.errors().size(), 1u);
    EXPECT_EQ(f.errors()[0][2], " Amount must be 100M pattern.");
    EXPECT_EQ(f.errors()[0][3], " 59-69 ");
}

TEST(DigitsRule, HashCheckRefusesSignsInItsNumbers) {
    struct Case {
        std::function<void(test::HashControl&, test::HashDetail&)> spoil;
        std::string message;  // the control record's, or empty for a detail row
    };
    const std::vector<Case> cases = {
        {[](test::HashControl& c, test::HashDetail& d) {
             c.totalAmount = "0000050000";
             d.amount = "+00050000";
         },
         ""},
        {[](test::HashControl&, test::HashDetail& d) { d.sign = "."; }, ""},
        {[](test::HashControl& c, test::HashDetail&) { c.totalRecord = "+0001"; },
         "TOTAL RECORD need to be Numberic (5 digits)"},
        {[](test::HashControl& c, test::HashDetail&) { c.companyCode = "+00012"; },
         "COMPANY CODE need to be Numberic (6 digits)"},
        {[](test::HashControl& c, test::HashDetail&) { c.totalAmount = "+000010000"; },
         "TOTAL AMOUNT need to be Numberic (10 digit)"},
        {[](test::HashControl& c, test::HashDetail&) { c.effectiveDate = "+81226"; }, "Invalid TERM-PAYMENT"},
    };
    for (const Case& k : cases) {
        test::OperationFixture f;
        test::HashControl control;
        test::HashDetail detail;
        detail.amount = "000010000";
        k.spoil(control, detail);
        const std::filesystem::path file = f.out / "debit.txt";
        test::writeFile(
            file, test::crlfLines({test::hashControlRecord(control), test::hashDetailRecord(detail, false)}));
        Services services = f.services();
        const HashCheckResult result = checkDirectDebitFile({file, ""}, services);
        EXPECT_NE(result.outcome, Outcome::Written) << k.message;
        EXPECT_TRUE(result.hash.empty()) << k.message;
        if (k.message.empty()) {
            EXPECT_EQ(result.outcome, Outcome::AllRejected);
        } else {
            EXPECT_EQ(f.events.texts(), std::vector<std::string>{k.message});
        }
    }
}

TEST(DigitsRule, CreditFilesRefuseSignsBlanksAndPoints) {
    // Media Clearing: codes and another bank's account are their digits.
    ProductRun c(Product::MediaClearing);
    c.run(test::crlfLines({mediaHeader(), mediaDetail("+12", "12345678901"),
                           mediaDetail("002", "+1234567890"), mediaDetail("002", "12345678901")}));
    EXPECT_EQ(c.listing("MCL", "_BankBranchCode.txt"),
              "LineNo : 2  Column : 10-12 Column: 13-16 invalid code\r\n");
    EXPECT_EQ(c.listing("MCL", "_InvalidAcctRecord.txt"),
              "LineNo : 3  Column : 17-27  Credit account is zero or not numeric or invalid length\r\n");
    c.run(test::crlfLines({mediaHeader("09 12027"), mediaDetail("002", "12345678901")}));
    EXPECT_EQ(c.events.texts(), std::vector<std::string>{"Invalid  EFFECTIVE DATE OF TRANSFER"});
    EXPECT_FALSE(c.uploaded());

    // Manager Cheque: an amount with a sign is an invalid amount, not a failed run.
    McpBench m;
    m.source({Cheque().with(47, "+000000012345").line(), Cheque().line()});
    m.press();
    EXPECT_EQ(test::readFile(m.listing("_CreditAmountInvalidRecord.txt")),
              "LineNo : 1  Column : 47-59   Credit amount less than zero or invalid number\r\n");
    EXPECT_EQ(m.records("003").size(), 1u);
    // A due date with a blank for a digit would go into record 002.
    m.source({Cheque().with(37, "2027/ 1/09").line()});
    EXPECT_EQ(m.press(), std::vector<std::string>{"Invalid  CHEQUE_DUE_DATE"});
}

// A value is checked by the same rule with and without "Print detail": a Manager Cheque amount that holds
// no amount rejects its cheque into the invalid-amount listing either way, and never reaches a record.
TEST(SameRuleWithAndWithoutPrintDetail, ManagerChequeAmountsRejectTheirCheque) {
    for (const bool printDetail : {false, true}) {
        SCOPED_TRACE(printDetail);
        McpBench b;
        b.request.printDetail = printDetail;
        const auto invoice = [](const std::string& key, const std::string& amount, const std::string& vat,
                                const std::string& charge = Zeros(9), const std::string& tax = Zeros(9)) {
            return test::LineOf({{1, key},
                                 {27, "INV-1"},
                                 {52, amount},
                                 {65, "2026/12/01"},
                                 {140, vat},
                                 {149, charge},
                                 {158, tax}});
        };
        b.invoices({invoice("K1", "ABCDEFGHIJKLM", Zeros(9)), invoice("K2", Zeros(13), "+00000700"),
                    invoice("K4", Zeros(13), Zeros(9), "00000 700"),
                    invoice("K5", Zeros(13), Zeros(9), Zeros(9), "0000007.0"),
                    invoice("K3", "0000000010000", Zeros(9))});
        const auto withInvoice = [](const std::string& key) {
            return Cheque().with(1, key).with(129, "1").with(130, "001");
        };
        b.source({withInvoice("K1").line(), withInvoice("K2").line(), Cheque().with(86, "ABCDEFGHI").line(),
                  withInvoice("K4").line(), withInvoice("K5").line(), withInvoice("K3").line()});
        b.press();
        EXPECT_EQ(test::readFile(b.listing("_CreditAmountInvalidRecord.txt")),
                  "LineNo : 1  Column : 130-132   Invoice line 1, columns 52-64: invalid invoice amount\r\n"
                  "LineNo : 2  Column : 130-132   Invoice line 2, columns 140-148: invalid VAT amount\r\n"
                  "LineNo : 3  Column : 86-94   Withholding-tax amount less than zero or invalid number\r\n"
                  "LineNo : 4  Column : 130-132   Invoice line 3, columns 149-157: invalid charge amount\r\n"
                  "LineNo : 5  Column : 130-132   Invoice line 4, columns 158-166: invalid withholding-tax "
                  "amount\r\n");
        ASSERT_EQ(b.records("003").size(), 1u);
        const std::vector<std::string> r006 = b.records("006");
        ASSERT_EQ(r006.size(), 1u);
        EXPECT_EQ(r006[0].substr(38, 16), "0000000000100000");
        EXPECT_EQ(resultCounterOf(b.last, "TotalNagativeAm"), 5);
    }
}

// The value written into a record is the value that was checked: blanks typed around an account are no
// part of it, in record 002 as in the check.
TEST(CheckedValueIsWritten, AccountsTypedWithBlanksAreTrimmed) {
    ProductRun p(Product::DirectCredit);
    p.request.debitAccount = " 1234567896";
    p.request.feeAccount = "12301234567 ";
    ASSERT_EQ(p.run(test::crlfLines({creditHeader(), creditDetail()})).outcome, Outcome::Written);
    const std::string upload = test::readFile(p.out / "up.txt");
    const std::string r002 = upload.substr(upload.find("\r\n002") + 2, 109);
    EXPECT_EQ(std::string(columnsOf(r002, r002::kDebitAccount)), "1234567896" + std::string(15, ' '));
    EXPECT_EQ(columnsOf(r002, r002::kDebitAccountType), "04");
    EXPECT_EQ(columnsOf(r002, r002::kDebitBranch), "0123");
    EXPECT_EQ(std::string(columnsOf(r002, r002::kFeeAccount)), "12301234567" + std::string(14, ' '));
    EXPECT_EQ(columnsOf(r002, r002::kFeeAccountType), "00");
    EXPECT_EQ(columnsOf(r002, r002::kFeeBranch), "0123");
    // The detail report names the accounts as they were typed.
    p.request.printDetail = true;
    p.request.again = true;
    ASSERT_EQ(p.run(test::crlfLines({creditHeader(), creditDetail()})).outcome, Outcome::Written);
    using Variable = std::pair<std::string, std::string>;
    const std::vector<Variable>& shown = p.events.reports.back().variables;
    EXPECT_NE(std::find(shown.begin(), shown.end(), Variable{"Acct", " 1234567896"}), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), Variable{"AcctFee", "12301234567 "}), shown.end());
}

// A setting or an option that fills a field of fixed width is refused, naming it, unless it has that
// width in code page 874; nothing is written.
TEST(FieldWidth, SettingsAndOptionsThatFillAFieldMustFitIt) {
    for (const std::string& print : {std::string("TT"), std::string("\xE0\xB8\x81\xE0\xB8\x82")}) {
        McpBench b("[ReFormat]\nMCP=TRUE\nDefault=MCP\nPrint=" + print + "\n");
        b.invoices(
            {test::LineOf({{1, "K1"}, {52, Zeros(13)}, {140, Zeros(9)}, {149, Zeros(9)}, {158, Zeros(9)}})});
        b.source({Cheque().with(1, "K1").with(129, "1").with(130, "001").line()});
        const std::vector<std::string> messages = b.press();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(has(messages[0], "Print") && has(messages[0], "Default.ini")) << messages[0];
        EXPECT_FALSE(std::filesystem::exists(b.uploadPath()));
        EXPECT_EQ(b.last.outcome, Outcome::Refused);
    }
    McpBench thai("[ReFormat]\nMCP=TRUE\nDefault=MCP\nPrint=\xE0\xB8\x81\n");  // one Thai character
    thai.invoices(
        {test::LineOf({{1, "K1"}, {52, Zeros(13)}, {140, Zeros(9)}, {149, Zeros(9)}, {158, Zeros(9)}})});
    thai.source({Cheque().with(1, "K1").with(129, "1").with(130, "001").line()});
    thai.press();
    ASSERT_EQ(thai.records("006").size(), 1u);
    EXPECT_EQ(thai.records("006")[0].size(), 196u);
    EXPECT_EQ(thai.records("006")[0].back(), '\xA1');

    test::OperationFixture f;
    const std::filesystem::path input = f.out / "in.txt";
    const std::filesystem::path dest = f.out / "100m.txt";
    test::writeFile(input, test::crlfLines({lineOf(kConvertInputHeader, {{&c100m::kValueDate, "261208"}}),
                                            lineOf(kConvertInputSummary, {{&c100m::kSummaryCode, "599"}})}));
    Services services = f.services();
    const Convert100MResult result = convertTo100M({input, "12", dest}, services);
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(result.refusedField, RequestField::CompanyCode);
    EXPECT_EQ(f.events.texts(),
              std::vector<std::string>{"The company code \"12\" does not fit its field of 6 characters"});
    EXPECT_FALSE(std::filesystem::exists(dest));
}

// Code page 874 is checked for the whole file, line by line as it is read, before any field of the line:
// Thai saved as UTF-8 after the first 64 KiB, or in a file with a stray code page 874 byte elsewhere, is
// refused naming its line.
TEST(CodePage874, EveryLineIsCheckedAsItIsRead) {
    const std::string utf8Thai = "\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA2";  // สมชาย
    std::vector<std::string> lines = {creditHeader()};
    for (int i = 0; i < 1000; ++i) {
        lines.push_back(creditDetail());  // 88 characters each: past 64 KiB after 745 lines
    }
    lines.push_back(creditDetail(utf8Thai));
    ProductRun p(Product::DirectCredit);
    p.run(test::crlfLines(lines));
    EXPECT_EQ(p.last.outcome, Outcome::Refused);
    EXPECT_EQ(p.last.refusedField, RequestField::Source);
    ASSERT_EQ(p.events.texts().size(), 1u);
    EXPECT_TRUE(has(p.events.texts()[0], "(line 1002)")) << p.events.texts()[0];
    EXPECT_TRUE(has(p.events.texts()[0], "code page 874")) << p.events.texts()[0];
    EXPECT_FALSE(p.uploaded());

    // One stray code page 874 byte on the first line hid the UTF-8 of the rest from a whole-file test.
    p.run(test::crlfLines({creditHeader(), creditDetail("\xA1"), creditDetail(utf8Thai)}));
    EXPECT_EQ(p.last.outcome, Outcome::Refused);
    ASSERT_EQ(p.events.texts().size(), 1u);
    EXPECT_TRUE(has(p.events.texts()[0], "(line 3)")) << p.events.texts()[0];

    // The hash check takes it from the one reading of the bytes it hashes.
    test::HashControl control;
    std::vector<std::string> debits = {test::hashControlRecord(control)};
    for (int i = 0; i < 1200; ++i) {
        debits.push_back(test::hashDetailRecord(test::HashDetail{}, false));
    }
    test::HashDetail thai;
    thai.name = utf8Thai;
    debits.push_back(test::hashDetailRecord(thai, false));
    test::OperationFixture f;
    test::writeFile(f.out / "debit.txt", test::crlfLines(debits));
    Services services = f.services();
    const HashCheckResult result = checkDirectDebitFile({f.out / "debit.txt", ""}, services);
    EXPECT_EQ(result.outcome, Outcome::Refused);
    ASSERT_EQ(f.events.texts().size(), 1u);
    EXPECT_TRUE(has(f.events.texts()[0], "(line 1202)")) << f.events.texts()[0];
}

// Thai saved as UTF-8 is found per line, before any field is read: a Media Clearing name that its field's
// edge cuts mid-character, and a Direct Credit company name that pushes the date along, are refused as
// the file, naming the code page, not converted or refused over a date.
TEST(CodePage874, AFieldsEdgeCannotHideThaiSavedAsUtf8) {
    const std::string thai = "\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA2";  // สมชาย
    ProductRun mcl(Product::MediaClearing);
    std::string detail = mediaDetail("014", "01234567896");
    detail.replace(199, 23, thai + thai);  // 30 bytes from column 200: the field ends inside a letter
    mcl.run(test::crlfLines({mediaHeader(), detail}));
    EXPECT_EQ(mcl.last.outcome, Outcome::Refused);
    ASSERT_EQ(mcl.events.texts().size(), 1u);
    EXPECT_TRUE(has(mcl.events.texts()[0], "holds Thai text saved as UTF-8 (line 2)"))
        << mcl.events.texts()[0];
    EXPECT_FALSE(mcl.uploaded());

    ProductRun dcp(Product::DirectCredit);
    std::string header = creditHeader();
    // 30 characters in the name's 30 columns (16-45), but 40 bytes: the field's edge cuts the fourth Thai
    // letter, and the date is pushed along.
    header.replace(15, 30, "ACME TRADING CO LTD" + thai + "      ");
    dcp.run(test::crlfLines({header, creditDetail()}));
    EXPECT_EQ(dcp.last.outcome, Outcome::Refused);
    ASSERT_EQ(dcp.events.texts().size(), 1u);
    EXPECT_TRUE(has(dcp.events.texts()[0], "code page 874")) << dcp.events.texts()[0];
    EXPECT_TRUE(has(dcp.events.texts()[0], "(line 1)")) << dcp.events.texts()[0];
}

// Every record has its layout's width: a source line that ends early reads as blanks, a value wider than
// its field stops the run naming the line, the columns and the field, and nothing is written.
TEST(RecordWidth, AShortMediaClearingLineGivesWholeRecords) {
    ProductRun mcl(Product::MediaClearing);
    const std::string cut = mediaDetail("014", "01234567896").substr(0, 150);  // an editor's stripped line
    ASSERT_EQ(mcl.run(test::crlfLines({mediaHeader(), cut})).outcome, Outcome::Written);
    const std::string upload = test::readFile(mcl.out / "up.txt");
    const size_t r004 = upload.find("\r\n004");
    ASSERT_NE(r004, std::string::npos);
    EXPECT_EQ(upload.find("\r\n", r004 + 2) - (r004 + 2), 816u);
    const std::string record = upload.substr(r004 + 2, 816);
    EXPECT_EQ(record.substr(352, 70), std::string(70, ' ')) << "the missing name reads as blanks";
}

TEST(RecordWidth, AValueWiderThanItsFieldStopsTheRunNamingItsPlace) {
    // A pickup branch of five digits would move the cheque flag, reference, cheque type and service type.
    McpBench five;
    five.source({Cheque().line(), Cheque().with(601, "12345").line()});
    five.press();
    EXPECT_EQ(five.last.outcome, Outcome::Refused);
    EXPECT_EQ(five.last.refusedField, RequestField::Source);
    ASSERT_EQ(five.events.texts().size(), 1u);
    EXPECT_TRUE(has(five.events.texts()[0],
                    "line 2, columns 601-605 (pickup branch): \"12345\" does not fit "
                    "the 4 characters of the receiving branch code"))
        << five.events.texts()[0];
    EXPECT_FALSE(std::filesystem::exists(five.uploadPath()));
    EXPECT_TRUE(five.events.reports.empty());

    // A tax rate of 100 per cent or more would move the income one column.
    McpBench rate;
    rate.source(
        {Cheque().with(104, "1").with(444, "2").with(86, "000200000").with(60, "0000000100000").line()});
    rate.press();
    EXPECT_EQ(rate.last.outcome, Outcome::Refused);
    ASSERT_EQ(rate.events.texts().size(), 1u);
    EXPECT_TRUE(has(rate.events.texts()[0],
                    "line 1, columns 86-94 (withholding-tax amount): \"200\" does not "
                    "fit the 2 characters of the tax rate (per cent)"))
        << rate.events.texts()[0];
    EXPECT_FALSE(std::filesystem::exists(rate.uploadPath()));
}

// A control character in a text field that a run reads is that field's fault in every product and
// service: the file is refused naming the line, the columns and the field, and nothing is written.
TEST(ControlCharacter, InATextFieldRefusesTheFile) {
    ProductRun mcl(Product::MediaClearing);
    std::string detail = mediaDetail("014", "01234567896");
    detail[205] = '\x1B';
    mcl.run(test::crlfLines({mediaHeader(), detail}));
    EXPECT_EQ(mcl.last.outcome, Outcome::Refused);
    ASSERT_EQ(mcl.events.texts().size(), 1u);
    EXPECT_TRUE(has(mcl.events.texts()[0], "line 2, columns 200-222 (receiver name): \"JOHN S\\x1BITH"))
        << mcl.events.texts()[0];
    EXPECT_FALSE(mcl.uploaded());

    test::OperationFixture f;
    test::HashDetail detailWithNul;
    detailWithNul.name = std::string("SOM\0CHAI", 8);
    test::writeFile(f.out / "debit.txt", test::crlfLines({test::hashControlRecord(test::HashControl{}),
                                                          test::hashDetailRecord(detailWithNul, false)}));
    Services services = f.services();
    const HashCheckResult hash = checkDirectDebitFile({f.out / "debit.txt", ""}, services);
    EXPECT_EQ(hash.outcome, Outcome::Refused);
    EXPECT_TRUE(hash.hash.empty());
    ASSERT_EQ(f.events.texts().size(), 1u);
    EXPECT_TRUE(has(f.events.texts()[0], "line 2, columns 27-56 (name)")) << f.events.texts()[0];
}

}  // namespace
}  // namespace qrv
