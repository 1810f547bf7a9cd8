#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "convert/Product.h"
#include "convert/RunResult.h"
#include "convert/Services.h"

namespace qrv {

// "Reformat Data": one source file of a product into its upload file, listings, tables, report and
// archive. Texts are as the person typed them (UTF-8); records take their code page 874 form. An empty
// text is an empty field; no product is the "select product" refusal.
struct ReformatRequest {
    std::optional<Product> product;
    std::string companyId;
    std::filesystem::path sourcePath;
    std::filesystem::path destinationPath;
    std::filesystem::path invoicePath;  // Manager Cheque
    std::string debitAccount;           // credit products
    std::string feeAccount;             // credit products
    std::string creditAccount;          // Direct Debit (100M)
    std::string debitFeeAccount;        // Direct Debit (100M)
    ProcessingRound processingRound = ProcessingRound::None;
    bool printDetail = false;
    bool dryRun = false;  // every check and count; nothing written
};

// The values of the result report ("rptResult" and its two variants). A counter that the product does
// not keep is absent and prints as an empty text.
struct ResultCounters {
    std::optional<std::int64_t> TotalZeroAcct, NoZeroAcct, TotalZeroAm, NoZeroAm, TotalNagativeAm,
        NoNagativeAm, TotalReject, TotalBNKBRN, Error2million, SpaceAmount, InvalidAmount, TotalError,
        InvalidEffect, FutureEffect, Length, SignErr, invalidDebitAcct, totalAmount, TotalRecord;
};

struct ReformatResult : RunResult {
    std::string productCode;
    ResultCounters counters;
    bool converted = false;  // the common checks passed and the product's converter ran
    bool hashShown = false;  // the run settled the hash field: `hash`, or empty to clear it
    bool dryRun = false;     // nothing was written; `written` names what a real run would write
};

ReformatResult reformat(const ReformatRequest& request, Services& services);

// Whether "Default.ini" offers the product ("FALSE" in its key, any case, hides it; PAY covers the six
// payrolls). Direct Debit (100M) is always offered.
bool productEnabled(const DefaultSettings& settings, Product product);

}  // namespace qrv
