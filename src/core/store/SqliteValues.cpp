#include "store/SqliteValues.h"

#include <sqlite3.h>
#include <strings.h>

namespace qrv {

std::string quoteIdentifier(std::string_view name) {
    std::string q = "\"";
    for (const char c : name) {
        q += c;
        if (c == '"') {
            q += '"';
        }
    }
    return q + "\"";
}

void bindValue(sqlite3_stmt* stmt, int index, const Value& v) {
    if (const auto* s = std::get_if<std::string>(&v)) {
        sqlite3_bind_text(stmt, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    } else if (const auto* d = std::get_if<double>(&v)) {
        sqlite3_bind_double(stmt, index, *d);
    } else if (const auto* m = std::get_if<Money>(&v)) {
        sqlite3_bind_int64(stmt, index, m->units());
    } else if (const auto* i = std::get_if<std::int64_t>(&v)) {
        sqlite3_bind_int64(stmt, index, *i);
    } else {
        sqlite3_bind_null(stmt, index);
    }
}

Declared declaredType(sqlite3_stmt* stmt, int col) {
    const char* decl = sqlite3_column_decltype(stmt, col);
    if (decl != nullptr && strcasecmp(decl, "CURRENCY") == 0) {
        return Declared::Currency;
    }
    if (decl != nullptr && strcasecmp(decl, "REAL") == 0) {
        return Declared::Real;
    }
    return Declared::Other;
}

Value columnValue(sqlite3_stmt* stmt, int col, Declared declared) {
    const int type = sqlite3_column_type(stmt, col);
    if (type == SQLITE_NULL) {
        return std::monostate{};
    }
    if (declared == Declared::Currency) {
        return Money::fromUnits(sqlite3_column_int64(stmt, col));
    }
    switch (type) {
        case SQLITE_INTEGER:
            if (declared == Declared::Real) {
                return sqlite3_column_double(stmt, col);
            }
            return static_cast<std::int64_t>(sqlite3_column_int64(stmt, col));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, col);
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
            return std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt, col)));
        }
    }
}

}  // namespace qrv
