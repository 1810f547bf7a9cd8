#include "store/Settings.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace qrv {
namespace {

using test::TempDir;

TEST(Settings, NamesMatchRegardlessOfCaseAndTheFirstKeyWins) {
    const Settings s = Settings::parse("[reformat]\n  dcp =  false  \nDCP=TRUE\n[Other]\nx=1\n");
    EXPECT_EQ(s.get("ReFormat", "DCP", "Error"), "false");
    EXPECT_EQ(s.get("ReFormat", "MCL", "Error"), "Error");
    EXPECT_EQ(s.get("OTHER", "X", ""), "1");
    TempDir dir;
    EXPECT_EQ(Settings::load(dir / "missing.ini").get("a", "b", "dflt"), "dflt");
}

}  // namespace
}  // namespace qrv
