#include "reports/ReportRunner.h"

#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "base/QrvError.h"
#include "reports/AmountDisplay.h"
#include "reports/ReportLayout.h"
#include "reports/ReportPages.h"
#include "reports/ReportSnapshot.h"
#include "store/TableStore.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::TempDir;
using test::writeFile;

TEST(ReportRunner, AQuotedValueArrivesIntact) {
    EXPECT_EQ(QuoteLiteral("it's"), "'it''s'");
    EXPECT_EQ(UnquoteLiteral(QuoteLiteral("'a''b'")), "'a''b'");
    ReportRunner runner("result", false);
    runner.setVariable("ComName", "O'Brien & Sons");
    runner.setVariable("ComName", "D'Arcy <Ltd>");  // replaced, not added
    EXPECT_EQ(runner.variable("ComName"), "D'Arcy <Ltd>");
    TempDir dir;
    TableStore store(dir.path());
    const ShownReport shown = runner.prepare(store);
    ASSERT_EQ(shown.variables.size(), 1u);
    EXPECT_EQ(shown.variables[0].second, "D'Arcy <Ltd>");
}

TEST(ReportRunner, ASecondLayoutReplacesTheFirstAndAMissingOneIsSilent) {
    TempDir dir;
    TableStore store(dir.path());
    writeFile(dir / "one.frf", "<p>one {{X}}</p>");
    writeFile(dir / "two.frf", "<p>two {{X}}</p>");
    ReportRunner runner("result", false);
    EXPECT_FALSE(runner.loadLayout(dir / "missing.frf"));
    EXPECT_EQ(runner.prepare(store).layoutFile, "");
    EXPECT_TRUE(runner.loadLayout(dir / "one.frf"));
    runner.setVariable("X", "1");
    EXPECT_EQ(RenderReportHtml(runner.prepare(store)), "<p>one 1</p>");
    runner.loadLayout(dir / "two.frf");
    EXPECT_EQ(RenderReportHtml(runner.prepare(store)), "<p>two 1</p>");
    runner.loadLayout(dir / "missing.frf");  // keeps "two"
    const ShownReport shown = runner.prepare(store);
    EXPECT_EQ(shown.layoutFile, "two.frf");
    EXPECT_EQ(shown.requestedLayout, "missing.frf");
    EXPECT_EQ(RenderReportHtml(shown), "<p>two 1</p>");
}

// An empty variable is false for a section: the result report prints no "Company Name" row for a run
// that gives no caption and no name (Manager Cheque), and prints it unchanged for one that does.
TEST(ReportRunner, AnEmptyVariableHidesItsSection) {
    TempDir dir;
    TableStore store(dir.path());
    writeFile(dir / "r.frf", "[{{#A}}a={{A}} b={{B}}{{/A}}|{{^A}}no a{{/A}}|{{A}}]");
    ReportRunner runner("result", false);
    runner.loadLayout(dir / "r.frf");
    runner.setVariable("A", "");
    runner.setVariable("B", "x");
    EXPECT_EQ(RenderReportHtml(runner.prepare(store)), "[|no a|]");
    runner.setVariable("A", "1");
    EXPECT_EQ(RenderReportHtml(runner.prepare(store)), "[a=1 b=x||1]");

    const std::string row = "<td class=\"lbl\" width=\"30%\">Company Name : </td><td>ACME</td>";
    for (const char* layout : {"rptResult.frf", "rptResultNoErr.frf", "rptResultNoUpload.frf"}) {
        SCOPED_TRACE(layout);
        ReportRunner result("result", false);
        ASSERT_TRUE(result.loadLayout(std::filesystem::path(QRV_SOURCE_REPORTS) / layout));
        result.setVariable("CusCap", "Company Name : ");
        result.setVariable("ComName", "ACME");
        EXPECT_NE(RenderReportHtml(result.prepare(store)).find(row), std::string::npos);
        result.setVariable("CusCap", "");
        result.setVariable("ComName", "");
        const std::string cheque = RenderReportHtml(result.prepare(store));
        EXPECT_EQ(cheque.find("<td class=\"lbl\" width=\"30%\"></td>"), std::string::npos);
        EXPECT_NE(cheque.find("Company ID :"), std::string::npos);
    }
}

TEST(ReportRunner, ValuesAreEscapedAndNeverExpanded) {
    TempDir dir;
    TableStore store(dir.path());
    writeFile(dir / "r.frf", "{{V}}|{{File_Name}}|{{#frDBDataSet2}}[{{_row}}:{{DesErr}}]{{/frDBDataSet2}}");
    store.append("Dcp_Err", {{"DesErr", std::string("a<b & {{V}}")}});
    store.append("Dcp_Err", {{"DesErr", std::string("two")}});
    ReportRunner runner("result", false);
    runner.loadLayout(dir / "r.frf");
    runner.setVariable("V", "<script>{{x}}</script>");
    runner.setVariable("File Name", "a.txt");
    EXPECT_EQ(RenderReportHtml(runner.prepare(store)),
              "&lt;script&gt;{{x}}&lt;/script&gt;|a.txt|[1:a&lt;b &amp; {{V}}][2:two]");
}

// Rows stream through one at a time; what a row shows must still be what mustache gives for the whole
// list: row fields before variables, a variable reached from inside a row, a section shown twice with
// its numbering restarted, inverted sections on an empty and a filled dataset, dotted and aliased names.
TEST(ReportRunner, StreamedRowsRenderAsTheWholeListWould) {
    TempDir dir;
    TableStore store(dir.path());
    writeFile(dir / "r.frf",
              "<h1>{{ComName}}</h1>\n"
              "{{#frDBDataSet2}}<tr>{{_row}} {{LnNo}} {{DesErr}} {{ComName}} {{Field_Name}}</tr>\n"
              "{{/frDBDataSet2}}{{^frDBDataSet2}}none\n{{/frDBDataSet2}}end\n"
              "{{#frDBDataSet2}}[{{_row}}{{#DesErr}}+{{/DesErr}}]{{/frDBDataSet2}}\n"
              "{{#frDBDataSet1}}x{{/frDBDataSet1}}{{^frDBDataSet1}}no credits{{/frDBDataSet1}}\n"
              "{{#frDBDataSet2}}<{{frDBDataSet2.LnNo}}>{{/frDBDataSet2}}");
    store.append("Dcp_Err", {{"LnNo", std::string("7")}, {"DesErr", std::string("bad & worse")}});
    store.append("Dcp_Err", {{"LnNo", std::string("9")}, {"DesErr", std::string("")}});
    ReportRunner runner("result", false);
    runner.loadLayout(dir / "r.frf");
    runner.setVariable("ComName", "ACME <1>");
    runner.setVariable("LnNo", "shadowed");
    runner.setVariable("Field Name", "F");
    const std::string expected =
        "<h1>ACME &lt;1&gt;</h1>\n"
        "<tr>1 7 bad &amp; worse ACME &lt;1&gt; F</tr>\n"
        "<tr>2 9  ACME &lt;1&gt; F</tr>\n"
        "end\n"
        "[1+][2+]\n"  // a text field opens its section even when empty
        "no credits\n"
        "<><>";
    const ShownReport shown = runner.prepare(store);
    EXPECT_EQ(RenderReportHtml(shown), expected);
    std::ostringstream streamed;
    RenderReportHtml(shown, streamed);
    EXPECT_EQ(streamed.str(), expected);

    store.reset("Dcp_Err");
    EXPECT_EQ(RenderReportHtml(runner.prepare(store)), "<h1>ACME &lt;1&gt;</h1>\nnone\nend\n\nno credits\n");
}

TEST(ReportRunner, AMalformedLayoutIsAnErrorNamingIt) {
    TempDir dir;
    TableStore store(dir.path());
    writeFile(dir / "bad.frf", "{{#frDBDataSet1}} never closed");
    ReportRunner runner("result", false);
    runner.loadLayout(dir / "bad.frf");
    try {
        RenderReportHtml(runner.prepare(store));
        FAIL();
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("bad.frf"), std::string::npos);
    }
}

TEST(ReportRunner, JsonHoldsVariablesAndTheDatasetsTheLayoutShows) {
    TempDir dir;
    TableStore store(dir.path());
    store.append("Dcp_Detail",
                 {{"AcNo", std::string("1234567896")}, {"Amount", 124.45}, {"Name", std::string("ก")}});
    store.append("Report_Hash_Error",
                 {{"Field Name Error", std::string("F")}, {"CountLine", std::int64_t{3}}});
    store.append("DDR_FileCompare", {{"Amount", Money::fromUnits(15000)}});
    store.append("Mcp_Detail", {{"Name", std::string("not shown")}});
    writeFile(
        dir / "r.frf",
        "{{#frDBDataSet1}}{{/frDBDataSet1}}{{frDBReportHashError_Rows}}{{^frDBDataSet8}}{{/frDBDataSet8}}"
        "{{#frDBDataSet3}}{{/frDBDataSet3}}");
    ReportRunner runner("result", false);
    runner.loadLayout(dir / "r.frf");
    runner.setVariable("B", "2");
    runner.setVariable("A", "1");
    std::ostringstream out;
    WriteReportJson(runner.prepare(store), out);
    const auto json = nlohmann::ordered_json::parse(out.str());
    EXPECT_EQ(json["layout"], "r.frf");
    EXPECT_EQ(json["variables"].dump(), R"({"B":"2","A":"1"})");
    EXPECT_EQ(json["datasets"].size(), 4u);
    EXPECT_EQ(json["datasets"]["frDBDataSet1"][0]["Name"], "ก");
    EXPECT_DOUBLE_EQ(json["datasets"]["frDBDataSet1"][0]["Amount"].get<double>(), 124.45);
    EXPECT_EQ(json["datasets"]["frDBReportHashError"][0]["CountLine"], 3);
    EXPECT_TRUE(json["datasets"]["frDBReportHashError"][0]["CountLine"].is_number_integer());
    EXPECT_DOUBLE_EQ(json["datasets"]["frDBDataSet8"][0]["Amount"].get<double>(), 1.5);
    EXPECT_TRUE(json["datasets"]["frDBDataSet3"].empty());
    EXPECT_FALSE(json["datasets"].contains("frDBDataSet4"));
}

// The working tables keep the rows of whichever run filled them last. A report a run shows (its tables
// named in runTables) holds the rows of the tables that run emptied and filled, in its JSON, its HTML and
// the preview's copy; a link whose tables another run filled is there, empty. A report made outside a run
// shows what the tables hold.
TEST(ReportRunner, ARunsReportShowsOnlyTheRowsOfTheTablesThatRunFilled) {
    TempDir dir;
    TableStore store(dir.path());
    {
        TableStore::CommandScope cheques(store);
        store.reset("Mcp_Detail");
        store.append("Mcp_Detail", {{"Name", std::string("CUSTA PAYEE")}, {"ID", std::int64_t{1}}});
    }
    TableStore::CommandScope credits(store);
    store.reset("Dcp_Detail");
    store.append("Dcp_Detail", {{"AcNo", std::string("1234567896")}, {"Name", std::string("CUSTB PAYEE")}});
    writeFile(dir / "r.frf",
              "{{#frDBDataSet1}}[{{Name}}]{{/frDBDataSet1}}{{#frDBDataSet4}}[{{Name}}]{{/frDBDataSet4}}"
              "{{frDBDataSet4_Rows}}{{#frDBDataSet6}}[{{Name}}]{{/frDBDataSet6}}");
    ReportRunner runner("detail", false);
    runner.loadLayout(dir / "r.frf");
    ShownReport shown = runner.prepare(store);
    EXPECT_EQ(RenderReportHtml(shown), "[CUSTB PAYEE][CUSTA PAYEE]1");  // made outside a run

    shown.runTables = store.emptiedTables();
    EXPECT_EQ(*shown.runTables, std::vector<std::string>{"Dcp_Detail"});
    EXPECT_EQ(RenderReportHtml(shown), "[CUSTB PAYEE]0");
    std::ostringstream out;
    WriteReportJson(shown, out);
    const auto json = nlohmann::json::parse(out.str())["datasets"];
    EXPECT_EQ(json.size(), 3u);
    ASSERT_EQ(json["frDBDataSet1"].size(), 1u);
    EXPECT_EQ(json["frDBDataSet1"][0]["Name"], "CUSTB PAYEE");
    EXPECT_EQ(json["frDBDataSet4"], nlohmann::json::array());
    EXPECT_EQ(json["frDBDataSet6"], nlohmann::json::array());
    EXPECT_EQ(out.str().find("CUSTA"), std::string::npos);
    const auto snapshot = ReportSnapshot::take(shown);
    EXPECT_EQ(snapshot->rowCount(datasetLinks()[0]), 1);
    EXPECT_EQ(snapshot->rowCount(datasetLinks()[3]), 0);

    // A view is a run's only when the run filled every table it reads.
    store.reset("Mcp_Detail");
    store.append("Mcp_Detail", {{"Name", std::string("CUSTB CHEQUE")}, {"ID", std::int64_t{1}}});
    shown.runTables = store.emptiedTables();
    EXPECT_FALSE(ShowsRowsOf(shown, datasetLinks()[5]));
    store.reset("Invoice_Detail");
    shown.runTables = store.emptiedTables();
    EXPECT_TRUE(ShowsRowsOf(shown, datasetLinks()[5]));
}

// A layout within its own bounds whose dataset section is large would repeat it for every row: past
// kMaxReportBytes the report is refused before a byte of it is written, for the files and the preview.
TEST(ReportRunner, AReportBeyondItsBoundIsRefusedBeforeAnythingIsWritten) {
    TempDir dir;
    TableStore store(dir.path());
    store.execute(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 66000) "
        "INSERT INTO Dcp_Detail (AcNo) SELECT i FROM n");
    const std::string body(64 * 1024, 'x');  // 64 KiB a row: 4.3 GB for 66,000 rows
    writeFile(dir / "big.frf", "<table>{{#frDBDataSet1}}<tr>" + body + "</tr>{{/frDBDataSet1}}</table>");
    ReportRunner runner("detail", false);
    runner.loadLayout(dir / "big.frf");
    const ShownReport shown = runner.prepare(store);
    const auto errorOf = [](const auto& body) {
        try {
            body();
        } catch (const QrvError& e) {
            return std::string(e.what());
        }
        return std::string("<no error>");
    };
    std::ostringstream out;
    const std::string error = errorOf([&] { RenderReportHtml(shown, out); });
    EXPECT_EQ(
        error,
        "Report layout \"big.frf\" would make a report larger than 4,294,967,296 bytes, the most a report "
        "may hold: its section frDBDataSet1 of 65,545 bytes repeats for each of 66,000 rows");
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(errorOf([&] { ReportPages pages(ReportSnapshot::take(shown), 100); }), error);

    // The bound itself, over a section of 1,009 bytes ("<tr>" and 1,000 bytes): rows of it up to 4 GiB in
    // all, the page around them included.
    writeFile(dir / "small.frf",
              "<table>{{#frDBDataSet1}}<tr>" + body.substr(0, 1000) + "</tr>{{/frDBDataSet1}}</table>");
    runner.loadLayout(dir / "small.frf");
    const ShownReport small = runner.prepare(store);
    const ReportLayout layout(
        small, [&store](const DatasetLink& link, std::int64_t, std::int64_t, const EachRow& each) {
            store.forEachRow(DatasetQuery(link) + " LIMIT 1", {}, each);
        });
    const std::int64_t most = static_cast<std::int64_t>((kMaxReportBytes - 15) / 1009);  // 15: the page
    EXPECT_NO_THROW(layout.checkSize({most}));
    EXPECT_THROW(layout.checkSize({most + 1}), QrvError);
}

TEST(ReportRunner, AmountsAreOfferedInBahtBesideTheRawValues) {
    EXPECT_EQ(BahtDisplay(Money::fromUnits(-10'000'000'0000)), "-10,000,000.00");
    EXPECT_EQ(BahtDisplay(Money::fromUnits(-49)), "0.00");  // rounds to zero: no sign
    EXPECT_EQ(BahtDisplay("0000000002873.955"), "2,873.96");
    EXPECT_EQ(BahtDisplay("0."), "0.00");
    EXPECT_EQ(BahtDisplay("999"), "999.00");
    EXPECT_EQ(BahtDisplay(""), std::nullopt);
    EXPECT_EQ(BahtDisplay("."), std::nullopt);
    EXPECT_EQ(BahtDisplay("12/08/2026"), std::nullopt);

    TempDir dir;
    TableStore store(dir.path());
    store.append("Dcp_Detail", {{"AcNo", std::string("1")}, {"Amount", 1234.5}, {"Name", std::string("a")}});
    store.append("Dcp_Detail", {{"AcNo", std::string("2")}, {"Amount", 0.1}, {"Name", std::string("b")}});
    store.append("DDR_FileCompare", {{"Amount", Money::fromUnits(-15000)}});
    writeFile(dir / "r.frf",
              "{{Amount}}={{AmountDisplay}} {{ComId}}{{ComIdDisplay}}|"
              "{{#frDBDataSet1}}{{AcNo}}:{{Amount}}={{AmountDisplay}} {{AcNoDisplay}};{{/frDBDataSet1}}"
              "{{frDBDataSet1_Rows}} {{frDBDataSet1_AmountTotalDisplay}}|"
              "{{#frDBDataSet8}}{{AmountDisplay}}{{/frDBDataSet8}} {{frDBDataSet8_AmountTotalDisplay}}");
    ReportRunner runner("result", false);
    runner.loadLayout(dir / "r.frf");
    runner.setVariable("Amount", "0000000002873.950");
    runner.setVariable("ComId", "0000012345.000");  // not an amount: no display form
    const ShownReport shown = runner.prepare(store);
    EXPECT_EQ(RenderReportHtml(shown),
              "0000000002873.950=2,873.95 0000012345.000|"
              "1:1234.50=1,234.50 1;2:0.10=0.10 2;2 1,234.60|-1.50 -1.50");
    std::ostringstream out;
    WriteReportJson(shown, out);  // the JSON keeps the raw values only
    EXPECT_EQ(out.str().find("Display"), std::string::npos);
    EXPECT_EQ(out.str().find("1,234"), std::string::npos);
}

TEST(ReportRunner, CountsAreOfferedWithSeparatorsAndOneRowIsCountedInTheSingular) {
    EXPECT_EQ(CountDisplay("200000"), "200,000");
    EXPECT_EQ(CountDisplay("0001234"), "1,234");  // as a control record holds it
    EXPECT_EQ(CountDisplay("-1500"), "-1,500");
    EXPECT_EQ(CountDisplay(""), std::nullopt);
    EXPECT_EQ(CountDisplay("12 3"), std::nullopt);
    EXPECT_EQ(CountDisplay("99999999999999999999"), std::nullopt);

    TempDir dir;
    TableStore store(dir.path());
    store.append("Dcp_Detail", {{"AcNo", std::string("1")}, {"Amount", 10.0}});
    store.append("DDR_FileCompare", {{"Amount", Money::fromUnits(15000)}});
    store.append("DDR_FileCompare", {{"Amount", Money::fromUnits(15000)}});
    writeFile(dir / "r.frf",
              "{{CreditRecordDisplay}} {{Total_RecordDisplay}} [{{ComIdDisplay}}]|"
              "{{frDBDataSet1_RowsDisplay}} credit{{^frDBDataSet1_One}}s{{/frDBDataSet1_One}}|"
              "{{frDBDataSet8_RowsDisplay}} record{{^frDBDataSet8_One}}s{{/frDBDataSet8_One}}|"
              "{{frDBDataSet3_RowsDisplay}} credit{{^frDBDataSet3_One}}s{{/frDBDataSet3_One}}");
    ReportRunner runner("result", false);
    runner.loadLayout(dir / "r.frf");
    runner.setVariable("CreditRecord", "200000");
    runner.setVariable("Total Record", "0012345");
    runner.setVariable("ComId", "200000");  // an identifier, not a count
    const ShownReport shown = runner.prepare(store);
    EXPECT_EQ(RenderReportHtml(shown), "200,000 12,345 []|1 credit|2 records|0 credits");
    std::ostringstream out;
    WriteReportJson(shown, out);  // the JSON keeps the raw values only
    EXPECT_NE(out.str().find("\"200000\""), std::string::npos);
    EXPECT_EQ(out.str().find("200,000"), std::string::npos);

    // Each detail layout says "1 credit" for one row.
    ReportRunner detail("detail", false);
    detail.loadLayout(std::filesystem::path(QRV_SOURCE_REPORTS) / "rptDcpDetail.frf");
    const std::string html = RenderReportHtml(detail.prepare(store));
    EXPECT_NE(html.find("Total: 1 credit<"), std::string::npos) << html;
}

}  // namespace
}  // namespace qrv
