#pragma once

#include <filesystem>
#include <string>

#include "support/TestSupport.h"
#include "workbench/Workbench.h"

// "Reformat Data" of one product over a fixture's workbench: company ACME01, source "src.txt" and
// destination "up.txt" in the output folder, valid debit and fee accounts.
namespace qrv::test {

struct ProductRun : WorkbenchFixture {
    explicit ProductRun(Choice choice, const std::string& defaultIni = "")
        : WorkbenchFixture(Date{2026, 12, 8}, defaultIni) {
        wb.loadSettings();
        wb.selectProduct(choice);
        wb.fields.companyId = "ACME01";
        wb.fields.sourcePath = source().string();
        wb.fields.destinationPath = (out / "up.txt").string();
        wb.fields.debitAccount = "1234567896";
        wb.fields.feeAccount = "1234567896";
    }
    // Writes the source file and presses "Reformat Data".
    ReformatResult run(const std::string& bytes) {
        writeFile(source(), bytes);
        ui.messages.clear();
        return reformat();
    }
    std::filesystem::path source() const { return out / "src.txt"; }
    bool uploaded() const { return std::filesystem::exists(out / "up.txt"); }
    // A listing's text, empty when there is none.
    std::string listing(const std::string& code, const std::string& suffix) const {
        const std::filesystem::path file = out / ("ACME01_" + code + suffix);
        return std::filesystem::exists(file) ? readFile(file) : std::string();
    }
};

}  // namespace qrv::test
