#include <gtest/gtest.h>

#include <charconv>
#include <sstream>

#include "convert/debit/HashCheck.h"
#include "core/convert/ProductRun.h"
#include "core/convert/debit/Ddr100MFixture.h"
#include "layout/LayoutCatalog.h"
#include "support/DebitHashFiles.h"
#include "support/ListingEntry.h"
#include "support/McpTestSupport.h"
#include "support/TestSupport.h"

// The columns a run prints for a rejected field, in its listings and error tables, are the columns of
// the field that its layout gives at that place of that line: the layouts are the single source.
namespace qrv {
namespace {

using layout::SourceFile;

std::vector<std::string> linesOf(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::istringstream in(test::readFile(file));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// "18-28", " 18-28 ", "17" or "10-12,13-16": the first field's columns; nothing for another text.
std::optional<std::pair<int, int>> columnsIn(std::string_view text) {
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    text.remove_prefix(start);
    int first = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), first);
    if (ec != std::errc()) {
        return std::nullopt;
    }
    int last = first;
    if (end != text.data() + text.size() && *end == '-') {
        std::from_chars(end + 1, text.data() + text.size(), last);
    }
    return std::pair{first, last};
}

// Every place names a field of the layout of its line with exactly those columns.
void expectLayoutColumns(SourceFile file, const std::filesystem::path& source,
                         const std::vector<std::pair<std::int64_t, std::pair<int, int>>>& places) {
    const std::vector<std::string> lines = linesOf(source);
    ASSERT_FALSE(places.empty());
    for (const auto& [line, columns] : places) {
        ASSERT_GE(line, 1);
        ASSERT_LE(static_cast<size_t>(line), lines.size());
        const auto at =
            layout::fieldAt(file, lines.front(), line, lines[static_cast<size_t>(line - 1)], columns.first);
        ASSERT_TRUE(at) << "line " << line << " column " << columns.first;
        EXPECT_EQ(at->field->first, columns.first) << at->field->name;
        EXPECT_EQ(at->field->last, columns.second) << at->field->name;
    }
}

std::vector<std::pair<std::int64_t, std::pair<int, int>>> listingPlaces(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> listings;
    for (const std::string& name : test::listFolder(folder)) {
        if (name.ends_with("Record.txt") || name.ends_with("BankBranchCode.txt")) {
            listings.push_back(folder / name);
        }
    }
    std::vector<std::pair<std::int64_t, std::pair<int, int>>> places;
    for (const ListingEntry& e : ReadListingEntries(listings)) {
        places.push_back({e.line, {e.firstColumn, e.lastColumn}});
    }
    return places;
}

std::vector<std::pair<std::int64_t, std::pair<int, int>>> tablePlaces(TableStore& store,
                                                                      const std::string& sql) {
    std::vector<std::pair<std::int64_t, std::pair<int, int>>> places;
    for (const Row& r : store.query(sql)) {
        if (const auto columns = columnsIn(r.text("c"))) {
            places.push_back({std::stoll(r.text("l")), *columns});
        }
    }
    return places;
}

TEST(ListingColumns, AreTheLayoutsColumnsInEveryProduct) {
    for (const bool isShort : {false, true}) {
        const auto at = [](std::string line, size_t column, const std::string& text) {
            line.resize(std::max(line.size(), column - 1 + text.size()), ' ');
            return line.replace(column - 1, text.size(), text);
        };
        const size_t shift = isShort ? 1 : 0;
        std::string header = isShort ? std::string(9, ' ') : "H01ACME0000001";
        header = at(at(at(header, 16 + shift, "ACME TRADING"), 48 + shift, "081226"), 54 + shift, "00003");
        const std::string zeros(isShort ? 9 : 11, '0');
        const std::string bad = zeros.substr(2) + "X0";
        const auto detail = [&](const std::string& account, const std::string& amount) {
            return account + "9999999" + amount + "JOHN SMITH";
        };
        test::ProductRun dcp(Product::DirectCredit);
        dcp.request.printDetail = true;
        dcp.run(test::crlfLines(
            {header, detail("0000000000", zeros), detail("1234567895", bad), detail("1234567896", zeros)}));
        expectLayoutColumns(SourceFile::DirectCredit, dcp.source(), listingPlaces(dcp.out));
        expectLayoutColumns(SourceFile::DirectCredit, dcp.source(),
                            tablePlaces(dcp.store, "SELECT LnNo AS l, ColNo AS c FROM Dcp_Err"));
    }

    test::ProductRun mcl(Product::MediaClearing);
    mcl.request.printDetail = true;
    std::string mclHeader(82, ' ');
    mclHeader.replace(30, 8, "09122026");
    std::string detail(222, ' ');
    detail.replace(0, 3, "102");
    detail.replace(9, 7, "00A0001");
    detail.replace(16, 11, "00000000000");
    detail.replace(35, 10, "1234567896");
    detail.replace(57, 12, "00000000000X");
    mcl.run(test::crlfLines({mclHeader, detail}));
    expectLayoutColumns(SourceFile::MediaClearing, mcl.source(), listingPlaces(mcl.out));
    expectLayoutColumns(SourceFile::MediaClearing, mcl.source(),
                        tablePlaces(mcl.store, "SELECT LnNo AS l, ColNo AS c FROM Dcp_Err"));

    test::McpBench mcp;
    mcp.source({test::Cheque().with(47, test::Zeros(13)).line(),
                test::Cheque().with(47, "-000000001000").line(), test::Cheque().with(95, "ABCDEFGHI").line(),
                test::Cheque().line()});
    mcp.press();
    expectLayoutColumns(SourceFile::ManagerCheque, mcp.out / "chq.txt", listingPlaces(mcp.out));

    struct Debits : test::Ddr100MFixture {
        void TestBody() override {}
    } ddr;
    ddr.run({test::controlRecord(test::kYesterday, "00002", " 0000001000"),
             test::detailRecord("1234567895", "311326", "2", "+0000001000"),
             test::detailRecord(test::kAcct1, test::kToday, "1", "0000000100X")});
    expectLayoutColumns(SourceFile::DirectDebit100M, ddr.out / "debits.txt",
                        tablePlaces(ddr.store, "SELECT line AS l, \"column\" AS c FROM ErrorDirect100M"));
}

std::vector<std::pair<int, int>> entryColumns(const RunResult& r) {
    std::vector<std::pair<int, int>> columns;
    for (const RejectedEntry& e : r.entries) {
        columns.emplace_back(e.firstColumn, e.lastColumn);
    }
    return columns;
}

// An entry naming the bank and the branch code is marked at the one that is wrong, or both; its listing
// names both.
TEST(RejectedEntryColumns, AreThoseOfTheFieldsThatBreakTheirRule) {
    test::ProductRun mcl(Product::MediaPayroll2);
    const auto detail = [](const std::string& bankBranch) {
        return test::lineWith(222, {{1, "102"},
                                    {10, bankBranch},
                                    {17, "00000000001"},
                                    {28, "002"},
                                    {36, "1234567896"},
                                    {58, "000000010000"}});
    };
    const ReformatResult r = mcl.run(test::crlfLines(
        {test::lineWith(82, {{31, "09122026"}}), detail("0020  1"), detail("0A20001"), detail("0 2 001")}));
    EXPECT_EQ(entryColumns(r), (std::vector<std::pair<int, int>>{{13, 16}, {10, 12}, {10, 16}}));
    ASSERT_EQ(r.entries.size(), 3u);
    EXPECT_EQ(r.entries[0].message, "Bank 002 branch 0  1 invalid code");
    EXPECT_EQ(mcl.listing("MCL", "_BankBranchCode.txt"),
              "LineNo : 2  Column : 10-12 Column: 13-16 invalid code\r\n"
              "LineNo : 3  Column : 10-12 Column: 13-16 invalid code\r\n"
              "LineNo : 4  Column : 10-12 Column: 13-16 invalid code\r\n");
    EXPECT_EQ(r.rejectedLines, 3);
}

// The hash check's faults are marked at their fields in the form of the file.
TEST(RejectedEntryColumns, OfAHashCheckAreItsFieldsInTheFormOfTheFile) {
    for (const bool longLayout : {false, true}) {
        test::OperationFixture f;
        test::HashControl control;
        control.longLayout = longLayout;
        control.totalRecord = "00002";
        control.totalAmount = longLayout ? "00000030000" : "0000030000";
        test::HashDetail badAccount;
        badAccount.account = "1234567895";
        badAccount.amount = longLayout ? "0000000001X" : "00000001X";
        test::HashDetail badSign;
        badSign.sign = "2";
        badSign.effectiveDate = "091226";
        test::writeFile(f.out / "hash.txt", test::crlfLines({test::hashControlRecord(control),
                                                             test::hashDetailRecord(badAccount, longLayout),
                                                             test::hashDetailRecord(badSign, longLayout)}));
        Services services = f.services();
        const HashCheckResult r = checkDirectDebitFile({f.out / "hash.txt", ""}, services);
        const int amountEnd = longLayout ? 28 : 26;
        EXPECT_EQ(entryColumns(r),
                  (std::vector<std::pair<int, int>>{
                      {1, 10}, {18, amountEnd}, {17, 17}, {11, 16}, {longLayout ? 59 : 60, 69}}))
            << longLayout;
        EXPECT_EQ(r.rejectedLines, 3);
    }
}

}  // namespace
}  // namespace qrv
