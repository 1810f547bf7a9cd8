#pragma once

#include <filesystem>
#include <string>

#include "support/TestSupport.h"

// "Reformat Data" of one product: company ACME01, source "src.txt" and destination "up.txt" in the output
// folder, valid debit and fee accounts, the data folder's settings.
namespace qrv::test {

struct ProductRun : OperationFixture {
    explicit ProductRun(Product product, const std::string& defaultIni = "")
        : OperationFixture(Date{2026, 12, 8}, defaultIni) {
        loadSettings();
        request.product = product;
        request.companyId = "ACME01";
        request.sourcePath = source();
        request.destinationPath = out / "up.txt";
        request.debitAccount = "1234567896";
        request.feeAccount = "1234567896";
    }
    // Writes the source file and runs "Reformat Data" with the request.
    ReformatResult run(const std::string& bytes) {
        writeFile(source(), bytes);
        events.messages.clear();
        return reformat(request);
    }
    std::filesystem::path source() const { return out / "src.txt"; }
    bool uploaded() const { return std::filesystem::exists(out / "up.txt"); }
    // A listing's text, empty when there is none.
    std::string listing(const std::string& code, const std::string& suffix) const {
        const std::filesystem::path file = out / ("ACME01_" + code + suffix);
        return std::filesystem::exists(file) ? readFile(file) : std::string();
    }
    ReformatRequest request;
};

}  // namespace qrv::test
