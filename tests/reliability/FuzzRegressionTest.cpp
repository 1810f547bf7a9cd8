#include <gtest/gtest.h>

#include "FuzzTargets.h"
#include "support/TestSupport.h"

// Every input the fuzz targets found a fault with, replayed through the same target function: a fault
// that comes back crashes, hangs or trips a sanitizer here.
namespace qrv {
namespace {

const std::filesystem::path kRegressions =
    std::filesystem::path(QRV_SOURCE_DATA).parent_path().parent_path() / "tests" / "regressions";

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

}  // namespace
}  // namespace qrv
