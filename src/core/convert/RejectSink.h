#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/RejectKinds.h"
#include "convert/RunResult.h"
#include "layout/Field.h"

namespace qrv {

class ErrorListings;
class TableStore;

// One rejected entry as a converter finds it.
struct Rejection {
    Reject kind;
    std::int64_t line = 0;                     // the source line it is on (1: the control record, the file)
    const layout::Field* field = nullptr;      // the field it names there; null: the whole line or the file
    const layout::Field* lastField = nullptr;  // a second field it names (a branch beside its bank code)
    std::array<std::string, 3> details = {};   // the message's {0}, {1} and {2}, code page 874
    std::string_view account = {};             // Direct Debit (100M): the account of the line, or "-"
    // The columns of the faulty fields when they are fewer than those named (a bank code whose branch code
    // is sound); 0: those named.
    int firstFaulty = 0;
    int lastFaulty = 0;
};

// Where a run's rejected entries go, each as it is found: its listing line (when its kind has a listing),
// its error table's row (when the run keeps one), and the result's counts; the result keeps the first
// entries only, so that a file of a million rejected lines needs no more memory than one of ten.
class RejectSink {
  public:
    // The error table a run fills.
    enum class Table {
        None,
        CreditErrors,       // Dcp_Err, the credit products' (with "Print detail")
        DirectDebitErrors,  // ErrorDirect100M
        HashErrors,         // Report_Hash_Error
    };
    // The entries the result keeps, in the order found.
    static constexpr size_t kKeptEntries = 1000;

    // `listingPrefix`: the folder, company id, "_" and listing code that a listing's suffix completes;
    // `listings` null: the run writes none.
    // `store` may be null when `table` is None.
    RejectSink(RunResult& result, TableStore* store, Table table, ErrorListings* listings = nullptr,
               std::string listingPrefix = {});

    void reject(const Rejection& rejection);

    // The entries of `counter` counted so far.
    std::int64_t count(std::string_view counter) const;

  private:
    std::string message(const RejectRow& row, const Rejection& r) const;
    void listingLine(const RejectRow& row, const Rejection& r);
    void tableRow(const RejectRow& row, const Rejection& r);
    void keep(const RejectRow& row, const Rejection& r);

    RunResult& result_;
    TableStore* store_;
    Table table_;
    ErrorListings* listings_;
    std::string listingPrefix_;
    std::string text_;  // the listing line being made
    std::int64_t lastLine_ = 0;
    bool lineOneSeen_ = false;
};

// A message of the reject table with its details put in ("{0}" ... "{2}").
std::string withDetails(std::string_view message, const std::array<std::string, 3>& details);

}  // namespace qrv
