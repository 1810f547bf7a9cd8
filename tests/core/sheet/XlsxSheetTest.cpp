#include <gtest/gtest.h>
#include <zip.h>

#include "TestWorkbook.h"
#include "sheet/CellReading.h"
#include "sheet/Sheet.h"
#include "sheet/XlsxSheet.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

const char* const kThai = "\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA2";  // สมชาย

// Every row as "number: cell|cell|...", each cell marked by its kind (t text, n number, d date, e error;
// nothing for an empty one).
std::vector<std::string> rows(Sheet& sheet) {
    std::vector<std::string> out;
    SheetRow row;
    while (sheet.next(row)) {
        std::string line = std::to_string(row.number) + ":";
        for (size_t i = 0; i < row.cells.size(); ++i) {
            static const char* const kKinds[] = {"", "t", "n", "d", "e"};
            const SheetCell& c = row.cells[i];
            line += (i ? "|" : "") + std::string(kKinds[static_cast<int>(c.kind)]) + (c.empty() ? "" : " ") +
                    c.text;
        }
        out.push_back(line);
    }
    return out;
}

std::string refusal(const std::filesystem::path& file, const SheetLimits& limits = {},
                    const std::string& name = {}) {
    try {
        auto sheet = openSheet(file, name, limits);
        rows(*sheet);
    } catch (const SheetError& e) {
        return e.what();
    }
    return "";
}

class Xlsx : public ::testing::Test {
  protected:
    std::filesystem::path path(const char* name) { return dir.path() / name; }
    test::TempDir dir;
};

TEST_F(Xlsx, CellsOfEveryKindArriveByRowAndColumn) {
    for (const bool inlineStrings : {false, true}) {
        test::TestWorkbook book(path(inlineStrings ? "inline.xlsx" : "shared.xlsx"), inlineStrings);
        lxw_worksheet* ws = book.sheet("Payroll");
        lxw_format* date = book.format("dd/mm/yyyy");
        lxw_format* buddhistDate = book.format("[$-1070000]d/m/yyyy;@");
        lxw_format* baht = book.format("[$\xE0\xB8\xBF-41E]#,##0.00");
        worksheet_write_string(ws, 0, 0, "Name", nullptr);
        worksheet_write_string(ws, 0, 1, "Amount", nullptr);
        worksheet_write_string(ws, 0, 3, "Paid on", nullptr);
        worksheet_write_string(ws, 2, 0, kThai, nullptr);
        worksheet_write_number(ws, 2, 1, 1234.5, baht);
        worksheet_write_blank(ws, 2, 2, baht);  // a styled empty cell is empty
        lxw_datetime day = {2026, 1, 15, 0, 0, 0};
        worksheet_write_datetime(ws, 2, 3, &day, date);
        worksheet_write_datetime(ws, 2, 4, &day, buddhistDate);
        worksheet_write_boolean(ws, 3, 0, 1, nullptr);
        worksheet_write_formula_num(ws, 3, 1, "=B3*2", nullptr, 2469);
        worksheet_write_number(ws, 3, 27, 0.1, nullptr);  // column AB
        // Text of several formats is one text; a formula's text result is its cached value.
        lxw_format* bold = workbook_add_format(book.raw());
        format_set_bold(bold);
        lxw_rich_string_tuple plain = {nullptr, const_cast<char*>("Somchai ")};
        lxw_rich_string_tuple strong = {bold, const_cast<char*>("Co., Ltd.")};
        lxw_rich_string_tuple* rich[] = {&plain, &strong, nullptr};
        worksheet_write_rich_string(ws, 4, 0, rich, nullptr);
        worksheet_write_formula_str(ws, 4, 1, "=A1&\"!\"", nullptr, "Name!");
        book.close();

        XlsxSheet sheet(path(inlineStrings ? "inline.xlsx" : "shared.xlsx"));
        EXPECT_EQ(rows(sheet), (std::vector<std::string>{
                                   "1:t Name|t Amount||t Paid on",
                                   "3:t " + std::string(kThai) + "|n 1234.5||d 2026-01-15|d 2026-01-15",
                                   "4:t TRUE|n 2469" + std::string(26, '|') + "n 0.1",
                                   "5:t Somchai Co., Ltd.|t Name!",
                               }))
            << (inlineStrings ? "inline strings" : "shared strings");
        EXPECT_EQ(sheet.description(), "XLSX, sheet \"Payroll\"");
    }
}

TEST_F(Xlsx, ManyRowsArriveOneByOneInOrder) {
    // Far more rows than one block of the sheet's XML holds: the parser stops after each row and goes on
    // within a block and across blocks.
    constexpr int kRows = 5000;
    test::TestWorkbook book(path("many.xlsx"));
    lxw_worksheet* ws = book.sheet(nullptr);
    for (int r = 0; r < kRows; ++r) {
        worksheet_write_string(ws, r, 0, ("payee " + std::to_string(r)).c_str(), nullptr);
        worksheet_write_number(ws, r, 2 + r % 3, r, nullptr);
    }
    book.close();
    XlsxSheet sheet(path("many.xlsx"));
    SheetRow row;
    for (int r = 0; r < kRows; ++r) {
        ASSERT_TRUE(sheet.next(row));
        ASSERT_EQ(row.number, r + 1);
        ASSERT_EQ(row.cell("A").text, "payee " + std::to_string(r));
        ASSERT_EQ(row.cells.size(), static_cast<size_t>(3 + r % 3));
        ASSERT_EQ(row.cell(2 + r % 3).text, std::to_string(r));
    }
    EXPECT_FALSE(sheet.next(row));
    EXPECT_FALSE(sheet.next(row));
}

TEST_F(Xlsx, AThaiNameArrivesInCodePage874FromEveryKindOfSheet) {
    const std::string thai874 = "\xCA\xC1\xAA\xD2\xC2";  // สมชาย
    test::TestWorkbook book(path("thai.xlsx"));
    worksheet_write_string(book.sheet(nullptr), 0, 1, kThai, nullptr);
    book.close();
    test::writeFile(path("utf8.csv"), "\xEF\xBB\xBF," + std::string(kThai) + "\r\n");
    test::writeFile(path("cp874.csv"), ";" + thai874 + "\r\n");
    for (const char* name : {"thai.xlsx", "utf8.csv", "cp874.csv"}) {
        auto sheet = openSheet(path(name));
        SheetRow row;
        ASSERT_TRUE(sheet->next(row)) << name;
        const CellReading<std::string> text = readText(row.cell("B"), 60);
        EXPECT_EQ(text.value, thai874) << name << ": " << text.fault;
    }
}

TEST_F(Xlsx, ASheetIsChosenByNameAndAMergedHeaderIsItsFirstCell) {
    test::TestWorkbook book(path("two.xlsx"));
    worksheet_write_string(book.sheet("First"), 0, 0, "one", nullptr);
    lxw_worksheet* second = book.sheet("Suppliers");
    worksheet_merge_range(second, 0, 1, 0, 2, "Payee", nullptr);
    worksheet_write_string(second, 1, 1, "Name", nullptr);
    worksheet_write_string(second, 1, 2, "Account", nullptr);
    book.close();

    EXPECT_EQ(rows(*openSheet(path("two.xlsx"))), (std::vector<std::string>{"1:t one"}));
    EXPECT_EQ(rows(*openSheet(path("two.xlsx"), "suppliers")),
              (std::vector<std::string>{"1:|t Payee", "2:|t Name|t Account"}));
    EXPECT_EQ(refusal(path("two.xlsx"), {}, "Third"),
              "The workbook has no sheet named \"Third\" (it has \"First\", \"Suppliers\")");
}

TEST_F(Xlsx, TheFirstSheetIsTheFirstSheetWithCells) {
    test::TestWorkbook book(path("chart.xlsx"));
    lxw_chartsheet* chartSheet = workbook_add_chartsheet(book.raw(), "Chart");
    worksheet_write_number(book.sheet("Data"), 0, 0, 7, nullptr);
    lxw_chart* chart = workbook_add_chart(book.raw(), LXW_CHART_COLUMN);
    chart_add_series(chart, nullptr, "=Data!$A$1:$A$1");
    chartsheet_set_chart(chartSheet, chart);
    book.close();
    XlsxSheet sheet(path("chart.xlsx"));
    EXPECT_EQ(rows(sheet), std::vector<std::string>{"1:n 7"});
    EXPECT_EQ(sheet.description(), "XLSX, sheet \"Data\"");
}

TEST_F(Xlsx, RelationshipTargetsArePartNames) {
    EXPECT_EQ(resolvePartName("xl/", "worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
    EXPECT_EQ(resolvePartName("xl/", "/xl/styles.xml"), "xl/styles.xml");
    EXPECT_EQ(resolvePartName("xl/worksheets/", "../sharedStrings.xml"), "xl/sharedStrings.xml");
    EXPECT_EQ(resolvePartName("", "xl/./workbook.xml"), "xl/workbook.xml");
    EXPECT_EQ(resolvePartName("xl/", "../../../etc/passwd"), "etc/passwd");  // never above the package
}

TEST_F(Xlsx, SerialNumbersAreDaysOfBothDateSystems) {
    EXPECT_EQ(serialDate("46037", false), "2026-01-15");
    EXPECT_EQ(serialDate("46037.75", false), "2026-01-15");  // the time of day is dropped
    EXPECT_EQ(serialDate("1", false), "1900-01-01");
    EXPECT_EQ(serialDate("59", false), "1900-02-28");
    EXPECT_EQ(serialDate("61", false), "1900-03-01");
    EXPECT_EQ(serialDate("60", false), std::nullopt);  // 1900-02-29 never was
    EXPECT_EQ(serialDate("0", false), std::nullopt);
    EXPECT_EQ(serialDate("-1", false), std::nullopt);
    EXPECT_EQ(serialDate("2958466", false), std::nullopt);  // after 9999-12-31
    EXPECT_EQ(serialDate("44575", true), "2026-01-15");
    EXPECT_EQ(serialDate("0", true), "1904-01-01");
}

TEST_F(Xlsx, DateFormatsAreToldFromNumberAndCurrencyFormats) {
    for (const char* code : {"dd/mm/yyyy", "d-mmm-yy", "[$-1070000]d/m/yyyy;@", "yyyy-mm-dd hh:mm", "[h]:mm",
                             "B2dd/mm/yyyy", "\xE0\xB8\xA7/\xE0\xB8\x94/\xE0\xB8\x9B\xE0\xB8\x9B"}) {
        EXPECT_TRUE(isDateFormat(code)) << code;
    }
    for (const char* code : {"General", "#,##0.00", "[$\xE0\xB8\xBF-41E]#,##0.00", "0.00E+00",
                             "#,##0 \"days\"", "_-* #,##0.00_-;-* #,##0.00_-", "[Red]0.00", "@", "\\d0"}) {
        EXPECT_FALSE(isDateFormat(code)) << code;
    }
}

// A workbook that a spreadsheet program made, with one part's XML changed as an attacker would.
void replacePart(const std::filesystem::path& file, const char* part,
                 const std::function<std::string(const std::string&)>& change) {
    int code = 0;
    zip_t* z = zip_open(file.string().c_str(), 0, &code);
    ASSERT_NE(z, nullptr);
    zip_file_t* f = zip_fopen(z, part, 0);
    ASSERT_NE(f, nullptr);
    std::string xml;
    char block[4096];
    for (zip_int64_t n; (n = zip_fread(f, block, sizeof block)) > 0;) {
        xml.append(block, static_cast<size_t>(n));
    }
    zip_fclose(f);
    const std::string changed = change(xml);  // libzip reads it when the archive is closed, below
    zip_source_t* source = zip_source_buffer(z, changed.data(), changed.size(), 0);
    ASSERT_GE(zip_file_add(z, part, source, ZIP_FL_OVERWRITE), 0);
    ASSERT_EQ(zip_close(z), 0);
}

TEST_F(Xlsx, HostilePackagesAreRefusedBeforeTheyExhaustMemory) {
    test::TestWorkbook book(path("big.xlsx"));
    lxw_worksheet* ws = book.sheet(nullptr);
    for (int r = 0; r < 200; ++r) {
        worksheet_write_string(ws, r, 0, ("payee " + std::to_string(r)).c_str(), nullptr);
        worksheet_write_number(ws, r, 1, r, nullptr);
    }
    worksheet_write_number(ws, 0, 40, 1, nullptr);  // column AO
    book.close();
    ASSERT_EQ(refusal(path("big.xlsx")), "");

    SheetLimits limits;
    limits.maxSheetBytes = 4000;
    const std::string bomb = refusal(path("big.xlsx"), limits);
    EXPECT_EQ(bomb.substr(0, 59), "The workbook's part \"xl/worksheets/sheet1.xml\" inflates to ") << bomb;
    EXPECT_NE(bomb.find(" bytes, more than the 4000 this program reads"), std::string::npos) << bomb;
    limits = {};
    limits.maxSharedStrings = 100;
    EXPECT_EQ(
        refusal(path("big.xlsx"), limits),
        "The workbook's part \"xl/sharedStrings.xml\" holds more than 100 shared strings, more than this "
        "program reads");
    limits = {};
    limits.maxSharedTextBytes = 1000;
    EXPECT_EQ(
        refusal(path("big.xlsx"), limits),
        "The workbook's part \"xl/sharedStrings.xml\" holds more than 1000 bytes of text, more than this "
        "program reads");
    limits = {};
    limits.maxColumns = 26;
    EXPECT_EQ(
        refusal(path("big.xlsx"), limits),
        "The workbook's part \"xl/worksheets/sheet1.xml\" has a cell in column AO (row 1), beyond the 26 "
        "columns this program reads");

    // Entity expansion ("billion laughs") through a document type declaration.
    replacePart(path("big.xlsx"), "xl/sharedStrings.xml", [](const std::string& xml) {
        const size_t declarationEnd = xml.find("?>") + 2;
        return xml.substr(0, declarationEnd) +
               "<!DOCTYPE sst [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>" +
               xml.substr(declarationEnd);
    });
    EXPECT_EQ(refusal(path("big.xlsx")),
              "The workbook's part \"xl/sharedStrings.xml\" holds a document type declaration, which no "
              "workbook has");
}

TEST_F(Xlsx, DamagedWorkbooksAndOtherFilesAreRefusedClearly) {
    test::TestWorkbook book(path("ok.xlsx"));
    worksheet_write_string(book.sheet(nullptr), 0, 0, "Name", nullptr);
    book.close();
    replacePart(path("ok.xlsx"), "xl/worksheets/sheet1.xml", [](const std::string& xml) {
        return xml.substr(0, xml.find("<sheetData>") + 20);  // cut short
    });
    EXPECT_EQ(
        refusal(path("ok.xlsx")),
        "The workbook's part \"xl/worksheets/sheet1.xml\" is not well-formed XML (line 2: unclosed token)");

    test::writeFile(path("old.xls"),
                    std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
    EXPECT_EQ(refusal(path("old.xls")),
              "\"" + path("old.xls").string() +
                  "\" is an Excel 97-2003 workbook (.xls): save it as an Excel workbook "
                  "(.xlsx) or as CSV");
    test::writeFile(path("notes.csv"), "a,b\n");
    EXPECT_EQ(refusal(path("notes.csv"), {}, "Sheet1"),
              "\"" + path("notes.csv").string() + "\" is a CSV file, which has no sheet \"Sheet1\"");
}

}  // namespace
}  // namespace qrv
