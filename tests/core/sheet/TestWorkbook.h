#pragma once

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qrv::test {

// A workbook written with libxlsxwriter, as a spreadsheet program saves one. `inlineStrings` writes
// text into the cells themselves instead of the shared strings (the library's constant-memory mode).
class TestWorkbook {
  public:
    explicit TestWorkbook(const std::filesystem::path& file, bool inlineStrings = false) : file_(file) {
        lxw_workbook_options options = {};
        options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
        book_ = workbook_new_opt(file.string().c_str(), &options);
        if (book_ == nullptr) {
            throw std::runtime_error("cannot create " + file.string());
        }
    }
    TestWorkbook(const TestWorkbook&) = delete;
    TestWorkbook& operator=(const TestWorkbook&) = delete;
    ~TestWorkbook() {
        if (book_ != nullptr) {
            workbook_close(book_);
        }
    }

    lxw_workbook* raw() { return book_; }
    lxw_worksheet* sheet(const char* name = nullptr) { return workbook_add_worksheet(book_, name); }
    lxw_format* format(const char* numberFormat) {
        lxw_format* f = workbook_add_format(book_);
        format_set_num_format(f, numberFormat);
        return f;
    }
    // Writes the file.
    const std::filesystem::path& close() {
        if (workbook_close(book_) != LXW_NO_ERROR) {
            book_ = nullptr;
            throw std::runtime_error("cannot write " + file_.string());
        }
        book_ = nullptr;
        return file_;
    }

  private:
    std::filesystem::path file_;
    lxw_workbook* book_ = nullptr;
};

// A workbook that a spreadsheet program made, with one part's XML changed as another program (or an
// attacker) would write it.
inline void replacePart(const std::filesystem::path& file, const char* part,
                        const std::function<std::string(const std::string&)>& change) {
    int code = 0;
    zip_t* z = zip_open(file.string().c_str(), 0, &code);
    ASSERT_NE(z, nullptr);
    zip_file_t* f = zip_fopen(z, part, 0);
    ASSERT_NE(f, nullptr);
    std::string xml;
    char block[4096];
    for (zip_int64_t n; (n = zip_fread(f, block, sizeof block)) > 0;) {
        xml.append(block, static_cast<size_t>(n));
    }
    zip_fclose(f);
    const std::string changed = change(xml);  // libzip reads it when the archive is closed, below
    zip_source_t* source = zip_source_buffer(z, changed.data(), changed.size(), 0);
    ASSERT_GE(zip_file_add(z, part, source, ZIP_FL_OVERWRITE), 0);
    ASSERT_EQ(zip_close(z), 0);
}

// A workbook written by the library whose first sheet is then replaced by `sheetData` (inside
// <sheetData>).
inline std::filesystem::path workbookWithSheetData(const std::filesystem::path& file,
                                                   const std::string& sheetData) {
    {
        TestWorkbook book(file);
        worksheet_write_string(book.sheet(nullptr), 0, 0, "Name", nullptr);
        book.close();
    }
    replacePart(file, "xl/worksheets/sheet1.xml", [&sheetData](const std::string&) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet "
               "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
               sheetData + "</sheetData></worksheet>";
    });
    return file;
}

// A ZIP package of the given entries, as other programs write them.
inline void writeZip(const std::filesystem::path& file,
                     const std::vector<std::pair<std::string, std::string>>& entries) {
    int code = 0;
    zip_t* z = zip_open(file.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
        ASSERT_GE(zip_file_add(z, name.c_str(), source, ZIP_FL_ENC_RAW), 0);
    }
    ASSERT_EQ(zip_close(z), 0);
}

}  // namespace qrv::test
