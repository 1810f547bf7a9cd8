#include "convert/debit/DirectDebitHash.h"

#include <cmath>
#include <filesystem>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "io/LineReader.h"
#include "layout/FieldRules.h"
#include "layout/Utf8ThaiLines.h"
#include "store/TableStore.h"
#include "upload/HashFile.h"

namespace qrv {

namespace debit {

using namespace layout;

namespace {

bool blanks(std::string_view text, int count) {
    return static_cast<int>(text.size()) == count && text.find_first_not_of(' ') == std::string_view::npos;
}

bool blanks(std::string_view text, const Field& field) {
    return blanks(text, field.width());
}

// A number of the field's digits, above zero.
bool positiveDigits(std::string_view text, const Field& field) {
    const std::optional<std::int64_t> n = numberOf(text, field);
    return n && *n > 0;
}

}  // namespace

std::string ControlRecord::valueDateText() const {
    const DateParts d = datePartsOf(effectiveDate, ddr::kEffectiveDate);
    return d.day + "/" + d.month + "/" + d.year.substr(2);
}

std::string ControlRecord::transferDateText() const {
    return datePartsOf(effectiveDate, ddr::kEffectiveDate).slashed();
}

std::string ControlRecord::totalRecordText() const {
    const auto n = ToInteger(totalRecordField);
    return n ? std::to_string(*n) : totalRecordField;
}

std::string ControlRecord::totalAmountText() const {
    const std::string_view field = totalAmountField;
    const size_t wholeDigits = field.size() >= 2 ? field.size() - 2 : 0;
    const std::string_view whole = field.substr(0, wholeDigits);
    const auto n = ToInteger(whole);
    return (n ? std::to_string(*n) : std::string(whole)) + "." + std::string(field.substr(wholeDigits));
}

const HashForm* HashFormOf(std::string_view line) {
    if (blanks(spanOf(line, hash::kLeadingBlanks, hash::kTermPayment), hash::kTermPayment.last)) {
        return nullptr;
    }
    for (const HashForm* form : {&kHashShortForm, &kHashLongForm}) {
        if (blanks(columnsOf(line, *form->leadingBlanks), *form->leadingBlanks) &&
            isCodeOf(columnsOf(line, *form->termPayment), *form->termPayment)) {
            return form;
        }
    }
    return nullptr;
}

ControlCheck CheckControlRecord(std::string_view line, const Date& today,
                                const std::function<void()>& afterTotalRecord) {
    const auto fault = [](const char* message) { return ControlCheck{std::nullopt, message}; };
    const HashForm* form = HashFormOf(line);
    if (form == nullptr) {
        const bool termBlanks = blanks(columnsOf(line, ddr::kLeadingBlanks), ddr::kLeadingBlanks);
        return fault(termBlanks ? "Invalid TERM-PAYMENT" : "Invalid Control Record ");
    }
    const HashForm& f = *form;
    const bool isShort = form == &kHashShortForm;

    ControlRecord r;
    r.layout = isShort ? AmountLayout::Short : AmountLayout::Long;
    r.companyCode = columnsOf(line, *f.companyCode);
    r.companyName = columnsOf(line, *f.companyName);
    r.effectiveDate = columnsOf(line, *f.effectiveDate);
    r.totalRecordField = columnsOf(line, *f.totalRecord);
    r.totalAmountField = columnsOf(line, *f.totalAmount);
    const DateParts date = datePartsOf(r.effectiveDate, *f.effectiveDate);

    if (!IsValidDate(date.year, date.month, date.day)) {
        return fault("Invalid EFFECTIVE-DATE");
    }
    if (!positiveDigits(r.effectiveDate, *f.effectiveDate)) {
        return fault(isShort ? "Invalid TERM-PAYMENT" : "Invalid EFFECTIVE DATE");
    }
    if (date.yyyymmdd() < today.yyyymmdd()) {
        return fault("EFFECTIVE DATE < Today");
    }
    if (!isCodeOf(columnsOf(line, *f.mediaType), *f.mediaType)) {
        return fault(isShort ? "Invalid MEDIA-TYPE" : "Invalid MEDIA TYPE");
    }
    if (!holdsDigits(r.companyCode, *f.companyCode)) {
        return fault("COMPANY CODE need to be Numberic (6 digits)");
    }
    if (!isCodeOf(columnsOf(line, *f.applyCode), *f.applyCode)) {
        return fault("Invalid APPLY CODE");
    }
    if (!isCodeOf(columnsOf(line, *f.status), *f.status)) {
        return fault("Invalid STATUS");
    }
    if (!positiveDigits(r.totalRecordField, *f.totalRecord)) {
        return fault(r.totalRecordField == "00000" ? "TOTAL RECORD should be greater than zero"
                                                   : "TOTAL RECORD need to be Numberic (5 digits)");
    }
    if (isShort && afterTotalRecord) {
        afterTotalRecord();
    }
    r.totalAmount = amountOf(r.totalAmountField, *f.totalAmount);
    if (!r.totalAmount || !(*r.totalAmount > Money())) {
        if (r.totalAmountField.find_first_not_of('0') == std::string::npos &&
            static_cast<int>(r.totalAmountField.size()) == f.totalAmount->width()) {
            return fault("TOTAL AMOUNT should be greater than zero");
        }
        return fault(isShort ? "TOTAL AMOUNT need to be Numberic (10 digit)"
                             : "TOTAL AMOUNT need to be Numberic (11 digits)");
    }
    r.effectiveDateNumber = *ToInteger(r.effectiveDate);
    r.totalRecord = *ToInteger(r.totalRecordField);
    return ControlCheck{std::move(r), {}};
}

DetailRecord ReadDetailRecord(std::string_view line, AmountLayout layout) {
    const HashForm& form = layout == AmountLayout::Short ? kHashShortForm : kHashLongForm;
    DetailRecord d;
    d.account = columnsOf(line, ddr::kAccount);
    d.dateField = columnsOf(line, ddr::kDetailDate);
    d.sign = columnsOf(line, ddr::kSign);
    d.amountField = columnsOf(line, *form.amount);
    d.name = spanOf(line, *form.nameFrom, *form.nameTo);
    d.accountValid = IsValidAccountNo(d.account);
    // Only the field's digits, above zero, are an amount: a sign, a blank, a point or an exponent is not.
    d.amount = amountOf(d.amountField, *form.amount);
    if (d.amount && !(*d.amount > Money())) {
        d.amount.reset();
    }
    return d;
}

std::int64_t DetailEffectiveDate(const DetailRecord& detail, const std::string& file, std::int64_t lineNo) {
    const auto value = numberOf(detail.dateField, ddr::kDetailDate);
    if (!value) {
        throw QrvError("Direct debit file \"" + cp874::sanitizeUtf8(file) + "\", line " +
                       std::to_string(lineNo) + ": the effective date in columns " +
                       columnsText(ddr::kDetailDate) + " (\"" + cp874::toUtf8(detail.dateField) +
                       "\") is not six digits");
    }
    return *value;
}

int DetailProgress(std::int64_t read, std::int64_t total) {
    if (total <= 0) {
        return 100;
    }
    const double pct = std::round(static_cast<double>(read) / static_cast<double>(total) * 100.0);
    return pct < 0 ? 0 : pct > 100 ? 100 : static_cast<int>(pct);
}

std::string SourceHash(const std::filesystem::path& source, Events& events) {
    // The one reading of the bytes also decides that the file is code page 874.
    Utf8ThaiLines lines(source);
    const auto digest = HashFile(source, events, [&lines](std::string_view block) { lines.feed(block); });
    if (!digest) {
        return {};
    }
    lines.finish();
    return HexUpper(*digest);
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
