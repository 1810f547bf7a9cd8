#include "convert/ExampleSheets.h"

#include <xlsxwriter.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "base/QrvError.h"
#include "io/WorkFile.h"

namespace qrv {
namespace {

struct Entry {
    std::string account;  // as people type it, with dashes
    double amount;
    std::string payee;  // UTF-8
};

// The entries of direct-credit.txt.
const std::vector<Entry>& entries() {
    static const std::vector<Entry> list = {{"123-4-56789-6", 1500.00, "สมชาย ใจดี"},
                                            {"111-1-11111-4", 250.50, "JOHN SMITH"},
                                            {"222-2-22222-8", 1000.00, "มานี มีนา"},
                                            {"987-6-54321-4", 123.45, "ACME SUPPLIES LTD"}};
    return list;
}

const char* const kHeaders[] = {"Account No.", "Amount (Baht)", "Payee", "Pay Date"};

std::string two(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// 15/12/2569: day, month and the Buddhist-era year, as a Thai clerk types a date.
std::string buddhistDate(const Date& d) {
    return two(d.day) + "/" + two(d.month) + "/" + std::to_string(d.year + 543);
}

std::string amountText(double amount) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", amount);
    std::string text = buf;
    for (int i = static_cast<int>(text.find('.')) - 3; i > 0; i -= 3) {
        text.insert(static_cast<size_t>(i), ",");
    }
    return text;
}

std::string csvField(const std::string& text) {
    return text.find_first_of(",\"") == std::string::npos ? text : "\"" + text + "\"";
}

// UTF-8 with a byte-order mark, so that a spreadsheet program shows the Thai names; amounts as text
// with thousands separators.
std::string csv(const Date& due) {
    std::string text = "\xEF\xBB\xBF";
    for (const char* h : kHeaders) {
        text += std::string(h == kHeaders[0] ? "" : ",") + h;
    }
    text += "\r\n";
    for (const Entry& e : entries()) {
        text += e.account + "," + csvField(amountText(e.amount)) + "," + csvField(e.payee) + "," +
                buddhistDate(due) + "\r\n";
    }
    return text;
}

// A workbook made by the spreadsheet library in a work file, as bytes.
std::string workbook(const std::function<void(lxw_workbook*, lxw_worksheet*)>& fill) {
    WorkFile work(std::filesystem::temp_directory_path(), "example-sheet");
    work.close();
    lxw_workbook* book = workbook_new(work.path().string().c_str());
    if (book == nullptr) {
        throw QrvError("Cannot make the example workbook in \"" + work.path().string() + "\"");
    }
    fill(book, workbook_add_worksheet(book, "Payments"));
    if (workbook_close(book) != LXW_NO_ERROR) {
        throw QrvError("Cannot write the example workbook \"" + work.path().string() + "\"");
    }
    std::ifstream in(work.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Formats {
    lxw_format* bold;
    lxw_format* baht;
    lxw_format* date;
};

Formats formatsOf(lxw_workbook* book, lxw_worksheet* sheet) {
    Formats f{workbook_add_format(book), workbook_add_format(book), workbook_add_format(book)};
    format_set_bold(f.bold);
    format_set_num_format(f.baht, "#,##0.00");
    format_set_num_format(f.date, "dd/mm/yyyy");
    for (lxw_col_t c = 0; c < 4; ++c) {
        worksheet_write_string(sheet, 0, c, kHeaders[c], f.bold);
    }
    worksheet_set_column(sheet, 0, 3, 18, nullptr);
    return f;
}

lxw_datetime dateCell(const Date& d) {
    return lxw_datetime{d.year, d.month, d.day, 0, 0, 0};
}

// The entries with amounts as numbers and dates as date cells.
std::string entriesWorkbook(const Date& due) {
    return workbook([&due](lxw_workbook* book, lxw_worksheet* sheet) {
        const Formats f = formatsOf(book, sheet);
        lxw_datetime date = dateCell(due);
        lxw_row_t row = 1;
        for (const Entry& e : entries()) {
            worksheet_write_string(sheet, row, 0, e.account.c_str(), nullptr);
            worksheet_write_number(sheet, row, 1, e.amount, f.baht);
            worksheet_write_string(sheet, row, 2, e.payee.c_str(), nullptr);
            worksheet_write_datetime(sheet, row, 3, &date, f.date);
            ++row;
        }
    });
}

// One good entry, then a mistake per row, each named in the last column.
std::string mistakesWorkbook(const Date& due) {
    return workbook([&due](lxw_workbook* book, lxw_worksheet* sheet) {
        const Formats f = formatsOf(book, sheet);
        worksheet_write_string(sheet, 0, 4, "Mistake", f.bold);
        lxw_datetime date = dateCell(due);
        struct Row {
            const char* account;
            const char* amountText;  // when the amount is typed as text
            double amount;
            const char* payee;
            const char* mistake;
        };
        const Row rows[] = {
            {"123-4-56789-6", nullptr, 1500.00, "สมชาย ใจดี", "none"},
            {"123-4-56789-5", nullptr, 100.00, "WRONG CHECK DIGIT", "the account's check digit"},
            {"12345678", nullptr, 100.00, "SHORT ACCOUNT", "8 digits, not 10"},
            {"111-1-11111-4", nullptr, 100.125, "THREE DECIMALS", "more than two decimals"},
            {"111-1-11111-4", "1.500,00", 0, "DECIMAL COMMA", "a comma for the decimal point"},
            {"111-1-11111-4", "one hundred", 0, "AMOUNT IN WORDS", "not a number"},
            {"111-1-11111-4", nullptr, 100.00,
             "A PAYEE NAME FAR TOO LONG FOR THE SIXTY CHARACTERS OF ITS FIELD IN THE FILE", "name too long"},
            {"111-1-11111-4", nullptr, 100.00, "PAYÉ “QUOTED”", "characters code page 874 has no form for"},
        };
        lxw_row_t r = 1;
        for (const Row& row : rows) {
            worksheet_write_string(sheet, r, 0, row.account, nullptr);
            if (row.amountText != nullptr) {
                worksheet_write_string(sheet, r, 1, row.amountText, nullptr);
            } else {
                worksheet_write_number(sheet, r, 1, row.amount, f.baht);
            }
            worksheet_write_string(sheet, r, 2, row.payee, nullptr);
            worksheet_write_datetime(sheet, r, 3, &date, f.date);
            worksheet_write_string(sheet, r, 4, row.mistake, nullptr);
            ++r;
        }
    });
}

const char* const kMapping =
    "; How direct-credit.csv and direct-credit.xlsx fill the Direct Credit source file. The field names\r\n"
    "; are those \"qrv layout DCP\" prints; a column is named by its header text or its letter.\r\n"
    "[columns]\r\n"
    "credit account = Account No.\r\n"
    "amount = Amount (Baht)\r\n"
    "payee name = Payee\r\n"
    "effective date = Pay Date\r\n"
    "\r\n"
    "[values]\r\n"
    "company name = บริษัท ตัวอย่าง จำกัด\r\n"
    "\r\n"
    "[reading]\r\n"
    "dates = DMY\r\n"
    "years = BE\r\n";

}  // namespace

std::vector<ExampleFile> buildExampleSheets(const Date& due) {
    return {{"direct-credit.csv", csv(due)},
            {"direct-credit.xlsx", entriesWorkbook(due)},
            {"direct-credit-map.ini", kMapping},
            {"direct-credit-sheet-mistakes.xlsx", mistakesWorkbook(due)}};
}

}  // namespace qrv
