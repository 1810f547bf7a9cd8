#include "convert/RejectSink.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "store/TableStore.h"
#include "upload/ErrorListings.h"

namespace qrv {

namespace {

std::string namedColumns(const Rejection& r, std::string_view between) {
    if (r.field == nullptr) {
        return {};
    }
    std::string text = layout::columnsText(*r.field);
    if (r.lastField != nullptr) {
        text += between;
        text += layout::columnsText(*r.lastField);
    }
    return text;
}

}  // namespace

std::string withDetails(std::string_view message, const std::array<std::string, 3>& details) {
    std::string text;
    for (size_t at = 0; at < message.size(); ++at) {
        if (message[at] == '{' && at + 2 < message.size() && message[at + 2] == '}' &&
            message[at + 1] >= '0' && message[at + 1] <= '2') {
            text += details[static_cast<size_t>(message[at + 1] - '0')];
            at += 2;
        } else {
            text += message[at];
        }
    }
    return text;
}

RejectSink::RejectSink(RunResult& result, TableStore* store, Table table, ErrorListings* listings,
                       std::string listingPrefix)
    : result_(result),
      store_(store),
      table_(table),
      listings_(listings),
      listingPrefix_(std::move(listingPrefix)) {}

std::string RejectSink::message(const RejectRow& row, const Rejection& r) const {
    return withDetails(row.message, r.details);
}

void RejectSink::listingLine(const RejectRow& row, const Rejection& r) {
    std::string columns = namedColumns(r, " Column: ");
    if (row.columns == ColumnText::TrailingBlank) {
        columns += ' ';
    }
    ListingLine(text_, r.line, columns, message(row, r));
    listings_->AppendErrorLine(listingPrefix_ + std::string(row.suffix), text_);
}

void RejectSink::tableRow(const RejectRow& row, const Rejection& r) {
    switch (table_) {
        case Table::None:
            return;
        case Table::CreditErrors: {
            const std::string text = row.tableText.empty() ? std::string(TrimLeading(message(row, r)))
                                                           : withDetails(row.tableText, r.details);
            store_->append("Dcp_Err", {{"LnNo", std::to_string(r.line)},
                                       {"FieldName", std::string(row.field)},
                                       {"ColNo", namedColumns(r, ",")},
                                       {"DesErr", cp874::toUtf8(text)}});
            return;
        }
        case Table::DirectDebitErrors: {
            std::string column = namedColumns(r, ",");
            if (row.columns == ColumnText::Spaced) {
                column = " " + column + " ";
            } else if (row.columns == ColumnText::WholeLine) {
                column = " This line ";
            }
            store_->append("ErrorDirect100M", {{"account", cp874::toUtf8(r.account)},
                                               {"line", std::to_string(r.line)},
                                               {"error_col", std::string(row.message)},
                                               {"column", column},
                                               {"field", std::string(row.field)}});
            return;
        }
        case Table::HashErrors:
            store_->append("Report_Hash_Error", {{"id_field", std::string()},
                                                 {"CountLine", r.line},
                                                 {"Field Name Error", std::string(row.field)},
                                                 {"Detail Error", std::string(row.message)}});
            return;
    }
}

void RejectSink::keep(const RejectRow& row, const Rejection& r) {
    bool counted = false;
    for (RejectedEntries& e : result_.rejected) {
        if (e.kind == row.counter) {
            ++e.count;
            e.lastLine = r.line;
            counted = true;
            break;
        }
    }
    if (!counted) {
        result_.rejected.push_back({std::string(row.counter), 1, r.line});
    }
    // Entries come in the order of their lines, but for those of line 1 (a control record's, or the
    // file's totals), which may come last.
    if (r.line == 1) {
        result_.rejectedLines += lineOneSeen_ ? 0 : 1;
        lineOneSeen_ = true;
    } else if (r.line != lastLine_) {
        ++result_.rejectedLines;
        lastLine_ = r.line;
    }
    if (result_.entries.size() >= kKeptEntries) {
        return;
    }
    RejectedEntry entry{row.kind, r.line, 0, 0, {}};
    if (r.firstFaulty > 0) {
        entry.firstColumn = r.firstFaulty;
        entry.lastColumn = r.lastFaulty;
    } else if (r.field != nullptr) {
        entry.firstColumn = r.field->first;
        entry.lastColumn = (r.lastField != nullptr ? r.lastField : r.field)->last;
    }
    const std::string words = row.tableText.empty() ? message(row, r) : withDetails(row.tableText, r.details);
    entry.message = cp874::toUtf8(Trim(words));
    result_.entries.push_back(std::move(entry));
}

void RejectSink::reject(const Rejection& r) {
    const RejectRow& row = rejectRow(r.kind);
    if (listings_ != nullptr && !row.suffix.empty()) {
        listingLine(row, r);
    }
    tableRow(row, r);
    keep(row, r);
}

std::int64_t RejectSink::count(std::string_view counter) const {
    for (const RejectedEntries& e : result_.rejected) {
        if (e.kind == counter) {
            return e.count;
        }
    }
    return 0;
}

}  // namespace qrv
