#include "workbench/SourceColumns.h"

#include <gtest/gtest.h>

#include "convert/debit/DirectDebitHash.h"
#include "store/TableStore.h"
#include "support/TestSupport.h"
#include "workbench/RejectedLines.h"
#include "workbench/Workbench.h"

// Which field of a file's layout a column is in, in words, and the columns a rejected entry is marked at.
namespace qrv {
namespace {

using layout::SourceFile;

// A line of `length` blanks with `text` from column `column` on.
std::string lineWith(int length, std::initializer_list<std::pair<int, std::string>> texts) {
    std::string line(static_cast<size_t>(length), ' ');
    for (const auto& [column, text] : texts) {
        line.replace(static_cast<size_t>(column - 1), text.size(), text);
    }
    return line;
}

TEST(DescribeColumn, NamesTheFieldItsColumnsAndKindByTheLayoutOfTheLine) {
    const std::string header = lineWith(82, {{1, "101"}});
    const std::string detail = lineWith(222, {{1, "102"}, {10, "0020001"}});
    EXPECT_EQ(DescribeColumn(SourceFile::MediaClearing, header, 12, detail, 14),
              "Line 12, column 14: Receiving branch code (columns 13-16, 4 digits)");
    EXPECT_EQ(DescribeColumn(SourceFile::MediaClearing, header, 12, detail, 60),
              "Line 12, column 60: Amount (columns 58-69, amount, 2 decimals)");
    EXPECT_EQ(DescribeColumn(SourceFile::MediaClearing, header, 1, header, 31),
              "Line 1, column 31: Effective date (columns 31-38, date ddmmyyyy)");

    // The header picks the form of every detail line: column 27 is the long form's amount and the short
    // form's payee name.
    const std::string longHeader = lineWith(58, {{1, "X"}});
    const std::string shortHeader = lineWith(59, {});
    EXPECT_EQ(DescribeColumn(SourceFile::DirectCredit, longHeader, 2, std::string(88, '0'), 27),
              "Line 2, column 27: Amount (columns 18-28, amount, 2 decimals)");
    EXPECT_EQ(DescribeColumn(SourceFile::DirectCredit, shortHeader, 2, std::string(86, '0'), 27),
              "Line 2, column 27: Payee name (columns 27-86, text)");
    EXPECT_EQ(DescribeColumn(SourceFile::DirectDebit100M, std::string(70, ' '), 3, std::string(80, '1'), 17),
              "Line 3, column 17: Sign (column 17, code 1)");
}

TEST(DescribeColumn, ALineOfAnotherLengthOrOfNoLayoutSaysSo) {
    const std::string header = lineWith(82, {{1, "101"}});
    // A line cut inside its amount; one cut in the receiver's name at its end holds every field.
    EXPECT_EQ(DescribeColumn(SourceFile::MediaClearing, header, 5, std::string(60, '0'), 14),
              "Line 5, column 14: the line has 60 columns where a detail line has 222; by that layout "
              "Receiving branch code (columns 13-16, 4 digits)");
    EXPECT_EQ(DescribeColumn(SourceFile::MediaClearing, header, 5, std::string(60, '0'), 61),
              "Line 5, column 61: the line has 60 columns where a detail line has 222; past the end of "
              "the line");
    EXPECT_EQ(DescribeColumn(SourceFile::MediaClearing, header, 5, std::string(205, '0'), 14),
              "Line 5, column 14: Receiving branch code (columns 13-16, 4 digits)");
    EXPECT_EQ(DescribeColumn(SourceFile::MediaClearing, header, 5, std::string(230, '0'), 225),
              "Line 5, column 225: the line has 230 columns where a detail line has 222; past the last "
              "column of a detail line");
    // A return file's record of a code no layout has.
    EXPECT_EQ(DescribeColumn(SourceFile::ReturnFile, lineWith(265, {{1, "001"}}), 3,
                             lineWith(317, {{1, "005"}}), 10),
              "Line 3: no layout of the 100M return file describes this line");
    EXPECT_EQ(DescribeColumn(SourceFile::ReturnFile, lineWith(265, {{1, "001"}}), 3,
                             lineWith(317, {{1, "002"}}), 314),
              "Line 3, column 314: Result (column 314, code S|F|V|P)");
}

// A listing entry that names the bank and the branch code is marked at the one that is wrong, or both.
TEST(RejectedLines, AnEntryNamingTwoFieldsIsMarkedAtTheOneThatBreaksItsRule) {
    test::TempDir dir;
    const auto detail = [](const std::string& bankBranch) {
        return lineWith(222, {{1, "102"}, {10, bankBranch}, {58, "000000010000"}});
    };
    test::writeFile(dir / "src.txt",
                    test::crlfLines({lineWith(82, {{1, "101"}}), detail("0020  1"), detail("0A20001"),
                                     detail("0 2 001"), detail("0020001")}));
    std::string listing;
    for (int line = 2; line <= 5; ++line) {
        listing += "LineNo : " + std::to_string(line) + "  Column : 10-12 Column: 13-16 invalid code\r\n";
    }
    listing += "LineNo : 2  Column : 58-69  Credit amount is zero\r\n";
    test::writeFile(dir / "codes.txt", listing);
    LastRun run;
    run.command = Command::Reformat;
    run.productCode = "PA5";
    run.source = (dir / "src.txt").string();
    RunResult r;
    r.outcome = Outcome::AllRejected;
    r.written = {{OutputKind::Listing, dir / "codes.txt"}};
    r.reject("BankBranchCode", 5);
    TableStore store(dir / "Data");
    const std::vector<ListingEntry> entries = RejectedEntriesOf(run, r, store);
    ASSERT_EQ(entries.size(), 5u);
    const auto columns = [](const ListingEntry& e) { return std::pair(e.firstColumn, e.lastColumn); };
    EXPECT_EQ(columns(entries[0]), std::pair(13, 16)) << "the branch, not the valid bank code";
    EXPECT_EQ(columns(entries[1]), std::pair(58, 69)) << "an entry of one field stays as it is";
    EXPECT_EQ(columns(entries[2]), std::pair(10, 12));
    EXPECT_EQ(columns(entries[3]), std::pair(10, 16)) << "both wrong";
    EXPECT_EQ(columns(entries[4]), std::pair(10, 12)) << "neither breaks its kind's rule: as listed";
    EXPECT_EQ(entries[0].message, "Column: 13-16 invalid code");

    // Without its source the entries keep the columns the listing names.
    std::filesystem::remove(dir / "src.txt");
    EXPECT_EQ(columns(RejectedEntriesOf(run, r, store)[0]), std::pair(10, 12));
}

// The hash check's error rows name a field in words: each is marked at that field's columns in the
// form of the file.
TEST(RejectedLines, AHashCheckFaultIsMarkedAtItsFieldInTheFormOfTheFile) {
    test::TempDir dir;
    const auto write = [&dir](const std::string& control, int length) {
        test::writeFile(dir / "hash.txt",
                        test::crlfLines({control, std::string(static_cast<size_t>(length), '0'),
                                         std::string(static_cast<size_t>(length), '0')}));
    };
    std::filesystem::create_directories(dir / "Data");
    TableStore store(dir / "Data");
    const auto row = [&store](std::int64_t line, const char* field, const char* detail) {
        store.append(debit::kHashErrorTable, {{"id_field", std::string()},
                                              {"CountLine", line},
                                              {"Field Name Error", std::string(field)},
                                              {"Detail Error", std::string(detail)}});
    };
    row(2, "Account No", "Invalid Account No ");
    row(2, "Amount", "Invalid Amount ");
    row(3, "Sign", "Invalid Sign");
    row(3, "Effective Date", "Invalid Effective Date");
    row(1, "Total Amount", "Check Total Amount Error ");
    LastRun run;
    run.command = Command::GenerateHash;
    run.source = (dir / "hash.txt").string();
    RunResult r;
    r.outcome = Outcome::AllRejected;
    r.reject("Amount", 3);
    const auto marked = [&] {
        std::vector<std::pair<int, int>> columns;
        for (const ListingEntry& e : RejectedEntriesOf(run, r, store)) {
            columns.emplace_back(e.firstColumn, e.lastColumn);
        }
        return columns;
    };
    write(std::string(70, ' '), 56);  // columns 1-9 blank: the short-amount form
    EXPECT_EQ(marked(), (std::vector<std::pair<int, int>>{{60, 69}, {1, 10}, {18, 26}, {17, 17}, {11, 16}}));
    write(lineWith(70, {{9, "M"}}), 80);  // the 100M layout
    EXPECT_EQ(marked(), (std::vector<std::pair<int, int>>{{59, 69}, {1, 10}, {18, 28}, {17, 17}, {11, 16}}));
}

}  // namespace
}  // namespace qrv
