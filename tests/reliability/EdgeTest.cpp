// The edges of the command line and of a run: --json always one object, text that is not UTF-8, files the
// person already has, inputs that are no files, names that cannot be written, settings and amounts that
// read as numbers without being any.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "ReliabilitySupport.h"
#include "cli/QrvRunner.h"
#include "store/TableStore.h"

namespace qrv {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct Edges : ::testing::Test {
    test::TempDir dir;
    std::string data = (dir / "Data").string();
    void SetUp() override { ASSERT_EQ(test::runQrv({"--data", data, "init"}).status, 0); }
    std::vector<std::string> credit(const std::filesystem::path& source,
                                    const std::filesystem::path& dest) const {
        return {"--data",        data,
                "reformat",      "--product",
                "DCP",           "--company-id",
                "ACME01",        "--source",
                source.string(), "--dest",
                dest.string(),   "--debit-account",
                "1234567896",    "--fee-account",
                "1234567896"};
    }
};

// A command line that is not run (an unknown command, an option out of range, a missing option) still
// gives its one JSON object, with exit 2 and the parser's error.
TEST_F(Edges, UsageErrorsUnderJsonAreOneObject) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--json", "frobnicate"},
                                               {"--json", "reformat", "--processing-round", "99"},
                                               {"--json", "hash"}}) {
        SCOPED_TRACE(args[1]);
        const test::QrvRun run = test::runQrv(args);
        EXPECT_EQ(run.status, 2);
        const nlohmann::json j = nlohmann::json::parse(run.out);
        EXPECT_EQ(j["exit"], 2);
        EXPECT_EQ(j["command"], args[1]);
        EXPECT_FALSE(j["error"].get<std::string>().empty());
        EXPECT_FALSE(run.err.empty()) << "the error is on standard error as well";
    }
}

// Text that is not UTF-8 in the JSON (a file name in a message, a bank name saved as code page 874 by
// another program) is converted from code page 874 instead of ending the program.
TEST_F(Edges, TextThatIsNotUtf8IsConvertedInJson) {
#ifndef _WIN32  // Windows file names are UTF-16: a name of code page 874 bytes cannot be made there
    const std::filesystem::path folder = dir / "\xa1\xd2\xc3";  // "การ" in code page 874
    test::writeFile(dir / "src.txt", test::creditSource());
    std::vector<std::string> args = credit(dir / "src.txt", folder / "up.txt");
    args.insert(args.begin(), "--json");
    const test::QrvRun missing = test::runQrv(args);
    EXPECT_EQ(missing.status, 3);
    const nlohmann::json error = nlohmann::json::parse(missing.out);
    EXPECT_TRUE(has(error["error"].get<std::string>(), "การ")) << missing.out;
#endif

    sqlite3* db = nullptr;
    // SQLite takes a UTF-8 name; on Windows `string()` would be the ANSI code page, which cannot hold Thai.
    const std::u8string name = (std::filesystem::path(data) / TableStore::kFileName).u8string();
    ASSERT_EQ(sqlite3_open(std::string(name.begin(), name.end()).c_str(), &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db, "UPDATE Bank SET BANK_NAME_TH = CAST(x'A1D2C3' AS TEXT) WHERE BANK_CODE = '002'",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    const test::QrvRun banks = test::runQrv({"--json", "--data", data, "banks", "list"});
    EXPECT_EQ(banks.status, 0);
    bool found = false;
    const nlohmann::json listed = nlohmann::json::parse(banks.out);
    for (const auto& line : listed["lines"]) {
        found = found || line.get<std::string>().rfind("002\tการ\t", 0) == 0;
    }
    EXPECT_TRUE(found) << banks.out;
}

// "qrv examples" keeps the person's own files of the same names and says which.
TEST_F(Edges, ExamplesKeepFilesAlreadyThere) {
    std::filesystem::create_directories(dir / "ex");
    test::writeFile(dir / "ex" / "README.txt", "my own notes");
    const test::QrvRun run = test::runQrv({"examples", (dir / "ex").string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(test::readFile(dir / "ex" / "README.txt"), "my own notes");
    EXPECT_TRUE(has(run.out, "Kept 1 files already in " + (dir / "ex").string() +
                                 " under the names of examples: README.txt"))
        << run.out;
    EXPECT_TRUE(std::filesystem::exists(dir / "ex" / "direct-credit.txt"));
}

#ifndef _WIN32  // FIFOs, and file names that are not UTF-8, are POSIX
// A FIFO (or /dev/stdin) as the source is named for what it is, not as a missing file; a destination name
// the archive cannot take is refused before anything is written.
TEST_F(Edges, SourcesThatAreNoFilesAndNamesThatCannotBeWritten) {
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    const test::QrvRun fifo = test::runQrv(credit(dir / "pipe", dir / "up.txt"));
    EXPECT_EQ(fifo.status, 1);
    EXPECT_EQ(fifo.lines().at(0),
              "The source file \"" + (dir / "pipe").string() +
                  "\" is a FIFO (a pipe), not a regular file. Please choose a file and retry");
    const test::QrvRun fee = test::runQrv({"--data", data, "tier-fee", "--source", (dir / "pipe").string()});
    EXPECT_EQ(fee.status, 1);
    EXPECT_TRUE(has(fee.out, "is a FIFO (a pipe), not a regular file")) << fee.out;

    test::writeFile(dir / "src.txt", test::creditSource());
    std::filesystem::create_directory(dir / "out");
    const test::QrvRun name = test::runQrv(credit(dir / "src.txt", dir / "out" / "up\xff.txt"));
    EXPECT_EQ(name.status, 1) << name.err;
    EXPECT_TRUE(has(name.out, "is not valid text in the system's encoding (UTF-8)")) << name.out;
    EXPECT_EQ(test::listFolder(dir / "out"), std::vector<std::string>{});
}
#endif

// A negative fee setting, and amounts of blanks or a sign alone, are not numbers the fee report counts.
TEST_F(Edges, FeeSettingsAndAmountsThatAreNoNumbers) {
    const std::filesystem::path config = std::filesystem::path(data) / "Config.ini";
    std::string media = test::mediaSource();
    test::writeFile(dir / "media.txt", media);
    const auto fee = [&] {
        return test::runQrv({"--data", data, "tier-fee", "--source", (dir / "media.txt").string()});
    };
    ASSERT_EQ(fee().status, 0);

    test::writeFile(config, "[ThreeTierRate]\nRangeFee1=-10\nRangeFee2=20\nRangeFee3=30\n");
    const test::QrvRun negative = fee();
    EXPECT_EQ(negative.status, 3);
    EXPECT_TRUE(has(negative.err, "'-10' is not a valid fee")) << negative.err;

    test::writeFile(config, "[ThreeTierRate]\nRangeFee1=10\nRangeFee2=20\nRangeFee3=30\n");
    const size_t amount = media.find("000000012345");
    for (const std::string& blank :
         std::vector<std::string>{std::string(10, ' '), "+" + std::string(9, ' '), "        - "}) {
        SCOPED_TRACE("\"" + blank + "\"");
        media.replace(amount, 10, blank);
        test::writeFile(dir / "media.txt", media);
        const test::QrvRun run = fee();
        EXPECT_EQ(run.status, 3);
        EXPECT_TRUE(has(run.err, "\" line 2, columns 58-69 (amount): ") && has(run.err, "is not an amount"))
            << run.err;
    }
}

// The fee report and the return comparison print no message on success (the window shows none): they say
// on standard error what they did and where the report is.
TEST_F(Edges, FeeReportSaysWhatItDidAndWhereTheReportIs) {
    test::writeFile(dir / "media.txt", test::mediaSource());
    const test::QrvRun shown =
        test::runQrv({"--data", data, "tier-fee", "--source", (dir / "media.txt").string()});
    EXPECT_EQ(shown.out, "");
    EXPECT_EQ(shown.err, "Tier rate fees of " + (dir / "media.txt").string() +
                             ": 1 credits (tier 1: 1, tier 2: 0, tier 3: 0), total fee 10.00" +
                             " baht. Its report DeductFee was shown only: --report-out DIR writes it.\n");
    const test::QrvRun written = test::runQrv({"--data", data, "--report-out", (dir / "rep").string(),
                                               "tier-fee", "--source", (dir / "media.txt").string()});
    EXPECT_TRUE(has(written.err, "Its report DeductFee is in " + (dir / "rep" / "DeductFee.html").string() +
                                     " and DeductFee.json there."))
        << written.err;
}

}  // namespace
}  // namespace qrv
