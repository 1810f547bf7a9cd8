#include "workbench/SourceColumns.h"

#include <gtest/gtest.h>

#include "convert/debit/DirectDebitHash.h"
#include "store/TableStore.h"
#include "support/TestSupport.h"
#include "workbench/RejectedLines.h"
#include "workbench/Workbench.h"

// The columns a rejected entry is marked at.
namespace qrv {
namespace {

// A listing entry that names the bank and the branch code is marked at the one that is wrong, or both.
TEST(RejectedLines, AnEntryNamingTwoFieldsIsMarkedAtTheOneThatBreaksItsRule) {
    test::TempDir dir;
    const auto detail = [](const std::string& bankBranch) {
        return test::lineWith(222, {{1, "102"}, {10, bankBranch}, {58, "000000010000"}});
    };
    test::writeFile(dir / "src.txt",
                    test::crlfLines({test::lineWith(82, {{1, "101"}}), detail("0020  1"), detail("0A20001"),
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
    write(test::lineWith(70, {{9, "M"}}), 80);  // the 100M layout
    EXPECT_EQ(marked(), (std::vector<std::pair<int, int>>{{59, 69}, {1, 10}, {18, 28}, {17, 17}, {11, 16}}));
}

}  // namespace
}  // namespace qrv
