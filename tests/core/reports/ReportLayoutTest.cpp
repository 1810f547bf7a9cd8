#include "reports/ReportLayout.h"

#include <gtest/gtest.h>

#include <string>

#include "base/QrvError.h"
#include "reports/ReportPages.h"
#include "reports/ReportRunner.h"
#include "reports/ReportSnapshot.h"
#include "store/TableStore.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::TempDir;
using test::writeFile;

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

// `depth` sections inside one another, each opened by `open` ("{{#" or "{{^") and closed by "{{/".
std::string nested(int depth, const std::string& open = "{{#", const std::string& close = "{{/",
                   const std::string& end = "}}") {
    return repeated(open + "s" + end, depth) + "x" + repeated(close + "s" + end, depth);
}

// The error text of rendering `text` as layout "deep.frf", or "" when it renders.
std::string renderError(const std::string& text, TableStore* store = nullptr) {
    ShownReport report;
    report.layoutFile = "deep.frf";
    report.templateText = text;
    report.variables = {{"s", "yes"}};
    report.store = store;
    try {
        (void)RenderReportHtml(report);
        return "";
    } catch (const QrvError& e) {
        return e.what();
    }
}

// Nesting is counted as the template parser reads tags: inverted sections nest as sections do, a
// delimiter change does not hide sections, and neither "{{{...}}}" nor a comment opens one.
TEST(ReportLayoutBounds, SectionsNestedDeeperThanTheBoundAreRefusedNamingTheLayout) {
    EXPECT_EQ(renderError(nested(kMaxLayoutDepth)), "");
    EXPECT_EQ(renderError(repeated(nested(kMaxLayoutDepth), 50)), "");  // deep often, never deeper
    EXPECT_EQ(renderError(nested(kMaxLayoutDepth, "{{^")), "");
    const std::string refusal = renderError(nested(kMaxLayoutDepth + 1));
    EXPECT_NE(refusal.find("\"deep.frf\""), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("nests sections more than " + std::to_string(kMaxLayoutDepth) + " deep"),
              std::string::npos)
        << refusal;
    EXPECT_NE(renderError(nested(20000)), "");
    EXPECT_NE(
        renderError(repeated("{{#s}}", 16) + nested(kMaxLayoutDepth - 15, "{{^") + repeated("{{/s}}", 16)),
        "");
    EXPECT_NE(renderError("{{=<% %>=}}" + nested(kMaxLayoutDepth + 1, "<%#", "<%/", "%>")), "");
    EXPECT_NE(renderError("{{= | | =}}" + nested(kMaxLayoutDepth + 1, "|#", "|/", "|")), "");
    EXPECT_EQ(renderError(repeated("{{{#s}}}{{!#s}}", kMaxLayoutDepth + 1) + nested(kMaxLayoutDepth)), "");
    // Back to the braces after a change: counted as braces again.
    EXPECT_NE(renderError("{{=<% %>=}}<%={{ }}=%>" + nested(kMaxLayoutDepth + 1)), "");
    // The page around a dataset's rows is parsed without the rows' body: a delimiter change inside the
    // body no longer hides what follows.
    TempDir dir;
    TableStore store(dir.path());
    store.append("Dcp_Err", {{"DesErr", std::string("row")}});
    const std::string hiding =
        "{{#frDBDataSet2}}{{=<% %>=}}{{/frDBDataSet2}}" + nested(kMaxLayoutDepth + 1) + "<%/frDBDataSet2%>";
    EXPECT_EQ(renderError(hiding), "");
    EXPECT_NE(renderError(hiding, &store).find("nests sections more than"), std::string::npos);
    // A malformed layout is still reported as malformed.
    EXPECT_NE(renderError(repeated("{{#s}}", 3)).find("malformed"), std::string::npos);
    EXPECT_NE(renderError("{{/s}}" + nested(kMaxLayoutDepth + 1)).find("malformed"), std::string::npos);
}

TEST(ReportLayoutBounds, ALayoutFileLargerThanTheBoundIsRefusedNamingItsPath) {
    TempDir dir;
    TableStore store(dir.path());
    const std::string within = "<p>{{s}}</p>" + std::string(kMaxLayoutBytes - 12, '.');
    writeFile(dir / "full.frf", within);
    writeFile(dir / "over.frf", within + "x");
    ReportRunner runner("result", false);
    ASSERT_TRUE(runner.loadLayout(dir / "full.frf"));
    runner.setVariable("s", "yes");
    EXPECT_EQ(RenderReportHtml(runner.prepare(store)).substr(0, 12), "<p>yes</p>..");
    try {
        runner.loadLayout(dir / "over.frf");
        FAIL() << "a layout over the bound was loaded";
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find((dir / "over.frf").string()), std::string::npos) << e.what();
    }
    // The refused file left the runner with the layout it held.
    EXPECT_EQ(runner.prepare(store).layoutFile, "full.frf");
    // A layout text that did not come from a file is held to the same bound.
    EXPECT_NE(renderError(within + "x").find("larger than"), std::string::npos);
}

// Each dataset section costs a pass over the layout: their number is bounded too. A table opening too
// long to repeat around every cut keeps its rows in one chunk instead.
TEST(ReportLayoutBounds, DatasetSectionsAreBoundedAndLongTableOpeningsAreNotRepeated) {
    const std::string section = "{{#frDBDataSet2}}{{DesErr}}{{/frDBDataSet2}}";
    EXPECT_EQ(renderError(repeated(section, kMaxLayoutDatasetSections)), "");
    const std::string refusal = renderError(repeated(section, kMaxLayoutDatasetSections + 1));
    EXPECT_NE(refusal.find("\"deep.frf\" shows datasets in more than " +
                           std::to_string(kMaxLayoutDatasetSections) + " sections"),
              std::string::npos)
        << refusal;

    TempDir dir;
    TableStore store(dir.path());
    for (const char* error : {"one", "two", "three"}) {
        store.append("Dcp_Err", {{"DesErr", std::string(error)}});
    }
    const auto chunks = [&store](size_t headBytes) {
        ShownReport report;
        report.layoutFile = "table.frf";
        report.templateText = "<table><thead><tr><th>" + std::string(headBytes, 'h') +
                              "</th></tr></thead><tbody>{{#frDBDataSet2}}<tr><td>{{DesErr}}</td></tr>"
                              "{{/frDBDataSet2}}</tbody></table>";
        report.store = &store;
        return ReportPages(ReportSnapshot::take(report), 1).chunkCount();
    };
    EXPECT_EQ(chunks(1000), 3u);
    EXPECT_EQ(chunks(70 * 1024), 1u);
}

}  // namespace
}  // namespace qrv
