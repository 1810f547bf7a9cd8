#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cerrno>
#include <sstream>

#include "ReliabilitySupport.h"
#include "base/QrvError.h"
#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "core/convert/debit/DebitReturnSamples.h"
#include "io/LineReader.h"

// Faults of the file system and the table store while a command runs: the command says what failed and
// where, leaves no work file and no partial output, and an earlier output stays byte for byte.
namespace qrv {
namespace {

using test::Family;
using test::snapshot;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class EachFamily : public ::testing::TestWithParam<Family> {
  protected:
    test::WorkbenchFixture fx;
    std::filesystem::path source = fx.dir / "source.txt";
    std::filesystem::path upload = fx.out / "up.txt";
};

// A full disk while the upload file is written: the run that wrote the upload file and archive before
// is repeated with every write to the upload file failing.
TEST_P(EachFamily, DiskFullWhileWritingTheUploadKeepsTheEarlierFiles) {
    test::prepareReformat(fx, GetParam(), source, upload);
    fx.wb.reformat();
    ASSERT_TRUE(std::filesystem::exists(upload)) << testing::PrintToString(fx.ui.texts());
    const auto before = snapshot(fx.out);
    ASSERT_EQ(before.size(), 2u) << "the upload file and its archive";

    test::WriteFailure full("up.txt", ENOSPC);
    const std::string error = test::errorOf([&] { fx.wb.reformat(); });
    EXPECT_GT(test::WriteFailure::failures(), 0);
    // The work file the upload is assembled in is named: its folder and the upload file's name.
    EXPECT_TRUE(has(error, "Cannot write file \"" + (fx.out / ".up.txt").string())) << error;
    EXPECT_TRUE(has(error, "No space left on device")) << error;
    EXPECT_EQ(test::changedFiles(before, snapshot(fx.out)), std::vector<std::string>{});
}

// The destination's folder missing, or a regular file where the folder should be.
TEST_P(EachFamily, DestinationFolderMissingOrAFile) {
    for (const std::filesystem::path& folder : {fx.out / "missing", fx.out / "plain.txt"}) {
        SCOPED_TRACE(folder.string());
        test::writeFile(fx.out / "plain.txt", "a file, not a folder");
        test::prepareReformat(fx, GetParam(), source, folder / "up.txt");
        const auto before = snapshot(fx.dir.path());
        const std::string error = test::errorOf([&] { fx.wb.reformat(); });
        EXPECT_TRUE(has(error, folder.string())) << error;
        EXPECT_FALSE(std::filesystem::exists(folder / "up.txt"));
        EXPECT_EQ(test::changedFiles(before, snapshot(fx.dir.path())), std::vector<std::string>{});
    }
}

// A folder given as the source file is no source file: the existence check refuses it.
TEST_P(EachFamily, SourceThatIsAFolder) {
    test::prepareReformat(fx, GetParam(), source, upload);
    std::filesystem::remove(source);
    std::filesystem::create_directory(source);
    const auto before = snapshot(fx.dir.path());
    EXPECT_EQ(test::errorOf([&] { fx.wb.reformat(); }), "<no error>");
    EXPECT_EQ(fx.ui.texts(), std::vector<std::string>{
                                 "Source file name does not exist. Please insert valid file name and retry"});
    EXPECT_EQ(test::changedFiles(before, snapshot(fx.dir.path())), std::vector<std::string>{});
}

// A source removed after the existence check: opening it is the unexpected error that names it.
TEST(SourceFaults, SourceGoneBeforeItIsOpened) {
    test::TempDir dir;
    const auto gone = dir / "gone.txt";
    const std::string error = test::errorOf([&] { LineReader reader(gone); });
    EXPECT_EQ(error, "Cannot open file \"" + gone.string() + "\" for reading: No such file or directory");
}

// An archive of the run's name that is no zip file: the archive is left as it was, the error names it, the
// upload file is not put in place beside it, and no message claims the run completed.
TEST_P(EachFamily, ExistingArchiveThatIsNoZipFile) {
    test::prepareReformat(fx, GetParam(), source, upload);
    const std::string code = GetParam() == Family::DirectCredit    ? "DCP"
                             : GetParam() == Family::MediaClearing ? "MCL"
                             : GetParam() == Family::ManagerCheque ? "MCP"
                                                                   : "DDR";
    const std::filesystem::path archive = fx.out / ("2026-12-08ACME01_" + code + ".zip");
    test::writeFile(archive, "not a zip archive");
    const std::string error = test::errorOf([&] { fx.wb.reformat(); });
    EXPECT_TRUE(has(error, "archive \"" + archive.string() + "\"")) << error;
    EXPECT_EQ(test::readFile(archive), "not a zip archive");
    EXPECT_FALSE(std::filesystem::exists(upload)) << "nothing is put in place before the archive is made";
    for (const std::string& text : fx.ui.texts()) {
        EXPECT_FALSE(has(text, "completed")) << text;
    }
    for (const std::string& name : test::listFolder(fx.out)) {
        EXPECT_FALSE(has(name, "Temp") || name.front() == '.') << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Reformat, EachFamily,
                         ::testing::Values(Family::DirectCredit, Family::MediaClearing, Family::ManagerCheque,
                                           Family::DirectDebit100M),
                         [](const auto& info) { return std::string(test::familyName(info.param)); });

// The table store locked by another connection for longer than the retries wait.
TEST(TableStoreFaults, LockedDatabaseStopsTheRunAndKeepsTheEarlierUpload) {
    test::WorkbenchFixture fx;
    const auto source = fx.dir / "source.txt";
    const auto upload = fx.out / "up.txt";
    test::prepareReformat(fx, Family::DirectCredit, source, upload);
    fx.wb.fields.printDetail = true;  // "Print detail" fills the tables
    fx.wb.reformat();
    ASSERT_TRUE(std::filesystem::exists(upload));
    const auto before = snapshot(fx.out);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(fx.store.databasePath().string().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const std::string error = test::errorOf([&] { fx.wb.reformat(); });
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(has(error, fx.store.databasePath().string())) << error;
    EXPECT_TRUE(has(error, "locked")) << error;
    EXPECT_EQ(test::changedFiles(before, snapshot(fx.out)), std::vector<std::string>{});
}

// A database file that is not SQLite.
TEST(TableStoreFaults, CorruptDatabaseIsNamed) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "Data");
    test::writeFile(dir / "Data" / "QRV_DB.sqlite", std::string(4096, 'x'));
    TableStore store(dir / "Data");
    test::RecordingUi ui;
    FixedClock clock(Date{2026, 12, 8});
    Workbench wb(ui, store, clock, AppPaths{dir / "Data", QRV_SOURCE_REPORTS});
    test::writeFile(dir / "source.txt", test::creditSource());
    wb.selectProduct(Choice::DirectCredit);
    wb.fields.companyId = "ACME01";
    wb.fields.sourcePath = (dir / "source.txt").string();
    wb.fields.destinationPath = (dir / "up.txt").string();
    wb.fields.debitAccount = "1234567896";
    wb.fields.feeAccount = "1234567896";
    wb.fields.printDetail = true;
    const std::string error = test::errorOf([&] { wb.reformat(); });
    EXPECT_TRUE(has(error, (dir / "Data" / "QRV_DB.sqlite").string())) << error;
    EXPECT_TRUE(has(error, "not a database")) << error;
    EXPECT_FALSE(std::filesystem::exists(dir / "up.txt"));
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"Data", "source.txt"}));
    EXPECT_EQ(test::readFile(dir / "Data" / "QRV_DB.sqlite"), std::string(4096, 'x'));
}

// The comparison file and the converted file: a full disk and a missing folder leave nothing new and
// an earlier file as it was.
struct ReturnFiles : ::testing::Test {
    test::WorkbenchFixture fx;
    std::filesystem::path sent = fx.dir / "sent.txt";
    std::filesystem::path ret = fx.dir / "return.txt";
    std::filesystem::path dest = fx.out / "compared.txt";

    void SetUp() override {
        using test::fixedLine;
        test::writeFile(
            sent, test::crlfLines(
                      {test::sentControl(fixedLine(30, {{1, "ACME"}}), "081226", "00001", "00000012345"),
                       test::sentDetail("1234567890", "00000012345", "SENTREF0000000001",
                                        fixedLine(31, {{1, "REST"}}))}));
        test::writeFile(
            ret, test::crlfLines({test::returnHeader("261208"),
                                  test::returnDetail(fixedLine(25, {{1, "1234567890"}}), "RETREF00000000001",
                                                     "00000012345", "0000000000123450", "V"),
                                  test::returnTrailer("000001", "0000000000123450")}));
        fx.wb.loadSettings();
        fx.wb.selectProduct(Choice::ReturnFile);
        fx.wb.fields.sourcePath = sent.string();
        fx.wb.fields.secondFilePath = ret.string();
        fx.wb.fields.destinationPath = dest.string();
    }
};

TEST_F(ReturnFiles, ComparisonDiskFullAndMissingFolder) {
    ASSERT_TRUE(fx.wb.compareReturnFile()) << testing::PrintToString(fx.ui.texts());
    const auto before = snapshot(fx.out);
    {
        test::WriteFailure full("compared.txt", ENOSPC);
        const std::string error = test::errorOf([&] { fx.wb.compareReturnFile(); });
        EXPECT_TRUE(has(error, "Cannot write file \"" + (fx.out / ".compared.txt").string())) << error;
        EXPECT_TRUE(has(error, "No space left on device")) << error;
        EXPECT_EQ(test::changedFiles(before, snapshot(fx.out)), std::vector<std::string>{});
    }
    fx.wb.fields.destinationPath = (fx.out / "missing" / "compared.txt").string();
    const std::string error = test::errorOf([&] { fx.wb.compareReturnFile(); });
    EXPECT_TRUE(has(error, (fx.out / "missing").string())) << error;
    EXPECT_EQ(test::changedFiles(before, snapshot(fx.out)), std::vector<std::string>{});
}

TEST_F(ReturnFiles, ConvertedFileDiskFull) {
    using test::fixedLine;
    const auto input = fx.dir / "input.txt";
    const auto converted = fx.out / "100m.txt";
    test::writeFile(
        input,
        test::crlfLines(
            {fixedLine(200, {{1, "HDR"}, {189, "261208"}}),
             fixedLine(268, {{1, "DTL"}, {11, "00000001000"}, {23, "1000000001"}, {221, "S"}, {222, "OK"}}),
             fixedLine(30, {{1, "599"}, {7, "00001"}, {17, "00000001000"}})}));
    fx.wb.selectProduct(Choice::Convert100M);
    fx.wb.fields.sourcePath = input.string();
    fx.wb.fields.destinationPath = converted.string();
    fx.wb.fields.companyCode = "ABC123";
    ASSERT_TRUE(fx.wb.convertTo100M()) << testing::PrintToString(fx.ui.texts());
    const auto before = snapshot(fx.out);
    test::WriteFailure full("100m.txt", ENOSPC);
    const std::string error = test::errorOf([&] { fx.wb.convertTo100M(); });
    EXPECT_TRUE(has(error, "No space left on device")) << error;
    EXPECT_TRUE(has(error, fx.out.string())) << error;
    EXPECT_EQ(test::changedFiles(before, snapshot(fx.out)), std::vector<std::string>{});
}

using CliRun = test::QrvRun;

CliRun qrvCli(std::vector<std::string> args) {
    return test::runQrv(std::move(args));
}

// The command line over a data folder made by "init" and a copy of the layouts.
struct CliFaults : ::testing::Test {
    test::TempDir dir;
    std::string data = (dir / "Data").string();
    std::filesystem::path reports = dir / "Report";
    std::filesystem::path source = dir / "source.txt";
    std::filesystem::path upload = dir / "out" / "up.txt";
    std::filesystem::path reportOut = dir / "reports";

    void SetUp() override {
        ASSERT_EQ(qrvCli({"--data", data, "init"}).status, 0);
        std::filesystem::copy(QRV_SOURCE_REPORTS, reports);
        std::filesystem::create_directories(upload.parent_path());
        test::writeFile(source, test::mediaSource());
    }
    CliRun reformat(bool again = false) const {
        std::vector<std::string> args = {"--data",         data,           "--reports",
                                         reports.string(), "--report-out", reportOut.string(),
                                         "reformat",       "--product",    "MCL",
                                         "--company-id",   "ACME01",       "--source",
                                         source.string(),  "--dest",       upload.string()};
        if (again) {
            args.emplace_back("--again");
        }
        return qrvCli(args);
    }
};

// A missing database is made again with the sample reference data, so bank names are still found.
TEST_F(CliFaults, MissingDatabaseIsRecreated) {
    const std::string banks = qrvCli({"--data", data, "banks", "list"}).out;
    ASSERT_FALSE(banks.empty());
    std::filesystem::remove(dir / "Data" / "QRV_DB.sqlite");
    const CliRun run = reformat();
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "Data" / "QRV_DB.sqlite"));
    EXPECT_TRUE(std::filesystem::exists(upload));
    const std::string banksAfter = qrvCli({"--data", data, "banks", "list"}).out;
    std::istringstream lines(banks);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(has(banksAfter, line + "\n")) << "the sample banks are seeded again: " << line;
    }
}

// A corrupt database: exit 3, the error names the file, no output and the file itself untouched.
TEST_F(CliFaults, CorruptDatabase) {
    const auto db = dir / "Data" / "QRV_DB.sqlite";
    test::writeFile(db, std::string(8192, '\x5a'));
    const CliRun run = reformat();
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(has(run.err, db.string())) << run.err;
    EXPECT_EQ(test::listFolder(upload.parent_path()), std::vector<std::string>{});
    EXPECT_EQ(test::readFile(db), std::string(8192, '\x5a'));
}

// A missing layout shows no page (the JSON still holds the values); a malformed one is an error naming
// the layout. Either way the upload file and archive of the run stay whole.
TEST_F(CliFaults, MissingOrMalformedReportLayout) {
    std::filesystem::remove(reports / "rptResult.frf");
    CliRun run = reformat();
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(test::readFile(reportOut / "rptResult.html"), "");
    EXPECT_TRUE(has(test::readFile(reportOut / "rptResult.json"), "\"layout\": \"\""))
        << test::readFile(reportOut / "rptResult.json");

    std::filesystem::remove_all(reportOut);
    test::writeFile(reports / "rptResult.frf", "<html>{{#frDBDataSet1}}{{ComId}}</html>");
    run = reformat(true);
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(has(run.err, "Report layout \"rptResult.frf\" is malformed")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(reportOut / "rptResult.html"));
    const std::string uploadBytes = test::readFile(upload);
    ASSERT_GE(uploadBytes.size(), 40u);
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "2026-12-08ACME01_MCL.zip"));
    for (const std::string& name : test::listFolder(dir / "out")) {
        EXPECT_FALSE(has(name, "Temp") || name.front() == '.') << name;
    }
    for (const std::string& name : test::listFolder(reportOut)) {
        EXPECT_EQ(name.front(), 'r') << "no work file of the report: " << name;
    }
}

}  // namespace
}  // namespace qrv
