// Reading a customer's spreadsheet at scale (not a test):
//   sheet-bench write FILE.xlsx|FILE.csv ROWS [inline]   a Direct Credit sheet (account, amount, Thai name,
//                                              date); "inline": text in the cells, not in shared strings
//   sheet-bench read FILE                      every row read and every cell value read into its field
//   sheet-bench first-row FILE                 the first row's cells, separated by tabs (tools/sheet-corpus
//                                              makes a mapping of them); the reader's refusal, exit 1
// The read prints the rows, the faults and the seconds; bench/sheet-bench runs both under /usr/bin/time.
#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "sheet/CellReading.h"
#include "sheet/Sheet.h"

namespace {

// A Thai payee name that differs on every row, so that the shared strings grow with the sheet.
std::string payee(long row) {
    return "\xE0\xB8\x99\xE0\xB8\xB2\xE0\xB8\xA2\xE0\xB8\xAA\xE0\xB8\xA1\xE0\xB8\x8A\xE0\xB8\xB2\xE0\xB8\xA2"
           " " +
           std::to_string(row);  // นายสมชาย n
}

int write(const std::string& file, long rows, bool inlineStrings) {
    if (file.size() > 4 && file.substr(file.size() - 4) == ".csv") {
        std::ofstream out(file, std::ios::binary);
        out << "\xEF\xBB\xBF"
               "Account,Amount,Name,Paid on\r\n";
        for (long r = 1; r <= rows; ++r) {
            out << "123-4-56789-6,\"" << r % 1000 << "," << 100 + r % 900 << "." << r % 100 << "\","
                << payee(r) << ",15/01/2642\r\n";
        }
        return out ? 0 : 1;
    }
    lxw_workbook_options options = {};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(file.c_str(), &options);
    lxw_worksheet* ws = workbook_add_worksheet(book, "Payroll");
    lxw_format* baht = workbook_add_format(book);
    format_set_num_format(baht, "#,##0.00");
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    worksheet_write_string(ws, 0, 0, "Account", nullptr);
    worksheet_write_string(ws, 0, 1, "Amount", nullptr);
    worksheet_write_string(ws, 0, 2, "Name", nullptr);
    worksheet_write_string(ws, 0, 3, "Paid on", nullptr);
    lxw_datetime day = {2099, 1, 15, 0, 0, 0};  // a day no run reaches: dates must be today or later
    for (long r = 1; r <= rows; ++r) {
        const auto row = static_cast<lxw_row_t>(r);
        worksheet_write_string(ws, row, 0, "123-4-56789-6", nullptr);
        worksheet_write_number(ws, row, 1, static_cast<double>(r % 1000000) / 100, baht);
        worksheet_write_string(ws, row, 2, payee(r).c_str(), nullptr);
        worksheet_write_datetime(ws, row, 3, &day, date);
    }
    return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}

int read(const std::string& file) {
    const auto start = std::chrono::steady_clock::now();
    auto sheet = qrv::openSheet(file);
    qrv::SheetRow row;
    sheet->next(row);  // the header
    long rows = 0;
    long faults = 0;
    const qrv::ReadingRules rules{qrv::DateOrder::DMY, qrv::YearEra::BE};
    while (sheet->next(row)) {
        ++rows;
        faults += !qrv::readAccount(row.cell(0), 10);
        faults += !qrv::readAmount(row.cell(1), 2);
        faults += !qrv::readText(row.cell(2), 60);
        faults += !qrv::readDate(row.cell(3), rules);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %ld rows, %ld faults, %.3f s\n", sheet->description().c_str(), rows, faults, seconds);
    return 0;
}

}  // namespace

int firstRow(const std::string& file) {
    try {
        const qrv::SheetStart start = qrv::readSheetStart(file, {}, 1);
        if (!start.rows.empty()) {
            const qrv::SheetRow& row = start.rows.front();
            for (size_t i = 0; i < row.cells.size(); ++i) {
                std::printf("%s%s", i == 0 ? "" : "\t", row.cells[i].text.c_str());
            }
        }
        std::printf("\n");
        return 0;
    } catch (const qrv::SheetError& e) {
        std::printf("%s\n", e.what());
        return 1;
    }
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "first-row") == 0) {
        return firstRow(argv[2]);
    }
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "write") == 0) {
        return write(argv[2], std::stol(argv[3]), argc == 5 && std::strcmp(argv[4], "inline") == 0);
    }
    if (argc == 3 && std::strcmp(argv[1], "read") == 0) {
        return read(argv[2]);
    }
    std::fprintf(stderr, "usage: sheet-bench write FILE ROWS [inline] | sheet-bench read FILE | sheet-bench first-row FILE\n");
    return 2;
}
