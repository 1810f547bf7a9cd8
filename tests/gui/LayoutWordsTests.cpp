#include "gui/language/LayoutWords.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <set>

#include "gui/language/Language.h"
#include "layout/LayoutCatalog.h"
#include "support/TestSupport.h"
#include "workbench/SourceColumns.h"

// The words of the layouts in the window: where a column lies, and every name the layouts hold, in
// English as the layouts give them and in Thai.
namespace qrv::test {
namespace {

using layout::SourceFile;

QString describe(SourceFile file, const std::string& firstLine, std::int64_t lineNo, const std::string& line,
                 int column) {
    return gui::ColumnWords(PlaceOfColumn(file, firstLine, lineNo, line, column));
}

TEST(ColumnWords, NamesTheFieldItsColumnsAndKindByTheLayoutOfTheLine) {
    const std::string header = test::lineWith(82, {{1, "101"}});
    const std::string detail = test::lineWith(222, {{1, "102"}, {10, "0020001"}});
    EXPECT_EQ(describe(SourceFile::MediaClearing, header, 12, detail, 14),
              "Line 12, column 14: Receiving branch code (columns 13-16, 4 digits)");
    EXPECT_EQ(describe(SourceFile::MediaClearing, header, 12, detail, 60),
              "Line 12, column 60: Amount (columns 58-69, amount, 2 decimals)");
    EXPECT_EQ(describe(SourceFile::MediaClearing, header, 1, header, 31),
              "Line 1, column 31: Effective date (columns 31-38, date ddmmyyyy)");

    // The header picks the form of every detail line: column 27 is the long form's amount and the short
    // form's payee name.
    const std::string longHeader = test::lineWith(58, {{1, "X"}});
    const std::string shortHeader = test::lineWith(59, {});
    EXPECT_EQ(describe(SourceFile::DirectCredit, longHeader, 2, std::string(88, '0'), 27),
              "Line 2, column 27: Amount (columns 18-28, amount, 2 decimals)");
    EXPECT_EQ(describe(SourceFile::DirectCredit, shortHeader, 2, std::string(86, '0'), 27),
              "Line 2, column 27: Payee name (columns 27-86, text)");
    EXPECT_EQ(describe(SourceFile::DirectDebit100M, std::string(70, ' '), 3, std::string(80, '1'), 17),
              "Line 3, column 17: Sign (column 17, code 1)");
}

TEST(ColumnWords, ALineOfAnotherLengthOrOfNoLayoutSaysSo) {
    const std::string header = test::lineWith(82, {{1, "101"}});
    // A line cut inside its amount; one cut in the receiver's name at its end holds every field.
    EXPECT_EQ(describe(SourceFile::MediaClearing, header, 5, std::string(60, '0'), 14),
              "Line 5, column 14: the line has 60 columns where a detail line has 222; by that layout "
              "Receiving branch code (columns 13-16, 4 digits)");
    EXPECT_EQ(describe(SourceFile::MediaClearing, header, 5, std::string(60, '0'), 61),
              "Line 5, column 61: the line has 60 columns where a detail line has 222; past the end of "
              "the line");
    EXPECT_EQ(describe(SourceFile::MediaClearing, header, 5, std::string(205, '0'), 14),
              "Line 5, column 14: Receiving branch code (columns 13-16, 4 digits)");
    EXPECT_EQ(describe(SourceFile::MediaClearing, header, 5, std::string(230, '0'), 225),
              "Line 5, column 225: the line has 230 columns where a detail line has 222; past the last "
              "column of a detail line");
    // A return file's record of a code no layout has.
    EXPECT_EQ(describe(SourceFile::ReturnFile, test::lineWith(265, {{1, "001"}}), 3,
                       test::lineWith(317, {{1, "005"}}), 10),
              "Line 3: no layout of the 100M return file describes this line");
    EXPECT_EQ(describe(SourceFile::ReturnFile, test::lineWith(265, {{1, "001"}}), 3,
                       test::lineWith(317, {{1, "002"}}), 314),
              "Line 3, column 314: Result (column 314, code S|F|V|P)");
}

// English as the layouts give it (and as `qrv layout` prints it); in Thai, a Thai name for every field of
// every layout, every line of a customer's file and every file, kept where the translation tools find it.
TEST(LayoutWords, EveryNameOfEveryLayoutHasItsThai) {
    std::vector<const layout::Field*> fields;
    for (const layout::Layout* l : layout::allLayouts()) {
        for (const layout::Field& f : l->fields) {
            fields.push_back(&f);
        }
    }
    std::vector<std::string_view> names;  // of the lines and the files
    for (const layout::SourceFile kind : layout::sourceFiles()) {
        const layout::SourceLayouts& file = layout::sourceLayouts(kind);
        names.push_back(file.title);
        for (const layout::Layout* l : file.layouts) {
            names.push_back(l->name);
        }
    }
    const std::set<std::string> kept(gui::LayoutTexts().begin(), gui::LayoutTexts().end());
    std::vector<std::pair<QString, QString>> english;  // each field's name and kind
    for (const layout::Field* f : fields) {
        EXPECT_TRUE(kept.count(std::string(f->name))) << f->name;
        english.emplace_back(gui::FieldName(*f), gui::KindWords(*f));
        if (f->kind != layout::Kind::Digits) {  // the core's words give no count of digits
            EXPECT_EQ(english.back().second.toStdString(), layout::kindText(*f));
        }
    }

    gui::InstallLanguage(gui::Language::Thai);
    const QRegularExpression word(QStringLiteral("[a-z]{2,}"));  // product codes aside
    for (size_t i = 0; i < fields.size(); ++i) {
        const QString name = gui::FieldName(*fields[i]);
        const QString kind = gui::KindWords(*fields[i]);
        EXPECT_NE(name, english[i].first) << fields[i]->name;
        EXPECT_FALSE(name.contains(word) || kind.contains(word)) << (name + " / " + kind).toStdString();
    }
    for (const std::string_view name : names) {
        EXPECT_TRUE(kept.count(std::string(name))) << name;
        EXPECT_NE(gui::LayoutName(name), QString::fromUtf8(name)) << name;
        EXPECT_FALSE(gui::LayoutName(name).contains(word)) << name;
    }
    // The words around them put together in Thai order.
    const std::string header = test::lineWith(82, {{1, "101"}});
    EXPECT_EQ(describe(SourceFile::MediaClearing, header, 12, test::lineWith(222, {{1, "102"}}), 14),
              QString::fromUtf8("บรรทัด 12 คอลัมน์ 14: รหัสสาขาผู้รับโอน (คอลัมน์ 13-16, ตัวเลข 4 หลัก)"));
    EXPECT_EQ(describe(SourceFile::MediaClearing, header, 5, std::string(230, '0'), 225),
              QString::fromUtf8("บรรทัด 5 คอลัมน์ 225: บรรทัดนี้มี 230 คอลัมน์ แต่บรรทัดรายการมี 222 คอลัมน์; "
                                "เลยคอลัมน์สุดท้ายของบรรทัดรายการ"));
    gui::InstallLanguage(gui::Language::English);
}

}  // namespace
}  // namespace qrv::test
