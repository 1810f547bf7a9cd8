#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/Money.h"

namespace qrv {

struct ReformatRequest;
struct ReformatResult;
struct Services;

// The three forms of the result report: with its rejected entries, clean, and without an upload.
enum class ResultLayout { Result, NoErrors, NoUpload };

// What a product adds to its result report; every other variable comes from the request and result.
// The texts are code page 874 (the company name comes from the source file).
struct ResultReportValues {
    ResultLayout layout = ResultLayout::Result;
    std::string payType;
    std::int64_t debitRecord = 0;
    std::int64_t creditRecord = 0;
    std::optional<Money> amount;  // none: a run that summed nothing ("0.")
    std::string valueDate;
    std::string comName;
    std::string cusCap;
};

// The result report of a reformat: the layout, its 30 variables in order, shown by the result runner
// and recorded in the result (none in a dry run). A voided upload is never written (its converter does not
// write it), so nothing is removed afterwards.
void ShowResultReport(const ReformatRequest& request, ReformatResult& result,
                      const ResultReportValues& values, Services& services);

// The layout file of a form ("rptResult.frf").
const char* ResultLayoutFile(ResultLayout layout);

// An amount as the report shows it: the 16-digit amount field with a point before its decimals
// ("0000000001234.560"); "0." for none.
std::string AmountText(const std::optional<Money>& amount);

}  // namespace qrv
