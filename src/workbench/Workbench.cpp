#include "workbench/Workbench.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

#include "convert/source/SourceForm.h"
#include "sheet/Sheet.h"
#include "store/TableStore.h"
#include "workbench/RejectedLines.h"

namespace qrv {

namespace {

constexpr const char* kFileFilter = "Text File|*.txt|All File|*.*";
// The source of a product whose source file can be built from a spreadsheet.
constexpr const char* kSourceFilter = "Text File|*.txt|Spreadsheet|*.csv;*.xlsx|All File|*.*";

bool isSpreadsheet(const std::string& path) {
    return isSpreadsheetFile(std::filesystem::path(path));
}

// The warning choosing each product gives while a hash is shown.
const char* clearFormWarning(Choice c) {
    switch (c) {
        case Choice::DirectCredit:
        case Choice::Convert100M:
            return "Please Clear Form";
        case Choice::DirectDebit100M:
            return " Please, Clear Form. ";
        default:
            return "Clear Form";
    }
}

ControlSet controlSetFor(Choice c) {
    switch (c) {
        case Choice::MediaClearing:
        case Choice::MediaPayroll1:
        case Choice::MediaPayroll2:
        case Choice::MediaPayroll3:
            return ControlSet::MediaClearing;
        case Choice::ManagerCheque:
            return ControlSet::Cheque;
        case Choice::DirectDebit100M:
            return ControlSet::DirectDebit100M;
        case Choice::DirectDebitHash:
            return ControlSet::Hash;
        case Choice::ReturnFile:
            return ControlSet::ReturnFile;
        case Choice::Convert100M:
            return ControlSet::Convert;
        default:
            return ControlSet::Credit;
    }
}

}  // namespace

Workbench::Workbench(Ui& ui, TableStore& store, const Clock& clock, AppPaths paths)
    : ui_(ui), store_(store), clock_(clock), paths_(std::move(paths)), reports_(paths_.reportFolder) {
    for (const ChoiceInfo& c : choices()) {
        enabled_[c.choice] = true;
    }
}

void Workbench::loadSettings() {
    controls[Control::secondFileCaption].visible = false;
    controls[Control::secondFile].visible = false;
    controls[Control::browseSecondFile].visible = false;
    settings_ = DefaultSettings::load(paths_.dataFolder);
    for (const ChoiceInfo& c : choices()) {
        if (c.product) {
            enabled_[c.choice] = enabled_[c.choice] && productEnabled(settings_, *c.product);
        }
    }
    // The default product is compared exactly; Direct Debit (100M) is never chosen by default.
    const std::optional<Product> byDefault = productForCode(settings_.Default);
    if (byDefault && familyOf(*byDefault) != ProductFamily::DirectDebit100M) {
        selectProduct(choiceFor(*byDefault));
    }
}

bool Workbench::isEnabled(Choice choice) const {
    const auto it = enabled_.find(choice);
    return it == enabled_.end() || it->second;
}

bool Workbench::selectProduct(Choice choice) {
    if (choice != Choice::None && choice != Choice::DirectContract && !fields.hashValue.empty()) {
        // The results of a run are on screen: the person clears them with the form, or stays.
        if (!ui_.askClearForm(clearFormWarning(choice))) {
            return false;
        }
        clearForm();
    }
    if (choice != selected_) {
        // The last run was another product's: nothing shown from now on tells of it.
        lastResult.reset();
        lastRun = LastRun{};
        productFields_[selected_] = fields;
        const auto kept = productFields_.find(choice);
        const int progress = fields.progress;
        fields = kept == productFields_.end() ? WorkbenchFields{} : kept->second;
        fields.progress = progress;
        clearHash();
    }
    selected_ = choice;
    showProduct(choice);
    return true;
}

void Workbench::showProduct(Choice choice) {
    if (choice == Choice::None || choice == Choice::DirectContract) {
        return;
    }
    ControlView& printDetail = controls[Control::printDetail];
    switch (choice) {
        case Choice::DirectDebitHash:
            printDetail.visible = false;
            fields.printDetail = true;
            applyControlSet(controls, ControlSet::Hash);
            return;
        case Choice::ReturnFile:
            printDetail.visible = false;
            applyControlSet(controls, ControlSet::ReturnFile);
            return;
        case Choice::Convert100M:
            applyControlSet(controls, ControlSet::Convert);
            return;
        default:
            break;
    }
    printDetail.visible = true;
    fields.printDetail = false;
    if (choice == Choice::DirectDebit100M) {
        fields.processingRound.clear();
        fields.chosenRound = ProcessingRound::Immediately;
    }
    applyControlSet(controls, controlSetFor(choice));
}

void Workbench::clearForm() {
    clearHash();
    fields.companyId.clear();
    fields.debitAccount.clear();
    fields.feeAccount.clear();
    fields.sourcePath.clear();
    fields.secondFilePath.clear();
    fields.destinationPath.clear();
    fields.printDetail = false;
    setProgress(0);
    fields.companyCode.clear();
    fields.processingRound.clear();
    fields.debitFeeAccount.clear();
    fields.creditAccount.clear();
    fields.creditAccountType.clear();
    fields.creditBranch.clear();
    fields.feeAccountType.clear();
    fields.feeBranch.clear();
    fields.chosenRound = ProcessingRound::Immediately;
}

void Workbench::copyDebitAccount() {
    fields.feeAccount = fields.debitAccount;
}

namespace {

// The type (4th character) and branch (first 3) of an account as typed, for the boxes beside it.
void showAccountParts(const std::string& account, std::string& type, std::string& branch) {
    type = account.size() >= 4 ? account.substr(3, 1) : "";
    branch = account.substr(0, std::min<size_t>(3, account.size()));
}

}  // namespace

void Workbench::copyCreditAccount() {
    fields.debitFeeAccount = fields.creditAccount;
    showAccountParts(fields.debitFeeAccount, fields.feeAccountType, fields.feeBranch);
}

void Workbench::accountsEdited() {
    showAccountParts(fields.creditAccount, fields.creditAccountType, fields.creditBranch);
    showAccountParts(fields.debitFeeAccount, fields.feeAccountType, fields.feeBranch);
}

void Workbench::processingRoundChanged(const std::string& text) {
    fields.processingRound = text;
    for (const ProcessingRoundInfo& r : processingRounds()) {
        if (text == r.caption) {
            fields.chosenRound = r.round;
        }
    }
}

void Workbench::browseSource() {
    if (!fields.hashValue.empty() || fields.progress != 0) {
        message("Please Clear Form");
        return;
    }
    const bool fromSheet = sourceFormFor(productCodeOf(selected_)) != nullptr;
    std::optional<std::string> chosen = ui_.chooseOpenFile(fromSheet ? kSourceFilter : kFileFilter);
    if (chosen && fromSheet && isSpreadsheet(*chosen)) {
        SheetMappingForm form(*chosen, *this);
        chosen = ui_.sourceFromSheet(form);
    }
    // A cancelled dialog keeps the path already there.
    if (chosen) {
        fields.sourcePath = std::move(*chosen);
    }
}

void Workbench::browseSecondFile() {
    if (auto chosen = ui_.chooseOpenFile(kFileFilter)) {
        fields.secondFilePath = std::move(*chosen);
    }
}

void Workbench::browseDestination() {
    if (auto chosen = ui_.chooseSaveFile(kFileFilter, "")) {
        fields.destinationPath = std::move(*chosen);
        filesEdited();
    }
}

void Workbench::filesEdited() {
    if (!hashFile_.empty() && hashFileField() != hashFile_) {
        clearHash();
    }
}

const std::string& Workbench::hashFileField() const {
    return hashOfSource_ ? fields.sourcePath : fields.destinationPath;
}

void Workbench::showHash(const std::string& hash, HashOf of) {
    fields.hashValue = hash;
    hashOfSource_ = of == HashOf::Source;
    hashFile_ = hash.empty() ? std::string() : hashFileField();
}

void Workbench::clearHash() {
    showHash("", HashOf::Destination);
}

void Workbench::startRun(Command command, const std::string& source, std::optional<Product> product) {
    filesEdited();
    lastResult.reset();
    lastRun = LastRun{command, product, source, {}};
}

void Workbench::finishRun(const RunResult& result) {
    lastResult = result;
}

std::vector<RejectedEntry> Workbench::rejectedEntries() const {
    return lastResult ? RejectedEntriesOf(*lastResult) : std::vector<RejectedEntry>();
}

void Workbench::runFailed() {
    lastResult.reset();
    clearHash();
}

void Workbench::mediaDetailReport() {
    ReportRunner runner = reports_.open(kResultRunner, "rptMclDetail.frf");
    for (const auto& [name, value] : resultVariables_) {
        runner.setVariable(name, value);
    }
    reportShown(runner.prepare(store_));
}

void Workbench::reportShown(const ShownReport& report) {
    if (report.runner == kResultRunner.name) {
        for (const auto& [name, value] : report.variables) {
            const auto kept = std::find_if(resultVariables_.begin(), resultVariables_.end(),
                                           [&name = name](const auto& v) { return v.first == name; });
            if (kept == resultVariables_.end()) {
                resultVariables_.emplace_back(name, value);
            } else {
                kept->second = value;
            }
        }
    }
    ui_.showReport(report);
}

void Workbench::setProgress(int percent) {
    if (percent != fields.progress) {
        fields.progress = percent;
        ui_.setProgress(percent);
    }
}

std::optional<Control> Workbench::refusedControl() const {
    if (!lastResult || lastResult->outcome != Outcome::Refused) {
        return std::nullopt;
    }
    switch (lastResult->refusedField) {
        case RequestField::CompanyId:
            return Control::companyId;
        case RequestField::Source:
            return Control::source;
        case RequestField::Destination:
            return Control::destination;
        case RequestField::SecondFile:
            return Control::secondFile;
        case RequestField::DebitAccount:
            return Control::debitAccount;
        case RequestField::FeeAccount:
            return Control::feeAccount;
        case RequestField::CreditAccount:
            return Control::creditAccount;
        case RequestField::DebitFeeAccount:
            return Control::debitFeeAccount;
        case RequestField::ProcessingRound:
            return Control::processingRound;
        case RequestField::CompanyCode:
            return Control::companyCode;
        case RequestField::Account:  // typed in the account dialog, not in the window
        case RequestField::None:
            break;
    }
    return std::nullopt;
}

}  // namespace qrv
