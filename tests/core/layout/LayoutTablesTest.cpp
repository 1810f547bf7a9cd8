#include <gtest/gtest.h>

#include "layout/DateInForm.h"
#include "layout/LayoutCatalog.h"
#include "layout/RecordWriter.h"
#include "layout/UploadLayouts.h"
#include "support/ListingEntry.h"
#include "upload/ErrorListings.h"

// Every layout of the system, walked: its fields tile it, its defaults fill it, and the columns a listing
// prints for any of its fields read back as that field's columns.
namespace qrv {
namespace {

using namespace layout;

TEST(LayoutTables, EveryLayoutIsTiledByItsFields) {
    const std::vector<const Layout*> layouts = allLayouts();
    EXPECT_GE(layouts.size(), 30u);
    for (const Layout* layout : layouts) {
        SCOPED_TRACE(std::string(layout->name));
        EXPECT_TRUE(tiles(*layout));
        EXPECT_EQ(static_cast<int>(defaultRecord(*layout).size()), layout->length);
        for (const Field& f : layout->fields) {
            EXPECT_FALSE(f.name.empty());
            EXPECT_EQ(f.kind == Kind::Amount, f.decimals > 0 || f.isSigned) << f.name;
            EXPECT_EQ(f.kind == Kind::Code, !f.codes.empty()) << f.name;
            EXPECT_EQ(f.kind == Kind::Date, f.form != DateForm::None) << f.name;
        }
    }
}

// Every date form writes a date in its field's width; two-digit years keep their last two digits.
TEST(LayoutTables, ADateWrittenInEachFormFillsItsWidth) {
    const Date d{2026, 1, 5};
    EXPECT_EQ(dateInForm(d, DateForm::DdMmYy), "050126");
    EXPECT_EQ(dateInForm(d, DateForm::DdMmYyyy), "05012026");
    EXPECT_EQ(dateInForm(d, DateForm::YyyyMmDd), "20260105");
    EXPECT_EQ(dateInForm(d, DateForm::YyMmDd), "260105");
    EXPECT_EQ(dateInForm(d, DateForm::YyyyMmDdSeparated), "2026/01/05");
    EXPECT_EQ(dateInForm(d, DateForm::None), "");
    for (const Layout* layout : allLayouts()) {
        for (const Field& f : layout->fields) {
            if (f.kind == Kind::Date) {
                EXPECT_EQ(static_cast<int>(dateInForm(Date{1999, 12, 31}, f.form).size()), f.width())
                    << f.name;
            }
        }
    }
}

TEST(LayoutTables, TheListingColumnsOfEveryFieldAreItsColumns) {
    for (const Layout* layout : allLayouts()) {
        for (const Field& f : layout->fields) {
            const std::optional<ListingEntry> entry =
                ParseListingLine(ListingLine(12, columnsText(f) + " ", "  Some message"));
            ASSERT_TRUE(entry) << layout->name << " " << f.name;
            EXPECT_EQ(entry->firstColumn, f.first) << layout->name << " " << f.name;
            EXPECT_EQ(entry->lastColumn, f.last) << layout->name << " " << f.name;
            EXPECT_EQ(entry->line, 12);
        }
    }
}

TEST(LayoutTables, EverySourceHasItsLayoutsAndEveryNameAFile) {
    for (const SourceFile file : sourceFiles()) {
        EXPECT_FALSE(sourceLayouts(file).layouts.empty()) << static_cast<int>(file);
        EXPECT_FALSE(sourceLayouts(file).title.empty()) << static_cast<int>(file);
    }
    for (const std::string_view name : sourceFileNames()) {
        EXPECT_TRUE(sourceFileNamed(name)) << name;
    }
    // Every upload record is found by its record type.
    for (const Layout* l : {&kHeaderRecord, &kRecord002, &kRecord003, &kRecord004, &kRecord005, &kRecord006,
                            &kRecord007, &kRecord008, &kTrailerRecord}) {
        EXPECT_EQ(uploadRecordLayout(defaultRecord(*l)), l) << l->name;
    }
    EXPECT_EQ(uploadRecordLayout("010"), nullptr);
    EXPECT_EQ(uploadRecordLayout(""), nullptr);
}

}  // namespace
}  // namespace qrv
