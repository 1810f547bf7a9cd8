#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "support/McpTestSupport.h"

// "qrv reformat --product MCP" with an invoice file and the detail report.
namespace qrv {
namespace {

using test::Cheque;
using test::LineOf;
using test::Pad;

int runQrv(std::vector<std::string> args, std::string& out, std::string& err) {
    const test::QrvRun run = test::runQrv(std::move(args));
    out = run.out;
    err = run.err;
    return run.status;
}

TEST(McpCli, ReformatWithInvoicesWritesTheUploadAndTheDetailReport) {
    test::TempDir dir;
    const std::string data = (dir / "Data").string();
    std::string out;
    std::string err;
    ASSERT_EQ(runQrv({"--data", data, "init"}, out, err), 0) << err;
    test::writeFile(dir / "chq.txt", test::crlfLines({Cheque()
                                                          .with(1, Pad("K1", 26))
                                                          .with(129, "1")
                                                          .with(130, "001")
                                                          .with(104, "1")
                                                          .with(86, "000003000")
                                                          .with(60, "0000000100000")
                                                          .line()}));
    test::writeFile(dir / "inv.txt", test::crlfLines({LineOf({{1, Pad("K1", 26)},
                                                              {27, "INV-1"},
                                                              {52, "0000000100000"},
                                                              {65, "2026/11/30"},
                                                              {140, "000000000"},
                                                              {149, "000000000"},
                                                              {158, "000000000"}})}));
    const int status =
        runQrv({"--data", data, "--report-out", (dir / "rep").string(), "reformat", "--product", "MCP",
                "--company-id", "ACME01", "--source", (dir / "chq.txt").string(), "--dest",
                (dir / "up.txt").string(), "--invoice", (dir / "inv.txt").string(), "--print-detail"},
               out, err);
    EXPECT_EQ(status, 0) << err;
    const std::string upload = test::readFile(dir / "up.txt");
    ASSERT_GE(upload.size(), 40u);
    EXPECT_EQ(out, "Reformat data and add to 2026-12-08ACME01_MCP.zip completed\nHash Value: " +
                       upload.substr(0, 40) + "\n");
    EXPECT_NE(upload.find("\r\n005"), std::string::npos);
    EXPECT_NE(upload.find("\r\n006"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "2026-12-08ACME01_MCP.zip"));
    const std::string json = test::readFile(dir / "rep" / "rptMcpDetail.json");
    EXPECT_NE(json.find("\"layout\": \"rptMcpDetail.frf\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"Rate\":\"03\""), std::string::npos) << "the tax view's row";
    EXPECT_NE(json.find("\"InvoiceNo\":\"INV-1          \""), std::string::npos) << "the invoice view's row";
    const std::string html = test::readFile(dir / "rep" / "rptMcpDetail.html");
    EXPECT_NE(html.find("INV-1"), std::string::npos);
    EXPECT_EQ(html.find("No rows: no withholding tax"), std::string::npos);
}

}  // namespace
}  // namespace qrv
