#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "base/QrvError.h"
#include "io/Platform.h"
#include "refdata/ReferenceImport.h"
#include "support/UploadCheck.h"
#include "upload/ZipOutputs.h"

namespace qrv::test {

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        path_ = std::filesystem::temp_directory_path() /
                ("qrv-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
        if (std::filesystem::create_directory(path_)) {
            break;
        }
    }
}

TempDir::~TempDir() {
    // Every upload file the test wrote is checked before its folder goes.
    try {
        for (const std::string& fault : uploadFaultsIn(path_)) {
            ADD_FAILURE() << "upload file " << fault;
        }
    } catch (const std::exception& e) {
        ADD_FAILURE() << "an upload file could not be checked: " << e.what();
    }
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ec);
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::filesystem::path& file) {
    // Through the platform layer, which reads paths past Windows' classic limit; unreadable reads as empty.
    std::string bytes;
    try {
        platform::readBlocks(file, 64 * 1024, [&bytes](std::string_view block) { bytes += block; });
    } catch (const QrvError&) {
        return {};
    }
    return bytes;
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) {
        s += l + "\r\n";
    }
    return s;
}

std::string lineWith(int length, std::initializer_list<std::pair<int, std::string>> texts) {
    std::string line(static_cast<size_t>(length), ' ');
    for (const auto& [column, text] : texts) {
        line.replace(static_cast<size_t>(column - 1), text.size(), text);
    }
    return line;
}

std::vector<std::string> listFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void packArchive(const std::filesystem::path& archive, const std::filesystem::path& upload) {
    if (std::optional<AtomicFile> packed = PackArchive(archive, upload, upload.filename().string())) {
        packed->commit();
    }
}

std::vector<ZipEntry> readZip(const std::filesystem::path& archive) {
    int error = 0;
    zip_t* z = zip_open(platform::libraryFileName(archive).c_str(), ZIP_RDONLY, &error);
    EXPECT_NE(z, nullptr) << archive;
    std::vector<ZipEntry> entries;
    if (z == nullptr) {
        return entries;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        std::string content(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        zip_fread(f, content.data(), st.size);
        zip_fclose(f);
        entries.push_back({st.name, st.comp_method, content});
    }
    zip_discard(z);
    return entries;
}

namespace {

std::filesystem::path prepareDataFolder(const TempDir& dir, const std::string& defaultIni) {
    const std::filesystem::path data = dir / "Data";
    std::filesystem::create_directories(data);
    for (const auto& e : std::filesystem::directory_iterator(QRV_SOURCE_DATA)) {
        std::filesystem::copy_file(e.path(), data / e.path().filename());
    }
    if (!defaultIni.empty()) {
        writeFile(data / "Default.ini", defaultIni);
    }
    return data;
}

}  // namespace

TestData::TestData(Date today, const std::string& defaultIni)
    : data(prepareDataFolder(dir, defaultIni)), out(dir / "out"), clock(today), store(data) {
    std::filesystem::create_directories(out);
    if (store.open()) {
        SeedReferenceData(store, data);
    }
}

OperationFixture::OperationFixture(Date today, const std::string& defaultIni)
    : TestData(today, defaultIni), reports(QRV_SOURCE_REPORTS) {}

void OperationFixture::loadSettings() {
    settings = DefaultSettings::load(data);
}

ReformatResult OperationFixture::reformat(const ReformatRequest& request) {
    Services run = services();
    last = qrv::reformat(request, run);
    return last;
}

}  // namespace qrv::test
