#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "store/TableStore.h"
#include "support/TestSupport.h"

// Direct Debit (100M) source files built from the layout's columns, and a request ready to run them.
namespace qrv::test {

// Puts `text` at 1-based column `col`, blank-filling the line up to it.
inline void put(std::string& line, int col, std::string_view text) {
    const size_t end = static_cast<size_t>(col - 1) + text.size();
    if (line.size() < end) {
        line.resize(end, ' ');
    }
    line.replace(static_cast<size_t>(col - 1), text.size(), text);
}

// Control record: 1-9 record id (blanks for the shifted layout), 16-45 company name, 48-53 effective date
// ddmmyy, 54-58 total record, 59-69 total amount 9+2.
inline std::string controlRecord(std::string_view date, std::string_view records, std::string_view total,
                                 bool shifted = false) {
    std::string l = shifted ? std::string(9, ' ') : std::string("H00000001");
    put(l, 10, "DDR100");
    put(l, 16, "ACME TRADING CO LTD");
    put(l, 48, date);
    put(l, 54, records);
    put(l, 59, total);
    return l;
}

// Detail record: 1-10 account, 11-16 date ddmmyy, 17 sign, 18-28 amount 9+2, 31-80 name and reference.
inline std::string detailRecord(std::string_view account, std::string_view date, std::string_view sign,
                                std::string_view amount, std::string_view name = "SOMCHAI JAIDEE REF0001") {
    std::string l;
    put(l, 1, account);
    put(l, 11, date);
    put(l, 17, sign);
    put(l, 18, amount);
    put(l, 31, name);
    return l;
}

// Accounts with a right check digit.
inline constexpr const char* kAcct1 = "1111111114";
inline constexpr const char* kAcct2 = "2222222228";
inline constexpr const char* kAcct3 = "9876543214";
inline constexpr const char* kCreditAcct = "0142000013";
inline constexpr const char* kFeeAcct = "5550001116";
inline constexpr const char* kToday = "081226";  // the fixture's clock: 8 December 2026
inline constexpr const char* kYesterday = "071226";

// One row of ErrorDirect100M: line, account, error_col, column, field.
using ErrorRow = std::vector<std::string>;

struct Ddr100MFixture : ::testing::Test, OperationFixture {
    Ddr100MFixture() {
        loadSettings();
        request.product = Product::DirectDebit100M;
        request.companyId = "V5CORP01";
        request.sourcePath = out / "debits.txt";
        request.destinationPath = out / "upload.txt";
        request.creditAccount = kCreditAcct;
        request.debitFeeAccount = kFeeAcct;
        request.processingRound = ProcessingRound::Immediately;
    }

    // Writes the source file (CR LF after every line) and runs "Reformat Data" with the request.
    void run(const std::vector<std::string>& lines) { runBytes(crlfLines(lines)); }
    void runBytes(const std::string& bytes) {
        writeFile(out / "debits.txt", bytes);
        events.messages.clear();
        events.reports.clear();
        reformat(request);
    }

    std::vector<ErrorRow> errors() {
        std::vector<ErrorRow> rows;
        for (const Row& r : store.query("select * from ErrorDirect100M order by rowid")) {
            rows.push_back(
                {r.text("line"), r.text("account"), r.text("error_col"), r.text("column"), r.text("field")});
        }
        return rows;
    }

    // The value of a variable of the last report shown.
    std::string variable(const std::string& name) const {
        for (const auto& [n, v] : events.reports.back().variables) {
            if (n == name) {
                return v;
            }
        }
        return "<unset>";
    }

    // No work file of the run is left beside the outputs.
    void expectNoWorkFile() const {
        for (const std::string& name : listFolder(out)) {
            EXPECT_EQ(name.find("Temp"), std::string::npos) << name;
            EXPECT_NE(name.front(), '.') << name;
        }
    }

    ReformatRequest request;
};

}  // namespace qrv::test
