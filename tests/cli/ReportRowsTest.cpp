#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/QrvRunner.h"
#include "support/TestSupport.h"

// A report holds only its own run's rows: the working tables of a data folder keep whatever the last run of
// each product put there (another customer's payees, tax ids, invoices, debits), and a report must never show
// them.
namespace qrv {
namespace {

namespace fs = std::filesystem;

// One command of the examples that shows a report with datasets, and the report it writes.
struct ReportCommand {
    std::vector<std::string> args;
    std::string report;  // the --report-out JSON's name
};

const std::vector<ReportCommand>& reportCommands() {
    static const std::vector<ReportCommand> commands = {
        {{"reformat", "--product", "DCP", "--company-id", "CUSTA", "--source", "direct-credit-mistakes.txt",
          "--dest", "out/dcp.txt", "--debit-account", "1234567896", "--fee-account", "1234567896",
          "--print-detail"},
         "rptDcpDetail.json"},
        {{"reformat", "--product", "MCL", "--company-id", "CUSTB", "--source", "media-clearing-mistakes.txt",
          "--dest", "out/mcl.txt", "--print-detail"},
         "rptMclDetail.json"},
        {{"reformat", "--product", "MCP", "--company-id", "CUSTC", "--source", "manager-cheque.txt",
          "--invoice", "manager-cheque-invoices.txt", "--dest", "out/mcp.txt", "--print-detail"},
         "rptMcpDetail.json"},
        {{"reformat", "--product", "DDR", "--company-id", "CUSTD", "--source", "direct-debit-100m.txt",
          "--dest", "out/ddr.txt", "--credit-account", "0142000013", "--debit-fee-account", "5550001116",
          "--processing-round", "00", "--print-detail"},
         "CompleteDDR100M.json"},
        {{"reformat", "--product", "DDR", "--company-id", "CUSTE", "--source",
          "direct-debit-100m-mistakes.txt", "--dest", "out/ddr-mistakes.txt", "--credit-account",
          "0142000013", "--debit-fee-account", "5550001116", "--processing-round", "00", "--print-detail"},
         "ErrorDirectDebit100M.json"},
        {{"hash", "--source", "direct-debit-hash.txt"}, "rptGenHash.json"},
        {{"hash", "--source", "direct-debit-hash-mistakes.txt"}, "rptGenHashError.json"},
        {{"cover-letter", "--source", "direct-debit-hash.txt", "--account-no", "1234567896", "--account-name",
          "ACME"},
         "rptCoverLetter.json"},
        {{"compare-return", "--source", "sent-100m.txt", "--return", "return-100m.txt", "--dest",
          "out/compare.txt"},
         "rptCompareFileFromV5.json"},
    };
    return commands;
}

class ReportRows : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(test::runQrv({"examples", examples_.string()}).status, 0);
        fs::create_directories(examples_ / "out");
        ASSERT_EQ(test::runQrv({"--data", (dir_ / "Data").string(), "init"}).status, 0);
        previous_ = fs::current_path();
        fs::current_path(examples_);
    }
    void TearDown() override { fs::current_path(previous_); }

    // A data folder of its own, as `init` made it.
    std::string freshData(const std::string& name) {
        const fs::path data = dir_ / name;
        fs::copy(dir_ / "Data", data, fs::copy_options::recursive);
        return data.string();
    }
    // Runs the command with its reports into `reports`; the report's datasets.
    static nlohmann::json datasets(const ReportCommand& c, const std::string& data,
                                   const std::string& reports) {
        std::vector<std::string> args = {"--data",           data,           "--reports",
                                         QRV_SOURCE_REPORTS, "--report-out", reports};
        args.insert(args.end(), c.args.begin(), c.args.end());
        if (c.args.front() == "reformat") {
            args.push_back("--again");  // the same source runs more than once in one data folder here
        }
        const test::QrvRun run = test::runQrv(args);
        EXPECT_LE(run.status, 1) << run.out << run.err;
        return nlohmann::json::parse(test::readFile(fs::path(reports) / c.report))["datasets"];
    }

    test::TempDir dir_;
    fs::path examples_ = dir_ / "examples";
    fs::path previous_;
};

// Each report's datasets after every other product ran in its data folder (twice round, so that each ran
// after all the others) are those it has in a data folder where it ran alone: the links its layout shows,
// holding its own rows and nothing else.
TEST_F(ReportRows, EveryReportHoldsOnlyItsOwnRunsRowsAfterEveryOtherProduct) {
    const std::vector<ReportCommand>& commands = reportCommands();
    const std::string shared = freshData("Shared");
    for (const ReportCommand& c : commands) {
        datasets(c, shared, "first");
    }
    for (size_t i = 0; i < commands.size(); ++i) {
        SCOPED_TRACE(commands[i].report);
        const nlohmann::json alone = datasets(commands[i], freshData("Alone" + std::to_string(i)), "alone");
        const nlohmann::json afterOthers = datasets(commands[i], shared, "after");
        EXPECT_EQ(afterOthers, alone);
        size_t rows = 0;
        for (const auto& [link, linkRows] : alone.items()) {
            rows += linkRows.size();
        }
        EXPECT_GT(rows, 0u) << "the command shows rows of its own";
    }
}

// The result report shows no dataset at all: after a Manager Cheque run, a Direct Credit run's report names
// none of the cheques' payees, tax ids or invoices.
TEST_F(ReportRows, ResultReportAfterAnotherCustomersChequesHoldsNoDataset) {
    const std::string data = freshData("Data2");
    datasets(reportCommands()[2], data, "cheques");
    const nlohmann::json credit =
        datasets({{"reformat", "--product", "DCP", "--company-id", "CUSTB", "--source", "direct-credit.txt",
                   "--dest", "out/dcp.txt", "--debit-account", "1234567896", "--fee-account", "1234567896"},
                  "rptResult.json"},
                 data, "credit");
    EXPECT_EQ(credit, nlohmann::json::object());
}

}  // namespace
}  // namespace qrv
