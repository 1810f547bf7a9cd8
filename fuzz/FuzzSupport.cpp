#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "refdata/ReferenceImport.h"
#include "reports/ReportRunner.h"

namespace qrv::fuzz {

void QuietUi::showReport(const ShownReport& report) {
    (void)RenderReportHtml(report);
}

bool QuietUi::askAccountEntry(AccountEntryDialog& dialog) {
    const std::string& no = accountNo;
    dialog.setText(AccountField::accountPart1, no.substr(0, 3));
    dialog.setText(AccountField::accountPart2, no.size() > 3 ? no.substr(3, 1) : "");
    dialog.setText(AccountField::accountPart3, no.size() > 4 ? no.substr(4, 5) : "");
    dialog.setText(AccountField::accountPart4, no.size() > 9 ? no.substr(9) : "");
    dialog.setText(AccountField::accountName, accountName);
    if (dialog.confirm(*this)) {
        return true;
    }
    dialog.exit();
    return false;
}

namespace {

std::filesystem::path makeRoot() {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("qrv-fuzz-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "Data");
    std::filesystem::create_directories(root / "in");
    for (const auto& e : std::filesystem::directory_iterator(QRV_SOURCE_DATA)) {
        if (e.path().extension() != ".sqlite") {
            std::filesystem::copy_file(e.path(), root / "Data" / e.path().filename());
        }
    }
    return root;
}

std::filesystem::path g_root;

void removeRoot() {
    std::error_code ec;
    std::filesystem::remove_all(g_root, ec);
}

}  // namespace

Harness::Harness() : root_(makeRoot()), data_(root_ / "Data"), inputs_(root_ / "in"), store_(data_) {
    g_root = root_;
    std::atexit(removeRoot);
    if (store_.open()) {
        SeedReferenceData(store_, data_);
    }
}

void Harness::reset() {
    for (const auto& e : std::filesystem::directory_iterator(inputs_)) {
        std::filesystem::remove_all(e.path());
    }
}

std::filesystem::path Harness::folder(const std::string& name) const {
    const std::filesystem::path folder = root_ / name;
    std::filesystem::create_directories(folder);
    return folder;
}

std::filesystem::path Harness::put(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path file = inputs_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

Harness& harness() {
    static Harness h;
    return h;
}

Bench::Bench(Harness& h) : wb(ui, h.store(), clock, AppPaths{h.data(), QRV_SOURCE_REPORTS}) {}

std::string_view asView(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

void finding(const std::string& what) {
    std::fprintf(stderr, "fuzz finding: %s\n", what.c_str());
    std::abort();
}

uint8_t takeOption(const uint8_t*& data, size_t& size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t b = data[0];
    ++data;
    --size;
    return b;
}

std::string joinParts(std::initializer_list<std::string_view> parts) {
    std::string joined;
    for (const std::string_view& part : parts) {
        if (&part != parts.begin()) {
            joined += kPartSeparator;
        }
        joined += part;
    }
    return joined;
}

std::vector<std::string_view> splitParts(const uint8_t* data, size_t size, size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const size_t at = rest.find(kPartSeparator);
        if (at == std::string_view::npos) {
            break;
        }
        parts.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kPartSeparator.size());
    }
    parts.push_back(rest);
    parts.resize(count);
    return parts;
}

}  // namespace qrv::fuzz
