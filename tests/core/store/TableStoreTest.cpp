#include "store/TableStore.h"

#include <gtest/gtest.h>

#include "base/QrvError.h"
#include "base/RunCancelled.h"
#include "refdata/ReferenceImport.h"
#include "store/Schema.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::TempDir;

TEST(TableStore, ResetEmptiesTheRowsOfAnEarlierRun) {
    TempDir dir;
    TableStore store(dir.path());
    {
        TableStore::CommandScope run(store);
        store.append("Dcp_Detail",
                     {{"AcNo", std::string("1234567896")}, {"Amount", 1.5}, {"Name", std::string("A")}});
        store.append("Dcp_Detail", {{"AcNo", std::string("2")}, {"Amount", 2.0}, {"Name", std::string("B")}});
    }
    EXPECT_EQ(store.query("SELECT * FROM Dcp_Detail").size(), 2u);
    {
        TableStore::CommandScope run(store);
        store.reset("Dcp_Detail");
        store.append("Dcp_Detail", {{"AcNo", std::string("3")}});
    }
    const auto rows = store.query("SELECT * FROM Dcp_Detail");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text("acno"), "3");  // field names match regardless of case
}

// A working table of a store made before one of its fields existed gets that field when it is emptied; an
// older version's rows, which name their fields, go in as before.
TEST(TableStore, AWorkingTableOfAnEarlierStoreGetsItsNewFields) {
    TempDir dir;
    {
        TableStore earlier(dir.path());
        earlier.execute("ALTER TABLE DDR_FileCompare DROP COLUMN Result");
        earlier.append("DDR_FileCompare", {{"Account_No", std::string("OLD")}});
    }
    TableStore store(dir.path());
    {
        TableStore::CommandScope run(store);
        store.reset("DDR_FileCompare");
        store.append("DDR_FileCompare", {{"Account_No", std::string("1")}, {"Result", std::string("S")}});
    }
    store.append("DDR_FileCompare", {{"Account_No", std::string("2")}});
    const auto rows = store.query("SELECT Account_No, Result FROM DDR_FileCompare ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text("Result"), "S");
    EXPECT_EQ(rows[1].find("Result")->index(), 0u);  // null
}

TEST(TableStore, OnlyADiscardedCommandIsRolledBack) {
    TempDir dir;
    TableStore store(dir.path());
    const auto count = [&store] { return store.query("SELECT * FROM Dcp_Detail").size(); };
    try {
        TableStore::CommandScope run(store);
        store.append("Dcp_Detail", {{"AcNo", std::string("1")}});
        throw QrvError("failed");
    } catch (const QrvError&) {
    }
    EXPECT_EQ(count(), 1u);  // a failed command keeps the rows it appended
    try {
        TableStore::CommandScope run(store);
        store.reset("Dcp_Detail");
        {
            TableStore::CommandScope inner(store);
            store.append("Dcp_Detail", {{"AcNo", std::string("2")}});
            store.discardCommand();
        }
        EXPECT_EQ(count(), 1u);  // the inner scope's end commits nothing yet
        throw RunCancelled();
    } catch (const RunCancelled&) {
    }
    EXPECT_EQ(count(), 1u);
    EXPECT_EQ(store.query("SELECT * FROM Dcp_Detail")[0].text("AcNo"), "1");
    {
        TableStore::CommandScope next(store);  // the discard ended with its command
        store.append("Dcp_Detail", {{"AcNo", std::string("3")}});
    }
    EXPECT_EQ(count(), 2u);
}

TEST(TableStore, LookupIsExactAndBound) {
    TempDir dir;
    TableStore store(dir.path());
    store.append("Bank",
                 {{"BANK_CODE", std::string("002")}, {"BANK_NAME_EN", std::string("Sample Bank 002")}});
    EXPECT_EQ(store.lookup("Bank", "Bank_Code", "002")->text("BANK_NAME_EN"), "Sample Bank 002");
    EXPECT_FALSE(store.lookup("Bank", "BANK_CODE", "999"));
    EXPECT_FALSE(store.lookup("Bank", "BANK_CODE", "02"));
    EXPECT_FALSE(store.lookup("Bank", "BANK_CODE", "' OR '1'='1"));
    EXPECT_EQ(store.query("SELECT * FROM Bank").size(), 1u);
}

TEST(TableStore, CodesAreUnique) {
    TempDir dir;
    TableStore store(dir.path());
    store.append("Bank", {{"BANK_CODE", std::string("002")}});
    EXPECT_THROW(store.append("Bank", {{"BANK_CODE", std::string("002")}}), QrvError);
    store.append("BRANCH", {{"BRANCH_CODE", std::string("0001")}, {"BANK_CODE", std::string("002")}});
    store.append("BRANCH", {{"BRANCH_CODE", std::string("0001")}, {"BANK_CODE", std::string("004")}});
    EXPECT_THROW(
        store.append("BRANCH", {{"BRANCH_CODE", std::string("0001")}, {"BANK_CODE", std::string("004")}}),
        QrvError);
}

TEST(TableStore, CurrencyKeepsFourDecimalsExactly) {
    TempDir dir;
    TableStore store(dir.path());
    store.append("DDR_FileCompare",
                 {{"Account_No", std::string("1")}, {"Amount", Money::fromUnits(12345678)}});
    const auto rows = store.query("SELECT Amount FROM DDR_FileCompare");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(std::get<Money>(*rows[0].find("Amount")).units(), 12345678);
}

TEST(TableStore, TheViewsRunAndNameRepeatedColumnsTheSqliteWay) {
    TempDir dir;
    TableStore store(dir.path());
    store.append("Mcp_Detail", {{"ID", std::string("000001")},
                                {"TaxForm", std::string("53")},
                                {"TaxPaid", std::string("1")},
                                {"WhtAmount", 30.0}});
    store.append(
        "Wht_Detail",
        {{"CreditId", std::string("000001")}, {"IncomeType", std::string("1")}, {"WhtAmount", 30.0}});
    store.append("WHT_FORM_TYPE", {{"FORM_TYPE", std::string("53")}});
    store.append("WHT_TAX_TYPE", {{"TAX_TYPE", std::string("1")}});
    store.append("Invoice_Detail", {{"CreditId", std::string("000001")}, {"InvoiceNo", std::string("INV1")}});
    const auto wht = store.query("SELECT * FROM WhtView");
    ASSERT_EQ(wht.size(), 1u);
    EXPECT_NE(wht[0].find("WhtAmount:1"), nullptr);
    EXPECT_EQ(wht[0].text("PAY_TYPE"), "");  // left outer join: no pay type row
    const auto inv = store.query("SELECT * FROM InvoiceView");
    ASSERT_EQ(inv.size(), 1u);
    EXPECT_EQ(inv[0].text("InvoiceNo"), "INV1");
}

TEST(TableStore, MissingFolderAndDamagedFileAreClearErrors) {
    TempDir dir;
    TableStore missing(dir / "nowhere");
    try {
        missing.open();
        FAIL();
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("nowhere"), std::string::npos);
    }
    test::writeFile(dir / TableStore::kFileName, std::string(4096, 'x'));
    TableStore damaged(dir.path());
    try {
        damaged.open();
        FAIL();
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
    }
}

TEST(TableStore, ALockHeldByAnotherConnectionFailsAfterTheWait) {
    TempDir dir;
    TableStore first(dir.path());
    TableStore second(dir.path());
    first.open();
    second.open();
    TableStore::CommandScope holding(first);
    first.append("Dcp_Err", {{"LnNo", std::string("1")}});
    // The lock is taken at the first change, not when the command starts; reading never waits.
    TableStore::CommandScope waiting(second);
    EXPECT_TRUE(second.query("SELECT * FROM Dcp_Err").empty());
    EXPECT_THROW(second.append("Dcp_Err", {{"LnNo", std::string("2")}}), QrvError);
}

TEST(ReferenceImport, ABadRowImportsNothing) {
    TempDir dir;
    TableStore store(dir.path());
    test::writeFile(dir / "banks.csv",
                    "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\r\n002,ก,Two\r\n003,\"x,y\",Three\r\n");
    EXPECT_EQ(importReferenceCsv(store, "Bank", dir / "banks.csv"), 2);
    EXPECT_EQ(store.lookup("Bank", "BANK_CODE", "003")->text("BANK_NAME_TH"), "x,y");
    test::writeFile(dir / "bad.csv", "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n004,a,b\n005,a\n");
    try {
        importReferenceCsv(store, "Bank", dir / "bad.csv");
        FAIL();
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(store.lookup("Bank", "BANK_CODE", "004"));
}

}  // namespace
}  // namespace qrv
