#include "layout/SourceLine.h"

#include "base/Cp874.h"

namespace qrv::layout {

namespace {

constexpr std::string_view kAdvice = ". Please save it as Thai (code page 874) and retry";

}  // namespace

TextNotCodePage874::TextNotCodePage874(const std::filesystem::path& file, const std::string& where)
    : QrvError("The file \"" + cp874::sanitizeUtf8(file.string()) + "\" " + where + std::string(kAdvice)),
      file_(file) {}

std::string linePlace(std::int64_t lineNo, const Field& field) {
    return "line " + std::to_string(lineNo) + ", columns " + std::to_string(field.first) + "-" +
           std::to_string(field.last) + " (" + std::string(field.name) + ")";
}

std::string fieldPlace(std::string_view fileName, std::int64_t lineNo, const Field& field) {
    return std::string(fileName) + " " + linePlace(lineNo, field);
}

void SourceLine::read(std::string_view text, std::int64_t lineNo) {
    text_ = text;
    lineNo_ = lineNo;
    if (lineNo == 1 && text.starts_with(kUtf8ByteOrderMark)) {
        throw TextNotCodePage874(path_, "starts with a UTF-8 byte-order mark");
    }
}

void SourceLine::refuseUtf8(std::string_view text, const std::string& where) const {
    if (isUtf8Thai(text)) {
        throw TextNotCodePage874(path_, "holds Thai text saved as UTF-8 (" + where + ")");
    }
}

std::string_view SourceLine::text(const Field& field) const {
    const std::string_view t = (*this)[field];
    refuseUtf8(t, "line " + std::to_string(lineNo_) + ", columns " + columnsText(field) + ", " +
                      std::string(field.name));
    return t;
}

std::string_view SourceLine::textSpan(const Field& from, const Field& to) const {
    const std::string_view t = spanOf(text_, from, to);
    refuseUtf8(t, "line " + std::to_string(lineNo_) + ", columns " + std::to_string(from.first) + "-" +
                      std::to_string(to.last));
    return t;
}

void SourceLine::fail(const Field& field, const std::string& what) const {
    throw QrvError(fieldPlace(fileName_, lineNo_, field) + ": " + what);
}

Money SourceLine::requireAmount(const Field& field) const {
    const std::optional<Money> value = amount(field);
    if (!value) {
        fail(field, "\"" + cp874::toUtf8((*this)[field]) + "\" is not an amount");
    }
    return *value;
}

}  // namespace qrv::layout
