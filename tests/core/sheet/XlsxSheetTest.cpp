#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <algorithm>

#include "TestWorkbook.h"
#include "sheet/CellReading.h"
#include "sheet/Sheet.h"
#include "sheet/XlsxSheet.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

const char* const kThai = "\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA2";  // สมชาย

// Every row as "number: cell|cell|...", each cell marked by its kind (t text, n number, d date, e error;
// f formula without its result; nothing for an empty one); a hidden row's number is followed by "h".
std::vector<std::string> rows(Sheet& sheet) {
    std::vector<std::string> out;
    SheetRow row;
    while (sheet.next(row)) {
        std::string line = std::to_string(row.number) + (row.hidden ? "h:" : ":");
        for (size_t i = 0; i < row.cells.size(); ++i) {
            static const char* const kKinds[] = {"", "t", "n", "d", "e", "f"};
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

using test::replacePart;

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

// Workbooks as the programs customers use save them: the dates they mean, the structure they have,
// the rows and sheets they hide, and the files they are not.
class XlsxDates : public Xlsx {};
class XlsxStructure : public Xlsx {};
class XlsxHidden : public Xlsx {};
class SheetFileKinds : public Xlsx {};

// Excel 2013 and later write a second "workbookPr" of their own under extLst: the workbook's own says
// the date system.
TEST_F(XlsxDates, A1904WorkbookWithTheExtensionsWorkbookPrKeepsItsDateSystem) {
    test::TestWorkbook book(path("1904.xlsx"));
    worksheet_write_number(book.sheet("Pay"), 0, 0, 45000, book.format("dd/mm/yyyy"));
    book.close();
    replacePart(path("1904.xlsx"), "xl/workbook.xml", [](std::string xml) {
        xml.replace(xml.find("<workbookPr"), 11, "<workbookPr date1904=\"1\"");
        return xml.insert(xml.rfind("</workbook>"),
                          "<extLst><ext uri=\"{140A7094-0E35-4892-8432-C4D2E57EDEB5}\" "
                          "xmlns:x15=\"http://schemas.microsoft.com/office/spreadsheetml/2010/11/main\">"
                          "<x15:workbookPr chartTrackingRefBase=\"1\"/></ext></extLst>");
    });
    XlsxSheet sheet(path("1904.xlsx"));
    EXPECT_TRUE(sheet.workbook().date1904());
    const std::vector<std::string> expected = {"1:d " + Date{1904, 1, 1}.plusDays(45000).isoDashed()};
    EXPECT_EQ(rows(sheet), expected);
}

// An ISO date cell (t="d") is the day it holds, as a date cell; one that is no day stays its text.
TEST_F(XlsxDates, IsoDateCellsAreDays) {
    const auto file =
        test::workbookWithSheetData(path("iso.xlsx"),
                                    "<row r=\"1\"><c r=\"A1\" t=\"d\"><v>2021-01-01T10:10:10</v></c>"
                                    "<c r=\"B1\" t=\"d\"><v>2026-02-30</v></c></row>");
    XlsxSheet sheet(file);
    EXPECT_EQ(rows(sheet), std::vector<std::string>{"1:d 2021-01-01|t 2026-02-30"});
}

// A cell given twice in a row would leave its value to chance: the sheet is refused, naming the cell.
TEST_F(XlsxStructure, ACellGivenTwiceIsRefusedNamingItsRowAndColumn) {
    const auto file =
        test::workbookWithSheetData(path("twice.xlsx"),
                                    "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>Somchai</t></is></c>"
                                    "<c r=\"B2\"><v>1500</v></c><c r=\"B2\"><v>999999</v></c></row>");
    EXPECT_EQ(refusal(file),
              "The workbook's part \"xl/worksheets/sheet1.xml\" gives cell B2 twice (row 2, "
              "column B), as no spreadsheet program writes it: which of its values counts "
              "cannot be told");
}

// Some Windows tools write "\\" between the folders of a package's entries.
TEST_F(XlsxStructure, BackslashPathsInThePackageAreRead) {
    test::TestWorkbook book(path("slash.xlsx"));
    worksheet_write_string(book.sheet("Pay"), 0, 0, "Name", nullptr);
    book.close();
    int code = 0;
    zip_t* z = zip_open(path("slash.xlsx").string().c_str(), 0, &code);
    ASSERT_NE(z, nullptr);
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        std::string name = zip_get_name(z, static_cast<zip_uint64_t>(i), 0);
        std::replace(name.begin(), name.end(), '/', '\\');
        ASSERT_EQ(zip_file_rename(z, static_cast<zip_uint64_t>(i), name.c_str(), ZIP_FL_ENC_RAW), 0);
    }
    ASSERT_EQ(zip_close(z), 0);
    XlsxSheet sheet(path("slash.xlsx"));
    EXPECT_EQ(rows(sheet), std::vector<std::string>{"1:t Name"});
}

// Characters XML cannot hold are escaped as _xHHHH_ in shared and inline strings; "_x005F_" keeps a
// literal one. A formula saved without its result is a formula, not an empty cell.
TEST_F(XlsxStructure, EscapedCharactersAreDecodedAndAFormulaWithoutItsResultIsSaid) {
    test::TestWorkbook book(path("escapes.xlsx"));
    worksheet_write_string(book.sheet(nullptr), 0, 0, "PLACE", nullptr);
    book.close();
    replacePart(path("escapes.xlsx"), "xl/sharedStrings.xml", [](std::string xml) {
        return xml.replace(xml.find("PLACE"), 5, "A_x0026_B_x005F_x0041_ \xE0\xB8\x81");
    });
    EXPECT_EQ(rows(*openSheet(path("escapes.xlsx"))),
              std::vector<std::string>{"1:t A&B_x0041_ \xE0\xB8\x81"});
    const auto file = test::workbookWithSheetData(
        path("formula.xlsx"),
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Tab_x0009_here</t></is></c>"
        "<c r=\"B1\"><f>SUM(B2:B9)</f></c><c r=\"C1\" t=\"str\"><f>A1</f><v></v></c>"
        "<c r=\"D1\" t=\"str\"><v>_xD83D__xDE00_</v></c></row>");
    XlsxSheet sheet(file);
    EXPECT_EQ(rows(sheet), std::vector<std::string>{"1:t Tab\there|f =SUM(B2:B9)||t \xF0\x9F\x98\x80"});
    const SheetCell formula{SheetCell::Kind::Formula, "=SUM(B2:B9)"};
    const std::string said =
        "holds the formula \"=SUM(B2:B9)\" saved without its result: open the file in "
        "a spreadsheet program and save it again";
    EXPECT_EQ(readAmount(formula, 2).fault, said);
    EXPECT_EQ(readText(formula).fault, said);
}

// Rows hidden by hand, by a filter or in a folded outline come marked; the first sheet a spreadsheet
// program shows is the one read unless another is named.
TEST_F(XlsxHidden, HiddenRowsAreMarkedAndTheFirstVisibleSheetIsTheDefault) {
    test::TestWorkbook book(path("hidden.xlsx"));
    lxw_worksheet* old = book.sheet("Old");
    lxw_worksheet* pay = book.sheet("Pay");
    worksheet_write_string(old, 0, 0, "old", nullptr);
    lxw_row_col_options hide = {1, 0, 0};
    for (lxw_row_t r = 0; r < 4; ++r) {
        worksheet_write_number(pay, r, 0, r + 1, nullptr);
    }
    worksheet_set_row_opt(pay, 2, LXW_DEF_ROW_HEIGHT, nullptr, &hide);
    worksheet_activate(pay);
    worksheet_hide(old);
    book.close();
    auto sheet = openSheet(path("hidden.xlsx"));
    EXPECT_EQ(rows(*sheet), (std::vector<std::string>{"1:n 1", "2:n 2", "3h:n 3", "4:n 4"}));
    EXPECT_EQ(sheet->description(), "XLSX, sheet \"Pay\"");
    auto named = openSheet(path("hidden.xlsx"), "old");
    EXPECT_EQ(named->description(), "XLSX, sheet \"Old\" (a hidden sheet)");
}

// Files that spreadsheet programs save besides .xlsx and CSV, and files that are none, are named for
// what they are.
TEST_F(SheetFileKinds, OtherSpreadsheetFilesAreNamedForWhatTheyAre) {
    const std::string save =
        ": open it in the spreadsheet program and save it as an Excel workbook (.xlsx) or as CSV";
    test::writeZip(path("a.ods"), {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                   {"content.xml", "<office:document-content/>"}});
    EXPECT_EQ(refusal(path("a.ods")),
              "The file is an OpenDocument spreadsheet (.ods), which this program cannot read" + save);
    test::writeZip(path("a.xlsb"),
                   {{"_rels/.rels",
                     "<Relationships><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
                     "officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.bin\"/>"
                     "</Relationships>"},
                    {"xl/workbook.bin", std::string("\x83\x01\x00", 3)}});
    EXPECT_EQ(refusal(path("a.xlsb")),
              "The file is an Excel binary workbook (.xlsb), which this program cannot read" + save);
    test::writeFile(path("table.xls"), "<html><body><table><tr><td>Name</td></tr></table></body></html>");
    EXPECT_EQ(refusal(path("table.xls")), "\"" + path("table.xls").string() +
                                              "\" is a web page (HTML), not a CSV file or an Excel workbook" +
                                              save);
    test::writeFile(path("2003.xls"),
                    "<?xml version=\"1.0\"?>\r\n<?mso-application progid=\"Excel.Sheet\"?>"
                    "\r\n<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\">");
    EXPECT_EQ(refusal(path("2003.xls")), "\"" + path("2003.xls").string() +
                                             "\" is an XML Spreadsheet 2003 file, not a CSV file or an Excel "
                                             "workbook" +
                                             save);
    // A workbook protected by a password is a compound file holding an encrypted package.
    std::string compound(1024, '\0');
    compound.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    compound[0x1E] = 9;  // sectors of 512 bytes; the directory in sector 0, right after the header
    const std::string name = std::string("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    compound.replace(512 + 128, name.size(), name);
    test::writeFile(path("locked.xlsx"), compound);
    EXPECT_EQ(refusal(path("locked.xlsx")),
              "\"" + path("locked.xlsx").string() +
                  "\" is a workbook protected by a password, which this program cannot open: save a copy "
                  "without the password as an Excel workbook (.xlsx) or as CSV");
    // A folder, a FIFO and a device are no files to read: refused before they are opened.
    EXPECT_EQ(refusal(dir.path()), "The sheet file \"" + dir.path().string() + "\" is a folder, not a file");
#ifndef _WIN32  // FIFOs and /dev are POSIX
    ASSERT_EQ(mkfifo(path("pipe.csv").c_str(), 0600), 0);
    EXPECT_EQ(refusal(path("pipe.csv")),
              "The sheet file \"" + path("pipe.csv").string() +
                  "\" is a FIFO (a pipe), not a regular file. Please choose a file "
                  "and retry");
    EXPECT_EQ(refusal("/dev/zero"),
              "The sheet file \"/dev/zero\" is a device, not a regular file. Please choose a file and retry");
#endif
    test::writeFile(path("image.csv"), std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16));
    EXPECT_EQ(refusal(path("image.csv")),
              "The file holds NUL bytes, which no CSV text holds: it is no CSV file (or it is UTF-16 text "
              "without its byte-order mark: save it again as CSV)");
}

}  // namespace
}  // namespace qrv
