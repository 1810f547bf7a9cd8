#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "base/AccountNumber.h"
#include "convert/Product.h"
#include "store/RunHistory.h"

namespace qrv {

// "Reformat Data": one source file of a product into its upload file, listings, tables, report and
// archive. Texts are as the person typed them (UTF-8); records take their code page 874 form. An empty
// text is an empty field; no product is the "select product" refusal. The accounts stay as typed: the
// operation checks them, refusing with the field named, and parses each once.
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
    // Convert a source that an earlier completed run of the company and product converted (a repeat is
    // refused without it).
    bool again = false;
    // A repeat ends the run without its message: the caller (the window) asks the person, and runs the
    // request again with `again` on Yes.
    bool askAgain = false;
    RunOrigin origin = RunOrigin::CommandLine;  // what the run history says it came from
};

// The accounts of a request as its checks accepted them (trimmed of blanks): the debit and fee accounts
// of the credit products, or the credit and debit fee accounts of Direct Debit (100M).
struct ReformatAccounts {
    std::optional<AccountNumber> debit;
    std::optional<AccountNumber> fee;
    std::optional<AccountNumber> credit;
    std::optional<AccountNumber> debitFee;
};

}  // namespace qrv
