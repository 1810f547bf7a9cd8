#include "sheet/XlsxPackage.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "io/Platform.h"
#include "sheet/SheetRow.h"

namespace qrv {
namespace {

std::string comparedName(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        c = c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

XlsxPackage::XlsxPackage(const std::filesystem::path& file) {
    int code = 0;
    zip_ = zip_open(platform::libraryFileName(file).c_str(), ZIP_RDONLY, &code);
    if (zip_ == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw SheetError("\"" + file.string() + "\" is not a workbook that can be read (" + text + ")");
    }
    const zip_int64_t count = zip_get_num_entries(zip_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(zip_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW)) {
            entries_.emplace(comparedName(name), static_cast<std::uint64_t>(i));  // the first of a name
        }
    }
}

XlsxPackage::~XlsxPackage() {
    zip_discard(zip_);
}

std::int64_t XlsxPackage::locate(const std::string& part) const {
    const auto entry = entries_.find(comparedName(part));
    return entry == entries_.end() ? -1 : static_cast<std::int64_t>(entry->second);
}

bool XlsxPackage::has(const std::string& part) const {
    return locate(part) >= 0;
}

std::unique_ptr<XlsxPackage::Part> XlsxPackage::open(const std::string& part, std::uint64_t maxBytes) const {
    const std::int64_t index = locate(part);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
        throw SheetError("The workbook lacks its part \"" + part + "\"");
    }
    if ((stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > maxBytes) {
        throw SheetError("The workbook's part \"" + part + "\" inflates to " + std::to_string(stat.size) +
                         " bytes, more than the " + std::to_string(maxBytes) + " this program reads");
    }
    zip_file_t* file = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) {
        throw SheetError("The workbook's part \"" + part + "\" cannot be read (" + zip_strerror(zip_) + ")");
    }
    return std::unique_ptr<Part>(new Part(file, part, maxBytes));
}

XlsxPackage::Part::Part(zip_file* file, std::string name, std::uint64_t maxBytes)
    : file_(file), name_(std::move(name)), maxBytes_(maxBytes) {}

XlsxPackage::Part::~Part() {
    zip_fclose(file_);
}

size_t XlsxPackage::Part::read(char* into, size_t size) {
    const zip_int64_t n = zip_fread(file_, into, size);
    if (n < 0) {
        throw SheetError("The workbook's part \"" + name_ + "\" is damaged (" +
                         zip_error_strerror(zip_file_get_error(file_)) + ")");
    }
    // The size in the package's directory may lie: the bytes themselves are counted.
    read_ += static_cast<std::uint64_t>(n);
    if (read_ > maxBytes_) {
        throw SheetError("The workbook's part \"" + name_ + "\" inflates to more than the " +
                         std::to_string(maxBytes_) + " bytes this program reads");
    }
    return static_cast<size_t>(n);
}

std::string resolvePartName(std::string_view folder, std::string_view target) {
    std::string path = !target.empty() && target.front() == '/' ? std::string(target.substr(1))
                                                                : std::string(folder) + std::string(target);
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t slash = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, slash - start);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string name;
    for (const std::string& s : segments) {
        name += (name.empty() ? "" : "/") + s;
    }
    return name;
}

}  // namespace qrv
