#include <xlsxwriter.h>
#include <zip.h>

#include <fstream>

#include "FuzzSeeds.h"
#include "FuzzSupport.h"
#include "base/QrvError.h"

// Workbooks written with libxlsxwriter, as a spreadsheet program saves them (built where the library is:
// not in the Windows build, whose kept seeds in fuzz/seeds/xlsx_sheet stand in).
namespace qrv::fuzz {

namespace {

// นายสมชาย ใจดี, and two names with punctuation.
const char* const kNames[] = {
    ("\xE0\xB8\x99\xE0\xB8\xB2\xE0\xB8\xA2\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA2"
     " \xE0\xB9\x83\xE0\xB8\x88\xE0\xB8\x94\xE0\xB8\xB5"),
    "ACME TRADING CO., LTD.", "B & C \"Supplies\""};

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A payment list: header row, accounts as text, amounts in a currency format, dates as dates and as
// Buddhist-era text, a merged title on a second sheet named "Payees".
void writeBook(const std::filesystem::path& file, bool inlineStrings) {
    lxw_workbook_options options = {};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(file.string().c_str(), &options);
    if (book == nullptr) {
        throw QrvError("Cannot write \"" + file.string() + "\"");
    }
    lxw_format* baht = workbook_add_format(book);
    format_set_num_format(baht, "\"฿\"#,##0.00");
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_worksheet* ws = workbook_add_worksheet(book, "Payroll");
    const char* const headers[] = {"Account No", "Amount", "Payee Name", "Paid on", "Note"};
    for (lxw_col_t c = 0; c < 5; ++c) {
        worksheet_write_string(ws, 0, c, headers[c], nullptr);
    }
    lxw_datetime day = {2026, 1, 15, 0, 0, 0};
    for (lxw_row_t r = 1; r <= 3; ++r) {
        worksheet_write_string(ws, r, 0, r == 2 ? "123-4-56789-6" : "1234567896", nullptr);
        worksheet_write_number(ws, r, 1, 1234.5 * r, baht);
        worksheet_write_string(ws, r, 2, kNames[r - 1], nullptr);
        if (r == 3) {
            worksheet_write_string(ws, r, 3, "15/01/2569", nullptr);
        } else {
            worksheet_write_datetime(ws, r, 3, &day, date);
        }
        worksheet_write_boolean(ws, r, 4, r % 2, nullptr);
    }
    worksheet_write_formula_num(ws, 4, 1, "=SUM(B2:B4)", baht, 7407);
    lxw_worksheet* payees = workbook_add_worksheet(book, "Payees");
    if (!inlineStrings) {
        worksheet_merge_range(payees, 0, 0, 0, 1, "Payee", nullptr);
    }
    worksheet_write_string(payees, 1, 0, kNames[0], nullptr);
    worksheet_write_number(payees, 1, 1, 46037, date);
    if (workbook_close(book) != LXW_NO_ERROR) {
        throw QrvError("Cannot write \"" + file.string() + "\"");
    }
}

// The package again with every part stored, not deflated, so that mutations reach the XML.
void storeUncompressed(const std::filesystem::path& file) {
    int code = 0;
    zip_t* z = zip_open(file.string().c_str(), 0, &code);
    if (z == nullptr) {
        throw QrvError("Cannot open \"" + file.string() + "\"");
    }
    const zip_int64_t count = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
    }
    if (zip_close(z) != 0) {
        zip_discard(z);
        throw QrvError("Cannot write \"" + file.string() + "\"");
    }
}

}  // namespace

void addSheetSeeds(std::vector<Seed>& seeds) {
    Harness& h = harness();
    h.reset();
    for (const bool inlineStrings : {false, true}) {
        const std::string name = inlineStrings ? "payroll-inline" : "payroll";
        const auto file = h.inputs() / (name + ".xlsx");
        writeBook(file, inlineStrings);
        seeds.push_back({"xlsx_sheet", name, fileBytes(file)});
        storeUncompressed(file);
        seeds.push_back({"xlsx_sheet", name + "-stored", fileBytes(file)});
    }
    h.reset();
}

}  // namespace qrv::fuzz
