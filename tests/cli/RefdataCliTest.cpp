#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliApp.h"
#include "cli/QrvRunner.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using Result = test::QrvRun;

Result qrv(const std::filesystem::path& data, std::vector<std::string> args) {
    args.insert(args.begin(), {"--data", data.string()});
    return test::runQrv(std::move(args));
}

class RefdataCli : public ::testing::Test {
  protected:
    RefdataCli() { EXPECT_EQ(qrv(data, {"init"}).status, 0); }
    std::string path(const std::string& name, const std::string& text) {
        test::writeFile(dir / name, text);
        return (dir / name).string();
    }
    test::TempDir dir;
    std::filesystem::path data = dir / "Data";
    const std::string bankHeader = "BANK_CODE,BANK_NAME_TH,BANK_NAME_EN\n";
    const std::string branchHeader = "BRANCH_CODE,BANK_CODE,BRANCH_NAME_TH,BRANCH_NAME_EN,REGION_CODE\n";
};

TEST_F(RefdataCli, ImportsBothFilesAndListsThaiNames) {
    const std::string banks = path("banks.csv", bankHeader + "901,ธนาคารทดสอบ,Test Bank\n");
    const std::string branches =
        path("branches.csv", branchHeader + "0002,901,สาขาสอง,Second,02\n0001, 901,สาขาหนึ่ง,First,01\n");
    const Result r = qrv(data, {"refdata", "import", "--banks", banks, "--branches", branches});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Imported 1 banks and 2 branches\n");

    const Result list = qrv(data, {"banks", "list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find(std::string("901") + "\t" + "ธนาคารทดสอบ" + "\t" + "Test Bank" + "\n"),
              std::string::npos)
        << list.out;
    const Result br = qrv(data, {"branches", "list", "--bank", "901"});
    EXPECT_EQ(br.status, 0);
    EXPECT_EQ(br.out, std::string("0001\t901\tสาขาหนึ่ง\tFirst\t01\n") + "0002\t901\tสาขาสอง\tSecond\t02\n");
    EXPECT_EQ(qrv(data, {"branches", "list", "--bank", "NONE"}).out, "");
}

TEST_F(RefdataCli, BadRowImportsNothing) {
    const std::string before = qrv(data, {"banks", "list"}).out;
    const std::string banks = path("banks.csv", bankHeader + "901,ธนาคารทดสอบ,Test Bank\n");
    const std::string branches =
        path("branches.csv", branchHeader + "0001,901,สาขา,First,01\n0002,901,สาขา\n");
    const Result r = qrv(data, {"refdata", "import", "--banks", banks, "--branches", branches});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, branches + " line 3: expected 5 fields, found 3\n");
    EXPECT_EQ(qrv(data, {"banks", "list"}).out, before);
    EXPECT_EQ(qrv(data, {"branches", "list", "--bank", "901"}).out, "");
}

// A partial header would empty the fields it leaves out: refused, naming them, nothing changed.
TEST_F(RefdataCli, APartialHeaderIsRefusedAndCodesAreChecked) {
    const std::string before = qrv(data, {"banks", "list"}).out;
    const std::string renamed = path("renamed.csv", "BANK_CODE,BANK_NAME_EN\n002,Renamed Bank\n");
    const Result r = qrv(data, {"refdata", "import", "--banks", renamed});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, renamed + " line 1: the field BANK_NAME_TH is missing\n");
    const std::string formula = path("formula.csv", bankHeader + "=1+2,x,y\n");
    EXPECT_EQ(qrv(data, {"refdata", "import", "--banks", formula}).out,
              formula + " line 2: the field BANK_CODE must be 3 digits\n");
    EXPECT_EQ(qrv(data, {"banks", "list"}).out, before);
}

TEST_F(RefdataCli, ImportNeedsAnExistingFile) {
    EXPECT_EQ(qrv(data, {"refdata", "import"}).status, 2);
    EXPECT_EQ(qrv(data, {"refdata", "import", "--banks", (dir / "missing.csv").string()}).status, 2);
    const std::string banks = path("banks.csv", bankHeader + "901,ธนาคารทดสอบ,Test Bank\n");
    EXPECT_EQ(qrv(data, {"refdata", "import", "--banks", banks}).status, 0);
}

}  // namespace
}  // namespace qrv
