#include "convert/credit/McpLine.h"

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"

namespace qrv {

std::string McpLine::cols(int from, int to) const {
    return std::string(Columns(text_, from, to));
}

std::string McpLine::signedAmount(int from, int to, std::string_view zeros) const {
    const std::string field = cols(from, to);
    if (!field.empty() && field.front() == '-') {
        return "-" + std::string(zeros) + field.substr(1) + "0";
    }
    return std::string(zeros) + field + "0";
}

Money McpLine::value(std::string_view amount16, int from, int to) const {
    const auto v = AmountFieldValue(amount16);
    if (!v) {
        fail(from, to, "\"" + cp874::toUtf8(cols(from, to)) + "\" is not an amount");
    }
    return *v;
}

std::int64_t McpLine::count(std::string_view prefix, int from, int to) const {
    const std::string digits = cols(from, to);
    const std::string text = std::string(prefix) + digits;
    const std::string_view t = TrimLeading(text);
    const auto v = IsDigits(t) ? ToInteger(t) : std::nullopt;
    if (!v) {
        fail(from, to, "\"" + cp874::toUtf8(digits) + "\" is not a number");
    }
    return *v;
}

void McpLine::fail(int from, int to, const std::string& what) const {
    throw QrvError("Manager Cheque " + file_ + " line " + std::to_string(lineNo_) + ", columns " +
                   std::to_string(from) + "-" + std::to_string(to) + ": " + what);
}

std::optional<Money> AmountFieldValue(std::string_view amount16) {
    const std::string text =
        std::string(Columns(amount16, 1, 13)) + "." + std::string(Columns(amount16, 14, 16));
    return Money::fromDecimalText(text);
}

std::string DdMmYyyy(std::string_view yyyymmdd) {
    return std::string(Columns(yyyymmdd, 7, 8)) + "/" + std::string(Columns(yyyymmdd, 5, 6)) + "/" +
           std::string(Columns(yyyymmdd, 1, 4));
}

}  // namespace qrv
