#include <gtest/gtest.h>

#include <set>

#include "FuzzSeeds.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "support/TestSupport.h"

// Every input the fuzz targets found a fault with, replayed through the same target function: a fault
// that comes back crashes, hangs or trips a sanitizer here.
namespace qrv {
namespace {

const std::filesystem::path kSourceTree = std::filesystem::path(QRV_SOURCE_DATA).parent_path().parent_path();
const std::filesystem::path kRegressions = kSourceTree / "tests" / "regressions";

TEST(FuzzRegressions, EveryFolderNamesATarget) {
    if (!std::filesystem::is_directory(kRegressions)) {
        GTEST_SKIP() << "no saved inputs";
    }
    for (const auto& e : std::filesystem::directory_iterator(kRegressions)) {
        EXPECT_NE(fuzz::findTarget(e.path().filename().string()), nullptr) << e.path();
    }
}

TEST(FuzzRegressions, SavedInputsRunCleanly) {
    int replayed = 0;
    for (const fuzz::Target& target : fuzz::targets()) {
        const auto folder = kRegressions / target.name;
        if (!std::filesystem::is_directory(folder)) {
            continue;
        }
        for (const std::string& name : test::listFolder(folder)) {
            SCOPED_TRACE(std::string(target.name) + "/" + name);
            const std::string bytes = test::readFile(folder / name);
            target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    RecordProperty("replayed", replayed);
}

// Every target starts from seeds, kept (fuzz/seeds/<target>) or made from the examples, layouts and
// default files; every made seed is for a target that exists.
TEST(FuzzSeeds, EveryTargetHasSeedsAndEverySeedATarget) {
    std::set<std::string> seeded;
    for (const fuzz::Seed& seed : fuzz::madeSeeds()) {
        EXPECT_NE(fuzz::findTarget(seed.target), nullptr) << seed.target << "/" << seed.name;
        seeded.insert(seed.target);
    }
    for (const fuzz::Target& target : fuzz::targets()) {
        const auto kept = kSourceTree / "fuzz" / "seeds" / target.name;
        EXPECT_TRUE(seeded.count(target.name) > 0 ||
                    (std::filesystem::is_directory(kept) && !test::listFolder(kept).empty()))
            << target.name;
    }
}

// The files of a seed of several come apart as they were put together: the first is not empty.
TEST(FuzzSeeds, PartsSplitAsJoined) {
    const std::string joined = fuzz::joinParts({"map", "", "sheet"});
    const auto parts = fuzz::splitParts(reinterpret_cast<const uint8_t*>(joined.data()), joined.size(), 3);
    EXPECT_EQ(parts, (std::vector<std::string_view>{"map", "", "sheet"}));
}

}  // namespace
}  // namespace qrv
