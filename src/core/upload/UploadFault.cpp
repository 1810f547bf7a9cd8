#include "upload/UploadFault.h"

namespace qrv {

namespace {

// The text found as the layout reader words it: quoted, UTF-8, control characters as \xNN.
std::string shown(const std::string& text) {
    const std::string quoted = layout::FieldFault{0, nullptr, layout::Rule::Text, text}.what();
    return quoted.substr(0, quoted.rfind('"') + 1);
}

std::string ruleWords(const UploadFault& f) {
    const std::string found = shown(f.found);
    const std::string due = shown(f.expected);
    switch (f.rule) {
        case UploadRule::Field:
            return layout::FieldFault{f.line, f.field, f.fieldRule, f.found}.what();
        case UploadRule::Blank:
            return found + " where the field is always blank";
        case UploadRule::Width:
            return "a record of " + f.found + " characters where its layout has " + f.expected;
        case UploadRule::HashLine:
            return found + " is not a hash line of 40 upper-case hexadecimal digits";
        case UploadRule::Hash:
            return "the hash line " + found + " is not the SHA-1 of the lines after it, " + due;
        case UploadRule::RecordType:
            return f.found.empty() ? "an empty line" : found + " is not a record type of an upload file";
        case UploadRule::Order:
            return "record " + found + " cannot stand here: " + f.expected;
        case UploadRule::Sequence:
            return found + " where the sequence number due is " + due;
        case UploadRule::Count:
            return found + " where the records counted are " + due;
        case UploadRule::Total:
            return found + " where the amounts sum to " + due;
        case UploadRule::Agreement:
            return found + " where " + f.expected;
        case UploadRule::LineEnd:
            return "the line ends in " + f.found + " where the host takes CR LF" +
                   (f.more > 0 ? " (and so do " + std::to_string(f.more) + " more lines)" : std::string());
        case UploadRule::Missing:
            return "no " + f.expected;
    }
    return found;
}

}  // namespace

std::string_view ruleName(const UploadFault& fault) {
    static constexpr std::string_view kFieldRules[] = {"digits", "number",  "amount", "date",
                                                       "code",   "account", "text",   "fits"};
    static constexpr std::string_view kRules[] = {"field",       "blank",    "width",    "hash-line", "hash",
                                                  "record-type", "order",    "sequence", "count",     "total",
                                                  "agreement",   "line-end", "missing"};
    if (fault.rule == UploadRule::Field) {
        return kFieldRules[static_cast<int>(fault.fieldRule)];
    }
    return kRules[static_cast<int>(fault.rule)];
}

std::string UploadFault::place() const {
    std::string text = "line " + std::to_string(line);
    if (record != nullptr) {
        text += ", " + std::string(record->name);
    }
    if (field != nullptr) {
        text += ", columns " + layout::columnsText(*field) + " (" + std::string(field->name) + ")";
    }
    return text;
}

std::string UploadFault::what() const {
    return ruleWords(*this);
}

std::string UploadFault::message() const {
    return place() + ": " + what();
}

}  // namespace qrv
