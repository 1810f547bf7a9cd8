#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "BenchFiles.h"
#include "cli/QrvRunner.h"
#include "support/TestSupport.h"

// qrv check-upload and show-upload: every upload the program writes reads back clean; a fault gives exit
// status 1 and its line, record, field and columns, in text and in the one JSON object.
namespace qrv {
namespace {

const bench::Day kToday{2026, 12, 8};

struct Written {
    std::string product;
    std::vector<std::string> options;
};

TEST(UploadCli, TheUploadOfEveryProductReadsBackClean) {
    // The bench files at 10,000 lines, every product family.
    constexpr std::uint64_t kLines = 10000;
    test::TempDir dir;
    const std::string d = dir.path().string() + "/";
    bench::directCredit(d + "DCP.txt", kLines, kToday);
    bench::mediaClearing(d + "MCL.txt", kLines, kToday);
    bench::managerCheque(d + "MCP.txt", d + "MCP-invoice.txt", kLines, kToday);
    bench::directDebit100M(d + "DDR.txt", kLines, kToday);
    ASSERT_EQ(test::runQrv({"--data", d + "Data", "init"}).status, 0);
    const std::vector<Written> runs = {
        {"DCP", {"--debit-account", "1234567896", "--fee-account", "1234567896"}},
        {"MCL", {"--debit-account", "1234567896", "--fee-account", "1234567896"}},
        {"MCP",
         {"--debit-account", "1234567896", "--fee-account", "1234567896", "--invoice",
          d + "MCP-invoice.txt"}},
        {"DDR",
         {"--credit-account", "1234567896", "--debit-fee-account", "1234567896", "--processing-round", "00"}},
    };
    for (const Written& w : runs) {
        std::vector<std::string> args = {"--data",
                                         d + "Data",
                                         "--reports",
                                         QRV_SOURCE_REPORTS,
                                         "reformat",
                                         "--product",
                                         w.product,
                                         "--company-id",
                                         "BENCH01",
                                         "--source",
                                         d + w.product + ".txt",
                                         "--dest",
                                         d + w.product + "-up.txt"};
        args.insert(args.end(), w.options.begin(), w.options.end());
        const test::QrvRun made = test::runQrv(args);
        ASSERT_EQ(made.status, 0) << w.product << made.out << made.err;
        const test::QrvRun r = test::runQrv({"check-upload", d + w.product + "-up.txt"});
        EXPECT_EQ(r.status, 0) << r.out;
        EXPECT_NE(r.out.find("Product: " + w.product + "\n"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("\nNo fault found\n"), std::string::npos) << r.out;
    }
}

TEST(UploadCli, AFaultIsExitOneWithItsPlaceInTextAndJson) {
    test::TempDir dir;
    const std::string file = (dir / "up.txt").string();
    // A header and a trailer under a hash line that is not theirs: the hash, the missing batch record.
    const std::string header =
        test::lineWith(96, {{1, "001ACME01      20261208"}, {48, "20261208000000BCM20261208"}});
    test::writeFile(file, std::string(40, 'A') + "\r\n" + header + "\r\n" + "999000001000000" +
                              std::string(16, '0') + "\r\n");
    const test::QrvRun r = test::runQrv({"check-upload", file});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("line 1: the hash line \"" + std::string(40, 'A') + "\" is not the SHA-1"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("line 3, trailer record 999: record \"999\" cannot stand here: record 002 or 007 "
                         "comes after the header"),
              std::string::npos)
        << r.out;

    const test::QrvRun j = test::runQrv({"--json", "check-upload", "--product", "mcl", file});
    EXPECT_EQ(j.status, 1);
    const nlohmann::json o = nlohmann::json::parse(j.out);
    EXPECT_EQ(o["clean"], false);
    EXPECT_EQ(o["summary"]["product"], "MCL");
    EXPECT_EQ(o["summary"]["companyId"], "ACME01");
    const nlohmann::json& trailer = o["faults"].back();
    EXPECT_EQ(trailer["line"], 3);
    EXPECT_EQ(trailer["record"], "trailer record 999");
    EXPECT_EQ(trailer["rule"], "order");
    EXPECT_EQ(trailer["found"], "999");
    EXPECT_EQ(trailer["message"],
              "line 3, trailer record 999: record \"999\" cannot stand here: after record 001 comes "
              "002 in a MCL file");
    EXPECT_EQ(test::runQrv({"check-upload", "--product", "XYZ", file}).status, 2);
    EXPECT_EQ(test::runQrv({"check-upload", (dir / "none.txt").string()}).status, 2);
    std::filesystem::remove(file);
}

TEST(UploadCli, ShowUploadNamesEveryFieldWithThaiInUtf8) {
#ifdef _WIN32
    GTEST_SKIP() << "reads the build host's source tree, which a cross-built test under Wine cannot name";
#endif
    // The Manager Cheque example's upload, as the examples' commands write it.
    const std::string upload =
        std::string(QRV_SOURCE_TESTS) + "/cli/golden/09-reformat-MCP-ACME01/out/mcp.txt";
    const test::QrvRun r = test::runQrv({"show-upload", upload});
    EXPECT_EQ(r.status, 0) << r.out;
    const std::vector<std::string> lines = r.lines();
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[1], "line 2, header record 001");
    EXPECT_EQ(lines[3], "  4-15     company id                        ACME01");
    EXPECT_NE(r.out.find("  33-132   payee name (Thai)                 \xE0\xB8\xAA\xE0\xB8\xA1"),
              std::string::npos)
        << r.out;

    const nlohmann::json o = nlohmann::json::parse(test::runQrv({"--json", "show-upload", upload}).out);
    EXPECT_EQ(o["records"][1]["fields"][1]["name"], "company id");
    EXPECT_EQ(o["records"][1]["fields"][1]["columns"], "4-15");
    EXPECT_EQ(o["records"][1]["fields"][1]["text"], "ACME01");
}

}  // namespace
}  // namespace qrv
