// The table store as a part of the run: a COMMIT that fails fails the run, "init" completes or leaves
// nothing, a store the program cannot use is refused without a trace, and the store gives back the space
// its working tables free.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "ReliabilitySupport.h"
#include "cli/QrvRunner.h"
#include "store/TableStore.h"
#include "support/FullDisk.h"

namespace qrv {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Runs one statement on the store as another program would.
void sql(const std::filesystem::path& data, const std::string& statement) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((data / TableStore::kFileName).string().c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
}

struct StoreFaults : ::testing::Test {
    test::TempDir dir;
    std::filesystem::path data = dir / "Data";
    void SetUp() override { ASSERT_EQ(test::runQrv({"--data", data.string(), "init"}).status, 0); }
    test::QrvRun qrv(std::vector<std::string> args) {
        args.insert(args.begin(), {"--data", data.string()});
        return test::runQrv(std::move(args));
    }
    std::vector<std::string> banks() { return qrv({"banks", "list"}).lines(); }
};

// A full disk when the run's changes are committed: the run fails (exit 3) naming the data folder and
// its disk, the changes are gone (a bank the run registered is not there), and no output of the run is in
// place. The same for a command whose tables are committed as it ends (an import).
TEST_F(StoreFaults, AFailedCommitIsAFailedRun) {
    std::string media = test::mediaSource();
    media.replace(media.find("0020001"), 7, "9870001");  // a receiving bank the tables do not know
    test::writeFile(dir / "media.txt", media);
    const std::vector<std::string> before = banks();
    test::QrvRun run;
    {
        test::FullStoreDisk full;
        run = qrv({"reformat", "--product", "MCL", "--company-id", "ACME01", "--source",
                   (dir / "media.txt").string(), "--dest", (dir / "up.txt").string(), "--print-detail"});
        EXPECT_GT(test::FullStoreDisk::failures(), 0);
    }
    EXPECT_EQ(run.status, 3) << run.out;
    EXPECT_TRUE(has(run.err, "\"" + data.string() + "\" is full")) << run.err;
    EXPECT_FALSE(has(run.out, "completed")) << run.out;
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"Data", "media.txt"}));
    EXPECT_EQ(banks(), before) << "bank 987 was not registered";

    test::writeFile(dir / "banks.csv", "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n999,X,Own bank\n");
    test::QrvRun import;
    {
        test::FullStoreDisk full;
        import = qrv({"refdata", "import", "--banks", (dir / "banks.csv").string()});
    }
    EXPECT_EQ(import.status, 3);
    EXPECT_TRUE(has(import.err, "is full")) << import.err;
    EXPECT_EQ(banks(), before);
}

// A killed "init" left the reference tables it had not filled empty for good: "init" fills every
// reference table that is empty, and copies each sample file whole or not at all.
TEST_F(StoreFaults, InitFillsEveryEmptyReferenceTable) {
    sql(data, "DELETE FROM WHT_FORM_TYPE; DELETE FROM WHT_PAY_TYPE");
    ASSERT_EQ(qrv({"init"}).status, 0);
    TableStore store(data);
    EXPECT_FALSE(store.query("SELECT * FROM WHT_FORM_TYPE").empty());
    EXPECT_FALSE(store.query("SELECT * FROM WHT_PAY_TYPE").empty());

    // A copy that fails half way (a full disk) leaves no part of the file, and "init" nothing at all.
    test::TempDir other;
    const std::filesystem::path fresh = other / "Data";
    {
        test::WriteFailure full("WHT_TAX_TYPE.csv", ENOSPC);
        const test::QrvRun failed = test::runQrv({"--data", fresh.string(), "init"});
        EXPECT_EQ(failed.status, 3);
        EXPECT_TRUE(has(failed.err, "No space left on device")) << failed.err;
    }
    EXPECT_FALSE(std::filesystem::exists(fresh)) << testing::PrintToString(test::listFolder(fresh));
}

// A store that cannot be used is refused without a trace: a folder never initialised keeps no store file,
// and a store of a later version (schema version 99) is named and left as it is.
TEST_F(StoreFaults, AStoreThatCannotBeUsedLeavesNoTrace) {
    test::TempDir bare;
    test::writeFile(bare / "Default.ini", "[Default]\n");
    const test::QrvRun refused = test::runQrv({"--data", bare.path().string(), "banks", "list"});
    EXPECT_EQ(refused.status, 3);
    EXPECT_TRUE(has(refused.err, "never initialised")) << refused.err;
    EXPECT_EQ(test::listFolder(bare.path()), std::vector<std::string>{"Default.ini"});

    sql(data, "PRAGMA user_version = 99");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"banks", "list"}, {"init"}}) {
        const test::QrvRun newer = qrv(args);
        EXPECT_EQ(newer.status, 3) << args[0];
        EXPECT_TRUE(
            has(newer.err, "newer version of this program (its schema version is 99; this version knows 1)"))
            << newer.err;
    }
}

// The working tables are emptied at every run: the space they held goes back to the disk once a later run
// freed it, in a store made now and in one of an earlier version alike.
TEST_F(StoreFaults, TheStoreGivesBackWhatItsWorkingTablesFreed) {
    std::vector<std::string> lines;
    for (int i = 0; i < 20000; ++i) {
        lines.push_back("1234567896       00000012345" + std::string(60, 'N'));
    }
    test::writeFile(dir / "big.txt", test::creditSource() + test::crlfLines(lines));
    test::writeFile(dir / "small.txt", test::creditSource());
    const auto run = [&](const char* source) {
        ASSERT_EQ(qrv({"reformat", "--product", "DCP", "--company-id", "ACME01", "--source",
                       (dir / source).string(), "--dest", (dir / "up.txt").string(), "--debit-account",
                       "1234567896", "--fee-account", "1234567896", "--print-detail", "--again"})
                      .status,
                  0);
    };
    const auto size = [&] { return std::filesystem::file_size(data / TableStore::kFileName); };
    for (const bool earlierVersion : {false, true}) {
        SCOPED_TRACE(earlierVersion ? "a store of an earlier version" : "a store made now");
        if (earlierVersion) {
            sql(data, "PRAGMA auto_vacuum = NONE; VACUUM");
        }
        run("big.txt");
        const auto big = size();
        run("small.txt");
        EXPECT_LT(size() * 2, big);
    }
}

}  // namespace
}  // namespace qrv
