#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/QrvRunner.h"
#include "support/DebitHashFiles.h"
#include "support/TestSupport.h"

// qrv --json: standard output is exactly one JSON object holding the result, whatever way the command ends.
namespace qrv {
namespace {

struct JsonCli {
    test::TempDir dir;
    std::string data = (dir / "Data").string();
    std::filesystem::path source = dir / "debit.txt";

    JsonCli() { EXPECT_EQ(run({"init"}).status, 0); }
    test::QrvRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--data", data, "--reports", QRV_SOURCE_REPORTS, "--json"});
        return test::runQrv(std::move(args));
    }
    // The whole of standard output parsed as one value (throws on anything before or after it).
    static nlohmann::json object(const test::QrvRun& r) { return nlohmann::json::parse(r.out); }
};

TEST(JsonOutput, HashCheckCleanAndWithFaults) {
    JsonCli q;
    test::HashControl c;
    c.totalRecord = "00001";
    c.totalAmount = "0000010000";
    test::writeFile(q.source, test::crlfLines({test::hashControlRecord(c),
                                               test::hashDetailRecord(test::HashDetail{}, false)}));
    const test::QrvRun clean = q.run({"hash", "--source", q.source.string()});
    EXPECT_EQ(clean.status, 0) << clean.err;
    const nlohmann::json j = JsonCli::object(clean);
    EXPECT_EQ(j["command"], "hash");
    EXPECT_EQ(j["exit"], 0);
    EXPECT_EQ(j["outcome"], "written");
    EXPECT_EQ(j["hash"], test::sha1Upper(test::readFile(q.source)));
    EXPECT_EQ(j["records"], 1);
    EXPECT_EQ(j["total"], "100.00");
    EXPECT_EQ(j["reports"], nlohmann::json::array({"rptGenHash.frf"}));
    EXPECT_EQ(j["messages"], nlohmann::json::array());

    test::HashDetail bad;
    bad.account = "0000000001";
    test::writeFile(q.source,
                    test::crlfLines({test::hashControlRecord(c), test::hashDetailRecord(bad, false)}));
    const nlohmann::json f = JsonCli::object(q.run({"hash", "--source", q.source.string()}));
    EXPECT_EQ(f["exit"], 1);
    EXPECT_EQ(f["outcome"], "all-rejected");
    EXPECT_TRUE(f["hash"].is_null());
    EXPECT_EQ(f["rejected"], nlohmann::json::parse(R"([{"kind": "Account No", "count": 1, "lastLine": 2}])"));
    // The entries themselves: the line, the columns of the field and the words of each.
    EXPECT_EQ(
        f["rejectedEntries"],
        nlohmann::json::parse(
            R"([{"kind": "Account No", "line": 2, "columns": [1, 10], "message": "Invalid Account No"}])"));
    EXPECT_EQ(f["rejectedLines"], 1);
}

TEST(JsonOutput, MessagesAndErrorsStayInTheObject) {
    JsonCli q;
    const test::QrvRun refused = q.run({"tier-fee", "--source", (q.dir / "missing.txt").string()});
    EXPECT_EQ(refused.status, 1);
    const nlohmann::json r = JsonCli::object(refused);
    EXPECT_EQ(r["outcome"], "refused");
    ASSERT_EQ(r["messages"].size(), 1u);
    EXPECT_EQ(r["messages"][0]["kind"], "plain");
    EXPECT_EQ(r["messages"][0]["text"],
              "Source file name does not exist. Please insert valid file name and retry");

    const std::string examples = (q.dir / "examples").string();
    ASSERT_EQ(q.run({"examples", examples}).status, 0);
    const test::QrvRun failed = q.run({"reformat", "--product", "DCP", "--company-id", "ACME01", "--source",
                                       examples + "/direct-credit.txt", "--dest", examples + "/no/upload.txt",
                                       "--debit-account", "1234567896", "--fee-account", "1234567896"});
    EXPECT_EQ(failed.status, 3);
    const nlohmann::json e = JsonCli::object(failed);
    EXPECT_EQ(e["exit"], 3);
    EXPECT_FALSE(e["error"].get<std::string>().empty());
    EXPECT_NE(failed.err.find(e["error"].get<std::string>()), std::string::npos);

    const nlohmann::json list = JsonCli::object(q.run({"banks", "list"}));
    EXPECT_EQ(list["exit"], 0);
    EXPECT_FALSE(list["lines"].empty());
}

}  // namespace
}  // namespace qrv
