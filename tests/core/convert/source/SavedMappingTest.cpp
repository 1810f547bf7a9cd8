#include <gtest/gtest.h>

#include "convert/source/SavedMapping.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

// A mapping is kept per company and product under the data folder, and no company id names a file
// outside it.
TEST(SavedMapping, OnePerCompanyAndProductInsideTheDataFolder) {
    const std::filesystem::path data = "/data";
    EXPECT_EQ(savedMappingPath(data, "dcp", "1234"), "/data/Mappings/DCP 1234.ini");
    EXPECT_EQ(savedMappingPath(data, "PAY", ""), "/data/Mappings/PAY.ini");
    EXPECT_EQ(savedMappingPath(data, "DCP", "../x"), "/data/Mappings/DCP %2E%2E%2Fx.ini");
    EXPECT_EQ(savedMappingPath(data, "DCP", "a\\b c"), "/data/Mappings/DCP a%5Cb%20c.ini");
    EXPECT_EQ(savedMappingPath(data, "DCP", "ก"), "/data/Mappings/DCP %E0%B8%81.ini");
    EXPECT_NE(savedMappingPath(data, "DCP", "A"), savedMappingPath(data, "DCP", "%41"));
}

// What is offered: the company's saved mapping, else the sheet's own mapping beside it, else nothing;
// saving replaces the company's mapping and leaves the others.
TEST(SavedMapping, OffersTheSavedMappingThenTheOneBesideTheSheet) {
    test::TempDir dir;
    const std::filesystem::path data = dir / "Data";
    const std::filesystem::path sheet = dir / "pay.xlsx";
    EXPECT_FALSE(offeredMapping(data, "DCP", "1234", sheet).has_value());
    test::writeFile(dir / "pay-map.ini", "[columns]\namount = B\n");
    EXPECT_EQ(offeredMapping(data, "DCP", "1234", sheet), "[columns]\namount = B\n");

    saveMapping(data, "DCP", "1234", "[columns]\namount = C\n");
    EXPECT_EQ(offeredMapping(data, "DCP", "1234", sheet), "[columns]\namount = C\n");
    EXPECT_EQ(offeredMapping(data, "DCP", "9999", sheet), "[columns]\namount = B\n") << "another company";
    EXPECT_EQ(offeredMapping(data, "PAY", "1234", sheet), "[columns]\namount = B\n") << "another product";
    saveMapping(data, "DCP", "1234", "[columns]\namount = D\n");
    EXPECT_EQ(test::readFile(savedMappingPath(data, "DCP", "1234")), "[columns]\namount = D\n");
}

}  // namespace
}  // namespace qrv
