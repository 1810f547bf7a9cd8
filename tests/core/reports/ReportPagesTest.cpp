#include "reports/ReportPages.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "reports/ReportRunner.h"
#include "reports/ReportSnapshot.h"
#include "store/TableStore.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::TempDir;

std::string joined(const ReportPages& pages, const std::string& between) {
    std::string all;
    for (size_t k = 0; k < pages.chunkCount(); ++k) {
        all += (k == 0 ? "" : between) + pages.render(k);
    }
    return all;
}

size_t occurrences(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(ReportPages, ChunksTogetherAreTheWholeReportWithEachCutTableReopened) {
    TempDir dir;
    TableStore store(dir.path());
    for (int i = 1; i <= 7; ++i) {
        store.append("Dcp_Detail",
                     {{"AcNo", std::to_string(i)}, {"Amount", i * 1.5}, {"Name", std::string("ก")}});
    }
    for (int i = 1; i <= 5; ++i) {
        store.append("Dcp_Err", {{"DesErr", "e" + std::to_string(i)}});
    }
    ShownReport report;
    report.layoutFile = "r.frf";
    report.store = &store;
    report.variables = {{"Head", "No."}};
    report.templateText =
        "<h1>top</h1><table class=\"g\"><thead><tr><th>{{Head}}</th></tr></thead>"
        "{{#frDBDataSet1}}<tr><td>{{_row}} {{AcNo}} {{AmountDisplay}}</td></tr>{{/frDBDataSet1}}"
        "{{^frDBDataSet1}}<tr><td>none</td></tr>{{/frDBDataSet1}}</table><p>{{frDBDataSet1_Rows}} rows</p>"
        "<table>{{#frDBDataSet2}}<tr><td>{{DesErr}}</td></tr>{{/frDBDataSet2}}</table><p>end</p>";
    const std::string whole = RenderReportHtml(report);
    std::filesystem::path file;
    {
        std::shared_ptr<const ReportSnapshot> snapshot = ReportSnapshot::take(report);
        file = snapshot->file();
        store.append("Dcp_Detail", {{"AcNo", std::string("later")}});  // not in the copy
        const ReportPages pages(std::move(snapshot), 3);
        // 7 + 5 rows in windows of 3: [3][3][1+2][3].
        ASSERT_EQ(pages.chunkCount(), 4u);
        EXPECT_EQ(pages.chunkRows(2), 3);
        const std::string head = "<table class=\"g\"><thead><tr><th>No.</th></tr></thead>";
        std::string cut = joined(pages, "|");
        EXPECT_EQ(occurrences(cut, "</table>|" + head), 2u);
        EXPECT_EQ(occurrences(cut, "</table>|<table>"), 1u);
        for (const std::string& seam : {"</table>|" + head, std::string("</table>|<table>")}) {
            for (size_t at = cut.find(seam); at != std::string::npos; at = cut.find(seam)) {
                cut.erase(at, seam.size());
            }
        }
        EXPECT_EQ(cut, whole);
        EXPECT_NE(whole.find("7 7 10.50</td></tr></table><p>7 rows"), std::string::npos);
        std::ostringstream saved;
        pages.renderWhole(saved);
        EXPECT_EQ(saved.str(), whole);
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    EXPECT_FALSE(std::filesystem::exists(file));  // gone with its last owner
}

// The data rows of a page, in order.
std::vector<std::string> dataRows(const std::string& html) {
    std::vector<std::string> rows;
    for (size_t at = html.find("<tr><td"); at != std::string::npos; at = html.find("<tr><td", at + 1)) {
        rows.push_back(html.substr(at, html.find("</tr>", at) - at));
    }
    return rows;
}

// Snapshots live in the temporary folder under this process's id; one left by a process that is gone
// (killed, crashed) is removed by the next snapshot taken, one of a live process is not.
TEST(ReportSnapshot, ANewSnapshotRemovesThoseOfProcessesThatAreGone) {
#ifdef _WIN32
    GTEST_SKIP() << "the test moves the temporary folder through TMPDIR, a POSIX variable";
#else
    TempDir dir;
    TableStore store(dir.path());
    store.append("Dcp_Err", {{"DesErr", std::string("e")}});
    ShownReport report;
    report.store = &store;
    report.templateText = "{{#frDBDataSet2}}{{DesErr}}{{/frDBDataSet2}}";
    TempDir temp;
    const char* before = std::getenv("TMPDIR");
    const std::string saved = before != nullptr ? before : "";
    setenv("TMPDIR", temp.path().c_str(), 1);
    const std::filesystem::path gone = temp / "qrv-report-999999999-0123456789abcdef.sqlite";
    const std::filesystem::path alive = temp / "qrv-report-1-0123456789abcdef.sqlite";
    const std::filesystem::path other = temp / "qrv-report-999999999-notours.sqlite";
    for (const auto& f : {gone, alive, other}) {
        test::writeFile(f, "x");
    }
    {
        const std::shared_ptr<const ReportSnapshot> snapshot = ReportSnapshot::take(report);
        EXPECT_EQ(snapshot->file().parent_path(), temp.path());
        EXPECT_TRUE(
            snapshot->file().filename().string().starts_with("qrv-report-" + std::to_string(getpid()) + "-"));
    }
    before != nullptr ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
    EXPECT_FALSE(std::filesystem::exists(gone));
    EXPECT_TRUE(std::filesystem::exists(alive));
    EXPECT_TRUE(std::filesystem::exists(other));
#endif
}

// Every chunk looks as the whole report does: the ones after the first begin with the layout's head (its
// styles), the ones before the last end the page; any two cut positions give the rows between them, and
// the marked form says which table and table row each window of rows went to.
TEST(ReportPages, EveryChunkCarriesTheLayoutsHeadAndAnyCutRendersItsRows) {
    TempDir dir;
    TableStore store(dir.path());
    for (int i = 1; i <= 9; ++i) {
        store.append("Dcp_Detail", {{"AcNo", std::to_string(i)}, {"Amount", i * 1.0}});
    }
    store.append("Dcp_Err", {{"DesErr", std::string("bad")}});
    ShownReport report;
    report.layoutFile = "r.frf";
    report.store = &store;
    report.templateText =
        "<html><head><style>td { text-align: right; }</style></head>\n<BODY class=\"b\"><table "
        "class=\"info\">"
        "<tr><td>x</td></tr></table><table class=\"g\"><thead><tr><th>No.</th></tr></thead>"
        "{{#frDBDataSet1}}<tr><td>{{AcNo}}</td></tr><tr><td>sub</td></tr>{{/frDBDataSet1}}"
        "<tr class=\"total\"><td>{{frDBDataSet1_Rows}}</td></tr></table>"
        "<table>{{#frDBDataSet2}}<tr><td>{{DesErr}}</td></tr>{{/frDBDataSet2}}</table><p>end</p>\n</body></"
        "html>";
    const ReportPages pages(ReportSnapshot::take(report), 4);
    const std::string head =
        "<html><head><style>td { text-align: right; }</style></head>\n<BODY class=\"b\">";
    EXPECT_EQ(pages.head(), head);
    ASSERT_EQ(pages.chunkCount(), 3u);  // [4][4][1 + 1]
    for (size_t k = 0; k < pages.chunkCount(); ++k) {
        const std::string chunk = pages.render(k);
        EXPECT_EQ(chunk.rfind(head, 0), 0u) << k;
        EXPECT_EQ(chunk.substr(chunk.size() - 14), "</body></html>") << k;
        EXPECT_EQ(occurrences(chunk, "<table"), occurrences(chunk, "</table>")) << k;
    }

    using P = ReportPages::Position;
    EXPECT_EQ(pages.sectionCount(), 2u);
    EXPECT_EQ(pages.sectionRows(0), 9);
    EXPECT_TRUE(pages.cuttable(0));
    EXPECT_EQ(pages.rowsBetween(pages.begin(), pages.end()), 10);
    EXPECT_EQ(pages.rowsBetween(P{0, 7}, P{1, 1}), 3);
    const std::string tail = pages.render(P{0, 7}, pages.end());
    EXPECT_EQ(tail.rfind(head + "<table class=\"g\"><thead><tr><th>No.</th></tr></thead>", 0), 0u);
    EXPECT_EQ(occurrences(tail, "<td>sub</td>"), 2u);
    EXPECT_NE(tail.find("<td>9</td>"), std::string::npos);
    EXPECT_NE(tail.find("<tr class=\"total\"><td>9</td></tr>"), std::string::npos);
    // Cut right after a dataset's last row: the totals row begins the next chunk, in its table.
    const std::string after = pages.render(P{0, 9}, pages.end());
    EXPECT_EQ(occurrences(after, "<td>sub</td>"), 0u);
    EXPECT_NE(after.find("</thead><tr class=\"total\">"), std::string::npos);

    const ReportPages::MarkedPage marked = pages.renderMarked(pages.begin(), P{1, 1});
    ASSERT_EQ(marked.windows.size(), 2u);
    EXPECT_EQ(marked.windows[0].table, 1u);          // after the info table
    EXPECT_EQ(marked.windows[0].firstTableRow, 1u);  // after the head row
    EXPECT_EQ(marked.windows[0].count, 9);
    EXPECT_EQ(marked.windows[0].tableRowsPerRow, 2u);
    EXPECT_EQ(marked.windows[1].table, 2u);
    EXPECT_EQ(marked.windows[1].firstTableRow, 0u);
    EXPECT_EQ(marked.tableRows, (std::vector<size_t>{1, 20, 1}));
    EXPECT_EQ(marked.html, pages.render(pages.begin(), P{1, 1}));
}

TEST(ReportPages, EveryShippedLayoutSplitsIntoWholeTables) {
    for (const auto& entry : std::filesystem::directory_iterator(QRV_SOURCE_REPORTS)) {
        SCOPED_TRACE(entry.path().filename().string());
        TempDir dir;
        TableStore store(dir.path());
        ShownReport report;
        report.layoutFile = entry.path().filename().string();
        report.templateText = test::readFile(entry.path());
        report.variables = {{"ComName", "บริษัท"}, {"Amount", "12.50"}};
        report.store = &store;
        bool splits = false;
        for (const DatasetLink& link : datasetLinks()) {
            const std::string source = link.source;
            if (!LayoutReadsLink(report.templateText, link) ||
                store.query("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?", {source})
                    .empty()) {
                continue;  // a view shows what its tables hold
            }
            const std::vector<std::string> columns = store.columns("SELECT * FROM \"" + source + "\"");
            for (std::int64_t row = 1; row <= 5; ++row) {
                FieldValues fields;
                for (const std::string& column : columns) {
                    fields.emplace_back(column, row * 100 + static_cast<std::int64_t>(fields.size()));
                }
                store.append(source, fields);
            }
            splits = true;
        }
        const std::string whole = RenderReportHtml(report);
        const ReportPages pages(ReportSnapshot::take(report), 2);
        std::ostringstream saved;
        pages.renderWhole(saved);
        EXPECT_EQ(saved.str(), whole);  // the copy reads back every value as the store does
        EXPECT_EQ(pages.chunkCount() > 1, splits);
        std::vector<std::string> rows;
        size_t totals = 0;  // a totals row after a listing is printed once, at its end
        for (size_t k = 0; k < pages.chunkCount(); ++k) {
            const std::string chunk = pages.render(k);
            totals += occurrences(chunk, "<tr class=\"total\">");
            EXPECT_EQ(occurrences(chunk, "<table"), occurrences(chunk, "</table>")) << "chunk " << k;
            EXPECT_EQ(occurrences(chunk, "<thead>"), occurrences(chunk, "</thead>")) << "chunk " << k;
            const std::vector<std::string> some = dataRows(chunk);
            rows.insert(rows.end(), some.begin(), some.end());
        }
        EXPECT_EQ(rows, dataRows(whole));
        EXPECT_EQ(totals, occurrences(whole, "<tr class=\"total\">"));
        EXPECT_EQ(pages.render(0).substr(0, 200), whole.substr(0, 200));
        const std::string last = pages.render(pages.chunkCount() - 1);
        EXPECT_EQ(whole.substr(whole.size() - 200), last.substr(last.size() - 200));
    }
}

}  // namespace
}  // namespace qrv
