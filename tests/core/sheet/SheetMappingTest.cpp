#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "sheet/SheetMapping.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

const std::vector<std::string> kFields = {"credit account", "amount", "payee name", "company name",
                                          "effective date"};

SheetRow header(std::vector<std::string> texts) {
    SheetRow row;
    row.number = 1;
    for (std::string& t : texts) {
        row.cells.push_back({t.empty() ? SheetCell::Kind::Empty : SheetCell::Kind::Text, std::move(t)});
    }
    return row;
}

TEST(SheetMappings, ColumnsByHeaderOrLetterFixedValuesAndReadingRules) {
    const MappingRead read = SheetMapping::parse(
        "[columns]\n"
        "Credit Account = Account No.\n"
        "amount = D\n"
        "payee  name = \"ID\"\n"
        "effective date = Paid\n"
        "[values]\n"
        "company name = ACME Co., Ltd.\n"
        "[reading]\n"
        "dates = ymd\n"
        "years = BE\n",
        kFields);
    ASSERT_TRUE(read.mapping) << read.faults.front();
    const SheetMapping& m = *read.mapping;
    EXPECT_EQ(m.reading.dates, DateOrder::YMD);
    EXPECT_EQ(m.reading.years, YearEra::BE);
    EXPECT_EQ(m.find("company name")->value, "ACME Co., Ltd.");
    EXPECT_EQ(m.find("payee name")->column->text, "ID");  // quotes dropped

    // Header texts match with blanks, line breaks and capitals aside; "ID" is a header before a letter,
    // "D" a letter for want of a header.
    const MappedColumns found = m.columns(header({"No", "account  no.", "ID", "", "paid\n on"}));
    EXPECT_EQ(found.faults,
              std::vector<std::string>{"No column of row 1 is headed \"Paid\" (for \"effective date\")"});
    EXPECT_EQ(found.column("credit account"), 1);
    EXPECT_EQ(found.column("amount"), 3);
    EXPECT_EQ(found.column("payee name"), 2);
    EXPECT_EQ(found.column("company name"), -1);
    EXPECT_FALSE(m.isHeaderRow(header({"No", "Account No.", "ID"})));
    EXPECT_TRUE(m.isHeaderRow(header({"Paid", "Account No."})));
    EXPECT_EQ(m.columns(header({"Paid", "Account No."})).column("payee name"), 237);  // column ID

    // What it writes reads back the same.
    const MappingRead again = SheetMapping::parse(m.toIni(), kFields);
    ASSERT_TRUE(again.mapping);
    EXPECT_EQ(again.mapping->toIni(), m.toIni());
    EXPECT_EQ(again.mapping->find("payee name")->column->text, "ID");
    EXPECT_EQ(again.mapping->find("amount")->column->letter, 3);
}

TEST(SheetMappings, EveryFaultOfAMappingIsSaid) {
    const MappingRead read = SheetMapping::parse(
        "[columns]\n"
        "amout = C\n"
        "payee name =\n"
        "company name = B\n"
        "[values]\n"
        "company name = ACME\n"
        "[reading]\n"
        "dates = DDMMYY\n"
        "years = 2026\n"
        "order = DMY\n"
        "[colums]\n"
        "amount = C\n",
        kFields);
    EXPECT_FALSE(read.mapping);
    EXPECT_EQ(
        read.faults,
        (std::vector<std::string>{
            "[columns] \"amout\" is not a field of this product (its fields: credit account, amount, payee "
            "name, company name, effective date)",
            "[columns] \"payee name\" names no column",
            "\"company name\" is given both a column ([columns]) and a value ([values])",
            "[reading] dates = DDMMYY: write DMY, MDY or YMD",
            "[reading] years = 2026: write CE or BE",
            "[reading] \"order\" is not a reading setting (dates, years)",
            "[colums] is not a section of a mapping ([columns], [values], [reading])",
        }));
}

TEST(SheetMappings, AHeaderTwoColumnsOrNoneHoldIsRefusedAndAMissingFileSaid) {
    const MappingRead read = SheetMapping::parse("[columns]\namount = Amount\npayee name = ZZZ\n", kFields);
    ASSERT_TRUE(read.mapping);
    EXPECT_EQ(read.mapping->reading.dates, DateOrder::DMY);  // the defaults
    EXPECT_EQ(read.mapping->reading.years, YearEra::CE);
    EXPECT_EQ(
        read.mapping->columns(header({"Amount", "Name", "amount"})).faults,
        (std::vector<std::string>{"Columns A and C of row 1 are both headed \"Amount\": name the column of "
                                  "\"amount\" by its letter",
                                  "No column of row 1 is headed \"ZZZ\" (for \"payee name\")"}));
    EXPECT_EQ(SheetMapping::load("/nonexistent/map.ini", kFields).faults,
              std::vector<std::string>{"Cannot open the mapping file \"/nonexistent/map.ini\""});
}

// A header cell may hold a line break, quotes or a leading ";" (a mapping made in the window takes its text):
// the INI text written keeps the mapping, and reads back as itself.
TEST(SheetMappings, ColumnTextsWithLineBreaksAndQuotesSurviveTheirIniText) {
    SheetMapping m;
    m.sources = {{"payee name", ColumnChoice{"Payee\r\n  Name\r", std::nullopt}, std::nullopt},
                 {"amount", ColumnChoice{"\"Net\"", std::nullopt}, std::nullopt},
                 {"credit account", ColumnChoice{";No", std::nullopt}, std::nullopt},
                 {"company name", std::nullopt, ";ACME"}};
    const MappingRead read = SheetMapping::parse(m.toIni(), kFields);
    ASSERT_TRUE(read.mapping) << read.faults.front();
    EXPECT_EQ(read.mapping->find("payee name")->column->text, "Payee Name");
    EXPECT_EQ(read.mapping->find("amount")->column->text, "\"Net\"");
    EXPECT_EQ(read.mapping->find("credit account")->column->text, ";No");  // not a comment
    EXPECT_EQ(read.mapping->find("company name")->value, ";ACME");
    EXPECT_EQ(read.mapping->columns(header({"payee name", "\"net\""})).columns,
              (std::vector<std::pair<std::string, int>>{{"payee name", 0}, {"amount", 1}}));
    EXPECT_EQ(SheetMapping::parse(read.mapping->toIni(), kFields).mapping->toIni(), read.mapping->toIni());
    // Blanks in quotes name no column either: they would be written as nothing.
    EXPECT_EQ(SheetMapping::parse("[columns]\namount = \"  \"\n", kFields).faults,
              std::vector<std::string>{"[columns] \"amount\" names no column"});
}

// A mapping as Notepad saves it: UTF-8 with or without a mark, UTF-16, or code page 874 on a Thai Windows
// ("ANSI"), its lines ending in CR LF, LF or CR. A stray byte in a UTF-8 mapping is named by its line.
TEST(MappingEncodings, EveryEncodingAndLineEndReadsTheSameMapping) {
    test::TempDir dir;
    const std::string thai = "\xE0\xB8\x8A\xE0\xB8\xB7\xE0\xB9\x88\xE0\xB8\xAD";  // ชื่อ
    const std::string thai874 = "\xAA\xD7\xE8\xCD";
    const std::string utf8 = "[columns]\r\npayee name = " + thai +
                             "\r\namount = B\r\n[values]\r\ncompany name = " + thai + " " +
                             std::string(60, 'x') + "\r\n";
    const MappingRead expected = SheetMapping::parse(utf8, kFields);
    ASSERT_TRUE(expected.mapping) << expected.faults.front();
    std::string utf16 = "\xFF\xFE";
    for (const char32_t c : std::u32string{U"[columns]\npayee name = \u0E0A\u0E37\u0E48\u0E2D\namount = B\n"
                                           U"[values]\ncompany name = \u0E0A\u0E37\u0E48\u0E2D "} +
                                std::u32string(60, U'x')) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    std::string cr = utf8;
    cr.erase(std::remove(cr.begin(), cr.end(), '\n'), cr.end());
    std::string ansi = utf8;
    for (size_t at; (at = ansi.find(thai)) != std::string::npos;) {
        ansi.replace(at, thai.size(), thai874);
    }
    for (const std::string& bytes : {"\xEF\xBB\xBF" + utf8, utf16, cr, ansi}) {
        test::writeFile(dir.path() / "map.ini", bytes);
        const MappingRead read = SheetMapping::load(dir.path() / "map.ini", kFields);
        ASSERT_TRUE(read.mapping) << read.faults.front();
        EXPECT_TRUE(*read.mapping == *expected.mapping) << read.mapping->toIni();
    }
    test::writeFile(dir.path() / "map.ini", utf8 + "payee name = Caf\xE9\r\n");
    EXPECT_EQ(SheetMapping::load(dir.path() / "map.ini", kFields).faults,
              std::vector<std::string>{"Line 6 of the mapping holds a byte that is not UTF-8, in a mapping "
                                       "otherwise written in UTF-8: save it again as UTF-8"});
}

// A field given twice is said rather than settled by its first line; a line that means nothing is said;
// [values] drops quotes as [columns] does; a header present twice is a header row whose two columns are
// named.
TEST(SheetMappings, FieldsGivenTwiceQuotesAndRepeatedHeadersAreSaid) {
    EXPECT_EQ(
        SheetMapping::parse("[columns]\namount = B\nAmount = C\n[values]\ncompany name = \"ACME\"\n", kFields)
            .faults,
        std::vector<std::string>{"[columns] \"Amount\" is given twice: keep one of them"});
    EXPECT_EQ(SheetMapping::parse("[columns]\namount B\n", kFields).faults,
              std::vector<std::string>{"Line 2 of the mapping is neither \"field = text\", a [section] nor a "
                                       "comment"});
    const MappingRead read =
        SheetMapping::parse("[columns]\namount = Amount\n[values]\ncompany name = \"ACME\"\n", kFields);
    ASSERT_TRUE(read.mapping);
    EXPECT_EQ(read.mapping->find("company name")->value, "ACME");
    EXPECT_TRUE(read.mapping->isHeaderRow(header({"Name", "Amount", "amount"})));
    EXPECT_EQ(
        read.mapping->columns(header({"Name", "Amount", "amount"})).faults,
        std::vector<std::string>{"Columns B and C of row 1 are both headed \"Amount\": name the column of "
                                 "\"amount\" by its letter"});
}

// A CR alone ends a line (the fuzzer found a mapping whose "A\rB" was read as one text and written as
// another); a text a mapping line cannot hold is said when the mapping is made, not lost when it is read.
TEST(SheetMappings, ACarriageReturnEndsALineAndUnwritableTextsAreSaid) {
    const MappingRead read = SheetMapping::parse("[columns]\ramount = A\rpayee name = Name\r", kFields);
    ASSERT_TRUE(read.mapping) << read.faults.front();
    EXPECT_EQ(read.mapping->find("amount")->column->text, "A");
    EXPECT_EQ(read.mapping->find("payee name")->column->text, "Name");
    EXPECT_FALSE(SheetMapping::parse("[columns]\namount = A\rB\n", kFields).mapping);
    SheetMapping m;
    m.sources = {{"company name", std::nullopt, "ACME ;Ltd"}, {"payee name", std::nullopt, "A\x01"}};
    EXPECT_EQ(m.writeFaults(),
              (std::vector<std::string>{
                  "\"company name\" holds \" ;\", which starts a comment in a mapping line: write it without "
                  "the blank",
                  "\"payee name\" holds a line break, tab or other control character, which a mapping line "
                  "cannot hold"}));
}

// Random mappings that can be written are read back as themselves: texts of blanks, quotes, ";", "=",
// "#", brackets, Thai and letters that are column letters, values and columns, every reading rule.
TEST(SheetMappings, RandomMappingsReadBackAsThemselves) {
    std::mt19937 random(20261210);
    const std::vector<std::string> pieces = {
        " ",   "  ", "\"",           ";", "=",  "#", "[",       "]",  "A", "ID",
        "xfd", ",",  "\xE0\xB8\x81", ":", "\\", "'", "_x0041_", "\t", "0"};
    int written = 0;
    for (int i = 0; i < 3000; ++i) {
        SheetMapping m;
        m.reading = {static_cast<DateOrder>(random() % 3), static_cast<YearEra>(random() % 2)};
        for (const std::string& field : kFields) {
            if (random() % 3 == 0) {
                continue;
            }
            std::string text;
            for (unsigned n = random() % 6; n > 0; --n) {
                text += pieces[random() % pieces.size()];
            }
            if (random() % 2 == 0) {
                m.sources.push_back({field, columnChoice(text), std::nullopt});
            } else {
                m.sources.push_back({field, std::nullopt, text});
            }
        }
        const MappingRead read = SheetMapping::parse(m.toIni(), kFields);
        if (!m.writeFaults().empty() ||
            std::any_of(m.sources.begin(), m.sources.end(),
                        [](const FieldSource& s) { return s.column && s.column->text.empty(); })) {
            continue;  // said when the mapping is made
        }
        ++written;
        ASSERT_TRUE(read.mapping) << read.faults.front() << "\n" << m.toIni();
        ASSERT_TRUE(*read.mapping == m) << m.toIni() << "---\n" << read.mapping->toIni();
    }
    EXPECT_GT(written, 1000);
}

}  // namespace
}  // namespace qrv
