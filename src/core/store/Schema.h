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

// The run history: one row per conversion, never emptied by a run. Not one of the tables a complete store
// must have: a store made before it gets it at its first recorded run, and an older program that opens
// the store leaves it alone.
inline constexpr std::string_view kRunHistoryTable = "RunHistory";
// The statements that create it and its indexes, when they do not exist yet.
const std::vector<std::string>& runHistoryStatements();

}  // namespace qrv
