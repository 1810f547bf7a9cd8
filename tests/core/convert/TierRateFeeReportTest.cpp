#include <gtest/gtest.h>

#include "base/QrvError.h"
#include "convert/TierRateFeeReport.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::crlfLines;
using test::writeFile;

// A line of the layout the fee report reads: record type at 1-3, bank code at 28-30, amount at 58-69.
std::string feeLine(const std::string& type, const std::string& bank, const std::string& amount12) {
    std::string l(80, ' ');
    l.replace(0, 3, type);
    l.replace(27, 3, bank);
    l.replace(57, amount12.size(), amount12);
    return l;
}

std::string variable(const ShownReport& report, const std::string& name) {
    for (const auto& [n, v] : report.variables) {
        if (n == name) {
            return v;
        }
    }
    return "<unset>";
}

class TierRateFee : public ::testing::Test {
  protected:
    void setFees(const std::string& section) {
        writeFile(fx.data / "Config.ini", "[ThreeTierRate]\n" + section);
    }
    TierFeeResult run(const std::filesystem::path& sourcePath) {
        Services services = fx.services();
        return tierRateFeeReport({sourcePath, fx.data / "Config.ini"}, services);
    }
    void press(const std::vector<std::string>& lines) {
        writeFile(source, crlfLines(lines));
        const TierFeeResult result = run(source);
        EXPECT_EQ(result.outcome, Outcome::Written);
        EXPECT_EQ(result.records, result.tier1Lines + result.tier2Lines + result.tier3Lines);
    }
    test::OperationFixture fx;
    std::filesystem::path source = fx.dir / "media.txt";
};

TEST_F(TierRateFee, TierBoundsAreExactAndHomeBankAndOtherRecordsAreSkipped) {
    const std::vector<std::string> lines = {
        feeLine("101", "002", "000000000100"),  // header: not a credit line
        feeLine("102", "002", "000010000000"),  // 100,000.00: tier 1
        feeLine("102", "002", "000000000000"),  // 0.00: tier 1
        feeLine("102", "002", "000000005000"),  // 50.00: tier 1
        feeLine("102", "002", "000010000001"),  // 100,000.01: tier 2
        feeLine("102", "002", "000050000000"),  // 500,000.00: tier 2
        feeLine("102", "002", "000025000000"),  // 250,000.00: tier 2
        feeLine("102", "002", "000200000000"),  // 2,000,000.00: tier 3
        feeLine("102", "002", "000200000001"),  // 2,000,000.01: no tier
        feeLine("102", "014", "000000000100"),  // home bank: no fee
        feeLine("102", "014", "abcdefghijkl"),  // home bank: not even read
    };
    setFees("RangeFee1=10\nRangeFee2=12.50\nRangeFee3=0\n");
    press(lines);
    ASSERT_EQ(fx.events.reports.size(), 1u);
    const ShownReport& r = fx.events.reports[0];
    EXPECT_EQ(r.layoutFile, "DeductFee.frf");
    EXPECT_EQ(variable(r, "report_range1"), "3");
    EXPECT_EQ(variable(r, "report_range2"), "3");
    EXPECT_EQ(variable(r, "report_range3"), "1");
    EXPECT_EQ(variable(r, "report_total_range"), "7");
    EXPECT_EQ(variable(r, "report_total_fee_range1"), "30");
    EXPECT_EQ(variable(r, "report_total_fee_range2"), "37.5");
    EXPECT_EQ(variable(r, "report_total_fee_range3"), "0");
    EXPECT_EQ(variable(r, "report_total_fee_range"), "67.5");
    EXPECT_TRUE(fx.events.messages.empty());
}

// The report names the file it counted and the company of its header line; a file that starts with a
// credit line has no header, so no company.
TEST_F(TierRateFee, TheReportNamesTheSourceAndTheCompany) {
    setFees("RangeFee1=1\nRangeFee2=1\nRangeFee3=1\n");
    std::string header = feeLine("101", "   ", "            ");
    header.replace(52, 30, "ACME TRADING CO LTD           ");
    press({header, feeLine("102", "002", "000000005000")});
    press({feeLine("102", "002", "000000005000"), header});
    ASSERT_EQ(fx.events.reports.size(), 2u);
    const ShownReport& named = fx.events.reports[0];
    EXPECT_EQ(variable(named, "ComName"), "ACME TRADING CO LTD           ");
    EXPECT_EQ(variable(named, "FromFile"), source.string());
    const std::string html = RenderReportHtml(named);
    EXPECT_NE(html.find("ACME TRADING CO LTD"), std::string::npos);
    EXPECT_NE(html.find(source.string()), std::string::npos);
    EXPECT_EQ(variable(fx.events.reports[1], "ComName"), "");
    EXPECT_EQ(fx.events.reports[1].variables.size(), 10u);
}

TEST_F(TierRateFee, FeesAreReadAtEveryPress) {
    const std::vector<std::string> lines = {feeLine("102", "002", "000000010000")};
    setFees("RangeFee1=10\nRangeFee2=1\nRangeFee3=1\n");
    press(lines);
    setFees("RangeFee1=1500\nRangeFee2=1\nRangeFee3=1\n");
    press(lines);
    ASSERT_EQ(fx.events.reports.size(), 2u);
    EXPECT_EQ(variable(fx.events.reports[0], "report_total_fee_range1"), "10");
    EXPECT_EQ(variable(fx.events.reports[1], "report_total_fee_range1"), "1500");
    EXPECT_EQ(variable(fx.events.reports[1], "report_total_fee_range"), "1500");
}

TEST_F(TierRateFee, MissingSourceBadFeeOrBadAmountShowNoReport) {
    const std::string missing = "Source file name does not exist. Please insert valid file name and retry";
    EXPECT_EQ(run(fx.dir / "none.txt").outcome, Outcome::Refused);
    EXPECT_EQ(run(fx.dir.path()).outcome, Outcome::Refused);  // a folder is no source file
    EXPECT_EQ(fx.events.texts(), (std::vector<std::string>{missing, missing}));

    setFees("RangeFee1=10\nRangeFee2=ten\nRangeFee3=1\n");
    EXPECT_THROW(press({feeLine("102", "002", "000000010000")}), QrvError);
    setFees("RangeFee1=10\nRangeFee3=1\n");
    EXPECT_THROW(press({feeLine("102", "002", "000000010000")}), QrvError);
    setFees("RangeFee1=10\nRangeFee2=1\nRangeFee3=1\n");
    EXPECT_THROW(press({feeLine("102", "002", "00000001X000")}), QrvError);
    EXPECT_THROW(press({"102"}), QrvError);  // a credit line too short to hold its amount
    EXPECT_TRUE(fx.events.reports.empty());

    press({feeLine("101", "002", "000000010000")});  // no credit line: all zero
    ASSERT_EQ(fx.events.reports.size(), 1u);
    EXPECT_EQ(variable(fx.events.reports[0], "report_total_range"), "0");
    EXPECT_EQ(variable(fx.events.reports[0], "report_total_fee_range"), "0");
}

// A file of several MiB is read in two parts at once: the counts are the whole file's, and a fault is the
// first in the file, named with its line number in the whole file.
TEST_F(TierRateFee, ALargeFileCountsAndFaultsAsReadInOnePiece) {
    setFees("RangeFee1=1\nRangeFee2=2\nRangeFee3=3\n");
    std::vector<std::string> lines;
    for (int i = 0; i < 120'000; ++i) {
        lines.push_back(
            feeLine("102", i % 5 == 0 ? "014" : "002", i % 3 == 0 ? "000020000000" : "000000005000"));
    }
    press(lines);
    ASSERT_EQ(fx.events.reports.size(), 1u);
    EXPECT_EQ(variable(fx.events.reports[0], "report_range1"), "64000");
    EXPECT_EQ(variable(fx.events.reports[0], "report_range2"), "32000");

    const auto faultOf = [&] {
        try {
            press(lines);
        } catch (const QrvError& e) {
            return std::string(e.what());
        }
        return std::string("no fault");
    };
    lines[100'000] = feeLine("102", "002", "00000001X000");
    EXPECT_NE(faultOf().find("\" line 100001, columns 58-69 (amount)"), std::string::npos) << faultOf();
    lines[7] = feeLine("102", "002", "0000000-5000");
    EXPECT_NE(faultOf().find("\" line 8, columns 58-69 (amount)"), std::string::npos) << faultOf();
}

}  // namespace
}  // namespace qrv
