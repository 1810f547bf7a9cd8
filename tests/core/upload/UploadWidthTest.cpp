#include <gtest/gtest.h>

#include <algorithm>

#include "layout/RecordWriter.h"
#include "layout/UploadLayouts.h"
#include "support/TestSupport.h"
#include "support/UploadCheck.h"

// The check the suite runs over every upload file it writes: a record of another width than its layout's is
// named with its line, and a file that is no upload file is left alone.
namespace qrv {
namespace {

using namespace layout;

TEST(UploadWidth, ARecordOfAnotherWidthIsNamedWithItsLine) {
    test::TempDir dir;
    std::string grown = defaultRecord(kRecord003);
    grown.insert(220, "5");  // a pickup branch of five digits
    const std::string body = test::crlfLines(
        {defaultRecord(kHeaderRecord), defaultRecord(kRecord002), grown, defaultRecord(kTrailerRecord)});
    test::writeFile(dir / "up.txt", std::string(40, 'A') + "\r\n" + body);
    test::writeFile(dir / "other.txt", "no upload\r\n001");
    EXPECT_TRUE(test::isUploadFile(dir / "up.txt"));
    EXPECT_FALSE(test::isUploadFile(dir / "other.txt"));
    const std::vector<std::string> faults = test::uploadFaults(dir / "up.txt");
    EXPECT_NE(std::find(faults.begin(), faults.end(),
                        "line 4, credit record 003: a record of 356 characters where its layout has 355"),
              faults.end());
    const std::vector<std::string> inFolder = test::uploadFaultsIn(dir.path());
    EXPECT_EQ(inFolder.size(), faults.size());
    EXPECT_EQ(inFolder.front(), "up.txt " + faults.front());
    std::filesystem::remove(dir / "up.txt");  // or the folder's own check would find it too
}

}  // namespace
}  // namespace qrv
