#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Date.h"
#include "convert/FieldLimits.h"
#include "convert/Reformat.h"
#include "convert/RunResult.h"
#include "io/AppPaths.h"
#include "reports/ReportLayouts.h"
#include "store/DefaultSettings.h"
#include "workbench/AccountEntryDialog.h"
#include "workbench/ProductChoice.h"
#include "workbench/ProductControls.h"
#include "workbench/Ui.h"

namespace qrv {

class TableStore;

// The text of the workbench's fields as typed (UTF-8); records take their code page 874 form.
struct WorkbenchFields {
    std::string companyId;
    std::string companyCode;
    std::string debitAccount;
    std::string feeAccount;
    std::string creditAccount;
    std::string debitFeeAccount;
    std::string creditAccountType;
    std::string creditBranch;
    std::string feeAccountType;
    std::string feeBranch;
    std::string sourcePath;
    std::string secondFilePath;
    std::string destinationPath;
    std::string processingRound = "----- Please Select -----";
    ProcessingRound chosenRound = ProcessingRound::None;  // the round the list last named; None until then
    bool printDetail = false;                             // "Print detail"
    std::string hashValue;
    int progress = 0;
};

// The window's commands that run an operation and leave a result to show.
enum class Command {
    None,
    Reformat,
    GenerateHash,
    CoverLetter,
    CompareReturnFile,
    ConvertTo100M,
    TierRateReport
};

// What the last command ran on, beside its result: what the window needs to tell it in words and to
// find its rejected lines again.
struct LastRun {
    Command command = Command::None;
    std::optional<Product> product;     // the reformat's product; none for the other commands
    std::string source;                 // the file the run read, as its field named it
    std::vector<std::string> messages;  // the messages it showed, in order
};

// The workbench: its fields, product choice, what the window shows, the run state and the settings,
// with the logic of every handler. The window copies input in, calls a handler and shows back what
// changed; the command line does not use it (it builds the operations' requests from its options).
class Workbench {
  public:
    Workbench(Ui& ui, TableStore& store, const Clock& clock, AppPaths paths);

    // Reads "Default.ini", disables the products it disables and selects the default product.
    void loadSettings();

    // A product chosen (by the person or as the default): its controls are laid out. While a run's hash is
    // shown the person is warned first and either clears the form or keeps the product; false when kept.
    // Each product keeps its own fields: those of the product left are kept for its return.
    bool selectProduct(Choice choice);
    Choice selected() const { return selected_; }
    bool isEnabled(Choice choice) const;

    void clearForm();
    void copyDebitAccount();
    void copyCreditAccount();
    // The credit or debit fee account of Direct Debit (100M) was typed in: the type and branch boxes
    // beside it follow.
    void accountsEdited();
    // An item of the processing-round list chosen or text typed.
    void processingRoundChanged(const std::string& text);
    void browseSource();
    void browseSecondFile();
    void browseDestination();
    // A file field was typed in: a hash naming another file than the field now names goes.
    void filesEdited();
    // The hidden button: the Media Clearing detail layout with the variables the window's result-runner
    // reports have set so far.
    void mediaDetailReport();
    // A report shown from the window: the variables of a result-runner report are kept for the hidden
    // button.
    void reportShown(const ShownReport& report);

    // The commands of the products, each defined in the file of its command.
    void reformat();  // "Reformat Data": reformat() with reformatRequest(), the hash shown
    // The "Reformat Data" request of the fields as typed.
    ReformatRequest reformatRequest() const;
    // DebitCommands.cpp: each runs its operation with the fields as its request.
    bool compareReturnFile();     // "Reformat  100 M": true when the comparison file is written
    void chooseComparisonFile();  // "Save" of the return-file choice: proposes a name for it
    bool convertTo100M();         // "Convert 100 M": true when the converted file is written
    void generateHash();          // "GenerateHash": a clean check fills the hash field
    void coverLetter();           // "Cover Letter" of the hash shown
    void tierRateReport();        // "Calculate Tier Rate Report"

    // Progress bar; reported to the window only when it changes.
    void setProgress(int percent);

    WorkbenchFields fields;
    ControlStates controls = initialControlStates();
    AccountEntryDialog accountDialog;  // the account entry dialog with its Accepted flag and account
    // What the last product command did (its common part); none before one ran or after it failed
    // unexpectedly. The window shows it beside the messages.
    std::optional<RunResult> lastResult;
    LastRun lastRun;
    // The rejected entries the last run kept, in source line order.
    std::vector<RejectedEntry> rejectedEntries() const;
    // The command ended in an unexpected error: no result, and no hash of a file it may not have written.
    void runFailed();
    // The field the last command was refused over, for the window to take the person to it.
    std::optional<Control> refusedControl() const;

    Ui& ui() { return ui_; }
    TableStore& store() { return store_; }
    const Clock& clock() const { return clock_; }
    const AppPaths& paths() const { return paths_; }
    const DefaultSettings& settings() const { return settings_; }
    const ReportLayouts& reports() const { return reports_; }

    // A plain message box.
    void message(const std::string& text) { ui_.showMessage(MessageKind::Plain, text); }

  private:
    // Shows the controls of `choice` and sets the fields it starts with.
    void showProduct(Choice choice);
    // The result of a command starting: what it will be told by.
    void startRun(Command command, const std::string& source, std::optional<Product> product = {});
    void finishRun(const RunResult& result);
    // The hash field shows `hash`, of the file the source or the destination field names.
    enum class HashOf { Source, Destination };
    void showHash(const std::string& hash, HashOf of);
    void clearHash();
    // The field naming the file the shown hash is of.
    const std::string& hashFileField() const;

    Ui& ui_;
    TableStore& store_;
    const Clock& clock_;
    AppPaths paths_;
    DefaultSettings settings_;
    ReportLayouts reports_;
    Choice selected_ = Choice::None;
    std::map<Choice, bool> enabled_;
    // The fields each product had when the person left it.
    std::map<Choice, WorkbenchFields> productFields_;
    // The file the shown hash is of, and which field names it (source or destination).
    std::string hashFile_;
    bool hashOfSource_ = false;
    // Every variable the result-runner reports shown so far have set, with its latest value.
    std::vector<std::pair<std::string, std::string>> resultVariables_;
};

}  // namespace qrv
