#include <gtest/gtest.h>

#include "base/Cp874.h"
#include "base/Money.h"
#include "base/QrvError.h"
#include "io/LineReader.h"
#include "io/WorkFile.h"
#include "store/Settings.h"
#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::vector<std::string> readLines(const std::filesystem::path& file) {
    LineReader reader(file);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

TEST(LineReader, SplitsAtCrLfLfAndCr) {
    TempDir dir;
    writeFile(dir / "a.txt", "one\r\ntwo\nthree\rfour\r\n\r\nlast");
    EXPECT_EQ(readLines(dir / "a.txt"),
              (std::vector<std::string>{"one", "two", "three", "four", "", "last"}));
    writeFile(dir / "b.txt", "");
    EXPECT_TRUE(readLines(dir / "b.txt").empty());
    writeFile(dir / "c.txt", "\r\n");
    EXPECT_EQ(readLines(dir / "c.txt"), std::vector<std::string>{""});
}

TEST(LineReader, HandlesLinesAcrossBlocksAndACrAtABlockEnd) {
    TempDir dir;
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 5000; ++i) {
        std::string line(static_cast<size_t>(i % 97), static_cast<char>('a' + i % 26));
        if (i % 7 == 0 && !line.empty()) {
            line.back() = '\xE0';  // a byte for lineHolds() to find, rare as a Thai letter is
        }
        expected.push_back(line);
        text += line + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    }
    expected.push_back(std::string(200000, 'x'));  // longer than a block
    text += expected.back();
    writeFile(dir / "big.txt", text);
    EXPECT_EQ(readLines(dir / "big.txt"), expected);
    LineReader reader(dir / "big.txt");
    std::string_view line;
    for (const std::string& want : expected) {
        ASSERT_TRUE(reader.next(line));
        ASSERT_EQ(reader.lineHolds('\xE0'), want.find('\xE0') != std::string::npos) << reader.lineNumber();
    }

    // A CR LF split exactly at the 64 KiB block boundary is one line end.
    std::string split(65535, 'y');
    split += "\r\nz";
    writeFile(dir / "split.txt", split);
    EXPECT_EQ(readLines(dir / "split.txt"), (std::vector<std::string>{std::string(65535, 'y'), "z"}));
}

TEST(LineReader, MissingFileIsAnErrorNamingIt) {
    TempDir dir;
    try {
        LineReader reader(dir / "nope.txt");
        FAIL();
    } catch (const QrvError& e) {
        EXPECT_NE(std::string(e.what()).find("nope.txt"), std::string::npos);
    }
}

TEST(Money, ParsesAndFormatsExactly) {
    EXPECT_EQ(Money::fromImpliedDecimals("00000012345", 2)->units(), 1234500);
    EXPECT_FALSE(Money::fromImpliedDecimals(" 0000012345", 2));
    EXPECT_FALSE(Money::fromImpliedDecimals("-1", 2));
    EXPECT_FALSE(Money::fromImpliedDecimals("", 2));
    EXPECT_EQ(Money::fromDecimalText("37.5")->toPlainText(), "37.5");
    EXPECT_EQ(Money::fromDecimalText("1500")->toPlainText(), "1500");
    EXPECT_EQ(Money::fromDecimalText("0")->toPlainText(), "0");
    EXPECT_EQ(Money::fromDecimalText("-0.01")->toText2(), "-0.01");
    EXPECT_FALSE(Money::fromDecimalText("1,5"));
    EXPECT_FALSE(Money::fromDecimalText("abc"));
    // A fraction that starts with 0 keeps its zero.
    const Money twoOhFive = *Money::fromDecimalText("2.05");
    EXPECT_EQ(twoOhFive.toPlainText(), "2.05");
    EXPECT_EQ(twoOhFive.toText2(), "2.05");
    EXPECT_EQ(twoOhFive.toAmountField(), "0000000000002050");
    EXPECT_EQ(Money::fromImpliedDecimals("205", 2), twoOhFive);
    EXPECT_EQ(Money::fromUnits(20005).toPlainText(), "2.0005");
    EXPECT_EQ(Money::fromUnits(-5).toPlainText(), "-0.0005");
    // More than four decimals: exact when the rest is zeros, refused when it would be cut.
    EXPECT_EQ(Money::fromDecimalText("2.05000000"), twoOhFive);
    EXPECT_EQ(Money::fromImpliedDecimals("20500000", 7), twoOhFive);
    EXPECT_FALSE(Money::fromDecimalText("2.05001"));
    EXPECT_FALSE(Money::fromImpliedDecimals("205001", 5));
    EXPECT_FALSE(Money::fromDecimalText("1.000000001"));
}

TEST(Money, OverflowIsAnErrorNotAWrongTotal) {
    const Money big = Money::fromUnits(INT64_MAX - 5);
    EXPECT_THROW(big.plus(Money::fromUnits(10), "line 7"), QrvError);
    EXPECT_EQ(Money::fromUnits(5).plus(Money::fromUnits(7), "x").units(), 12);
}

TEST(Cp874, ConvertsBothWaysAndReplacesUndefinedBytes) {
    EXPECT_EQ(cp874::toUtf8("\xA1\xD2\xC3 abc"), "การ abc");
    EXPECT_EQ(cp874::toUtf8("a\x81z\xFF"), "a\xEF\xBF\xBDz\xEF\xBF\xBD");
    EXPECT_EQ(cp874::fromUtf8("การ abc"), std::optional<std::string>("\xA1\xD2\xC3 abc"));
    EXPECT_FALSE(cp874::fromUtf8("日本"));
    EXPECT_FALSE(cp874::fromUtf8("\xC3("));
    EXPECT_EQ(cp874::sanitizeUtf8("ok\xFFok"), "ok\xEF\xBF\xBDok");
}

TEST(Settings, NamesMatchRegardlessOfCaseAndTheFirstKeyWins) {
    const Settings s = Settings::parse("[reformat]\n  dcp =  false  \nDCP=TRUE\n[Other]\nx=1\n");
    EXPECT_EQ(s.get("ReFormat", "DCP", "Error"), "false");
    EXPECT_EQ(s.get("ReFormat", "MCL", "Error"), "Error");
    EXPECT_EQ(s.get("OTHER", "X", ""), "1");
    TempDir dir;
    EXPECT_EQ(Settings::load(dir / "missing.ini").get("a", "b", "dflt"), "dflt");
}

TEST(AtomicFile, ReplacesOnlyWhenCommitted) {
    TempDir dir;
    writeFile(dir / "up.txt", "earlier");
    {
        AtomicFile f(dir / "up.txt");
        f.writer().write("half");
        // no commit: as when a run stops
    }
    EXPECT_EQ(readFile(dir / "up.txt"), "earlier");
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"up.txt"});
    {
        AtomicFile f(dir / "up.txt");
        f.writer().writeLine("new");
        f.commit();
    }
    EXPECT_EQ(readFile(dir / "up.txt"), "new\r\n");
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"up.txt"});
}

TEST(AtomicFile, AFailedWriteLeavesTheEarlierFile) {
    TempDir dir;
    writeFile(dir / "up.txt", "earlier");
    EXPECT_THROW(
        {
            AtomicFile f(dir / "up.txt");
            f.writer().write("partial");
            throw QrvError("disk full");
        },
        QrvError);
    EXPECT_EQ(readFile(dir / "up.txt"), "earlier");
    EXPECT_EQ(test::listFolder(dir.path()).size(), 1u);
}

TEST(WorkFile, IsUniqueNeverReplacesAndIsRemoved) {
    TempDir dir;
    writeFile(dir / "pay.txtTemp", "someone else's");
    std::filesystem::path first;
    {
        WorkFile a = workFileFor(dir / "pay.txt", "Temp");
        WorkFile b = workFileFor(dir / "pay.txt", "Temp");
        EXPECT_NE(a.path(), b.path());
        a.writer().write("x");
        first = a.path();
        EXPECT_TRUE(std::filesystem::exists(first));
    }
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"pay.txtTemp"});
    EXPECT_EQ(readFile(dir / "pay.txtTemp"), "someone else's");
}

TEST(FileWriter, AppendExistingRefusesAMissingFile) {
    TempDir dir;
    EXPECT_THROW(FileWriter(dir / "missing.txt", FileWriter::Mode::AppendExisting), QrvError);
}

}  // namespace
}  // namespace qrv
