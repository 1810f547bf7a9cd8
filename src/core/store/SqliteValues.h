#pragma once

#include <string>
#include <string_view>

#include "store/TableStore.h"

struct sqlite3_stmt;

namespace qrv {

// How a Value is bound to a statement and read back from a row: the one mapping every connection of
// the program uses, so that a copy of a table reads back as the table does.
void bindValue(sqlite3_stmt* stmt, int index, const Value& v);

// A table or column name as SQL text: in double quotes, a quote inside doubled.
std::string quoteIdentifier(std::string_view name);

// How a column's declared type turns its values into Values; the same for every row of a statement.
enum class Declared { Other, Currency, Real };
Declared declaredType(sqlite3_stmt* stmt, int col);
Value columnValue(sqlite3_stmt* stmt, int col, Declared declared);

}  // namespace qrv
