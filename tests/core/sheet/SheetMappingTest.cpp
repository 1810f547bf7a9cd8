#include <gtest/gtest.h>

#include "sheet/SheetMapping.h"

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

}  // namespace
}  // namespace qrv
