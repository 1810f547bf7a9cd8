#include <gtest/gtest.h>
#include <zip.h>

#include <random>
#include <string>

#include "io/WorkFile.h"
#include "support/TestSupport.h"
#include "upload/ZipOutputs.h"

namespace qrv {
namespace {

using test::readFile;
using test::writeFile;

// The archive the library itself makes of `file`, deflated at level 1: what a packer must match.
std::string libraryArchiveOf(const std::filesystem::path& file, const std::string& entry,
                             const std::filesystem::path& archive) {
    int code = 0;
    zip_t* z = zip_open(archive.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    EXPECT_NE(z, nullptr);
    zip_source_t* source = zip_source_file(z, file.string().c_str(), 0, -1);
    const zip_int64_t index = zip_file_add(z, entry.c_str(), source, ZIP_FL_ENC_GUESS);
    EXPECT_GE(index, 0);
    EXPECT_EQ(zip_set_file_compression(z, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1), 0);
    EXPECT_EQ(zip_close(z), 0);
    return readFile(archive);
}

// Fixed-width records with varied digits and names: several deflate blocks, matches near and far.
std::string uploadLike(size_t lines) {
    std::mt19937 random(7);
    std::string text = "0123456789ABCDEF0123456789ABCDEF01234567\r\n";
    for (size_t i = 0; i < lines; ++i) {
        std::string line = "003" + std::to_string(random() % 100000000) + std::string(random() % 40, ' ');
        line += "PAYEE " + std::to_string(random() % 977);
        line.resize(120, ' ');
        text += line + "\r\n";
    }
    return text;
}

TEST(ArchivePacker, AMultiBlockUploadPacksAsTheLibraryPacksTheFileHoweverItIsHandedOver) {
    test::TempDir dir;
    const auto upload = dir.path() / "pay.txt";
    const std::string bytes = uploadLike(60000);  // 7 MB
    writeFile(upload, bytes);
    const std::string expected = libraryArchiveOf(upload, "pay.txt", dir.path() / "reference.zip");
    ASSERT_GT(expected.size(), 100000u);

    // Whole blocks, as the archive of a finished file is packed.
    const auto archive = dir.path() / "day.zip";
    std::optional<AtomicFile> packed = PackArchive(archive, upload, "pay.txt");
    ASSERT_TRUE(packed);
    packed->commit();
    EXPECT_EQ(readFile(archive), expected);

    // Uneven pieces, as a writer hands them over; the earlier archive is replaced.
    ArchivePacker packer(archive, upload, "pay.txt", bytes.size());
    size_t at = 0;
    for (size_t piece = 1; at < bytes.size(); piece = piece * 7 % 300007 + 1) {
        const size_t n = std::min(piece, bytes.size() - at);
        packer.add(std::string_view(bytes).substr(at, n));
        at += n;
    }
    packer.finish().commit();
    EXPECT_EQ(readFile(archive), expected);
    EXPECT_EQ(test::listFolder(dir.path()),
              (std::vector<std::string>{"day.zip", "pay.txt", "reference.zip"}));
}

TEST(ArchivePacker, AbandonedHalfWayLeavesNoWorkFileAndTheEarlierArchive) {
    test::TempDir dir;
    const auto upload = dir.path() / "pay.txt";
    writeFile(upload, "first");
    test::packArchive(dir.path() / "day.zip", upload);
    const std::string before = readFile(dir.path() / "day.zip");
    {
        ArchivePacker packer(dir.path() / "day.zip", upload, "pay.txt", 3u << 20);
        packer.add(std::string(1u << 20, 'x'));  // more than one chunk: the packer has begun
    }
    EXPECT_EQ(readFile(dir.path() / "day.zip"), before);
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"day.zip", "pay.txt"}));
}

}  // namespace
}  // namespace qrv
