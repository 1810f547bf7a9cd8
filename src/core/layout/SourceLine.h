#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/Money.h"
#include "base/QrvError.h"
#include "layout/Field.h"
#include "layout/FieldRules.h"

// Reading the named fields of one line of a customer's file. Texts are code page 874 bytes as they stand
// in the file; a text field that holds Thai saved as UTF-8 is refused as it is read.
namespace qrv::layout {

// A text field of a customer's file holds Thai text saved as UTF-8 (or the file starts with a UTF-8
// byte-order mark): the run stops before anything is put in place and the person is told to save the file
// as code page 874.
class TextNotCodePage874 : public QrvError {
  public:
    TextNotCodePage874(const std::filesystem::path& file, const std::string& where);
    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
};

// What starts a file saved as UTF-8 with a byte-order mark.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Where a field was read, for the messages of a fault: "line N, columns a-b (name)", and with the file
// named in front.
std::string linePlace(std::int64_t lineNo, const Field& field);
std::string fieldPlace(std::string_view fileName, std::int64_t lineNo, const Field& field);

// One line of a named file.
class SourceLine {
  public:
    // `fileName` names the file in faults ("Manager Cheque source file", a path); `path` is the file a
    // code page 874 refusal names.
    SourceLine(const std::filesystem::path& path, std::string fileName)
        : path_(path), fileName_(std::move(fileName)) {}

    // The line the fields are read from; line 1 that starts with a UTF-8 byte-order mark is refused.
    void read(std::string_view text, std::int64_t lineNo);

    std::string_view text() const { return text_; }
    std::int64_t lineNo() const { return lineNo_; }

    // The columns of the field as they stand (possibly fewer, or none).
    std::string_view operator[](const Field& field) const { return columnsOf(text_, field); }
    // A text field, refused (TextNotCodePage874) when it holds Thai saved as UTF-8.
    std::string_view text(const Field& field) const;
    // From the first column of `from` to the last of `to`, refused as text() is.
    std::string_view textSpan(const Field& from, const Field& to) const;

    bool digits(const Field& field) const { return holdsDigits((*this)[field], field); }
    std::optional<std::int64_t> number(const Field& field) const { return numberOf((*this)[field], field); }
    std::optional<Money> amount(const Field& field) const { return amountOf((*this)[field], field); }
    bool date(const Field& field) const { return holdsDate((*this)[field], field); }
    DateParts dateParts(const Field& field) const { return datePartsOf((*this)[field], field); }
    bool code(const Field& field) const { return isCodeOf((*this)[field], field); }

    // A fault of a field that ends the run: QrvError "<file> line N, columns a-b (name): what".
    [[noreturn]] void fail(const Field& field, const std::string& what) const;
    // The amount of a field that must hold one; fail() when it does not.
    Money requireAmount(const Field& field) const;

  private:
    void refuseUtf8(std::string_view text, const std::string& where) const;

    std::filesystem::path path_;
    std::string fileName_;
    std::string_view text_;
    std::int64_t lineNo_ = 0;
};

}  // namespace qrv::layout
