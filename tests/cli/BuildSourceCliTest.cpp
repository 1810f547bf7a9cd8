#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/QrvRunner.h"
#include "support/TestSupport.h"

// qrv build-source: exit statuses and the --json object of the command-line contract.
namespace qrv {
namespace {

struct BuildSourceCli {
    test::TempDir dir;
    std::string data = (dir / "Data").string();
    std::string sheet = (dir / "pay.csv").string();
    std::string map = (dir / "pay.ini").string();
    std::string dest = (dir / "pay.txt").string();

    BuildSourceCli() {
        test::writeFile(
            map,
            "[columns]\ncredit account = Account\namount = Amount\npayee name = Name\n"
            "[values]\ncompany name = ACME\neffective date = 15/12/2569\n[reading]\nyears = BE\n");
    }
    test::QrvRun run(std::vector<std::string> options, bool json = false) {
        std::vector<std::string> args = {"--data", data};
        if (json) {
            args.push_back("--json");
        }
        args.insert(args.end(),
                    {"build-source", "--product", "DCP", "--sheet", sheet, "--map", map, "--dest", dest});
        args.insert(args.end(), options.begin(), options.end());
        return test::runQrv(args);
    }
};

TEST(BuildSourceCommand, WritesTheSourceFileAndSaysWhatItRead) {
    BuildSourceCli q;
    test::writeFile(q.sheet, "Account,Amount,Name\r\n1111111114,\"1,000.50\",JOHN SMITH\r\n");
    const test::QrvRun r = q.run({});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.lines(), (std::vector<std::string>{
                             "Reading \"" + q.sheet + "\": CSV, ASCII, comma-separated",
                             "Wrote 1 entries totalling 1000.50 baht to \"" + q.dest + "\"",
                         }));
    // Header: the long-amount form's mark, company name at 16-45, date ddmmyy at 48-53, count at 54-58.
    EXPECT_EQ(test::readFile(q.dest), "H" + std::string(14, ' ') + "ACME" + std::string(28, ' ') +
                                          "15122600001\r\n1111111114" + std::string(7, ' ') +
                                          "00000100050JOHN SMITH\r\n");
}

TEST(BuildSourceCommand, BadRowsExitOneWithTheirCellsInTheJson) {
    BuildSourceCli q;
    test::writeFile(q.sheet, "Account,Amount,Name\r\n1111111114,1.001,A\r\n2222222228,5,B\r\n");
    test::writeFile(q.dest, "earlier");
    test::QrvRun r = q.run({}, true);
    EXPECT_EQ(r.status, 1) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["outcome"], "all-rejected");
    EXPECT_EQ(j["exit"], 1);
    ASSERT_EQ(j["badCells"].size(), 1u);
    EXPECT_EQ(j["badCells"][0], (nlohmann::json{{"row", 2},
                                                {"column", "B"},
                                                {"header", "Amount"},
                                                {"field", "amount"},
                                                {"fault", "\"1.001\" has more than two decimals"}}));
    EXPECT_EQ(test::readFile(q.dest), "earlier");

    r = q.run({"--skip-bad-rows"}, true);
    EXPECT_EQ(r.status, 0) << r.err;
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["outcome"], "written");
    EXPECT_EQ(j["skippedRows"], nlohmann::json::array({2}));
    EXPECT_EQ(j["records"], 1);
    EXPECT_EQ(j["total"], "5.00");

    // A product without a source layout to build, or no mapping: usage errors.
    EXPECT_EQ(test::runQrv({"--data", q.data, "build-source", "--product", "MCP", "--sheet", q.sheet, "--map",
                            q.map, "--dest", q.dest})
                  .status,
              2);
    EXPECT_EQ(test::runQrv({"--data", q.data, "build-source", "--product", "DCP", "--sheet", q.sheet,
                            "--dest", q.dest})
                  .status,
              2);
}

}  // namespace
}  // namespace qrv
