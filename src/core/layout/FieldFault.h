#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/QrvError.h"
#include "layout/Field.h"

// A field's text that breaks its rule, as a value: where it was read, which rule it broke and what was
// found there. Readings give a value or such a fault; the caller decides whether it rejects a line, stops
// the run, or is an unexpected error.
namespace qrv::layout {

enum class Rule : unsigned char {
    Digits,   // exactly its width of digits
    Number,   // a whole number, blanks around it let through
    Amount,   // its digits with their implied decimals (a signed amount may put "-" first)
    Date,     // a calendar date in its form
    Code,     // one of its codes
    Account,  // a home-bank account: ten digits (or eleven) with a valid check digit, not all zeros
    Text,     // text without a control character (NUL included)
    Fits,     // no wider than the field it is written into
};

struct FieldFault {
    std::int64_t line = 0;
    const Field* field = nullptr;
    Rule rule = Rule::Digits;
    std::string found;            // as it stands, code page 874
    const Field* into = nullptr;  // Fits: the field of the record it does not fit

    // The one wording of a fault's place: "line 12, columns 18-28 (amount)".
    std::string place() const;
    // What is wrong, with the text found: "\"12.50\" is not an amount". Control characters are shown as
    // \xNN, so that a message never carries them.
    std::string what() const;
    // The place and what is wrong, after the file: "\"in.txt\" line 12, columns 18-28 (amount): ...".
    std::string message(const std::filesystem::path& file) const;
};

// A customer's file that a run refuses as a whole, before anything is put in place: Thai saved as UTF-8, a
// control character in a text field, a value wider than the field it goes into. The person is told, and
// the run ends without its output.
class SourceRefusal : public QrvError {
  public:
    SourceRefusal(const std::filesystem::path& file, const std::string& message)
        : QrvError(message), file_(file) {}
    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
};

// A field that a run reads without an earlier check and finds holding something else (a conversion
// error): an unexpected error that ends the run.
class FieldFaultError : public QrvError {
  public:
    FieldFaultError(const std::filesystem::path& file, FieldFault fault);
    const std::filesystem::path& file() const { return file_; }
    const FieldFault& fault() const { return fault_; }

  private:
    std::filesystem::path file_;
    FieldFault fault_;
};

// A value read from a field, or the rule its text broke. The text found is a view of the line read, valid
// until the next line: fault() copies it.
template <class T>
class Reading {
  public:
    Reading(T value) : value_(std::move(value)) {}  // NOLINT: a reading is its value
    Reading(std::int64_t line, const Field& field, Rule rule, std::string_view found)
        : field_(&field), line_(line), found_(found), rule_(rule) {}

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    T valueOr(T other) const { return value_ ? *value_ : std::move(other); }

    FieldFault fault() const { return FieldFault{line_, field_, rule_, std::string(found_)}; }
    Rule rule() const { return rule_; }

  private:
    std::optional<T> value_;
    const Field* field_ = nullptr;
    std::int64_t line_ = 0;
    std::string_view found_;
    Rule rule_ = Rule::Digits;
};

}  // namespace qrv::layout
