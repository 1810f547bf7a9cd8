#include <gtest/gtest.h>

#include "BenchFiles.h"
#include "base/RunCancelled.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

struct Case {
    const char* name;
    Product product;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Cancel : public ::testing::TestWithParam<Case> {};

// A cancelled run ends as a killed one: nothing new beside the source, the earlier upload file as it was.
TEST_P(Cancel, LeavesNoNewOutputAndTheEarlierUploadAsItWas) {
    test::OperationFixture f;
    const std::string d = f.out.string();
    const bench::Day today{2026, 12, 8};
    constexpr int kLines = 5000;  // past the first look at the cancel request of every converter
    ReformatRequest r;
    r.product = GetParam().product;
    r.companyId = "BENCH01";
    r.sourcePath = f.out / "in.txt";
    r.destinationPath = f.out / "up.txt";
    r.debitAccount = r.feeAccount = "1234567896";
    r.creditAccount = "0142000013";
    r.debitFeeAccount = "5550001116";
    r.processingRound = ProcessingRound::EndOfDay;
    r.printDetail = true;
    switch (*r.product) {
        case Product::DirectCredit:
            bench::directCredit(d + "/in.txt", kLines, today);
            break;
        case Product::MediaClearing:
            bench::mediaClearing(d + "/in.txt", kLines, today);
            break;
        case Product::ManagerCheque:
            bench::managerCheque(d + "/in.txt", d + "/invoice.txt", kLines, today);
            r.invoicePath = f.out / "invoice.txt";
            break;
        default:
            bench::directDebit100M(d + "/in.txt", kLines, today);
            break;
    }
    test::writeFile(f.out / "up.txt", "EARLIER\r\n");
    const std::vector<std::string> before = test::listFolder(f.out);
    f.events.cancel = true;
    EXPECT_THROW(f.reformat(r), RunCancelled);
    EXPECT_EQ(test::listFolder(f.out), before);
    EXPECT_EQ(test::readFile(f.out / "up.txt"), "EARLIER\r\n");
}

INSTANTIATE_TEST_SUITE_P(Families, Cancel,
                         ::testing::Values(Case{"DirectCredit", Product::DirectCredit},
                                           Case{"MediaClearing", Product::MediaClearing},
                                           Case{"ManagerCheque", Product::ManagerCheque},
                                           Case{"DirectDebit100M", Product::DirectDebit100M}),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace qrv
