#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

struct zip;
struct zip_file;

namespace qrv {

// The ZIP package of an XLSX workbook, read with libzip. A part is read as a stream of inflated bytes,
// counted against a bound, so that a small package that inflates to gigabytes (a zip bomb) is refused
// instead of read.
class XlsxPackage {
  public:
    // Throws SheetError when the file is not a ZIP package.
    explicit XlsxPackage(const std::filesystem::path& file);
    XlsxPackage(const XlsxPackage&) = delete;
    XlsxPackage& operator=(const XlsxPackage&) = delete;
    ~XlsxPackage();

    // Part names match regardless of case, as in the package format, and a "\\" in an entry's name (as
    // some Windows tools write them) is a "/".
    bool has(const std::string& part) const;

    class Part {
      public:
        Part(const Part&) = delete;
        Part& operator=(const Part&) = delete;
        ~Part();
        // Up to `size` more bytes; 0 at the end. Throws SheetError when the part inflates beyond its
        // bound or is damaged.
        size_t read(char* into, size_t size);

      private:
        friend class XlsxPackage;
        Part(zip_file* file, std::string name, std::uint64_t maxBytes);
        zip_file* file_;
        std::string name_;
        std::uint64_t maxBytes_;
        std::uint64_t read_ = 0;
    };

    // Throws SheetError when the part is missing or declares more than `maxBytes` inflated bytes.
    std::unique_ptr<Part> open(const std::string& part, std::uint64_t maxBytes) const;

  private:
    // The entry of a part name; -1 when there is none.
    std::int64_t locate(const std::string& part) const;

    zip* zip_ = nullptr;
    std::map<std::string, std::uint64_t> entries_;  // part names as compared, and their entry
};

// `target` of a relationship of the part in `folder` ("xl/"), as a part name: "worksheets/sheet1.xml" ->
// "xl/worksheets/sheet1.xml", "/xl/styles.xml" -> "xl/styles.xml", ".." steps resolved.
std::string resolvePartName(std::string_view folder, std::string_view target);

}  // namespace qrv
