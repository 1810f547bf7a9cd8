#include <gtest/gtest.h>

#include <memory>

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

// The encodings customers' text comes in: the encoding is told by the evidence over the whole file, and a
// byte that is no character of it is named, not a reason to read the rest in another.
class CsvEncodings : public Csv {
  protected:
    // UTF-8 text in UTF-16 or UTF-32, little- or big-endian, with its byte-order mark.
    static std::string wide(const std::string& utf8, int width, bool little) {
        std::u32string chars;
        for (size_t i = 0; i < utf8.size();) {
            const auto b = static_cast<unsigned char>(utf8[i]);
            const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            char32_t cp = n == 1 ? b : b & (0x3F >> (n - 1));
            for (size_t k = 1; k < n; ++k) {
                cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
            chars += cp;
            i += n;
        }
        std::string out;
        const auto put = [&](std::uint32_t unit) {
            for (int k = 0; k < width; ++k) {
                const int shift = 8 * (little ? k : width - 1 - k);
                out += static_cast<char>((unit >> shift) & 0xFF);
            }
        };
        put(0xFEFF);
        for (const char32_t cp : chars) {
            if (width == 2 && cp > 0xFFFF) {
                put(0xD800 + ((cp - 0x10000) >> 10));
                put(0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                put(cp);
            }
        }
        return out;
    }
};

TEST_F(CsvEncodings, OneStrayByteInUtf8IsNamedAndTheThaiNamesStayThai) {
    std::string bytes = "Name,Amount\r\n";
    for (int i = 0; i < 50; ++i) {
        bytes += kThaiUtf8 + ",1.00\r\n";
    }
    bytes += "Caf\xE9,2.00\r\n";  // a Latin-1 byte
    CsvSheet sheet(file(bytes));
    EXPECT_EQ(sheet.encoding(), TextEncoding::Utf8);
    EXPECT_EQ(sheet.description(),
              "CSV, UTF-8, comma-separated, 1 byte that is not UTF-8 read as U+FFFD (the first on line 52)");
    const std::vector<std::string> read = rows(sheet);
    EXPECT_EQ(read[1], "2:" + kThaiUtf8 + "|1.00");
    EXPECT_EQ(read.back(), "52:Caf\xEF\xBF\xBD|2.00");
    // With a byte-order mark a stray byte is as well a stray byte, not the end of the reading.
    CsvSheet marked(file("\xEF\xBB\xBFName\n" + kThaiUtf8 + "\n" + kThai874 + "\n"));
    EXPECT_EQ(marked.encoding(), TextEncoding::Utf8WithBom);
    EXPECT_EQ(rows(marked)[1], "2:" + kThaiUtf8);
    // Code page 874 Thai is stray bytes throughout when read as UTF-8: the file is code page 874, even
    // where one of its Thai runs happens to be valid UTF-8 ("\xE0\xA1\xA1").
    CsvSheet thai(file("Name\n" + kThai874 + "\n\xE0\xA1\xA1" + kThai874 + "\n"));
    EXPECT_EQ(thai.encoding(), TextEncoding::CodePage874);
}

TEST_F(CsvEncodings, UnicodeTextInUtf16AndUtf32AndTabSeparatedFilesAreRead) {
    const std::string text = "Name\tAmount\r\n" + kThaiUtf8 + "\t1,500.00\r\n\xF0\x9F\x98\x80\t2\r\n";
    const std::vector<std::string> expected = {"1:Name|Amount", "2:" + kThaiUtf8 + "|1,500.00",
                                               "3:\xF0\x9F\x98\x80|2"};
    struct Case {
        int width;
        bool little;
        TextEncoding encoding;
    };
    for (const Case& c : {Case{2, true, TextEncoding::Utf16LE}, Case{2, false, TextEncoding::Utf16BE},
                          Case{4, true, TextEncoding::Utf32LE}, Case{4, false, TextEncoding::Utf32BE}}) {
        CsvSheet sheet(file(wide(text, c.width, c.little)));
        EXPECT_EQ(sheet.encoding(), c.encoding);
        EXPECT_EQ(sheet.separator(), '\t');
        EXPECT_EQ(rows(sheet), expected) << encodingName(c.encoding);
    }
    CsvSheet tabs(file(text));
    EXPECT_EQ(rows(tabs), expected);
    EXPECT_EQ(tabs.description(), "CSV, UTF-8, tab-separated");
    // A lone surrogate or a character cut by the end of the file is U+FFFD, not a failure.
    std::string cut = wide("Name\r\n", 2, true) + std::string("\x3D\xD8", 2) + "A";
    EXPECT_EQ(rows(*std::make_unique<CsvSheet>(file(cut))),
              (std::vector<std::string>{"1:Name", "2:\xEF\xBF\xBD\xEF\xBF\xBD"}));
}

}  // namespace
}  // namespace qrv
