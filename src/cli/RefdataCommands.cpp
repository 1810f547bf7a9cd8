#include <iostream>

#include "cli/CliApp.h"
#include "refdata/ReferenceImport.h"

namespace qrv::cli {

namespace {

struct BranchOptions {
    std::string bank;
};

struct ImportOptions {
    std::string banks;
    std::string branches;
};

int listBanks(Session& s, std::ostream& out) {
    s.openStore();
    s.store.forEachRow("SELECT BANK_CODE, BANK_NAME_TH, BANK_NAME_EN FROM Bank ORDER BY BANK_CODE", {},
                       [&out](const Row& r) {
                           out << r.text("BANK_CODE") << '\t' << r.text("BANK_NAME_TH") << '\t'
                               << r.text("BANK_NAME_EN") << '\n';
                           return true;
                       });
    return kOk;
}

int listBranches(Session& s, std::ostream& out, const std::string& bank) {
    s.openStore();
    s.store.forEachRow(
        "SELECT BRANCH_CODE, BANK_CODE, BRANCH_NAME_TH, BRANCH_NAME_EN, REGION_CODE FROM BRANCH WHERE "
        "BANK_CODE = ? "
        "ORDER BY BRANCH_CODE",
        {bank}, [&out](const Row& r) {
            out << r.text("BRANCH_CODE") << '\t' << r.text("BANK_CODE") << '\t' << r.text("BRANCH_NAME_TH")
                << '\t' << r.text("BRANCH_NAME_EN") << '\t' << r.text("REGION_CODE") << '\n';
            return true;
        });
    return kOk;
}

// Both files or nothing; a refused file is a message (status 1), not an unexpected error.
int importFiles(Session& s, const ImportOptions& o) {
    if (o.banks.empty() && o.branches.empty()) {
        throw UsageError("refdata import needs --banks FILE, --branches FILE or both");
    }
    s.openStore();
    ReferenceImportRequest request;
    if (!o.banks.empty()) {
        request.banksPath = o.banks;
    }
    if (!o.branches.empty()) {
        request.branchesPath = o.branches;
    }
    Services services = s.services();
    const ReferenceImportResult result = importReferenceData(request, services);
    return s.finish(result, {{"banks", result.counts.banks}, {"branches", result.counts.branches}});
}

}  // namespace

void registerRefdataCommands(CLI::App& app, CommandTable& table) {
    CLI::App* banks = app.add_subcommand("banks", "The bank reference table");
    banks->require_subcommand(1);
    CLI::App* banksList = banks->add_subcommand("list", "One line per bank: code, Thai name, English name");
    table.add(banksList, [](Session& s) { return listBanks(s, s.events.out()); });

    CLI::App* branches = app.add_subcommand("branches", "The branch reference table");
    branches->require_subcommand(1);
    CLI::App* branchesList = branches->add_subcommand("list", "The branches of one bank");
    auto options = std::make_shared<BranchOptions>();
    branchesList->add_option("--bank", options->bank, "Bank code, 3 digits")->type_name("CODE")->required();
    table.add(branchesList, [options](Session& s) { return listBranches(s, s.events.out(), options->bank); });

    CLI::App* refdata = app.add_subcommand("refdata", "The bank and branch reference tables");
    refdata->require_subcommand(1);
    CLI::App* import =
        refdata->add_subcommand("import", "Import bank and branch CSV files together (all or nothing)");
    auto files = std::make_shared<ImportOptions>();
    import
        ->add_option("--banks", files->banks,
                     "UTF-8 CSV file with the header BANK_CODE,BANK_NAME_TH,BANK_NAME_EN")
        ->type_name("FILE")
        ->check(CLI::Validator(CLI::ExistingFile).description(""));
    import
        ->add_option("--branches", files->branches,
                     "UTF-8 CSV file with the header "
                     "BRANCH_CODE,BANK_CODE,BRANCH_NAME_TH,BRANCH_NAME_EN,REGION_CODE")
        ->type_name("FILE")
        ->check(CLI::Validator(CLI::ExistingFile).description(""));
    table.add(import, [files](Session& s) { return importFiles(s, *files); });
}

}  // namespace qrv::cli
