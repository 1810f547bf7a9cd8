#include "cli/CliApp.h"
#include "convert/debit/AccountEntryDialog.h"

namespace qrv::cli {

namespace {

struct HashOptions {
    std::string source;
    std::string accountNo;
    std::string accountName;
};

// The workbench with "Direct Debit (HASH)" chosen, as a person would have it before pressing its buttons.
Workbench& hashWorkbench(Session& s, const HashOptions& o) {
    s.openStore();
    Workbench& wb = s.workbench;
    wb.FormCreate();
    wb.selectProduct(Choice::Debit);
    wb.fields.edtSource = o.source;
    return wb;
}

// Runs a command; whatever way it ends, a hash value left in the hash field is the last line.
int withHashValueLine(Session& s, const std::function<int()>& command) {
    const auto hashValueLine = [&s] {
        if (!s.workbench.fields.edtHashValue.empty()) {
            s.ui.finishProgress();
            s.ui.out() << "Hash Value: " << s.workbench.fields.edtHashValue << '\n';
            s.ui.out().flush();
        }
    };
    int status = kStopped;
    try {
        status = command();
    } catch (...) {
        hashValueLine();
        throw;
    }
    hashValueLine();
    return status;
}

int runHash(Session& s, const HashOptions& o) {
    return withHashValueLine(s, [&s, &o] {
        Workbench& wb = hashWorkbench(s, o);
        wb.btnGenHashClick();
        // The hash field is filled only by a clean check.
        return wb.fields.edtHashValue.empty() ? kStopped : kOk;
    });
}

int runCoverLetter(Session& s, const HashOptions& o) {
    if (CharacterCount(o.accountName) > AccountEntryDialog::maxLength(AccountField::NameAccount)) {
        throw UsageError("--account-name holds more than 100 characters");
    }
    return withHashValueLine(s, [&s, &o] {
        Workbench& wb = hashWorkbench(s, o);
        wb.btnGenHashClick();
        s.ui.setAccountEntry(o.accountNo, o.accountName);
        const int shownBefore = s.ui.reportsShown();
        wb.btnCoverLetterClick();
        // The letter is the only report the second command shows.
        return s.ui.reportsShown() > shownBefore ? kOk : kStopped;
    });
}

}  // namespace

void registerHashCommands(CLI::App& app, CommandTable& table) {
    auto options = std::make_shared<HashOptions>();

    CLI::App* hash =
        app.add_subcommand("hash", "GenerateHash: check a direct debit file and give its hash value");
    hash->add_option("--source", options->source, "The direct debit file")->type_name("FILE")->required();
    table.add(hash, [options](Session& s) { return runHash(s, *options); });

    CLI::App* cover = app.add_subcommand(
        "cover-letter", "GenerateHash, then the cover letter of the file for the account given");
    cover->add_option("--source", options->source, "The direct debit file")->type_name("FILE")->required();
    cover->add_option("--account-no", options->accountNo, "The company's 10-digit account number")
        ->type_name("DIGITS")
        ->required();
    cover
        ->add_option("--account-name", options->accountName,
                     "The company's account name, 1 to 100 characters")
        ->type_name("TEXT")
        ->required();
    table.add(cover, [options](Session& s) { return runCoverLetter(s, *options); });
}

}  // namespace qrv::cli
