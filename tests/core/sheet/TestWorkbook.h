#pragma once

#include <xlsxwriter.h>

#include <filesystem>
#include <stdexcept>
#include <string>

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

}  // namespace qrv::test
