#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/QrvRunner.h"
#include "layout/LayoutCatalog.h"

// qrv layout PRODUCT: a product's source layout for people, from the tables the program reads it with.
namespace qrv {
namespace {

TEST(LayoutCommand, PrintsEveryFieldOfTheProductsLayouts) {
    const test::QrvRun r = test::runQrv({"layout", "pa2"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = r.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Direct Credit and Payroll (DCP, PAY, PA2, PA3)");
    EXPECT_NE(r.out.find("\ndetail line, long-amount form, 88 columns\n"), std::string::npos) << r.out;
    EXPECT_NE(
        r.out.find(
            "\n  credit account                    1-10      10     digits                    a home-bank"),
        std::string::npos)
        << r.out;
    EXPECT_NE(
        r.out.find("\n  amount                            18-26     9      amount, 2 decimals        baht"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\n  effective date                    49-54     6      date ddmmyy"),
              std::string::npos);
    // One line per field of every layout, with a title and a column heading per layout.
    size_t fields = 0;
    const layout::SourceLayouts& dcp = layout::sourceLayouts(layout::SourceFile::DirectCredit);
    for (const layout::Layout* l : dcp.layouts) {
        fields += l->fields.size() + 3;
    }
    EXPECT_EQ(lines.size(), 1 + fields);
}

TEST(LayoutCommand, JsonIsOneObjectOfTheSameTables) {
    const test::QrvRun r = test::runQrv({"--json", "layout", "MCP"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["command"], "layout");
    EXPECT_EQ(j["source"], "MCP");
    ASSERT_EQ(j["layouts"].size(), 1u);
    const nlohmann::json& fields = j["layouts"][0]["fields"];
    const layout::Layout& cheque = *layout::sourceLayouts(layout::SourceFile::ManagerCheque).layouts[0];
    ASSERT_EQ(fields.size(), cheque.fields.size());
    int next = 1;
    for (const nlohmann::json& f : fields) {
        EXPECT_EQ(f["first"], next);
        EXPECT_EQ(f["width"], f["last"].get<int>() - f["first"].get<int>() + 1);
        next = f["last"].get<int>() + 1;
    }
    EXPECT_EQ(next, 701);
    EXPECT_EQ(fields[3]["name"], "cheque amount");
    EXPECT_EQ(fields[3]["kind"], "amount");
    EXPECT_EQ(fields[3]["decimals"], 2);
    EXPECT_EQ(fields[2]["form"], "yyyy?mm?dd");
}

TEST(LayoutCommand, AnUnknownProductIsAUsageError) {
    const test::QrvRun r = test::runQrv({"layout", "XYZ"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("DCP, PAY"), std::string::npos) << r.err;
    EXPECT_EQ(test::runQrv({"layout"}).status, 2);
}

}  // namespace
}  // namespace qrv
