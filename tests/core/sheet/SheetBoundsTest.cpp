#include <gtest/gtest.h>
#include <zip.h>

#include "TestWorkbook.h"
#include "sheet/CsvSheet.h"
#include "sheet/Sheet.h"
#include "sheet/SheetMapping.h"
#include "support/TestSupport.h"

// Bounds that keep a small hostile file from taking gigabytes or hours: a long shared string in every
// cell of a row, elements nested without end, one tag of megabytes, a mapping file that is something else.
namespace qrv {
namespace {

class SheetBounds : public ::testing::Test {
  protected:
    std::filesystem::path path(const char* name) { return dir.path() / name; }

    // Rows read until the end: "" when every row was read, else the refusal.
    static std::string refusal(const std::filesystem::path& file, const SheetLimits& limits = {}) {
        try {
            auto sheet = openSheet(file, {}, limits);
            SheetRow row;
            while (sheet->next(row)) {
            }
        } catch (const SheetError& e) {
            return e.what();
        }
        return "";
    }

    std::filesystem::path workbook(const char* name, const std::string& sheetData) {
        return test::workbookWithSheetData(path(name), sheetData);
    }

    static std::string repeat(const std::string& s, int times) {
        std::string out;
        for (int i = 0; i < times; ++i) {
            out += s;
        }
        return out;
    }

    test::TempDir dir;
};

TEST_F(SheetBounds, ARowsTextIsBoundedHoweverFewBytesTheFileSpendsOnIt) {
    // One shared string of 300 bytes, referred to by four cells: 1,200 bytes of row from a few bytes of
    // sheet. Inline text counts as well.
    test::TestWorkbook book(path("shared.xlsx"));
    lxw_worksheet* ws = book.sheet(nullptr);
    const std::string text(300, 'y');
    for (lxw_col_t c = 0; c < 4; ++c) {
        worksheet_write_string(ws, 1, c, text.c_str(), nullptr);
    }
    for (lxw_col_t c = 0; c < 3; ++c) {
        worksheet_write_string(ws, 2, c, text.c_str(), nullptr);
    }
    book.close();
    SheetLimits limits;
    limits.maxRowBytes = 1000;
    EXPECT_EQ(
        refusal(path("shared.xlsx"), limits),
        "The workbook's part \"xl/worksheets/sheet1.xml\" holds a row (2) of more than 1000 bytes of text, "
        "more than this program reads");
    limits.maxRowBytes = 1200;
    EXPECT_EQ(refusal(path("shared.xlsx"), limits), "");
    const std::string again =
        "<row r=\"1\">" + repeat("<c t=\"inlineStr\"><is><t>" + text + "</t></is></c>", 5) + "</row>";
    EXPECT_EQ(
        refusal(workbook("again.xlsx", again), limits),
        "The workbook's part \"xl/worksheets/sheet1.xml\" holds a row (1) of more than 1200 bytes of text, "
        "more than this program reads");

    test::writeFile(path("wide.csv"), "a,b,c\n" + text + "," + text + "," + text + "," + text + "\n");
    EXPECT_EQ(refusal(path("wide.csv"), limits), "");
    limits.maxRowBytes = 1199;
    EXPECT_EQ(refusal(path("wide.csv"), limits), "Row 2 holds more than 1199 bytes");
}

TEST_F(SheetBounds, DeepNestingAndLongMarkupAreRefusedButLongTextIsRead) {
    const auto nested = [](int depth) {
        return "<row r=\"1\"><c r=\"A1\"><v>1</v></c>" + repeat("<x>", depth) + repeat("</x>", depth) +
               "</row>";
    };
    // worksheet, sheetData and row hold the nested elements.
    EXPECT_EQ(refusal(workbook("deep-ok.xlsx", nested(253))), "");
    EXPECT_EQ(refusal(workbook("deep.xlsx", nested(254))),
              "The workbook's part \"xl/worksheets/sheet1.xml\" nests elements more than 256 deep, as no "
              "workbook does");

    const std::string longMarkup =
        "The workbook's part \"xl/worksheets/sheet1.xml\" holds a tag or other markup longer than 1048576 "
        "bytes, as no workbook does";
    const std::string tag = "<row r=\"1\"><c r=\"A1\" note=\"" + std::string(1200 << 10, 'a') + "\"/></row>";
    EXPECT_EQ(refusal(workbook("tag.xlsx", tag)), longMarkup);
    EXPECT_EQ(refusal(workbook("comment.xlsx", "<!--" + std::string(1200 << 10, 'c') + "-->")), longMarkup);

    // Text comes out as it is read: 1.2 MB of it in a row's cells is no piece of markup.
    const std::string cell = "<c t=\"inlineStr\"><is><t>" + std::string(200 << 10, 't') + "</t></is></c>";
    const auto file = workbook("text.xlsx", "<row r=\"1\">" + repeat(cell, 6) + "</row>");
    auto sheet = openSheet(file);
    SheetRow row;
    ASSERT_TRUE(sheet->next(row));
    ASSERT_EQ(row.cells.size(), 6u);
    EXPECT_EQ(row.cells[5].text.size(), size_t{200 << 10});
}

TEST_F(SheetBounds, AMappingLargerThanAnyOrWithLinesTheIniReaderCutsIsRefused) {
    const std::vector<std::string> fields = {"amount"};
    // Padded to the bound with comments, it is read; a byte more and it is refused, from text and file.
    std::string full = "[columns]\namount = B\n";
    while (full.size() < 64 * 1024) {
        full += "; " + std::string(std::min<size_t>(100, 64 * 1024 - full.size() - 3), 'x') + "\n";
    }
    ASSERT_EQ(full.size(), size_t{64 * 1024});
    test::writeFile(path("map.ini"), full);
    const MappingRead read = SheetMapping::load(path("map.ini"), fields);
    ASSERT_TRUE(read.mapping) << read.faults.front();
    EXPECT_EQ(read.mapping->find("amount")->column->letter, 1);
    const std::string refused =
        "The mapping is longer than 65536 bytes, more than any mapping: is it the right file?";
    test::writeFile(path("big.ini"), full + "\n");
    EXPECT_EQ(SheetMapping::load(path("big.ini"), fields).faults, std::vector<std::string>{refused});
    EXPECT_EQ(SheetMapping::parse(full + "\n", fields).faults, std::vector<std::string>{refused});

    // A header text as long as a line holds is read, and written back within one; longer, it is refused
    // rather than read, or written, as two lines.
    const std::string line = "amount=" + std::string(181, 'h');  // written with blanks around "="
    const MappingRead longest = SheetMapping::parse("[columns]\r\n" + line + "\r\n", fields);
    ASSERT_TRUE(longest.mapping);
    EXPECT_EQ(SheetMapping::parse(longest.mapping->toIni(), fields).mapping->find("amount")->column->text,
              std::string(181, 'h'));
    EXPECT_EQ(
        SheetMapping::parse("[columns]\n" + line + "h\n", fields).faults,
        std::vector<std::string>{"[columns] \"amount\" would be written as a line longer than 190 bytes, "
                                 "more than a mapping line holds"});
    EXPECT_EQ(SheetMapping::parse("[columns]\n" + line + "hhh\n", fields).faults,
              std::vector<std::string>{
                  "Line 2 of the mapping is longer than 190 bytes, more than a mapping line holds"});

    // Thousands of sections, each said once; a key given again is said to be given twice.
    std::string many = "[columns]\namount = C\n";
    size_t sections = 0;
    for (; many.size() < 60'000; ++sections) {
        many += "[s" + std::to_string(sections) + "]\nk = v\n";
    }
    const MappingRead faults = SheetMapping::parse(many + "[COLUMNS]\nAmount = D\n[s0]\nK = w\n", fields);
    EXPECT_EQ(faults.faults.size(), sections + 2);
    EXPECT_EQ(faults.faults.front(), "[s0] is not a section of a mapping ([columns], [values], [reading])");
    EXPECT_EQ(faults.faults.back(), "[s0] \"K\" is given twice: keep one of them");
}

}  // namespace
}  // namespace qrv
