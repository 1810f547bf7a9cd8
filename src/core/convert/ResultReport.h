#pragma once

#include <string>

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
    std::string debitRecord;   // a number as text ("000001")
    std::string creditRecord;  // a number as text
    std::string amount;        // the 16-digit amount field
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

// "0000000001234560" -> "0000000001234.560".
std::string AmountText(const std::string& amountField);

}  // namespace qrv
