#include "store/RunHistory.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::TempDir;

RunEntry entry(const std::string& ranAt, const std::string& company, const std::string& product,
               const std::string& sha1 = std::string(40, 'A'),
               std::string_view outcome = run_outcome::kCompleted) {
    RunEntry e;
    e.ranAt = ranAt;
    e.userName = "clerk";
    e.origin = "qrv";
    e.product = product;
    e.companyId = company;
    e.sourcePath = "/in/" + company + ".txt";
    e.sourceSize = 100;
    e.sourceSha1 = sha1;
    e.destination = "/out/up.txt";
    e.uploadHash = std::string(40, 'F');
    e.records = 3;
    e.total = Money::fromUnits(12'345'000);
    e.outcome = outcome;
    e.written = {{"upload", "/out/up.txt"},
                 {"archive", "/out/2026-12-08" + company + "_" + product + ".zip"}};
    return e;
}

std::vector<std::string> times(const std::vector<RunEntry>& runs) {
    std::vector<std::string> t;
    for (const RunEntry& e : runs) {
        t.push_back(e.ranAt);
    }
    return t;
}

TEST(RunHistory, KeepsEveryFieldAndListsNewestFirstByFilter) {
    TempDir dir;
    TableStore store(dir.path());
    RunHistory history(store);
    EXPECT_TRUE(history.list({}).empty());
    history.record(entry("2026-12-01 09:00:00", "ACME01", "DCP"));
    history.record(entry("2026-12-08 16:30:00", "ACME02", "DCP"));
    history.record(entry("2026-12-05 11:00:00", "ACME01", "MCL"));
    RunEntry bare = entry("2026-12-08 08:00:00", "ACME01", "DCP", std::string(40, 'B'), run_outcome::kFailed);
    bare.total.reset();
    bare.written.clear();
    history.record(bare);

    const std::vector<RunEntry> all = history.list({});
    EXPECT_EQ(times(all), (std::vector<std::string>{"2026-12-08 16:30:00", "2026-12-08 08:00:00",
                                                    "2026-12-05 11:00:00", "2026-12-01 09:00:00"}));
    const RunEntry& last = all.back();
    const RunEntry kept = entry("2026-12-01 09:00:00", "ACME01", "DCP");
    EXPECT_GT(last.id, 0);
    for (const auto& [got, want] : {std::pair{last.userName, kept.userName},
                                    {last.origin, kept.origin},
                                    {last.sourcePath, kept.sourcePath},
                                    {last.sourceSha1, kept.sourceSha1},
                                    {last.destination, kept.destination},
                                    {last.uploadHash, kept.uploadHash},
                                    {last.outcome, kept.outcome}}) {
        EXPECT_EQ(got, want);
    }
    EXPECT_EQ(last.sourceSize, 100);
    EXPECT_EQ(last.records, 3);
    EXPECT_EQ(last.total, Money::fromUnits(12'345'000));
    ASSERT_EQ(last.written.size(), 2u);
    EXPECT_EQ(last.written[1].path, "/out/2026-12-08ACME01_DCP.zip");
    EXPECT_FALSE(all[1].total);
    EXPECT_TRUE(all[1].written.empty());

    EXPECT_EQ(times(history.list({"ACME01", "", "", ""})).size(), 3u);
    EXPECT_EQ(times(history.list({"ACME01", "DCP", "", ""})),
              (std::vector<std::string>{"2026-12-08 08:00:00", "2026-12-01 09:00:00"}));
    // Both days of a range are whole days.
    EXPECT_EQ(
        times(history.list({"", "", "2026-12-05", "2026-12-08"})),
        (std::vector<std::string>{"2026-12-08 16:30:00", "2026-12-08 08:00:00", "2026-12-05 11:00:00"}));
    EXPECT_EQ(times(history.list({"", "", "2026-12-02", "2026-12-04"})).size(), 0u);
    // A value holding a quote is looked up, not run.
    EXPECT_TRUE(history.list({"A' OR '1'='1", "", "", ""}).empty());
}

TEST(RunHistory, OnlyACompletedRunOfTheSameContentIsFoundAgain) {
    TempDir dir;
    TableStore store(dir.path());
    RunHistory history(store);
    const std::string sha1(40, 'C');
    history.record(entry("2026-12-01 09:00:00", "ACME01", "DCP", sha1, run_outcome::kAllRejected));
    history.record(entry("2026-12-02 09:00:00", "ACME01", "DCP", sha1, run_outcome::kCancelled));
    EXPECT_FALSE(history.anyCompleted("ACME01", "DCP", 100));
    EXPECT_FALSE(history.latestCompleted("ACME01", "DCP", 100, sha1));
    history.record(entry("2026-12-03 09:00:00", "ACME01", "DCP", sha1));
    history.record(entry("2026-12-04 09:00:00", "ACME01", "DCP", sha1));
    EXPECT_TRUE(history.anyCompleted("ACME01", "DCP", 100));
    EXPECT_FALSE(history.anyCompleted("ACME01", "DCP", 101));
    EXPECT_FALSE(history.anyCompleted("ACME01", "PAY", 100));
    const std::optional<RunEntry> found = history.latestCompleted("ACME01", "DCP", 100, sha1);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->ranAt, "2026-12-04 09:00:00");
    EXPECT_FALSE(history.latestCompleted("ACME01", "DCP", 100, std::string(40, 'D')));
    EXPECT_FALSE(history.latestCompleted("ACME02", "DCP", 100, sha1));
}

TEST(RunHistory, AStoreMadeBeforeTheHistoryStaysCompleteAndGetsItAtItsFirstRun) {
    TempDir dir;
    {
        TableStore store(dir.path());
        store.open();
        store.execute("DROP TABLE RunHistory");
    }
    TableStore store(dir.path());
    EXPECT_FALSE(store.open());  // opened as it is, not refused as incomplete
    RunHistory history(store);
    EXPECT_TRUE(history.list({}).empty());
    EXPECT_FALSE(history.anyCompleted("ACME01", "DCP", 100));
    history.record(entry("2026-12-01 09:00:00", "ACME01", "DCP"));
    EXPECT_EQ(history.list({}).size(), 1u);

    // A dry run's store in memory holds the completed runs, for its repeat check.
    TableStore memory(dir.path(), {}, TableStore::InMemory{});
    EXPECT_TRUE(RunHistory(memory).latestCompleted("ACME01", "DCP", 100, std::string(40, 'A')));
}

TEST(RunHistory, ExportsACsvFileForAnAudit) {
    TempDir dir;
    TableStore store(dir.path());
    RunHistory history(store);
    RunEntry e = entry("2026-12-01 09:00:00", "=HYPERLINK(\"x\")", "DCP");
    e.sourcePath = "/in/a,b \"c\".txt";
    e.userName = "สมชาย";
    history.record(e);
    history.record(entry("2026-12-02 09:00:00", "ACME02", "MCL"));
    EXPECT_EQ(exportRunHistoryCsv(history, {"", "DCP", "", ""}, dir / "audit.csv"), 1);
    EXPECT_EQ(
        test::readFile(dir / "audit.csv"),
        "\xEF\xBB\xBF"
        "RanAt,UserName,Origin,Product,CompanyId,SourcePath,SourceSize,SourceSha1,Destination,UploadHash,"
        "Records,Total,Rejected,Outcome,Written\r\n"
        "2026-12-01 09:00:00,สมชาย,qrv,DCP,\"'=HYPERLINK(\"\"x\"\")\",\"/in/a,b \"\"c\"\".txt\",100," +
            std::string(40, 'A') + ",/out/up.txt," + std::string(40, 'F') +
            ",3,1234.50,0,completed,\"upload: /out/up.txt; archive: "
            "/out/2026-12-08=HYPERLINK(\"\"x\"\")_DCP.zip\"\r\n");
    EXPECT_EQ(exportRunHistoryCsv(history, {}, dir / "audit.csv"), 2);
}

}  // namespace
}  // namespace qrv
