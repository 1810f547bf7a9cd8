#include <gtest/gtest.h>

#include "refdata/ReferenceImport.h"
#include "reports/ReportLayouts.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

class Import : public ::testing::Test {
  protected:
    Import() {
        store.append("Bank", {{"BANK_CODE", std::string("014")}, {"BANK_NAME_EN", std::string("Old")}});
    }
    std::filesystem::path file(const std::string& name, const std::string& text) {
        test::writeFile(dir / name, text);
        return dir / name;
    }
    std::vector<std::string> banks() {
        std::vector<std::string> lines;
        for (const Row& r : store.query("SELECT * FROM Bank ORDER BY BANK_CODE")) {
            lines.push_back(r.text("BANK_CODE") + "|" + r.text("BANK_NAME_TH") + "|" +
                            r.text("BANK_NAME_EN"));
        }
        return lines;
    }
    size_t branchCount() { return store.query("SELECT * FROM BRANCH").size(); }
    ReferenceImportResult run(const std::optional<std::filesystem::path>& b,
                              const std::optional<std::filesystem::path>& br) {
        events.messages.clear();
        return importReferenceData({b, br}, services);
    }
    // The refusal's text (an error message), or empty when the import went through.
    std::string refusal(const std::optional<std::filesystem::path>& b,
                        const std::optional<std::filesystem::path>& br) {
        const ReferenceImportResult result = run(b, br);
        if (result.outcome == Outcome::Written) {
            return {};
        }
        EXPECT_EQ(events.messages.size(), 1u);
        EXPECT_EQ(events.messages.back().kind, MessageKind::Error);
        return events.messages.back().text;
    }

    test::TempDir dir;
    TableStore store{dir.path()};
    test::RecordingEvents events;
    FixedClock clock{Date{2026, 12, 8}};
    ReportLayouts reports{QRV_SOURCE_REPORTS};
    DefaultSettings settings;
    Services services{store, clock, reports, settings, events};
};

TEST_F(Import, ValuesTrimmedThaiKeptFieldsInAnyOrder) {
    const auto b = file("b.csv",
                        "\xEF\xBB\xBF"
                        "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\r\n"
                        " 025 , ธนาคารเค ,\"K Bank, Ltd\"\r\n"
                        "014,ธนาคารหลัก,Home Bank\r\n");
    const auto br = file("br.csv",
                         "REGION_CODE,BRANCH_NAME_EN,BRANCH_NAME_TH,BANK_CODE,BRANCH_CODE\n"
                         "01,One,สาขาหนึ่ง,025,0101\n");
    const ReferenceImportResult result = run(b, br);
    EXPECT_EQ(result.counts.banks, 2);
    EXPECT_EQ(result.counts.branches, 1);
    EXPECT_EQ(events.texts(), std::vector<std::string>{"Imported 2 banks and 1 branches"});
    // 014 is replaced, 025 added.
    EXPECT_EQ(banks(), (std::vector<std::string>{"014|ธนาคารหลัก|Home Bank", "025|ธนาคารเค|K Bank, Ltd"}));
    const auto rows = store.query("SELECT * FROM BRANCH");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text("BRANCH_CODE"), "0101");
    EXPECT_EQ(rows[0].text("BANK_CODE"), "025");
    EXPECT_EQ(rows[0].text("BRANCH_NAME_TH"), "สาขาหนึ่ง");
    EXPECT_EQ(rows[0].text("REGION_CODE"), "01");
}

TEST_F(Import, BadRowRefusesBothFilesWithFileAndLine) {
    const auto b = file("b.csv", "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n020,ธนาคาร,Twenty\n");
    struct Case {
        std::string branches;
        int line;
        std::string why;
    };
    const std::string header = "BRANCH_CODE,BANK_CODE,BRANCH_NAME_TH,BRANCH_NAME_EN,REGION_CODE\n";
    const std::vector<Case> cases = {
        {header + "0001,020,สาขา,One,01\n0002,020,สาขา,Two\n", 3, "expected 5 fields, found 4"},
        {header + "0001,020,สาขา,One,01\n\n , 020,สาขา,Blank,01\n", 4, "the field BRANCH_CODE is empty"},
        // CR alone ends a line too, blank ones included.
        {header + "0001,020,a,One,01\r\r0001,020,b,One again,01\r", 4, "the code appears twice in the file"},
        {header + "0001,020,a,One,01\n 0001 ,020,b,Same once trimmed,01\n", 3,
         "the code appears twice in the file"},
        {header + "0001,020,\xC1\xD2,Code page 874 bytes,01\n", 2,
         "the field BRANCH_NAME_TH is not UTF-8 text"},
        {header + "0001,020,สาขา,\"Tab\tinside\",01\n", 2,
         "the field BRANCH_NAME_EN holds a tab, a line end or another control character"},
        {header + "0001,020,中文,Chinese,01\n", 2,
         "the field BRANCH_NAME_TH holds a character that code page 874 lacks"},
        {header + "0001\r0002,020,a,Two,01\r", 2, "expected 5 fields, found 1"},
    };
    for (const Case& c : cases) {
        const auto br = file("br.csv", c.branches);
        EXPECT_EQ(refusal(b, br), br.string() + " line " + std::to_string(c.line) + ": " + c.why)
            << c.branches;
        EXPECT_EQ(banks(), (std::vector<std::string>{"014||Old"}));
        EXPECT_EQ(branchCount(), 0u);
    }

    const auto unknown = file("u.csv", "BANK_CODE,BANK_NAME\n020,x\n");
    EXPECT_EQ(refusal(unknown, std::nullopt),
              unknown.string() + " line 1: unknown field \"BANK_NAME\" for table Bank");
    const auto twice = file("t.csv", "BANK_CODE, bank_code ,BANK_NAME_EN\n020,020,x\n");
    EXPECT_EQ(refusal(twice, std::nullopt), twice.string() + " line 1: the field BANK_CODE is named twice");

    // Good files go in together.
    const auto good = file("br.csv", header + "0001,020,สาขา,One,01\n");
    EXPECT_EQ(refusal(b, good), "");
    EXPECT_EQ(banks(), (std::vector<std::string>{"014||Old", "020|ธนาคาร|Twenty"}));
    EXPECT_EQ(branchCount(), 1u);
}

// A row replaces the stored one whole, so a header that leaves a field out is refused before anything
// is stored (it would empty that field of every row it names); codes have the form the windows take.
TEST_F(Import, RefusesAHeaderLackingAFieldAndCodesOfAnotherForm) {
    const auto renamed = file("r.csv", "BANK_CODE,BANK_NAME_EN\n014,Renamed Bank\n");
    EXPECT_EQ(refusal(renamed, std::nullopt),
              renamed.string() + " line 1: the field BANK_NAME_TH is missing");
    const auto noCode = file("n.csv", "BANK_NAME_TH,BANK_NAME_EN\nx,y\n");
    EXPECT_EQ(refusal(noCode, std::nullopt), noCode.string() + " line 1: the field BANK_CODE is missing");
    const auto branches = file("br.csv", "BRANCH_CODE,BANK_CODE,BRANCH_NAME_EN\n0001,014,One\n");
    EXPECT_EQ(refusal(std::nullopt, branches),
              branches.string() + " line 1: the fields BRANCH_NAME_TH and REGION_CODE are missing");
    EXPECT_EQ(banks(), (std::vector<std::string>{"014||Old"}));

    const std::string bankHeader = "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n";
    for (const auto& [code, why] :
         std::vector<std::pair<std::string, std::string>>{{"AB", "must be 3 digits"},
                                                          {"=1+2", "must be 3 digits"},
                                                          {"1", "must be 3 digits"},
                                                          {"12345", "must be 3 digits"},
                                                          {"0 1", "must be 3 digits"},
                                                          {"", "is empty"}}) {
        const auto b = file("b.csv", bankHeader + "020,ok,Fine\n\"" + code + "\",a,b\n");
        EXPECT_EQ(refusal(b, std::nullopt), b.string() + " line 3: the field BANK_CODE " + why) << code;
    }
    const std::string branchHeader = "BRANCH_CODE,BANK_CODE,BRANCH_NAME_TH,BRANCH_NAME_EN,REGION_CODE\n";
    for (const auto& [row, why] : std::vector<std::pair<std::string, std::string>>{
             {"9,014,a,b,01", "the field BRANCH_CODE must be 4 digits"},
             {"00012,014,a,b,01", "the field BRANCH_CODE must be 4 digits"},
             {"0001,14,a,b,01", "the field BANK_CODE must be 3 digits"},
             {"0001,014,a,b,zz", "the field REGION_CODE must be 2 digits"},
             {"0001,014,a,b,1", "the field REGION_CODE must be 2 digits"},
             {"0001,014,a,b,", "the field REGION_CODE is empty"}}) {
        const auto br = file("br.csv", branchHeader + row + "\n");
        EXPECT_EQ(refusal(std::nullopt, br), br.string() + " line 2: " + why) << row;
    }
    EXPECT_EQ(banks(), (std::vector<std::string>{"014||Old"}));
    EXPECT_EQ(branchCount(), 0u);
}

}  // namespace
}  // namespace qrv
