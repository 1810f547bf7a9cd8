#include "cli/CliApp.h"
#include "convert/RequestFault.h"
#include "convert/debit/AccountEntry.h"
#include "convert/debit/CoverLetter.h"
#include "convert/debit/HashCheck.h"

namespace qrv::cli {

namespace {

struct HashOptions {
    std::string source;
    std::string accountNo;
    std::string accountName;
};

// The hash value the command leaves, as the window's hash field would hold it.
struct HashShown {
    std::string value;
};

// Runs a command; whatever way it ends, a hash value left is the last line.
int withHashValueLine(Session& s, const HashShown& shown, const std::function<int()>& command) {
    const auto hashValueLine = [&s, &shown] {
        if (!shown.value.empty()) {
            s.events.finishProgress();
            s.events.out() << "Hash Value: " << shown.value << '\n';
            s.events.out().flush();
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

// "GenerateHash"; a clean check leaves its hash value.
HashCheckResult checkFile(Services& services, const HashOptions& o, HashShown& shown) {
    HashCheckResult result = checkDirectDebitFile({std::filesystem::path(o.source), shown.value}, services);
    if (result.outcome == Outcome::Written) {
        shown.value = result.hash;
    }
    return result;
}

int runHash(Session& s, const HashOptions& o) {
    HashShown shown;
    return withHashValueLine(s, shown, [&s, &o, &shown] {
        s.events.checkReportFolder();
        s.openStore();
        Services services = s.services();
        const HashCheckResult result = checkFile(services, o, shown);
        return s.finish(result);
    });
}

int runCoverLetter(Session& s, const HashOptions& o) {
    const AccountEntry account = AccountEntry::fromText(o.accountNo, o.accountName);
    if (requestFault(CoverLetterRequest{std::filesystem::path(o.source), {}, account, std::nullopt})) {
        throw UsageError("--account-name holds more than 100 characters");
    }
    HashShown shown;
    return withHashValueLine(s, shown, [&s, &o, &shown, &account] {
        s.events.checkReportFolder();
        s.openStore();
        Services services = s.services();
        // The letter is made from this check: the file is read no more than the check reads it.
        HashCheckResult check = checkFile(services, o, shown);
        // The account as the window's account dialog checks it once the hash is there, said in English.
        if (!shown.value.empty()) {
            if (const AccountEntryCheck entry = CheckAccountEntry(account); !entry.account) {
                s.events.showMessage(MessageKind::Plain, entry.faultInEnglish);
                CoverLetterResult refused;
                refused.refuse(RequestField::Account);
                return s.finish(refused);
            }
        }
        const CoverLetterRequest request{std::filesystem::path(o.source), shown.value, account,
                                         std::move(check)};
        const CoverLetterResult result = printCoverLetter(request, services);
        if (result.outcome == Outcome::Written) {
            shown.value = result.hash;
        }
        return s.finish(result);
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
