// The data folder's table store made all or nothing, refused while incomplete, and the command line's
// own messages for what the user typed wrong; every output's file mode under the umask.
#include <gtest/gtest.h>
#include <sqlite3.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "ReliabilitySupport.h"
#include "cli/QrvRunner.h"
#include "refdata/ReferenceSeed.h"
#include "store/TableStore.h"

namespace qrv {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void sql(const std::filesystem::path& db, const std::string& statements) {
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.string().c_str(), &handle), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(handle, statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(handle);
    sqlite3_close(handle);
}

int tableCount(const std::filesystem::path& db) {
    sqlite3* handle = nullptr;
    sqlite3_open(db.string().c_str(), &handle);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(handle, "SELECT count(*) FROM sqlite_master", -1, &stmt, nullptr);
    sqlite3_step(stmt);
    const int count = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(handle);
    return count;
}

struct DataFolder : ::testing::Test {
    test::TempDir dir;
    std::filesystem::path data = dir / "Data";
    std::filesystem::path db = data / "QRV_DB.sqlite";
    test::QrvRun qrv(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--data", data.string()});
        return test::runQrv(std::move(args));
    }
};

// A failure while "init" fills the tables (here a bad sample row) leaves no half-made store; once the
// cause is gone, "init" makes it whole.
TEST_F(DataFolder, InitIsAllOrNothing) {
    std::filesystem::create_directories(data);
    test::writeFile(data / "Branch.csv",
                    "BRANCH_CODE,BANK_CODE,BRANCH_NAME_TH,BRANCH_NAME_EN,REGION_CODE\n0001\n");
    const test::QrvRun failed = qrv({"init"});
    EXPECT_EQ(failed.status, 3);
    EXPECT_TRUE(has(failed.err, "Branch.csv")) << failed.err;
    EXPECT_EQ(tableCount(db), 0) << "the schema and the banks rolled back with the branches";

    std::filesystem::remove(data / "Branch.csv");
    EXPECT_EQ(qrv({"init"}).status, 0);
    EXPECT_TRUE(has(qrv({"banks", "list"}).out, "014\t"));
    EXPECT_FALSE(qrv({"branches", "list", "--bank", "014"}).out.empty());
}

// A store an earlier program or a stopped "init" left without its schema version or with tables
// missing: every command refuses it, saying what to run; "init" completes it and keeps its rows.
TEST_F(DataFolder, IncompleteStoreIsRefusedUntilInitCompletesIt) {
    ASSERT_EQ(qrv({"init"}).status, 0);
    sql(db, "INSERT INTO Bank VALUES ('999', 'X', 'Own bank'); PRAGMA user_version = 0;");
    test::writeFile(dir / "media.txt", test::mediaSource());
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"banks", "list"},
             {"tier-fee", "--source", (dir / "media.txt").string()},
             {"reformat", "--product", "MCL", "--company-id", "ACME01", "--source",
              (dir / "media.txt").string(), "--dest", (dir / "up.txt").string()}}) {
        const test::QrvRun run = qrv(args);
        EXPECT_EQ(run.status, 3) << args[0];
        EXPECT_TRUE(has(run.err, "is incomplete") && has(run.err, "records no schema version") &&
                    has(run.err, "qrv --data " + data.string() + " init"))
            << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "up.txt"));

    sql(db, "PRAGMA user_version = 1; DROP TABLE BRANCH;");
    EXPECT_TRUE(has(qrv({"banks", "list"}).err, "lacks BRANCH"));
    ASSERT_EQ(qrv({"init"}).status, 0);
    const std::string banks = qrv({"banks", "list"}).out;
    EXPECT_TRUE(has(banks, "999\tX\tOwn bank\n") && has(banks, "014\t")) << banks;
    EXPECT_FALSE(qrv({"branches", "list", "--bank", "014"}).out.empty()) << "the emptied table seeded";
}

// A folder never initialised gets no empty tables: the command says to run "init".
TEST_F(DataFolder, NeverInitialisedFolderIsNotFilledWithEmptyTables) {
    std::filesystem::create_directories(data);
    const test::QrvRun run = qrv({"banks", "list"});
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(has(run.err, "never initialised") && has(run.err, "init")) << run.err;
    EXPECT_EQ(tableCount(db), 0);
}

// A folder whose withholding-tax code files are missing (an "init" stopped early) gets its code tables
// from the program's own sample files, not empty tables that would drop the tax details of every cheque;
// where those lack them too, the store is not made and the message names the file and "init".
TEST_F(DataFolder, CodeTablesAreNeverMadeEmpty) {
    std::filesystem::create_directories(data);
    for (const char* name : {"Bank.csv", "Branch.csv"}) {
        std::filesystem::copy_file(std::filesystem::path(QRV_SOURCE_DATA) / name, data / name);
    }
    {
        TableStore store(data, ReferenceSeed(data, QRV_SOURCE_DATA));
        store.open();
        for (const char* table : {"WHT_FORM_TYPE", "WHT_TAX_TYPE", "WHT_PAY_TYPE"}) {
            EXPECT_GT(store.query(std::string("SELECT * FROM ") + table).size(), 0u) << table;
        }
        EXPECT_TRUE(store.lookup("WHT_FORM_TYPE", "FORM_TYPE", "01").has_value());
    }
    std::filesystem::remove(db);
    TableStore store(data, ReferenceSeed(data, dir / "no-defaults"));
    const std::string error = test::errorOf([&] { store.open(); });
    EXPECT_TRUE(has(error, "has no \"WHT_FORM_TYPE.csv\" to fill the table WHT_FORM_TYPE") &&
                has(error, "qrv --data " + data.string() + " init"))
        << error;
    EXPECT_FALSE(std::filesystem::exists(db));
}

TEST(CliMessages, SayWhatFailedWhereAndWhatToDo) {
    test::TempDir dir;
    const test::QrvRun unknown = test::runQrv({"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(has(unknown.err, "unknown command \"frobnicate\"") && has(unknown.err, "reformat"))
        << unknown.err;

    const std::string data = (dir / "Data").string();
    ASSERT_EQ(test::runQrv({"--data", data, "init"}).status, 0);
    test::writeFile(dir / "file", "");
    test::writeFile(dir / "media.txt", test::mediaSource());
    const test::QrvRun reports =
        test::runQrv({"--data", data, "--report-out", (dir / "file" / "reports").string(), "tier-fee",
                      "--source", (dir / "media.txt").string()});
    EXPECT_EQ(reports.status, 3);
    EXPECT_TRUE(has(reports.err, "Cannot write the reports into the folder \"" +
                                     (dir / "file" / "reports").string() + "\" (--report-out)") &&
                has(reports.err, "Choose a folder"))
        << reports.err;
}

#ifndef _WIN32  // Windows has no umask: a new file takes its folder's access rights
// Every output a run writes (upload file, archive, listings, comparison, converted file, reports)
// is made as any new file is: 0666 less the umask.
TEST(OutputModes, EveryOutputFollowsTheUmask) {
    test::TempDir dir;
    const mode_t old = ::umask(022);
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(),
                    {"--data", (dir / "Data").string(), "--report-out", (dir / "reports").string()});
        return test::runQrv(std::move(args));
    };
    ASSERT_EQ(test::runQrv({"examples", dir.path().string()}).status, 0);
    ASSERT_EQ(run({"init"}).status, 0);
    std::filesystem::create_directories(dir / "out");
    const auto in = [&](const char* name) { return (dir / name).string(); };
    const auto out = [&](const char* name) { return (dir / "out" / name).string(); };
    const std::vector<std::string> credit = {"--debit-account", "1234567896", "--fee-account", "1234567896"};
    auto dcp = std::vector<std::string>{
        "reformat", "--product",   "DCP", "--company-id", "ACME01", "--source", in("direct-credit.txt"),
        "--dest",   out("dcp.txt")};
    dcp.insert(dcp.end(), credit.begin(), credit.end());
    EXPECT_EQ(run(dcp).status, 0);
    auto mistakes = std::vector<std::string>{"reformat",
                                             "--product",
                                             "DCP",
                                             "--company-id",
                                             "ACME02",
                                             "--source",
                                             in("direct-credit-mistakes.txt"),
                                             "--dest",
                                             out("bad.txt")};
    mistakes.insert(mistakes.end(), credit.begin(), credit.end());
    run(mistakes);
    EXPECT_EQ(run({"compare-return", "--source", in("sent-100m.txt"), "--return", in("return-100m.txt"),
                   "--dest", out("compare.txt")})
                  .status,
              0);
    EXPECT_EQ(run({"convert-100m", "--source", in("convert-100m-input.txt"), "--company-code", "012345",
                   "--dest", out("100m.txt")})
                  .status,
              0);
    ::umask(old);
    const auto outputs = test::listFolder(dir / "out");
    EXPECT_GE(outputs.size(), 6u) << testing::PrintToString(outputs);
    for (const auto& folder : {dir / "out", dir / "reports"}) {
        for (const std::string& name : test::listFolder(folder)) {
            struct stat st {};
            ::stat((folder / name).c_str(), &st);
            EXPECT_EQ(st.st_mode & 0777, 0644u) << name;
        }
    }
}
#endif

}  // namespace
}  // namespace qrv
