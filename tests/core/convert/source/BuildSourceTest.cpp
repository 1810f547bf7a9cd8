#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <functional>

#include "base/Cp874.h"
#include "convert/Examples.h"
#include "convert/source/BuildSource.h"
#include "core/convert/ProductRun.h"
#include "core/sheet/TestWorkbook.h"
#include "layout/CreditSourceLayouts.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/FieldRules.h"

// From a customer's spreadsheet to the source file and on to the upload file.
namespace qrv {
namespace {

using namespace layout;

const Date kToday{2026, 12, 8};

std::vector<std::string> crlfSplit(const std::string& bytes) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end - at));
        at = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

std::string example(const std::string& name) {
    for (const ExampleFile& f : buildExamples(kToday)) {
        if (f.name == name) {
            return f.bytes;
        }
    }
    throw std::runtime_error("no example " + name);
}

// A field's text in a line, UTF-8, blanks around it removed.
std::string cellOf(const std::string& line, const Field& f) {
    std::string text = cp874::toUtf8(columnsOf(line, f));
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

// The line with the columns of the layout's unread fields as blanks.
std::string unreadAsBlanks(std::string line, const Layout& layout) {
    for (const Field& f : layout.fields) {
        for (int c = f.first; f.kind == Kind::Unread && c <= f.last && c <= static_cast<int>(line.size());
             ++c) {
            line[static_cast<size_t>(c - 1)] = ' ';
        }
    }
    return line;
}

std::string at(std::string line, int column, std::string_view text) {
    line.resize(std::max(line.size(), static_cast<size_t>(column - 1) + text.size()), ' ');
    return line.replace(static_cast<size_t>(column - 1), text.size(), text);
}

// One product's example as a sheet: a column per detail field, headed by a person's words.
struct Column {
    const Field* field;
    const char* header;
};

struct Case {
    const char* product;
    Product choice;
    const char* example;
    std::vector<Column> columns;
    std::string values;  // [values] beside the columns
    std::function<std::string(const std::vector<std::string>&)> expected;
};

std::string joined(const std::vector<std::string>& lines) {
    return test::crlfLines(lines);
}

std::vector<Case> cases(const std::string& companyUtf8) {
    return {
        {"DCP",
         Product::DirectCredit,
         "direct-credit.txt",
         {{&dcp::kCreditAccount, "Account No."},
          {&dcp::kAmountLong, "Amount"},
          {&dcp::kPayeeNameLong, "Name"}},
         "company name = " + companyUtf8 + "\neffective date = 15/12/2026\n",
         // The header's unread columns blank but the "H" that marks the long-amount form; the detail's too.
         [](const std::vector<std::string>& lines) {
             std::vector<std::string> out = {at(unreadAsBlanks(lines[0], kCreditHeaderLong), 1, "H")};
             for (size_t i = 1; i < lines.size(); ++i) {
                 out.push_back(unreadAsBlanks(lines[i], kCreditDetailLong));
             }
             return joined(out);
         }},
        {"MCL",
         Product::MediaClearing,
         "media-clearing.txt",
         {{&mcl::kBankCode, "Bank"},
          {&mcl::kBranchCode, "Branch"},
          {&mcl::kCreditAccount, "Credit account"},
          {&mcl::kSendingBank, "Our bank"},
          {&mcl::kSendingBranch, "Our branch"},
          {&mcl::kDebitAccount, "Debit account"},
          {&mcl::kServiceType, "Service"},
          {&mcl::kAmount, "Amount"},
          {&mcl::kReceiverId, "Receiver ID"},
          {&mcl::kReceiverName, "Receiver"}},
         "company name = " + companyUtf8 + "\neffective date = 15/12/2026\n",
         [](const std::vector<std::string>& lines) {
             std::vector<std::string> out = {unreadAsBlanks(lines[0], kMediaClearingHeader)};
             out.insert(out.end(), lines.begin() + 1, lines.end());
             return joined(out);
         }},
        // The effective date from a column: the control record takes the first entry's.
        {"DDR",
         Product::DirectDebit100M,
         "direct-debit-100m.txt",
         {{&ddr::kAccount, "Account"},
          {&ddr::kDetailDate, "Due"},
          {&ddr::kAmount, "Amount"},
          {&ddr::kReference, "Reference"},
          {&ddr::kNameText, "Name"}},
         "company name = " + companyUtf8 + "\nterm payment = M\ncompany code = 012345\napply code = C\n",
         // The control's fields that this product does not read: as mapped, status and media type their
         // one code.
         [](const std::vector<std::string>& lines) {
             std::string control = at(at(at(lines[0], 1, "        M012345"), 46, "CA"), 70, "I");
             std::vector<std::string> out = {control};
             out.insert(out.end(), lines.begin() + 1, lines.end());
             return joined(out);
         }},
    };
}

std::string mappingOf(const Case& c, bool buddhist) {
    std::string ini = "[columns]\n";
    for (const Column& col : c.columns) {
        ini += std::string(col.field->name) + " = " + col.header + "\n";
    }
    std::string values = c.values;
    if (const size_t year = values.find("/2026"); buddhist && year != std::string::npos) {
        values.replace(year, 5, "/2569");
    }
    return ini + "[values]\n" + values + "[reading]\ndates = DMY\nyears = " + (buddhist ? "BE" : "CE") + "\n";
}

std::string quotedCsv(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    }
    return out + "\"";
}

// "1500.00" from "00000150000" with 2 implied decimals, with thousands separators.
std::string bahtText(const std::string& digits) {
    std::string whole = std::to_string(std::stoll(digits.substr(0, digits.size() - 2)));
    for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) {
        whole.insert(static_cast<size_t>(i), ",");
    }
    return whole + "." + digits.substr(digits.size() - 2);
}

// The sheet as UTF-8 CSV: amounts as text with separators, dates day/month/year in the Buddhist era.
std::string csvOf(const Case& c, const std::vector<std::string>& lines) {
    std::string csv;
    for (const Column& col : c.columns) {
        csv += (csv.empty() ? "" : ",") + quotedCsv(col.header);
    }
    csv += "\r\n";
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string row;
        for (const Column& col : c.columns) {
            std::string cell = cellOf(lines[i], *col.field);
            if (col.field->kind == Kind::Amount) {
                cell = bahtText(cell);
            } else if (col.field->kind == Kind::Date) {
                cell = cell.substr(0, 2) + "/" + cell.substr(2, 2) + "/" +
                       std::to_string(2543 + std::stoi(cell.substr(4)));
            }
            row += (row.empty() ? "" : ",") + quotedCsv(cell);
        }
        csv += row + "\r\n";
    }
    return csv;
}

// The sheet as a workbook: amounts as numbers formatted as baht, dates as date cells, digits as text
// but the Media Clearing credit account as a number (its leading zero lost, as a spreadsheet loses it).
void writeXlsx(const std::filesystem::path& file, const Case& c, const std::vector<std::string>& lines) {
    test::TestWorkbook book(file);
    lxw_worksheet* ws = book.sheet("Entries");
    lxw_format* baht = book.format("\"\xE0\xB8\xBF\"#,##0.00");
    lxw_format* date = book.format("dd/mm/yyyy");
    for (size_t k = 0; k < c.columns.size(); ++k) {
        worksheet_write_string(ws, 0, static_cast<lxw_col_t>(k), c.columns[k].header, nullptr);
    }
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto row = static_cast<lxw_row_t>(i);
        for (size_t k = 0; k < c.columns.size(); ++k) {
            const Field& f = *c.columns[k].field;
            const auto col = static_cast<lxw_col_t>(k);
            const std::string cell = cellOf(lines[i], f);
            if (f.kind == Kind::Amount) {
                worksheet_write_number(ws, row, col, std::stod(cell) / 100, baht);
            } else if (f.kind == Kind::Date) {
                lxw_datetime d = {2000 + std::stoi(cell.substr(4)),
                                  std::stoi(cell.substr(2, 2)),
                                  std::stoi(cell.substr(0, 2)),
                                  0,
                                  0,
                                  0};
                worksheet_write_datetime(ws, row, col, &d, date);
            } else if (&f == &mcl::kCreditAccount) {
                worksheet_write_number(ws, row, col, std::stod(cell), nullptr);
            } else {
                worksheet_write_string(ws, row, col, cell.c_str(), nullptr);
            }
        }
    }
    book.close();
}

struct Fixture : test::ProductRun {
    explicit Fixture(Product product) : ProductRun(product) {
        request.creditAccount = "0142000013";
        request.debitFeeAccount = "5550001116";
        if (product == Product::DirectDebit100M) {
            request.processingRound = ProcessingRound::Immediately;
        }
    }
    BuildSourceResult build(const std::string& product, const std::filesystem::path& sheet,
                            const std::string& mapping, bool skip = false,
                            const std::string& sheetName = {}) {
        test::writeFile(out / "map.ini", mapping);
        Services run = services();
        events.messages.clear();
        BuildSourceRequest built;
        built.product = product;
        built.sheetPath = sheet;
        built.sheetName = sheetName;
        built.mappingPath = out / "map.ini";
        built.destinationPath = out / "built.txt";
        built.skipBadRows = skip;
        return buildSource(built, run);
    }
    std::string upload(const std::string& source) {
        run(source);
        return std::filesystem::exists(out / "up.txt") ? test::readFile(out / "up.txt") : std::string();
    }
};

// A sheet holding the entries of an example file builds that file (the header's columns no run reads
// aside), and the upload file made from it is the one made from the example, from CSV with the years
// in the Buddhist era and from a workbook with numbers, currency formats and date cells.
TEST(BuildSource, SheetsOfTheExamplesBuildTheirSourceAndUploadFiles) {
    const std::string company = "บริษัท ตัวอย่าง จำกัด";
    for (const Case& c : cases(company)) {
        SCOPED_TRACE(c.product);
        Fixture f(c.choice);
        const std::string source = example(c.example);
        const std::vector<std::string> lines = crlfSplit(source);
        const std::string expected = c.expected(lines);
        const std::string uploadOfExample = f.upload(source);
        ASSERT_FALSE(uploadOfExample.empty()) << testing::PrintToString(f.events.texts());

        test::writeFile(f.out / "entries.csv", csvOf(c, lines));
        writeXlsx(f.out / "entries.xlsx", c, lines);
        for (const bool workbook : {false, true}) {
            SCOPED_TRACE(workbook ? "xlsx" : "csv");
            const BuildSourceResult r = f.build(
                c.product, f.out / (workbook ? "entries.xlsx" : "entries.csv"), mappingOf(c, !workbook));
            ASSERT_EQ(r.outcome, Outcome::Written) << testing::PrintToString(f.events.texts());
            EXPECT_EQ(r.records, static_cast<std::int64_t>(lines.size() - 1));
            const std::string built = test::readFile(f.out / "built.txt");
            EXPECT_EQ(built, expected);
            EXPECT_EQ(f.upload(built), uploadOfExample);
        }
    }
}

// Every kind of bad cell is named by its row, its column's letter and header, and its field; nothing is
// written unless the bad rows may be left out, and then they are listed and the others written.
TEST(BuildSource, BadCellsAreNamedByRowAndColumnAndNothingIsWritten) {
    Fixture f(Product::DirectCredit);
    const std::string longName(61, 'N');
    test::writeFile(f.out / "pay.csv",
                    "Payroll December\r\n"
                    "Account No.,Amount,Name\r\n"
                    "123-4-56789-6,\"1,500.00\",สมชาย ใจดี\r\n"
                    "1111111114,12.345,TOO MANY DECIMALS\r\n"
                    "1111111114,12 baht,NOT A NUMBER\r\n"
                    "1111111114,,NO AMOUNT\r\n"
                    "1111111114,0,ZERO\r\n"
                    "1111111114,1.00," +
                        longName +
                        "\r\n"
                        "1111111114,1.00,中文\r\n"
                        "12345,1.00,SHORT ACCOUNT\r\n"
                        "1234567895,1.00,WRONG CHECK DIGIT\r\n"
                        "2222222228,2.50,JOHN SMITH\r\n");
    const std::string mapping =
        "[columns]\ncredit account = Account No.\namount = Amount\npayee name = Name\n"
        "[values]\neffective date = 15/12/2026\n";
    BuildSourceResult r = f.build("DCP", f.out / "pay.csv", mapping);
    EXPECT_EQ(r.outcome, Outcome::AllRejected);
    EXPECT_FALSE(std::filesystem::exists(f.out / "built.txt"));
    const std::vector<std::string> expected = {
        R"(Row 4, column B "Amount" (amount): "12.345" has more than two decimals)",
        R"(Row 5, column B "Amount" (amount): "12 baht" is not an amount)",
        R"(Row 6, column B "Amount" (amount): is empty)",
        R"(Row 7, column B "Amount" (amount): the amount is zero; it must be above zero)",
        "Row 8, column C \"Name\" (payee name): \"" + longName.substr(0, 40) +
            "...\" is 61 characters long; the field holds 60",
        "Row 9, column C \"Name\" (payee name): holds \"中\" (U+4E2D), which code page 874 has no form for",
        R"(Row 10, column A "Account No." (credit account): "12345" has 5 digits, not 10)",
        "Row 11, column A \"Account No.\" (credit account): the account 1234567895 is not a valid account of "
        "the bank (check digit, or all zeros)",
    };
    std::vector<std::string> texts = f.events.texts();
    ASSERT_EQ(texts.size(), expected.size() + 2) << testing::PrintToString(texts);
    EXPECT_EQ(texts[0], "Reading \"" + (f.out / "pay.csv").string() + "\": CSV, UTF-8, comma-separated");
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(texts[i + 1], expected[i]);
    }
    EXPECT_EQ(texts.back(),
              "Nothing was written: 8 rows hold cells that cannot be placed (rows 4, 5, 6, 7, "
              "8, 9, 10, 11)");
    ASSERT_EQ(r.badCells.size(), 8u);
    EXPECT_EQ(r.badCells[0].row, 4);
    EXPECT_EQ(r.badCells[0].column, "B");
    EXPECT_EQ(r.badCells[0].header, "Amount");
    EXPECT_EQ(r.badCells[0].field, "amount");

    // Left out, listed; the header counts the two rows written, the Thai name in code page 874.
    r = f.build("DCP", f.out / "pay.csv", mapping, true);
    ASSERT_EQ(r.outcome, Outcome::Written);
    EXPECT_EQ(r.skippedRows, (std::vector<std::int64_t>{4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(f.events.texts()[9], "Left out 8 rows that cannot be placed: rows 4, 5, 6, 7, 8, 9, 10, 11");
    const std::vector<std::string> lines = crlfSplit(test::readFile(f.out / "built.txt"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(columnsOf(lines[0], dcp::kRecordCountLong), "00002");
    EXPECT_EQ(lines[1], "1234567896       00000150000" + *cp874::fromUtf8("สมชาย ใจดี"));
    EXPECT_EQ(lines[2], "2222222228       00000000250JOHN SMITH");
    EXPECT_EQ(r.total, Money::fromUnits(15025000));
}

// Dates of the entries and codes: a day that does not exist, a year of the other era, a code not of its
// list; the workbook's header row names the columns; a wrong fixed value or a field left unmapped stops
// the run before the sheet is read.
TEST(BuildSource, DatesCodesAndTheMappingAreChecked) {
    Fixture f(Product::DirectDebit100M);
    {
        test::TestWorkbook book(f.out / "debits.xlsx");
        lxw_worksheet* ws = book.sheet("Debits");
        const char* const rows[][4] = {{"Account", "Due", "Amount", "Sign"},
                                       {"1111111114", "15/12/2569", "500", "1"},
                                       {"2222222228", "31/02/2569", "500", "1"},
                                       {"2222222228", "15/12/2026", "500", "1"},
                                       {"2222222228", "15/12/2569", "500", "2"}};
        for (lxw_row_t r = 0; r < 5; ++r) {
            for (lxw_col_t c = 0; c < 4; ++c) {
                worksheet_write_string(ws, r, c, rows[r][c], nullptr);
            }
        }
        book.close();
    }
    const std::string columns =
        "[columns]\naccount = Account\neffective date = Due\namount = Amount\nsign = Sign\n";
    const std::string values = "[values]\nterm payment = M\ncompany code = 012345\napply code = C\n";
    BuildSourceResult r = f.build("DDR", f.out / "debits.xlsx", columns + values + "[reading]\nyears = BE\n");
    EXPECT_EQ(r.outcome, Outcome::AllRejected);
    const std::vector<std::string> texts = f.events.texts();
    ASSERT_EQ(texts.size(), 5u) << testing::PrintToString(texts);
    EXPECT_EQ(texts[0], "Reading \"" + (f.out / "debits.xlsx").string() + "\": XLSX, sheet \"Debits\"");
    EXPECT_EQ(texts[1],
              R"(Row 3, column B "Due" (effective date): "31/02/2569" is not a day of the calendar)");
    EXPECT_EQ(texts[2], R"(Row 4, column B "Due" (effective date): "15/12/2026": the year 2026 is not a )"
                        R"(Buddhist-era year (years are read as BE))");
    EXPECT_EQ(texts[3], R"(Row 5, column D "Sign" (sign): "2" is not one of 1)");

    r = f.build("DDR", f.out / "debits.xlsx", columns + "[values]\nterm payment = X\ncompany code = 12\n");
    EXPECT_EQ(r.outcome, Outcome::Refused);
    const std::string map = "Mapping \"" + (f.out / "map.ini").string() + "\": ";
    EXPECT_EQ(f.events.texts(),
              (std::vector<std::string>{
                  "[values] term payment = X: \"X\" is not one of M, H, W",
                  "[values] company code = 12: \"12\" has 2 digits, not 6",
                  "\"apply code\" is not mapped: give it a column ([columns]) or a value ([values])",
              }));
    r = f.build("DDR", f.out / "debits.xlsx", "[columns]\nacount = Account\n");
    EXPECT_EQ(r.outcome, Outcome::Refused);
    ASSERT_FALSE(f.events.texts().empty());
    EXPECT_EQ(f.events.texts()[0].rfind(map + "[columns] \"acount\" is not a field of this product", 0), 0u)
        << f.events.texts()[0];
    EXPECT_FALSE(std::filesystem::exists(f.out / "built.txt"));
}

// The header row is found below title rows by its texts; with column letters only, a first row whose
// amount is no amount is the header. A sheet that is no spreadsheet is refused with the reader's words.
TEST(BuildSource, FindsTheHeaderRowAndRefusesWhatItCannotRead) {
    Fixture f(Product::DirectCredit);
    test::writeFile(f.out / "a.csv", "Account;Amount;Name\r\n1111111114;10;A\r\n");
    const std::string values = "[values]\neffective date = 15/12/2026\n";
    BuildSourceResult r = f.build("PAY", f.out / "a.csv",
                                  "[columns]\ncredit account = A\namount = B\npayee name = C\n" + values);
    ASSERT_EQ(r.outcome, Outcome::Written) << testing::PrintToString(f.events.texts());
    EXPECT_EQ(r.records, 1);
    test::writeFile(f.out / "b.csv", "1111111114,10,A\r\n2222222228,20,B\r\n");
    r = f.build("PAY", f.out / "b.csv",
                "[columns]\ncredit account = A\namount = B\npayee name = C\n" + values);
    EXPECT_EQ(r.records, 2);
    r = f.build("PAY", f.out / "b.csv", "[columns]\ncredit account = Account\namount = B\n" + values);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(
        f.events.texts().back(),
        "No row among the first 20 rows of the sheet holds the column headers of the mapping (\"Account\")");
    test::writeFile(f.out / "c.xls", std::string("\xD0\xCF\x11\xE0", 4) + "rest");
    r = f.build("PAY", f.out / "c.xls", "[columns]\ncredit account = A\namount = B\n" + values);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_NE(f.events.texts().back().find("is an Excel 97-2003 workbook (.xls)"), std::string::npos);
    r = f.build("MCP", f.out / "b.csv", values);
    EXPECT_EQ(r.outcome, Outcome::Refused);
}

}  // namespace
}  // namespace qrv

namespace qrv {
namespace {

// A dry run reads and checks every row as a build does and writes nothing, not even a work file; the
// mapping may come as its text; a row count known from a dry run gives the build its progress.
TEST(BuildSource, DryRunAndMappingTextWriteNothingAndCountRows) {
    Fixture f(Product::DirectCredit);
    const std::string mapping =
        "[columns]\ncredit account = Account No.\namount = Amount\npayee name = Name\n"
        "[values]\neffective date = 15/12/2026\n";
    std::string csv = "Account No.,Amount,Name\r\n";
    for (int i = 0; i < 2500; ++i) {
        csv += "2222222228,1.00,สมชาย ใจดี\r\n";
    }
    test::writeFile(f.out / "pay.csv", csv + "1111111114,12.345,TOO MANY DECIMALS\r\n");
    Services services = f.services();
    BuildSourceRequest request;
    request.product = "DCP";
    request.sheetPath = f.out / "pay.csv";
    request.destinationPath = f.out / "built.txt";
    request.mappingText = mapping;
    request.dryRun = true;
    BuildSourceResult r = buildSource(request, services);
    EXPECT_EQ(r.outcome, Outcome::AllRejected);
    ASSERT_EQ(r.badCells.size(), 1u);
    EXPECT_EQ(badCellText(r.badCells[0]),
              R"(Row 2502, column B "Amount" (amount): "12.345" has more than two decimals)");
    EXPECT_EQ(r.lastRow, 2502);
    EXPECT_EQ(f.events.texts().back(),
              "Nothing was written: 1 rows hold cells that cannot be placed (rows 2502)");
    EXPECT_TRUE(f.events.progress.empty()) << "no row count given: no percentage";

    // Clean: the dry run says what a build would write and leaves the folder as it was.
    test::writeFile(f.out / "pay.csv", csv);
    r = buildSource(request, services);
    ASSERT_EQ(r.outcome, Outcome::Written) << testing::PrintToString(f.events.texts());
    EXPECT_EQ(r.records, 2500);
    EXPECT_EQ(r.total, Money::fromUnits(2500 * 10000));
    EXPECT_TRUE(r.written.empty());
    EXPECT_EQ(f.events.texts().back(), "Checked: 2500 entries totalling 2500.00 baht can be written to \"" +
                                           (f.out / "built.txt").string() + "\"");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(f.out)) {
        ++files;
    }
    EXPECT_EQ(files, 1u) << "only the sheet";

    // The build from the mapping's text is the build from its file; progress runs against the row count.
    request.dryRun = false;
    request.expectedRows = r.lastRow;
    f.events.progress.clear();
    r = buildSource(request, services);
    ASSERT_EQ(r.outcome, Outcome::Written);
    const std::string fromText = test::readFile(f.out / "built.txt");
    ASSERT_EQ(f.events.progress.size(), 2u);
    EXPECT_EQ(f.events.progress[0], 1001 * 100 / 2501);
    EXPECT_EQ(f.events.progress[1], 2001 * 100 / 2501);
    r = f.build("DCP", f.out / "pay.csv", mapping);
    ASSERT_EQ(r.outcome, Outcome::Written);
    EXPECT_EQ(test::readFile(f.out / "built.txt"), fromText);

    // A fault of the mapping's text is told without a file name.
    request.mappingText = "[columns]\nno such field = A\n";
    r = buildSource(request, services);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(f.events.texts().back().rfind("Mapping: ", 0), 0u) << f.events.texts().back();
}

}  // namespace
}  // namespace qrv

// What customers' sheets hold beyond the plain case: the dates they mean, the rows they hide, the files a
// destination must not replace, the totals of fixed amounts and the causes a refusal names.
namespace qrv {
namespace {

const std::string kDebitValues = "[values]\nterm payment = M\ncompany code = 012345\napply code = C\n";
const std::string kDebitColumns =
    "[columns]\naccount = Account\neffective date = Due\namount = Amount\nsign = Sign\n";

// A direct-debit workbook: a header row, then one row per account, its due date a date cell of `due`
// (year, month, day), its amount 500; `hide` hides rows by their number.
std::filesystem::path debitWorkbook(const std::filesystem::path& file,
                                    const std::vector<std::string>& accounts, lxw_datetime due,
                                    const std::vector<int>& hide = {}) {
    test::TestWorkbook book(file);
    lxw_worksheet* ws = book.sheet("Debits");
    lxw_format* date = book.format("dd/mm/yyyy");
    const char* const headers[] = {"Account", "Due", "Amount", "Sign"};
    for (lxw_col_t c = 0; c < 4; ++c) {
        worksheet_write_string(ws, 0, c, headers[c], nullptr);
    }
    for (size_t i = 0; i < accounts.size(); ++i) {
        const auto r = static_cast<lxw_row_t>(i + 1);
        worksheet_write_string(ws, r, 0, accounts[i].c_str(), nullptr);
        worksheet_write_datetime(ws, r, 1, &due, date);
        worksheet_write_number(ws, r, 2, 500, nullptr);
        worksheet_write_string(ws, r, 3, "1", nullptr);
    }
    lxw_row_col_options hidden = {1, 0, 0};
    for (const int row : hide) {
        worksheet_set_row_opt(ws, static_cast<lxw_row_t>(row - 1), LXW_DEF_ROW_HEIGHT, nullptr, &hidden);
    }
    return book.close();
}

// A date's rule is the layout's rule, for every product alike, checked at its row: a Buddhist-era year
// typed into a date cell is read by the era rule, a past date (for Media Clearing also today) is refused
// where it stands.
TEST(BuildSourceDates, ADateIsReadByTheEraRuleAndCheckedAgainstTodayAtItsRow) {
    Fixture f(Product::DirectDebit100M);
    const auto sheet =
        debitWorkbook(f.out / "be.xlsx", {"1111111114", "2222222228"}, {2569, 12, 15, 0, 0, 0});
    BuildSourceResult r = f.build("DDR", sheet, kDebitColumns + kDebitValues + "[reading]\nyears = BE\n");
    ASSERT_EQ(r.outcome, Outcome::Written) << testing::PrintToString(f.events.texts());
    const std::vector<std::string> lines = crlfSplit(test::readFile(f.out / "built.txt"));
    EXPECT_EQ(columnsOf(lines[0], ddr::kEffectiveDate), "151226");
    EXPECT_EQ(columnsOf(lines[1], ddr::kDetailDate), "151226");
    r = f.build("DDR", sheet, kDebitColumns + kDebitValues);
    EXPECT_EQ(r.outcome, Outcome::AllRejected);
    EXPECT_EQ(f.events.texts()[1],
              R"(Row 2, column B "Due" (effective date): "2569-12-15": the year 2569 is a )"
              R"(Buddhist-era year (years are read as CE))");

    // Past: refused at the row, as reformat would refuse the file.
    debitWorkbook(f.out / "past.xlsx", {"1111111114"}, {2026, 12, 7, 0, 0, 0});
    r = f.build("DDR", f.out / "past.xlsx", kDebitColumns + kDebitValues);
    EXPECT_EQ(r.outcome, Outcome::AllRejected);
    EXPECT_EQ(f.events.texts()[1],
              R"(Row 2, column B "Due" (effective date): the date 07/12/2026 is past: it )"
              R"(must be today or later (today is 08/12/2026))");

    // Media Clearing: today is too early; a fixed date is checked before the sheet is read.
    Fixture media(Product::MediaClearing);
    test::writeFile(media.out / "m.csv", "Name\r\nA\r\n");
    r = media.build("MCL", media.out / "m.csv",
                    "[columns]\nreceiver name = Name\n[values]\neffective date = 08/12/2026\n");
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_NE(
        std::find(media.events.texts().begin(), media.events.texts().end(),
                  "[values] effective date = 08/12/2026: the date 08/12/2026 is today: it must be later "
                  "than today (today is 08/12/2026)"),
        media.events.texts().end())
        << testing::PrintToString(media.events.texts());
}

// A hidden row is never paid without a word: by default nothing is written and the rows are named; they
// are left out or included when asked, and named either way.
TEST(BuildSourceHidden, HiddenRowsStopTheBuildUnlessLeftOutOrIncluded) {
    Fixture f(Product::DirectDebit100M);
    const auto sheet = debitWorkbook(f.out / "h.xlsx", {"1111111114", "2222222228", "1111111114"},
                                     {2026, 12, 15, 0, 0, 0}, {3});
    test::writeFile(f.out / "map.ini", kDebitColumns + kDebitValues);
    Services services = f.services();
    BuildSourceRequest request;
    request.product = "DDR";
    request.sheetPath = sheet;
    request.mappingPath = f.out / "map.ini";
    request.destinationPath = f.out / "built.txt";
    BuildSourceResult r = buildSource(request, services);
    EXPECT_EQ(r.outcome, Outcome::AllRejected);
    EXPECT_EQ(r.hiddenRows, std::vector<std::int64_t>{3});
    EXPECT_EQ(f.events.texts().back(),
              "Nothing was written: 1 row of the sheet is hidden (row 3): show them, "
              "or say whether hidden rows are left out or included");
    EXPECT_FALSE(std::filesystem::exists(f.out / "built.txt"));
    request.hiddenRows = HiddenRows::Skip;
    r = buildSource(request, services);
    ASSERT_EQ(r.outcome, Outcome::Written);
    EXPECT_EQ(r.records, 2);
    EXPECT_EQ(r.total, Money::fromUnits(1000 * 10000));
    EXPECT_NE(std::find(f.events.texts().begin(), f.events.texts().end(),
                        "Left out 1 row hidden in the sheet: row 3"),
              f.events.texts().end());
    request.hiddenRows = HiddenRows::Include;
    r = buildSource(request, services);
    EXPECT_EQ(r.records, 3);
    EXPECT_EQ(crlfSplit(test::readFile(f.out / "built.txt")).size(), 4u);
}

// The destination is never the sheet, the mapping or a file of the data folder, whatever name it is given;
// a FIFO, device or folder is no file to read or write. Each is refused before anything is read or written.
TEST(BuildSourceRefusals, InputsDataFilesAndSpecialFilesAreRefusedByIdentity) {
    Fixture f(Product::DirectDebit100M);
    const auto sheet = debitWorkbook(f.out / "d.xlsx", {"1111111114"}, {2026, 12, 15, 0, 0, 0});
    const std::string sheetBytes = test::readFile(sheet);
    const std::string mapping = kDebitColumns + kDebitValues;
    test::writeFile(f.out / "map.ini", mapping);
    std::filesystem::create_hard_link(f.out / "map.ini", f.out / "map-copy.ini");
    std::filesystem::create_directory(f.out / "folder");
#ifndef _WIN32  // the C++ library makes no symbolic links on Windows, which has no FIFOs either
    std::filesystem::create_symlink(sheet, f.out / "link.xlsx");
    ASSERT_EQ(mkfifo((f.out / "pipe").c_str(), 0600), 0);
#endif
    const std::string storeBytes = test::readFile(f.data / "QRV_DB.sqlite");
    Services services = f.services();
    const auto refused = [&](const std::filesystem::path& sheetPath, const std::filesystem::path& map,
                             const std::filesystem::path& dest) {
        f.events.messages.clear();
        BuildSourceRequest request;
        request.product = "DDR";
        request.sheetPath = sheetPath;
        request.mappingPath = map;
        request.destinationPath = dest;
        const BuildSourceResult r = buildSource(request, services);
        EXPECT_EQ(r.outcome, Outcome::Refused);
        return f.events.texts().empty() ? std::string() : f.events.texts().back();
    };
    const std::string again = ". Please choose another destination file";
#ifndef _WIN32
    EXPECT_EQ(refused(sheet, f.out / "map.ini", f.out / "link.xlsx"),
              "The destination file \"" + (f.out / "link.xlsx").string() + "\" is the sheet file \"" +
                  sheet.string() + "\"" + again);
#endif
    EXPECT_EQ(refused(sheet, f.out / "map.ini", f.out / "map-copy.ini"),
              "The destination file \"" + (f.out / "map-copy.ini").string() + "\" is the mapping file \"" +
                  (f.out / "map.ini").string() + "\"" + again);
    EXPECT_EQ(refused(sheet, f.out / "map.ini", f.data / "QRV_DB.sqlite"),
              "The destination file \"" + (f.data / "QRV_DB.sqlite").string() +
                  "\" is a file of the data folder \"" + f.data.string() + "\"" + again);
    EXPECT_EQ(refused(sheet, f.out / "map.ini", f.out / "folder"),
              "The destination file \"" + (f.out / "folder").string() + "\" is a folder, not a file");
#ifndef _WIN32
    EXPECT_EQ(refused(f.out / "pipe", f.out / "map.ini", f.out / "built.txt"),
              "The sheet file \"" + (f.out / "pipe").string() +
                  "\" is a FIFO (a pipe), not a regular file. Please choose a file and retry");
    EXPECT_EQ(refused("/dev/zero", f.out / "map.ini", f.out / "built.txt"),
              "The sheet file \"/dev/zero\" is a device, not a regular file. Please choose a file and retry");
#endif
    EXPECT_EQ(refused(f.out / "folder", f.out / "map.ini", f.out / "built.txt"),
              "The sheet file \"" + (f.out / "folder").string() + "\" is a folder, not a file");
#ifndef _WIN32
    EXPECT_EQ(refused(sheet, f.out / "pipe", f.out / "built.txt"),
              "The mapping file \"" + (f.out / "pipe").string() +
                  "\" is a FIFO (a pipe), not a regular file. Please choose a file and retry");
#endif
    EXPECT_EQ(test::readFile(sheet), sheetBytes);
    EXPECT_EQ(test::readFile(f.out / "map.ini"), mapping);
    EXPECT_EQ(test::readFile(f.data / "QRV_DB.sqlite"), storeBytes);
    EXPECT_FALSE(std::filesystem::exists(f.out / "built.txt"));
}

// A fixed amount counts in the total as a column's does: the control total of a direct-debit file and the
// message of every product.
TEST(BuildSourceTotals, AFixedAmountIsCountedForEveryEntry) {
    Fixture f(Product::DirectDebit100M);
    const auto sheet =
        debitWorkbook(f.out / "d.xlsx", {"1111111114", "2222222228", "1111111114"}, {2026, 12, 15, 0, 0, 0});
    const BuildSourceResult r = f.build("DDR", sheet,
                                        "[columns]\naccount = Account\neffective date = Due\nsign = Sign\n" +
                                            kDebitValues + "amount = 100.00\n");
    ASSERT_EQ(r.outcome, Outcome::Written) << testing::PrintToString(f.events.texts());
    EXPECT_EQ(r.total, Money::fromUnits(300 * 10000));
    EXPECT_EQ(columnsOf(crlfSplit(test::readFile(f.out / "built.txt"))[0], ddr::kTotalAmount), "00000030000");
    EXPECT_EQ(f.events.texts().back(),
              "Wrote 3 entries totalling 300.00 baht to \"" + (f.out / "built.txt").string() + "\"");
    EXPECT_EQ(f.upload(test::readFile(f.out / "built.txt")).empty(), false)
        << testing::PrintToString(f.events.texts());
}

// The cause a refusal names is the cause: a header present twice, a formula saved without its result; and
// a mapping by column letters with a fixed amount still finds its header row.
TEST(BuildSourceMessages, RefusalsNameTheirCauseAndLetterMappingsFindTheirHeader) {
    Fixture f(Product::DirectCredit);
    const std::string values = "[values]\neffective date = 15/12/2026\n";
    test::writeFile(f.out / "twice.csv", "Account,Amount,Name,Amount\r\n1111111114,10,A,20\r\n");
    BuildSourceResult r =
        f.build("DCP", f.out / "twice.csv",
                "[columns]\ncredit account = Account\namount = Amount\npayee name = Name\n" + values);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(f.events.texts().back(),
              "Columns B and D of row 1 are both headed \"Amount\": name the column of "
              "\"amount\" by its letter");

    test::writeFile(f.out / "letters.csv", "Account,Name\r\n1111111114,A\r\n2222222228,B\r\n");
    r = f.build("DCP", f.out / "letters.csv",
                "[columns]\ncredit account = A\npayee name = B\n" + values + "amount = 10.00\n");
    ASSERT_EQ(r.outcome, Outcome::Written) << testing::PrintToString(f.events.texts());
    EXPECT_EQ(r.records, 2);
    EXPECT_EQ(r.total, Money::fromUnits(20 * 10000));

    const auto formula = test::workbookWithSheetData(
        f.out / "formula.xlsx",
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Account</t></is></c><c r=\"B1\" t=\"inlineStr\"><is>"
        "<t>Amount</t></is></c></row><row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>1111111114</t></is></c>"
        "<c r=\"B2\"><f>C2*2</f></c></row>");
    r = f.build("DCP", formula, "[columns]\ncredit account = Account\namount = Amount\n" + values);
    EXPECT_EQ(r.outcome, Outcome::AllRejected);
    EXPECT_EQ(f.events.texts()[1],
              R"(Row 2, column B "Amount" (amount): holds the formula "=C2*2" saved )"
              R"(without its result: open the file in a spreadsheet program and save it again)");
}

}  // namespace
}  // namespace qrv
