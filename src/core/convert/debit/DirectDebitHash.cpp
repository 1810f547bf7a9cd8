#include "convert/debit/DirectDebitHash.h"

#include <cmath>
#include <filesystem>

#include "base/Cp874.h"
#include "base/FieldHelpers.h"
#include "io/LineReader.h"
#include "layout/LayoutCatalog.h"
#include "layout/Utf8ThaiLines.h"
#include "store/TableStore.h"
#include "upload/HashFile.h"

namespace qrv {

namespace debit {

using namespace layout;

std::string ControlRecord::valueDateText() const {
    return effectiveDate.day + "/" + effectiveDate.month + "/" + effectiveDate.year.substr(2);
}

std::string ControlRecord::transferDateText() const {
    return effectiveDate.slashed();
}

std::string ControlRecord::totalRecordText() const {
    return std::to_string(totalRecord);
}

std::string ControlRecord::totalAmountText() const {
    return totalAmount.toText2();
}

namespace {

// A number of the field's digits, above zero.
bool positiveDigits(const SourceLine& line, const Field& field) {
    const Reading<std::int64_t> n = line.digits(field);
    return n && *n > 0;
}

// The control record's fault in the fixed order of the checks, or nothing.
std::optional<std::string> controlFault(const SourceLine& c, const HashForm& f, const Date& today,
                                        const std::function<void()>& afterTotalRecord) {
    const bool isShort = &f == &kHashShortForm;
    const DateParts date = c.dateParts(*f.effectiveDate);
    if (!IsValidDate(date.year, date.month, date.day)) {
        return "Invalid EFFECTIVE-DATE";
    }
    if (!positiveDigits(c, *f.effectiveDate)) {
        return isShort ? "Invalid TERM-PAYMENT" : "Invalid EFFECTIVE DATE";
    }
    if (date.yyyymmdd() < today.yyyymmdd()) {
        return "EFFECTIVE DATE < Today";
    }
    if (!c.code(*f.mediaType)) {
        return isShort ? "Invalid MEDIA-TYPE" : "Invalid MEDIA TYPE";
    }
    if (!c.digits(*f.companyCode)) {
        return "COMPANY CODE need to be Numberic (6 digits)";
    }
    if (!c.code(*f.applyCode)) {
        return "Invalid APPLY CODE";
    }
    if (!c.code(*f.status)) {
        return "Invalid STATUS";
    }
    if (!positiveDigits(c, *f.totalRecord)) {
        return c[*f.totalRecord] == "00000" ? "TOTAL RECORD should be greater than zero"
                                            : "TOTAL RECORD need to be Numberic (5 digits)";
    }
    if (isShort && afterTotalRecord) {
        afterTotalRecord();
    }
    const Reading<Money> total = c.amount(*f.totalAmount);
    if (!total || !(*total > Money())) {
        if (total) {
            return "TOTAL AMOUNT should be greater than zero";
        }
        return isShort ? "TOTAL AMOUNT need to be Numberic (10 digit)"
                       : "TOTAL AMOUNT need to be Numberic (11 digits)";
    }
    return std::nullopt;
}

}  // namespace

ControlCheck checkControlRecord(const SourceLine& c, const Date& today,
                                const std::function<void()>& afterTotalRecord) {
    const auto fault = [](std::string message) { return ControlCheck{std::nullopt, std::move(message)}; };
    const HashForm* form = hashFormOf(c.text());
    if (form == nullptr) {
        const bool termBlanks = c.text().starts_with("        ");
        return fault(termBlanks ? "Invalid TERM-PAYMENT" : "Invalid Control Record ");
    }
    const HashForm& f = *form;
    if (std::optional<std::string> message = controlFault(c, f, today, afterTotalRecord)) {
        return fault(std::move(*message));
    }
    ControlRecord r;
    r.form = form;
    r.companyCode = c[*f.companyCode];
    r.companyName = c.require(c.text(*f.companyName));
    r.effectiveDate = c.dateParts(*f.effectiveDate);
    r.effectiveDateNumber = *c.digits(*f.effectiveDate);
    r.totalRecord = *c.digits(*f.totalRecord);
    r.totalAmount = *c.amount(*f.totalAmount);
    return ControlCheck{std::move(r), {}};
}

DetailRecord readDetailRecord(const SourceLine& line, const HashForm& form) {
    DetailRecord d;
    d.account = line[ddr::kAccount];
    d.name = line.require(line.text(*form.name));
    d.amountField = form.amount;
    d.accountValid = static_cast<bool>(line.account(ddr::kAccount));
    const Reading<std::int64_t> sign = line.digits(ddr::kSign);
    d.signValid = sign && *sign <= 1;
    // Only the field's digits, above zero, are an amount: a sign, a blank, a point or an exponent is not.
    const Reading<Money> amount = line.amount(*form.amount);
    if (amount && *amount > Money()) {
        d.amount = *amount;
    }
    d.effectiveDate = line.require(line.digits(ddr::kDetailDate));
    return d;
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
