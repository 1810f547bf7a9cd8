#include <gtest/gtest.h>

#include <set>

#include "convert/Product.h"
#include "convert/source/SourceForm.h"

// One row per product: every name a product goes by is its row's.
namespace qrv {
namespace {

TEST(ProductTable, EachProductHasOneRowAndEveryNameLeadsBackToIt) {
    std::set<std::string_view> codes;
    for (const ProductInfo& p : products()) {
        EXPECT_EQ(&productInfo(p.product), &p);
        EXPECT_TRUE(codes.insert(p.code).second) << p.code;
        EXPECT_EQ(productForCode(p.code), p.product);
        EXPECT_EQ(familyOf(p.product), p.family);
        EXPECT_FALSE(p.caption.empty()) << p.code;
    }
    EXPECT_EQ(codes.size(), 10u);
    EXPECT_EQ(productNamed("pa5"), Product::MediaPayroll2);
    EXPECT_FALSE(productForCode("pa5")) << "a code in a setting is compared exactly";
    EXPECT_FALSE(productNamed("XYZ"));
}

// The listings of a family carry one code, and the source form follows the family.
TEST(ProductTable, FamiliesShareTheirListingCodeAndSourceForm) {
    for (const ProductInfo& p : products()) {
        switch (p.family) {
            case ProductFamily::MediaClearing:
                EXPECT_EQ(p.listingCode, "MCL") << p.code;
                EXPECT_EQ(p.source, layout::SourceFile::MediaClearing);
                break;
            case ProductFamily::ManagerCheque:
                EXPECT_EQ(p.listingCode, "MCP");
                EXPECT_EQ(sourceFormFor(p.code), nullptr) << "no cheque file is built from a sheet";
                break;
            default:
                EXPECT_EQ(p.listingCode, p.code);
                EXPECT_NE(sourceFormFor(p.code), nullptr) << p.code;
                break;
        }
    }
    EXPECT_EQ(sourceFormProducts(), "DCP, PAY, PA2, PA3, MCL, PA4, PA5, PA6, DDR");
    EXPECT_EQ(productLabel(Product::MediaPayroll1), "Media Clearing PayRoll 1 ") << "its blank kept";
}

}  // namespace
}  // namespace qrv
