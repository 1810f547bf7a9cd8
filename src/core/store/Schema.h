#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qrv {

enum class FieldKind { Text, Float, Currency, Integer };

struct FieldDef {
    std::string name;
    FieldKind kind;
};

struct TableDef {
    std::string name;  // the SQL name, without ".DAT"
    std::vector<FieldDef> fields;
    std::string uniqueKey;  // comma-separated fields that must be unique together, or empty
};

// The schema version a complete table store records (SQLite's user_version); 0 means never completed.
inline constexpr int kSchemaVersion = 1;

// Every table of the store, reference tables first.
const std::vector<TableDef>& schemaTables();
// The reference tables, filled from the data folder's sample files when the store is made.
bool isReferenceTable(std::string_view name);
const TableDef* findTable(std::string_view name);

// The two joined views of the cheque reports, with their SQL as the system states it.
inline constexpr std::string_view kWhtViewName = "WhtView";
inline constexpr std::string_view kInvoiceViewName = "InvoiceView";
std::string whtViewSql();
std::string invoiceViewSql();

}  // namespace qrv
