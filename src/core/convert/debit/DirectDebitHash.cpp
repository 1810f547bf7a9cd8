#include "convert/debit/DirectDebitHash.h"

#include <cmath>
#include <filesystem>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "io/LineReader.h"
#include "store/TableStore.h"
#include "upload/HashFile.h"

namespace qrv {

namespace debit {

namespace {

// Control-record columns of one layout (first column of each field).
struct ControlColumns {
    int term;
    int companyCode;  // 6
    int companyName;  // 30
    int applyCode;
    int status;
    int effectiveDate;  // 6
    int totalRecord;    // 5
    int totalAmount;    // to column 69
    int mediaType;
};

constexpr ControlColumns kShortControl{10, 11, 17, 47, 48, 49, 55, 60, 70};
constexpr ControlColumns kLongControl{9, 10, 16, 46, 47, 48, 54, 59, 70};

bool isTermPayment(std::string_view c) {
    return c == "M" || c == "H" || c == "W";
}

bool oneOf(std::string_view c, std::initializer_list<std::string_view> values) {
    for (const std::string_view v : values) {
        if (c == v) {
            return true;
        }
    }
    return false;
}

// The integer a numeric text stands for, when it stands for one.
std::optional<std::int64_t> wholeValue(std::string_view text) {
    if (const auto i = ToInteger(text)) {
        return i;
    }
    const auto v = NumericValue(text);
    if (!v || std::nearbyint(*v) != *v || std::fabs(*v) > 9.0e15) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*v);
}

}  // namespace

std::string ControlRecord::valueDateText() const {
    const std::string_view d = effectiveDate;
    return std::string(Columns(d, 1, 2)) + "/" + std::string(Columns(d, 3, 4)) + "/" +
           std::string(Columns(d, 5, 6));
}

std::string ControlRecord::transferDateText() const {
    const std::string_view d = effectiveDate;
    return std::string(Columns(d, 1, 2)) + "/" + std::string(Columns(d, 3, 4)) + "/20" +
           std::string(Columns(d, 5, 6));
}

std::string ControlRecord::totalRecordText() const {
    const auto n = wholeValue(totalRecordField);
    return n ? std::to_string(*n) : totalRecordField;
}

std::string ControlRecord::totalAmountText() const {
    const std::string_view field = totalAmountField;
    const size_t wholeDigits = field.size() >= 2 ? field.size() - 2 : 0;
    const std::string_view whole = field.substr(0, wholeDigits);
    const auto n = ToInteger(whole);
    return (n ? std::to_string(*n) : std::string(whole)) + "." + std::string(field.substr(wholeDigits));
}

ControlCheck CheckControlRecord(std::string_view line, const Date& today,
                                const std::function<void()>& afterTotalRecord) {
    const auto fault = [](const char* message) { return ControlCheck{std::nullopt, message}; };
    if (Columns(line, 1, 10) == FillString(" ", 10)) {
        return fault("Invalid TERM-PAYMENT");
    }
    AmountLayout layout = AmountLayout::Short;
    if (Columns(line, 1, 9) == FillString(" ", 9) && isTermPayment(Columns(line, 10, 10))) {
        layout = AmountLayout::Short;
    } else if (Columns(line, 1, 8) == FillString(" ", 8) && isTermPayment(Columns(line, 9, 9))) {
        layout = AmountLayout::Long;
    } else if (Columns(line, 1, 8) == FillString(" ", 8)) {
        return fault("Invalid TERM-PAYMENT");
    } else {
        return fault("Invalid Control Record ");
    }
    const bool isShort = layout == AmountLayout::Short;
    const ControlColumns& c = isShort ? kShortControl : kLongControl;

    ControlRecord r;
    r.layout = layout;
    r.companyCode = Columns(line, c.companyCode, c.companyCode + 5);
    r.companyName = Columns(line, c.companyName, c.companyName + 29);
    r.effectiveDate = Columns(line, c.effectiveDate, c.effectiveDate + 5);
    r.totalRecordField = Columns(line, c.totalRecord, c.totalRecord + 4);
    r.totalAmountField = Columns(line, c.totalAmount, 69);
    const std::string_view eff = r.effectiveDate;
    const std::string_view dd = Columns(eff, 1, 2);
    const std::string_view mm = Columns(eff, 3, 4);
    const std::string_view yy = Columns(eff, 5, 6);
    const std::string_view media = Columns(line, c.mediaType, c.mediaType);
    const std::string_view apply = Columns(line, c.applyCode, c.applyCode);

    if (!IsValidDate("20" + std::string(yy), mm, dd)) {
        return fault("Invalid EFFECTIVE-DATE");
    }
    if (!IsPositiveNumber6(eff)) {
        return fault(isShort ? "Invalid TERM-PAYMENT" : "Invalid EFFECTIVE DATE");
    }
    if ("20" + std::string(yy) + std::string(mm) + std::string(dd) < today.yyyymmdd()) {
        return fault("EFFECTIVE DATE < Today");
    }
    if (isShort ? !oneOf(media, {"T", "D", "K"}) : media != "I") {
        return fault(isShort ? "Invalid MEDIA-TYPE" : "Invalid MEDIA TYPE");
    }
    if (!IsNonNegativeNumber6(r.companyCode)) {
        return fault("COMPANY CODE need to be Numberic (6 digits)");
    }
    if (isShort ? apply != "D" : !oneOf(apply, {"C", "S", "G"})) {
        return fault("Invalid APPLY CODE");
    }
    if (Columns(line, c.status, c.status) != "A") {
        return fault("Invalid STATUS");
    }
    if (!IsPositiveNumber5(r.totalRecordField)) {
        return fault(r.totalRecordField == "00000" ? "TOTAL RECORD should be greater than zero"
                                                   : "TOTAL RECORD need to be Numberic (5 digits)");
    }
    if (isShort && afterTotalRecord) {
        afterTotalRecord();
    }
    if (isShort ? !IsPositiveNumber10(r.totalAmountField) : !IsPositiveNumber11(r.totalAmountField)) {
        if (r.totalAmountField == FillString("0", isShort ? 10 : 11)) {
            return fault("TOTAL AMOUNT should be greater than zero");
        }
        return fault(isShort ? "TOTAL AMOUNT need to be Numberic (10 digit)"
                             : "TOTAL AMOUNT need to be Numberic (11 digits)");
    }

    const auto effNumber = ToInteger(eff);
    if (!effNumber) {
        throw QrvError("The control record's EFFECTIVE-DATE \"" + cp874::toUtf8(eff) +
                       "\" is not a whole number");
    }
    r.effectiveDateNumber = *effNumber;
    r.totalRecord = NumericValue(r.totalRecordField).value_or(0);
    r.totalAmount = Money::fromImpliedDecimals(r.totalAmountField, 2);
    if (!r.totalAmount) {
        // A field such as "+123456789" still counts satang; one that spells no whole number never matches.
        if (const auto satang = wholeValue(r.totalAmountField)) {
            r.totalAmount = Money::fromUnits(*satang * (Money::kScale / 100));
        }
    }
    return ControlCheck{std::move(r), {}};
}

DetailRecord ReadDetailRecord(std::string_view line, AmountLayout layout) {
    const bool isShort = layout == AmountLayout::Short;
    DetailRecord d;
    d.account = Columns(line, 1, 10);
    d.dateField = Columns(line, 11, 16);
    d.sign = Columns(line, 17, 17);
    d.amountField = Columns(line, 18, isShort ? 26 : 28);
    d.name = isShort ? Columns(line, 27, 56) : Columns(line, 31, 78);
    d.accountValid = IsValidAccountNo(d.account);
    const bool amountPasses = isShort ? IsPositiveNumber9(d.amountField) : IsPositiveNumber11(d.amountField);
    if (amountPasses) {
        // Whole baht, a point, two satang digits: a field that passes the check but reads otherwise
        // (a point or an exponent inside it) is no amount.
        const size_t wholeDigits = d.amountField.size() - 2;
        d.amount = Money::fromDecimalText(std::string(d.amountField.substr(0, wholeDigits)) + "." +
                                          std::string(d.amountField.substr(wholeDigits)));
    }
    return d;
}

std::int64_t DetailEffectiveDate(const DetailRecord& detail, const std::string& file, std::int64_t lineNo) {
    const auto value = ToInteger(detail.dateField);
    if (!value) {
        throw QrvError("Direct debit file \"" + cp874::sanitizeUtf8(file) + "\", line " +
                       std::to_string(lineNo) + ": the effective date in columns 11-16 (\"" +
                       cp874::toUtf8(detail.dateField) + "\") is not a whole number");
    }
    return *value;
}

std::string AccountNumberText(std::string_view accountNo) {
    const std::string text =
        std::string(Columns(accountNo, 1, 3)) + "-" + std::string(Columns(accountNo, 4, 4)) + "-" +
        std::string(Columns(accountNo, 5, 9)) + "-" + std::string(Columns(accountNo, 10, 10));
    return text == "---" ? std::string() : text;
}

int DetailProgress(std::int64_t read, double total) {
    if (total <= 0) {
        return 100;
    }
    const double pct = std::round(static_cast<double>(read) / total * 100.0);
    return pct < 0 ? 0 : pct > 100 ? 100 : static_cast<int>(pct);
}

std::string SourceHash(const std::filesystem::path& source, Events& events) {
    const auto digest = HashFile(source, events);
    return digest ? HexUpper(*digest) : std::string();
}

void RequireHashedBytes(const std::filesystem::path& source, const std::string& hash,
                        const FileReading& reading) {
    if (!reading.steady || HexUpper(reading.digest) != hash) {
        throw FileChangedWhileRead(source);
    }
}

void AppendDebit(TableStore& store, const DetailRecord& d) {
    store.append(kHashTable, {{"id_field", std::string()},
                              {"Name", cp874::toUtf8(d.name)},
                              {"Account_No", cp874::toUtf8(d.account)},
                              {"Amount", d.amount->toDouble()}});
}

}  // namespace debit

}  // namespace qrv
