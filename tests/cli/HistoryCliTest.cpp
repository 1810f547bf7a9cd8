#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "QrvRunner.h"
#include "support/TestSupport.h"

// "qrv reformat" refuses a file converted before unless --again is given; "qrv history" lists, filters
// and exports the runs.
namespace qrv {
namespace {

class HistoryCli : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(test::runQrv({"examples", ex.string()}).status, 0);
        ASSERT_EQ(qrv({"init"}).status, 0);
        std::filesystem::create_directories(out);
    }
    test::QrvRun qrv(std::vector<std::string> args, Date today = Date{2026, 12, 8}) const {
        args.insert(args.begin(), {"--data", data.string(), "--reports", QRV_SOURCE_REPORTS});
        return test::runQrv(args, today);
    }
    test::QrvRun reformat(const std::string& product, const std::string& company, const std::string& source,
                          const std::string& dest, std::vector<std::string> extra = {},
                          Date today = Date{2026, 12, 8}) const {
        std::vector<std::string> args = {"reformat",
                                         "--product",
                                         product,
                                         "--company-id",
                                         company,
                                         "--source",
                                         (ex / source).string(),
                                         "--dest",
                                         (out / dest).string(),
                                         "--debit-account",
                                         "1234567896",
                                         "--fee-account",
                                         "1234567896"};
        args.insert(args.end(), extra.begin(), extra.end());
        return qrv(args, today);
    }

    test::TempDir dir;
    std::filesystem::path ex = dir / "ex";
    std::filesystem::path data = dir / "Data";
    std::filesystem::path out = dir / "out";
};

TEST_F(HistoryCli, ARepeatIsRefusedNamingTheEarlierRunUntilAgainIsGiven) {
    const test::QrvRun first = reformat("DCP", "ACME01", "direct-credit.txt", "dcp.txt");
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    const std::string hash = first.lines().back().substr(std::string("Hash Value: ").size());
    const std::string question = "This file was converted on 2026-12-08 10:00:00 into " +
                                 (out / "dcp.txt").string() + " (hash " + hash + "). Convert it again?";

    const test::QrvRun refused =
        reformat("DCP", "ACME01", "direct-credit.txt", "dcp-again.txt", {}, {2026, 12, 9});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.lines(), std::vector<std::string>{question});
    EXPECT_FALSE(std::filesystem::exists(out / "dcp-again.txt"));

    const test::QrvRun json =
        qrv({"--json", "reformat", "--product", "DCP", "--company-id", "ACME01", "--source",
             (ex / "direct-credit.txt").string(), "--dest", (out / "dcp-again.txt").string(),
             "--debit-account", "1234567896", "--fee-account", "1234567896"});
    EXPECT_EQ(json.status, 1);
    const nlohmann::json j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["outcome"], "refused");
    EXPECT_EQ(j["messages"][0]["text"], question);
    EXPECT_EQ(j["earlierRun"]["hash"], hash);
    EXPECT_EQ(j["earlierRun"]["ranAt"], "2026-12-08 10:00:00");
    EXPECT_EQ(j["earlierRun"]["destination"], (out / "dcp.txt").string());
    EXPECT_EQ(j["earlierRun"]["outcome"], "completed");

    // The same file on the same day: the same upload file.
    const test::QrvRun again = reformat("DCP", "ACME01", "direct-credit.txt", "dcp-again.txt", {"--again"});
    EXPECT_EQ(again.status, 0) << again.out;
    EXPECT_EQ(again.lines().back(), "Hash Value: " + hash);
}

TEST_F(HistoryCli, TheHistoryIsListedNewestFirstFilteredAndExported) {
    ASSERT_EQ(reformat("DCP", "ACME01", "direct-credit.txt", "dcp.txt").status, 0);
    ASSERT_EQ(reformat("MCL", "ACME01", "media-clearing.txt", "mcl.txt", {}, {2026, 12, 9}).status, 0);
    ASSERT_EQ(
        reformat("MCL", "ACME02", "media-clearing-mistakes.txt", "mcl-x.txt", {}, {2026, 12, 10}).status, 1);
    ASSERT_EQ(reformat("MCL", "ACME02", "media-clearing-mistakes.txt", "mcl-x.txt", {"--dry-run"}).status, 1);

    const test::QrvRun all = qrv({"history"});
    EXPECT_EQ(all.status, 0) << all.err;
    const std::vector<std::string> lines = all.lines();
    ASSERT_EQ(lines.size(), 4u) << all.out;  // the dry run is no run
    EXPECT_EQ(lines[0],
              "Ran at\tUser\tFrom\tProduct\tCompany\tOutcome\tRecords\tTotal\tHash\tSource\tDestination");
    EXPECT_EQ(lines[1].substr(0, 20), "2026-12-10 10:00:00\t");
    EXPECT_NE(lines[1].find("\tqrv\tMCL\tACME02\tall rejected\t"), std::string::npos) << lines[1];
    EXPECT_NE(lines[3].find("\tDCP\tACME01\tcompleted\t"), std::string::npos) << lines[3];
    EXPECT_NE(lines[3].find("\t" + (ex / "direct-credit.txt").string() + "\t" + (out / "dcp.txt").string()),
              std::string::npos);

    EXPECT_EQ(qrv({"history", "--company", "ACME01", "--product", "MCL"}).lines().size(), 2u);
    EXPECT_EQ(qrv({"history", "--since", "2026-12-09"}).lines().size(), 3u);
    EXPECT_EQ(qrv({"history", "--since", "2026-12-09", "--until", "2026-12-09"}).lines().size(), 2u);

    // --json after the command, as before it.
    const test::QrvRun json = qrv({"history", "--company", "ACME01", "--json"});
    EXPECT_EQ(json.status, 0);
    const nlohmann::json j = nlohmann::json::parse(json.out);
    ASSERT_EQ(j["runs"].size(), 2u);
    EXPECT_EQ(j["runs"][0]["product"], "MCL");
    EXPECT_EQ(j["runs"][1]["sourceSha1"].get<std::string>().size(), 40u);
    EXPECT_EQ(j["runs"][1]["written"][0]["kind"], "upload");

    EXPECT_EQ(qrv({"history", "--since", "09/12/2026"}).status, 2);
    EXPECT_EQ(qrv({"history", "--product", "XYZ"}).status, 2);

    const test::QrvRun exported = qrv({"history", "--export", (dir / "audit.csv").string()});
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.err, "3 runs written to " + (dir / "audit.csv").string() + "\n");
    const std::string csv = test::readFile(dir / "audit.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
}

}  // namespace
}  // namespace qrv
