#include "layout/FieldFault.h"

#include "base/Cp874.h"

namespace qrv::layout {

namespace {

// The text found as a message shows it: UTF-8, a control character as \xNN.
std::string shown(std::string_view found) {
    std::string text;
    for (const char c : found) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0xF];
        } else {
            text += c;
        }
    }
    return "\"" + cp874::toUtf8(text) + "\"";
}

}  // namespace

std::string FieldFault::place() const {
    std::string text = "line " + std::to_string(line);
    if (field != nullptr) {
        text += ", columns " + columnsText(*field) + " (" + std::string(field->name) + ")";
    }
    return text;
}

std::string FieldFault::what() const {
    const std::string text = shown(found);
    const std::string width = field != nullptr ? std::to_string(field->width()) : std::string();
    switch (rule) {
        case Rule::Digits:
            return text + " is not " + width + " digits";
        case Rule::Number:
            return text + " is not a number";
        case Rule::Amount:
            return text + " is not an amount";
        case Rule::Date:
            return text + " is not a date" +
                   (field != nullptr ? " (" + std::string(dateFormName(field->form)) + ")" : std::string());
        case Rule::Code:
            return text + " is not one of " + (field != nullptr ? std::string(field->codes) : std::string());
        case Rule::Account:
            return text + " is not a home-bank account";
        case Rule::Text:
            return text + " holds a control character";
        case Rule::Fits:
            if (into != nullptr) {
                return text + " does not fit the " + std::to_string(into->width()) + " characters of the " +
                       std::string(into->name);
            }
            return text + " does not fit its field";
    }
    return text;
}

std::string FieldFault::message(const std::filesystem::path& file) const {
    return "\"" + cp874::sanitizeUtf8(file.string()) + "\" " + place() + ": " + what();
}

FieldFaultError::FieldFaultError(const std::filesystem::path& file, FieldFault fault)
    : QrvError(fault.message(file)), file_(file), fault_(std::move(fault)) {}

}  // namespace qrv::layout
