#include "layout/Field.h"

namespace qrv::layout {

std::string columnsText(const Field& field) {
    if (field.first == field.last) {
        return std::to_string(field.first);
    }
    return std::to_string(field.first) + "-" + std::to_string(field.last);
}

std::string_view kindName(Kind kind) {
    switch (kind) {
        case Kind::Digits:
            return "digits";
        case Kind::Amount:
            return "amount";
        case Kind::Date:
            return "date";
        case Kind::Code:
            return "code";
        case Kind::Text:
            return "text";
        case Kind::Filler:
            return "blank filler";
        case Kind::Unread:
            return "not read";
    }
    return "";
}

std::string_view dateFormName(DateForm form) {
    switch (form) {
        case DateForm::DdMmYy:
            return "ddmmyy";
        case DateForm::DdMmYyyy:
            return "ddmmyyyy";
        case DateForm::YyyyMmDd:
            return "yyyymmdd";
        case DateForm::YyMmDd:
            return "yymmdd";
        case DateForm::YyyyMmDdSeparated:
            return "yyyy?mm?dd";
        case DateForm::None:
            break;
    }
    return "";
}

std::string kindText(const Field& field) {
    std::string text(kindName(field.kind));
    switch (field.kind) {
        case Kind::Amount:
            return (field.isSigned ? "signed " : "") + text + ", " + std::to_string(field.decimals) +
                   " decimals";
        case Kind::Date:
            return text + " " + std::string(dateFormName(field.form));
        case Kind::Code:
            return text + " " + std::string(field.codes);
        default:
            return text;
    }
}

}  // namespace qrv::layout
