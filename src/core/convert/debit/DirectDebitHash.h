#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/Date.h"
#include "base/Money.h"
#include "io/LineReader.h"
#include "layout/DebitSourceLayouts.h"
#include "layout/SourceLine.h"

// The Direct Debit (HASH) file: its control record and detail records in the short-amount layout
// (9-digit amounts) and the long-amount layout (11-digit amounts), as "GenerateHash" and "Cover Letter"
// read them. Texts are code page 874 bytes as they stand in the file.
namespace qrv {

class Events;
class TableStore;

namespace debit {

// The tables of the hash check: the acceptable debits and the faults found.
inline constexpr const char* kHashTable = "Report_Hash";
inline constexpr const char* kHashErrorTable = "Report_Hash_Error";

// A control record that passed every check.
struct ControlRecord {
    const layout::HashForm* form = &layout::kHashShortForm;  // the short-amount or the long-amount form
    std::string companyCode;                                 // six characters as they stand
    std::string companyName;                                 // 30 characters, untrimmed
    layout::DateParts effectiveDate;
    std::int64_t effectiveDateNumber = 0;  // ddmmyy as a whole number
    std::int64_t totalRecord = 0;          // the number of detail records announced
    Money totalAmount;

    std::string valueDateText() const;     // dd/mm/yy
    std::string transferDateText() const;  // dd/mm/20yy
    std::string totalRecordText() const;   // 00012 -> 12
    std::string totalAmountText() const;   // 0000123456 -> 1234.56
};

// The outcome of the control-record checks: the record, or the message of the first fault.
struct ControlCheck {
    std::optional<ControlRecord> record;
    std::string fault;
};

// Decides the form and checks the control record in the fixed order, stopping at the first fault.
// `afterTotalRecord` runs in the short-amount layout once TOTAL RECORD has passed, before TOTAL AMOUNT is
// checked (the cover letter empties its table there).
ControlCheck checkControlRecord(const layout::SourceLine& control, const Date& today,
                                const std::function<void()>& afterTotalRecord = {});

// The fields of one detail record.
struct DetailRecord {
    std::string_view account;  // columns 1-10
    std::string_view name;
    // The amount when it passes the layout's check (its digits, above zero); nothing otherwise.
    std::optional<Money> amount;
    bool accountValid = false;
    bool signValid = false;          // "0" or "1"
    std::int64_t effectiveDate = 0;  // columns 11-16 as a whole number
    const layout::Field* amountField = nullptr;
};

// Reads a detail record of `form`. A detail whose effective date is no whole number ends the run
// (FieldFaultError naming the file, line and columns).
DetailRecord readDetailRecord(const layout::SourceLine& line, const layout::HashForm& form);

// The progress bar after `read` of `total` detail records.
int DetailProgress(std::int64_t read, std::int64_t total);

// The hash value of the source file, computed before anything is checked; empty when it cannot be opened
// (the person has been told, and reading the file then fails). A line that is Thai saved as UTF-8 is
// refused (layout::TextNotCodePage874) in the same reading.
std::string SourceHash(const std::filesystem::path& source, Events& events);
// Throws FileChangedWhileRead unless a later reading of the source saw the bytes `hash` was taken of.
void RequireHashedBytes(const std::filesystem::path& source, const std::string& hash,
                        const FileReading& reading);

// An acceptable debit into the Report_Hash table.
void AppendDebit(TableStore& store, const DetailRecord& detail);

}  // namespace debit

}  // namespace qrv
