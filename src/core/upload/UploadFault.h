#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "layout/Field.h"
#include "layout/FieldFault.h"

// What a check of an upload file finds wrong, as a value: the line, the record and its field with their
// columns, the rule broken, the text found there and what was due.
namespace qrv {

enum class UploadRule : unsigned char {
    Field,       // the field breaks the rule of its kind (`fieldRule`)
    Blank,       // a reserved field holds something other than blanks
    Width,       // the record is not its layout's width
    HashLine,    // the first line is not 40 upper-case hexadecimal digits
    Hash,        // the hash line is not the SHA-1 of the lines after it
    RecordType,  // no record of an upload file has this type
    Order,       // the record cannot stand here
    Sequence,    // a sequence number other than the one due
    Count,       // a count other than the records counted
    Total,       // a total other than the sum of the amounts
    Agreement,   // a value other than the one given elsewhere
    LineEnd,     // a line end other than CR LF
    Missing,     // a record that every upload holds is not there
};

struct UploadFault {
    std::int64_t line = 0;
    const layout::Layout* record = nullptr;  // none where no layout describes the line
    const layout::Field* field = nullptr;    // none for a fault of the whole record
    UploadRule rule = UploadRule::Field;
    layout::Rule fieldRule = layout::Rule::Digits;  // UploadRule::Field
    std::string found;                              // as it stands, code page 874
    std::string expected;                           // what was due, where one thing was
    std::int64_t more = 0;                          // LineEnd: the other lines that end so

    // "line 5, credit record 003, columns 35-50 (credit amount)".
    std::string place() const;
    // What is wrong in words, with the text found (UTF-8, control characters as \xNN).
    std::string what() const;
    // The place and what is wrong: "line 5, ...: \"12\" is not 16 digits".
    std::string message() const;
};

// The rule's one-word name for machines: the kind's rule of a field ("digits", "amount", "date", "code",
// "text"), else "blank", "width", "hash-line", "hash", "record-type", "order", "sequence", "count",
// "total", "agreement", "line-end", "missing".
std::string_view ruleName(const UploadFault& fault);

}  // namespace qrv

namespace qrv {

// The faults of one check: every one counted, the first kKept kept.
class UploadFaultList {
  public:
    static constexpr std::size_t kKept = 1000;

    void add(UploadFault fault) {
        ++count_;
        if (kept_.size() < kKept) {
            kept_.push_back(std::move(fault));
        }
    }
    std::int64_t count() const { return count_; }
    std::vector<UploadFault>& kept() { return kept_; }

  private:
    std::vector<UploadFault> kept_;
    std::int64_t count_ = 0;
};

}  // namespace qrv
