#include <gtest/gtest.h>

#include "layout/UploadLayouts.h"
#include "support/TestSupport.h"
#include "workbench/UploadView.h"

// The upload viewer's model: the field under a column by the record's own layout (the header in the form
// of the file), and the check's faults as marked entries with their field's columns.
namespace qrv {
namespace {

using namespace layout;

TEST(UploadView, NamesTheFieldOfAColumnAndMarksEachFaultsColumns) {
    test::TempDir dir;
    const std::string header = test::lineWith(96, {{1, "001V5CORP01"}, {48, "20261208000000BCM"}});
    const std::string trailer = "999000001000000" + std::string(16, '0');
    test::writeFile(dir / "up.txt",
                    std::string(40, 'A') + "\r\n" + header + "\r\n" + "003\r\n" + trailer + "\r\n");
    const UploadView view(dir / "up.txt");

    const ColumnPlace company = view.placeOf(2, header, 5);
    EXPECT_EQ(company.layout, &kDirectDebitHeaderRecord);  // its creation date is blank
    ASSERT_EQ(company.where, ColumnPlace::Where::InField);
    EXPECT_EQ(*company.field, r001::kCompanyId);
    const ColumnPlace total = view.placeOf(4, trailer, 20);
    ASSERT_EQ(total.where, ColumnPlace::Where::InField);
    EXPECT_EQ(*total.field, r999::kTotalAmount);
    EXPECT_EQ(view.placeOf(3, "003", 10).where, ColumnPlace::Where::PastLineEnd);
    EXPECT_FALSE(view.placeOf(3, "003", 2).fitsLayout);
    EXPECT_EQ(view.placeOf(1, std::string(40, 'A'), 3).layout, nullptr);

    const std::vector<RejectedEntry> entries = view.entries();
    ASSERT_EQ(static_cast<std::int64_t>(entries.size()), view.check().faultCount);
    bool count = false;
    for (const RejectedEntry& e : entries) {
        if (e.line == 4 && e.firstColumn == 10) {
            count = true;
            EXPECT_EQ(e.lastColumn, 15);
            EXPECT_EQ(e.message,
                      "trailer record 999, number of credits: \"000000\" where the records counted are "
                      "\"000001\"");
        }
    }
    EXPECT_TRUE(count);
    std::filesystem::remove(dir / "up.txt");
}

}  // namespace
}  // namespace qrv
