#include <iostream>

#include "cli/CliApp.h"

namespace qrv::cli {

namespace {

struct BranchOptions {
    std::string bank;
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

}  // namespace

void registerRefdataCommands(CLI::App& app, CommandTable& table) {
    CLI::App* banks = app.add_subcommand("banks", "The bank reference table");
    banks->require_subcommand(1);
    CLI::App* banksList = banks->add_subcommand("list", "One line per bank: code, Thai name, English name");
    table.add(banksList, [](Session& s) { return listBanks(s, s.ui.out()); });

    CLI::App* branches = app.add_subcommand("branches", "The branch reference table");
    branches->require_subcommand(1);
    CLI::App* branchesList = branches->add_subcommand("list", "The branches of one bank");
    auto options = std::make_shared<BranchOptions>();
    branchesList->add_option("--bank", options->bank, "Bank code")->required();
    table.add(branchesList, [options](Session& s) { return listBranches(s, s.ui.out(), options->bank); });
}

}  // namespace qrv::cli
