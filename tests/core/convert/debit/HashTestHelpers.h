#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "reports/ReportRunner.h"
#include "store/TableStore.h"
#include "support/DebitHashFiles.h"
#include "support/TestSupport.h"

namespace qrv::test {

struct HashErrorRow {
    std::int64_t line;
    std::string field;
    std::string detail;
    friend bool operator==(const HashErrorRow&, const HashErrorRow&) = default;
    friend std::ostream& operator<<(std::ostream& o, const HashErrorRow& r) {
        return o << "{" << r.line << ", \"" << r.field << "\", \"" << r.detail << "\"}";
    }
};

struct HashDebitRow {
    std::string account;
    std::string name;
    double amount;
    friend bool operator==(const HashDebitRow&, const HashDebitRow&) = default;
    friend std::ostream& operator<<(std::ostream& o, const HashDebitRow& r) {
        return o << "{\"" << r.account << "\", \"" << r.name << "\", " << r.amount << "}";
    }
};

inline std::vector<HashErrorRow> hashErrorRows(TableStore& store) {
    std::vector<HashErrorRow> rows;
    for (const Row& r : store.query("SELECT * FROM Report_Hash_Error ORDER BY rowid")) {
        EXPECT_EQ(r.text("id_field"), "");
        rows.push_back({std::get<std::int64_t>(*r.find("CountLine")), r.text("Field Name Error"),
                        r.text("Detail Error")});
    }
    return rows;
}

inline std::vector<HashDebitRow> hashDebitRows(TableStore& store) {
    std::vector<HashDebitRow> rows;
    for (const Row& r : store.query("SELECT * FROM Report_Hash ORDER BY rowid")) {
        EXPECT_EQ(r.text("id_field"), "");
        rows.push_back({r.text("Account_No"), r.text("Name"), std::get<double>(*r.find("Amount"))});
    }
    return rows;
}

}  // namespace qrv::test
