#include <gtest/gtest.h>

#include "sheet/CsvSheet.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

// "สมชาย" in UTF-8 and in code page 874.
const std::string kThaiUtf8 = "\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA2";
const std::string kThai874 = "\xCA\xC1\xAA\xD2\xC2";

class Csv : public ::testing::Test {
  protected:
    std::filesystem::path file(const std::string& bytes) {
        const auto path = dir.path() / ("f" + std::to_string(++count) + ".csv");
        test::writeFile(path, bytes);
        return path;
    }
    // Every row as "number: cell|cell|...".
    static std::vector<std::string> rows(Sheet& sheet) {
        std::vector<std::string> out;
        SheetRow row;
        while (sheet.next(row)) {
            std::string line = std::to_string(row.number) + ":";
            for (size_t i = 0; i < row.cells.size(); ++i) {
                line += (i ? "|" : "") + row.cells[i].text;
            }
            out.push_back(line);
        }
        return out;
    }
    test::TempDir dir;
    int count = 0;
};

TEST_F(Csv, QuotedFieldsHoldSeparatorsQuotesAndLineBreaksWithinOneRow) {
    CsvSheet sheet(
        file("Name,Amount,Note\r\n"
             "\"Somchai, Ltd\",\"1,234.50\",\"two\r\nlines\"\r\n"
             "\"He said \"\"hi\"\"\",5,\r\n"
             "last,6,no line end"));
    EXPECT_EQ(rows(sheet),
              (std::vector<std::string>{"1:Name|Amount|Note", "2:Somchai, Ltd|1,234.50|two\r\nlines",
                                        "3:He said \"hi\"|5|", "4:last|6|no line end"}));
    EXPECT_EQ(sheet.separator(), ',');
}

TEST_F(Csv, RowNumbersCountEmptyLinesAsARowProgramDoesAndSkipThem) {
    CsvSheet sheet(file("a;b\n\n\"x\ny\";2\r\r\n;\n3;4\n"));
    // Semicolons outnumber commas in the first row; LF, CR and CR LF end lines; a row of empty cells is
    // skipped but counted.
    EXPECT_EQ(rows(sheet), (std::vector<std::string>{"1:a|b", "3:x\ny|2", "6:3|4"}));
    EXPECT_EQ(sheet.separator(), ';');
    EXPECT_EQ(sheet.description(), "CSV, ASCII, semicolon-separated");
}

TEST_F(Csv, EncodingIsDetectedAndThaiArrivesAsUtf8) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
    };
    for (const Case& c : {Case{"\xEF\xBB\xBFName\r\n" + kThaiUtf8 + "\r\n", TextEncoding::Utf8WithBom},
                          Case{"Name\r\n" + kThaiUtf8 + "\r\n", TextEncoding::Utf8},
                          Case{"Name\r\n" + kThai874 + "\r\n", TextEncoding::CodePage874}}) {
        CsvSheet sheet(file(c.bytes));
        EXPECT_EQ(rows(sheet), (std::vector<std::string>{"1:Name", "2:" + kThaiUtf8}));
        EXPECT_EQ(sheet.encoding(), c.encoding);
    }
    // A code page 874 byte far into the file still decides.
    CsvSheet late(file(std::string(200000, 'a') + "\n" + kThai874 + "\n"));
    EXPECT_EQ(late.encoding(), TextEncoding::CodePage874);
    EXPECT_EQ(late.description(), "CSV, code page 874 (Windows Thai), comma-separated");
}

TEST_F(Csv, QuotesLineEndsAndThaiCharactersCutByTheReadingBlocksAreWhole) {
    // The file is read in blocks of 64 KiB: with every shift of the rows against the blocks' ends, some
    // doubled quote, CR LF and Thai character is cut in two by one.
    const std::string row = "\"a\"\"b\"," + kThaiUtf8 + "\r\n";
    for (size_t shift = 0; shift < row.size(); ++shift) {
        std::string bytes = "h" + std::string(shift, 'x') + "\r\n";
        const int count = 70000 / static_cast<int>(row.size());
        for (int i = 0; i < count; ++i) {
            bytes += row;
        }
        CsvSheet sheet(file(bytes));
        EXPECT_EQ(sheet.encoding(), TextEncoding::Utf8) << "shift " << shift;
        const std::vector<std::string> read = rows(sheet);
        ASSERT_EQ(read.size(), static_cast<size_t>(count) + 1) << "shift " << shift;
        for (int i = 1; i <= count; ++i) {
            ASSERT_EQ(read[i], std::to_string(i + 1) + ":a\"b|" + kThaiUtf8) << "shift " << shift;
        }
    }
}

TEST_F(Csv, DamagedOrOversizedFilesAreRefusedWithTheirRow) {
    const auto refusal = [this](const std::string& bytes, const SheetLimits& limits = {}) -> std::string {
        try {
            CsvSheet sheet(file(bytes), std::nullopt, limits);
            rows(sheet);
        } catch (const SheetError& e) {
            return e.what();
        }
        return "";
    };
    EXPECT_EQ(refusal("a,b\n1,\"open\n2,3\n"),
              "Row 2: a quoted field is not closed before the end of the file");
    SheetLimits small;
    small.maxColumns = 3;
    small.maxCellBytes = 10;
    EXPECT_EQ(refusal("a,b,c\n1,2,3,4\n", small), "Row 2 has more than 3 columns");
    EXPECT_EQ(refusal("a,b\n1,\"12345678901\"\n", small), "Row 2, column B holds more than 10 bytes");
}

}  // namespace
}  // namespace qrv
