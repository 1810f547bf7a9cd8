#include <gtest/gtest.h>

#include "layout/CreditSourceLayouts.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/FieldRules.h"
#include "layout/LayoutCatalog.h"
#include "layout/SourceLine.h"
#include "layout/UploadLayouts.h"
#include "layout/Utf8ThaiLines.h"

// The rule of each kind of field, and the reader that applies them to a line of a customer's file.
namespace qrv {
namespace {

using namespace layout;

TEST(FieldRules, ADigitsFieldHoldsExactlyItsDigits) {
    const Field& amount = ddr::kAmount;  // 11 digits, 2 decimals
    EXPECT_TRUE(holdsDigits("00000100000", amount));
    EXPECT_EQ(amountOf("00000100000", amount), Money::fromDecimalText("1000"));
    for (const char* bad : {"+0000100000", "-0000100000", " 0000100000", "0000100000 ", "0000100.000",
                            "000001000e1", "0000100000", "000001000000", ""}) {
        EXPECT_FALSE(holdsDigits(bad, amount)) << bad;
        EXPECT_FALSE(amountOf(bad, amount)) << bad;
        EXPECT_FALSE(numberOf(bad, amount)) << bad;
    }
    // Any byte other than 0-9, at any place of a field of any width (the check reads eight bytes at a time).
    for (int width = 1; width <= 20; ++width) {
        const Field field = digits("x", 1, width, "");
        std::string text(static_cast<size_t>(width), '9');
        ASSERT_TRUE(holdsDigits(text, field));
        for (size_t at = 0; at < text.size(); ++at) {
            for (int byte = 0; byte < 256; ++byte) {
                text[at] = static_cast<char>(byte);
                ASSERT_EQ(holdsDigits(text, field), byte >= '0' && byte <= '9')
                    << width << " " << at << " " << byte;
            }
            text[at] = '0';
        }
    }
    // A signed amount may put "-" first, nowhere else.
    const Field& vat = mcp::kInvoiceVat;
    EXPECT_EQ(amountOf("-00000700", vat), Money::fromDecimalText("-7"));
    EXPECT_EQ(amountOf("000000700", vat), Money::fromDecimalText("7"));
    EXPECT_FALSE(amountOf("+00000700", vat));
    EXPECT_FALSE(amountOf("0000-0700", vat));
    EXPECT_FALSE(amountOf("-", signedAmount("x", 1, 1, 0)));
}

TEST(FieldRules, ADateHoldsTheDigitsOfItsFormAndIsOnTheCalendar) {
    EXPECT_TRUE(holdsDate("290224", ddr::kDetailDate));
    EXPECT_FALSE(holdsDate("290223", ddr::kDetailDate));
    EXPECT_FALSE(holdsDate("+10126", ddr::kDetailDate));
    EXPECT_FALSE(holdsDate(" 10126", ddr::kDetailDate));
    EXPECT_EQ(datePartsOf("081226", ddr::kDetailDate).yyyymmdd(), "20261208");
    EXPECT_EQ(datePartsOf("08122026", mcl::kEffectiveDate).slashed(), "08/12/2026");
    EXPECT_FALSE(holdsDate("0812202 ", mcl::kEffectiveDate));
    // Any separators, digits between them.
    EXPECT_TRUE(holdsDate("2026/12/08", mcp::kDueDate));
    EXPECT_TRUE(holdsDate("2026-12-08", mcp::kDueDate));
    EXPECT_FALSE(holdsDate("2026/12/ 8", mcp::kDueDate));
    EXPECT_EQ(datePartsOf("2026/12/08", mcp::kDueDate).yyyymmdd(), "20261208");
    EXPECT_EQ(datePartsOf("261208", ret::kValueDate).yyyymmdd(), "20261208");
    // What a short line holds stays short.
    EXPECT_EQ(datePartsOf("0812", ddr::kDetailDate).yyyymmdd(), "201208");
}

TEST(FieldRules, CodesAreValuesOfTheirList) {
    EXPECT_TRUE(isCodeOf("M", ddr::kTermPayment));
    EXPECT_TRUE(isCodeOf("W", ddr::kTermPayment));
    EXPECT_FALSE(isCodeOf("", ddr::kTermPayment));
    EXPECT_FALSE(isCodeOf("MH", ddr::kTermPayment));
    EXPECT_TRUE(isCodeOf("599", c100m::kSummaryCode));
    // A code that begins another, or is begun by it, is its own code only.
    const Field list = code("x", 1, 3, "10|102|7");
    for (const char* yes : {"10", "102", "7"}) {
        EXPECT_TRUE(isCodeOf(yes, list)) << yes;
    }
    for (const char* no : {"1", "1022", "107", "", "77", "|"}) {
        EXPECT_FALSE(isCodeOf(no, list)) << no;
    }
}

TEST(SourceLine, ALineOfThaiSavedAsUtf8IsRefusedBeforeAnyFieldIsRead) {
    const std::string utf8Thai = "\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A";  // สมช
    SourceLine line("in.txt", SourceFile::DirectCredit);
    const std::string utf8Line = "1234567896" + std::string(7, ' ') + "00000012345" + utf8Thai;
    try {
        line.read(utf8Line, 7);
        FAIL() << "no refusal";
    } catch (const TextNotCodePage874& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("\"in.txt\""), std::string::npos) << what;
        EXPECT_NE(what.find("(line 7)"), std::string::npos) << what;
        EXPECT_NE(what.find("code page 874"), std::string::npos) << what;
    }
    // Code page 874 Thai passes, even with a run that happens to be valid UTF-8 ("เนก" = E0 B9 A1).
    const std::string thaiLine = std::string(28, '0') + "\xCA\xC1\xAA\xD2\xC2 \xE0\xB9\xA1\xA1";
    line.read(thaiLine, 8);
    EXPECT_TRUE(line.text(dcp::kPayeeNameLong));
    // A byte-order mark starts only a first line.
    EXPECT_THROW(line.read("\xEF\xBB\xBF"
                           "H01",
                           1),
                 TextNotCodePage874);
    EXPECT_NO_THROW(
        line.read("\xEF\xBB\xBF"
                  "H01",
                  2));
}

TEST(SourceLine, AShortLineReadsItsMissingColumnsAsBlanks) {
    SourceLine line("in.txt", SourceFile::DirectCredit);
    line.read("1234567896       0000001", 4);
    EXPECT_EQ(line.text(), "1234567896       0000001");
    EXPECT_EQ(line[dcp::kCreditAccount], "1234567896");
    // A field cut by the line's end breaks its rule as any wrong text does.
    EXPECT_EQ(line[dcp::kAmountLong], "0000001    ");
    const Reading<Money> amount = line.amount(dcp::kAmountLong);
    ASSERT_FALSE(amount);
    EXPECT_EQ(amount.fault().found, "0000001    ");
    EXPECT_EQ(amount.fault().line, 4);
    EXPECT_EQ(amount.fault().field, &dcp::kAmountLong);
    // A text field past the end is blanks.
    EXPECT_EQ(*line.text(dcp::kPayeeNameLong), std::string(60, ' '));
}

TEST(SourceLine, TypedReadingsGiveTheValueOrTheRuleBroken) {
    SourceLine line("in.txt", SourceFile::ManagerCheque);
    std::string cheque(700, ' ');
    cheque.replace(26, 10, "1234567896");
    cheque.replace(36, 10, "2026/12/09");
    cheque.replace(46, 13, "0000000012345");
    cheque.replace(600, 5, " 12  ");
    cheque.replace(147, 4, std::string("AB\0C", 4));
    line.read(cheque, 2);
    EXPECT_EQ(line.account(mcp::kDebitAccount)->grouped(), "123-4-56789-6");
    EXPECT_EQ(*line.date(mcp::kDueDate), (Date{2026, 12, 9}));
    EXPECT_EQ(line.amount(mcp::kChequeAmount)->toText2(), "123.45");
    EXPECT_EQ(*line.number(mcp::kPickupBranch), 12);
    EXPECT_FALSE(line.digits(mcp::kPickupBranch));
    EXPECT_EQ(line.text(mcp::kPayeeName).rule(), Rule::Text);
    EXPECT_EQ(line.account(mcp::kPayeeCode).rule(), Rule::Account);
    EXPECT_EQ(line.date(mcp::kTaxDate).rule(), Rule::Date);
    EXPECT_EQ(line.code(mcp::kDeliveryCode).rule(), Rule::Code);
}

// Each rule says in words what the text found is not, after the one wording of its place.
TEST(FieldFault, SaysWhereAndWhatTheRuleWants) {
    const auto what = [](const Field& field, Rule rule, std::string found, const Field* into = nullptr) {
        return FieldFault{12, &field, rule, std::move(found), into}.what();
    };
    EXPECT_EQ(FieldFault({12, &ddr::kAmount, Rule::Amount, "1.5", nullptr}).place(),
              "line 12, columns 18-28 (amount)");
    EXPECT_EQ(FieldFault({3, &ddr::kSign, Rule::Code, "2", nullptr}).message("in.txt"),
              "\"in.txt\" line 3, columns 17 (sign): \"2\" is not one of 1");
    EXPECT_EQ(what(ddr::kTotalRecord, Rule::Digits, "12 45"), "\"12 45\" is not 5 digits");
    EXPECT_EQ(what(mcp::kPickupBranch, Rule::Number, "1A"), "\"1A\" is not a number");
    EXPECT_EQ(what(ddr::kDetailDate, Rule::Date, "311326"), "\"311326\" is not a date (ddmmyy)");
    EXPECT_EQ(what(ddr::kAccount, Rule::Account, "1234567895"), "\"1234567895\" is not a home-bank account");
    EXPECT_EQ(what(mcp::kPayeeName, Rule::Text, std::string("A\tB\x7F", 4)),
              "\"A\\x09B\\x7F\" holds a control character");
    EXPECT_EQ(what(mcp::kPickupBranch, Rule::Fits, "12345", &r003::kBranchCode),
              "\"12345\" does not fit the 4 characters of the receiving branch code");
    // The whole line, when the fault is of no field.
    EXPECT_EQ(FieldFault({7, nullptr, Rule::Text, "", nullptr}).place(), "line 7");
}

TEST(SourceLine, AFaultNamesTheFileTheLineTheColumnsAndTheField) {
    SourceLine line("in.txt", SourceFile::ManagerCheque);
    const std::string blankLine(700, ' ');
    line.read(blankLine, 3);
    try {
        line.require(line.amount(mcp::kTaxAmount));
        FAIL() << "no fault";
    } catch (const FieldFaultError& e) {
        EXPECT_STREQ(
            e.what(),
            "\"in.txt\" line 3, columns 86-94 (withholding-tax amount): \"         \" is not an amount");
    }
    // A control character is the text field's fault, shown escaped; it refuses the file.
    std::string withNul = blankLine;
    withNul[150] = '\0';
    line.read(withNul, 4);
    try {
        line.require(line.text(mcp::kPayeeName));
        FAIL() << "no refusal";
    } catch (const SourceRefusal& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("line 4, columns 148-217 (payee name)"), std::string::npos) << what;
        EXPECT_NE(what.find("\\x00"), std::string::npos) << what;
        EXPECT_EQ(what.find('\0'), std::string::npos);
    }
}

TEST(Utf8ThaiLines, JudgesEachLineWhateverItsLineEndAndBlocks) {
    const std::string utf8Thai = "\xE0\xB8\xAA\xE0\xB8\xA1";
    const auto lineOfFault = [](const std::vector<std::string>& blocks) -> std::string {
        Utf8ThaiLines lines("f.txt");
        try {
            for (const std::string& b : blocks) {
                lines.feed(b);
            }
            lines.finish();
        } catch (const TextNotCodePage874& e) {
            return e.what();
        }
        return "";
    };
    EXPECT_EQ(lineOfFault({"A\r\nB\rC\n\xCA\xC1\r\n"}), "");
    EXPECT_NE(lineOfFault({"A\r\nB\rC\n" + utf8Thai}).find("(line 4)"), std::string::npos);
    // A CR LF split between two blocks is one line end; a sequence split between them is one line.
    EXPECT_NE(
        lineOfFault({"A\r", "\n" + utf8Thai.substr(0, 2), utf8Thai.substr(2) + "\r\n"}).find("(line 2)"),
        std::string::npos);
    // One stray code page 874 byte makes its own line no UTF-8, not the others.
    EXPECT_NE(lineOfFault({"\xA1 stray\r\n" + utf8Thai + "\r\n"}).find("(line 2)"), std::string::npos);
    EXPECT_NE(lineOfFault({"\xEF\xBB\xBFH01\r\n"}).find("byte-order mark"), std::string::npos);
    // Lines counted in blocks that hold no Thai; a line begun with Thai and ended in such a block.
    EXPECT_NE(lineOfFault({"A\r\nB\nC\r", "\nD\rE\r", "\r\n", utf8Thai + "\n"}).find("(line 7)"),
              std::string::npos);
    EXPECT_NE(
        lineOfFault({"A\r\nx" + utf8Thai.substr(0, 1), utf8Thai.substr(1) + "\r\nB\r\n"}).find("(line 2)"),
        std::string::npos);
    EXPECT_NE(lineOfFault({"A\r", "B" + utf8Thai}).find("(line 2)"), std::string::npos);
    EXPECT_NE(lineOfFault({"\xEF\xBB", "\xBF\r\n"}).find("byte-order mark"), std::string::npos);
}

// A line longer than any reading takes is refused as its bytes pass, never held whole (a 200 MB line
// once took 270 MB to refuse).
TEST(Utf8ThaiLines, ALineLongerThanAReadingTakesIsRefusedAsItPasses) {
    Utf8ThaiLines lines("f.txt");
    const std::string block(512 * 1024, '7');
    lines.feed("H01\r\n" + block);
    lines.feed(block);
    try {
        lines.feed(block);
        FAIL() << "no refusal";
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("Line 2 of \"f.txt\" is longer than 1 MiB"), std::string::npos)
            << e.what();
    }
}

TEST(CreditForm, TheHeaderChoosesTheFormAndItsColumns) {
    EXPECT_EQ(&creditFormOf("         X"), &kCreditShortForm);
    EXPECT_EQ(&creditFormOf("        X"), &kCreditLongForm);
    EXPECT_EQ(&creditFormOf(""), &kCreditLongForm);
    EXPECT_EQ(kCreditShortForm.amount->last, 26);
    EXPECT_EQ(kCreditLongForm.amount->last, 28);
    std::string field;
    for (const char* bad :
         {"0000001234", "-0000001234", "+0000001234", " 0000001234", "0000001234 ", "1.5e3000000"}) {
        EXPECT_FALSE(holdsDigits(bad, *kCreditLongForm.amount)) << bad;
    }
    EXPECT_TRUE(holdsDigits("999999999", *kCreditShortForm.amount));
}

TEST(FieldAt, NamesTheFieldUnderAColumnOfAnyLine) {
    const std::string longHeader = "H01ACME0000001";
    const std::string shortHeader(9, ' ');
    const auto name = [](std::optional<FieldAt> at) { return at ? std::string(at->field->name) : "-"; };
    EXPECT_EQ(name(fieldAt(SourceFile::DirectCredit, longHeader, 1, longHeader, 20)), "company name");
    EXPECT_EQ(name(fieldAt(SourceFile::DirectCredit, longHeader, 5, "", 28)), "amount");
    EXPECT_EQ(name(fieldAt(SourceFile::DirectCredit, shortHeader, 5, "", 28)), "payee name");
    EXPECT_EQ(name(fieldAt(SourceFile::DirectCredit, shortHeader, 5, "", 87)), "-");
    EXPECT_EQ(name(fieldAt(SourceFile::DirectDebit100M, "", 1, "", 60)), "total amount");
    EXPECT_EQ(name(fieldAt(SourceFile::DirectDebit100M, "", 2, "", 17)), "sign");
    EXPECT_EQ(name(fieldAt(SourceFile::ReturnFile, "", 3, "002", 314)), "result");
    EXPECT_EQ(name(fieldAt(SourceFile::ReturnFile, "", 9, "999", 5)), "record count");
    EXPECT_EQ(name(fieldAt(SourceFile::ReturnFile, "", 3, "123", 5)), "-");
    EXPECT_EQ(name(fieldAt(SourceFile::Convert100M, "", 4, "599", 8)), "number of debits");
    EXPECT_EQ(name(fieldAt(SourceFile::Convert100M, "", 4, "102", 8)), "not read");
    EXPECT_EQ(name(fieldAt(SourceFile::DirectDebitHash, shortHeader, 2, "", 20)), "amount");
    EXPECT_EQ(fieldAt(SourceFile::DirectDebitHash, shortHeader, 2, "", 20)->field->last, 26);
    EXPECT_EQ(fieldAt(SourceFile::DirectDebitHash, "        M", 2, "", 20)->field->last, 28);
    EXPECT_EQ(sourceFileNamed("c100m"), SourceFile::Convert100M);
    EXPECT_FALSE(sourceFileNamed("XYZ"));
}

}  // namespace
}  // namespace qrv
