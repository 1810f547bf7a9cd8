#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "base/Date.h"
#include "convert/FieldLimits.h"
#include "convert/Reformat.h"
#include "convert/RunResult.h"
#include "convert/debit/AccountEntryDialog.h"
#include "io/AppPaths.h"
#include "reports/ReportRunners.h"
#include "store/DefaultSettings.h"
#include "workbench/FieldLayout.h"
#include "workbench/ProductChoice.h"
#include "workbench/RunState.h"
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
    bool printDetail = false;  // "Print detail"
    std::string hashValue;
    int progress = 0;
};

// The workbench: its fields, product choice, what the window shows, the run state and the settings,
// with the logic of every handler. The window and the command line copy input in, call a handler and
// show back what changed.
class Workbench {
  public:
    Workbench(Ui& ui, TableStore& store, const Clock& clock, AppPaths paths);

    // Reads "Default.ini", disables the products it disables and selects the default product.
    void loadSettings();

    // A radio button clicked (or selected by FormCreate): its click handler runs.
    void selectProduct(Choice choice);
    Choice selected() const { return selected_; }
    bool isEnabled(Choice choice) const;

    void clearForm();
    void copyDebitAccount();
    void copyCreditAccount();
    // An item of the processing-round list chosen or text typed.
    void processingRoundChanged(const std::string& text);
    void browseSource();
    void browseSecondFile();
    void browseDestination();
    // The hidden button: the Media Clearing detail layout with whatever variables the runner holds.
    void mediaDetailReport();

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
    RunState run;
    ControlStates controls = initialControlStates();
    AccountEntryDialog accountDialog;  // the account entry dialog with its Accepted flag and AccountEntry
    // What the last product command did (its common part); none before one ran or after it failed
    // unexpectedly. The window shows it beside the messages.
    std::optional<RunResult> lastResult;
    // The field the last command was refused over, for the window to take the person to it.
    std::optional<Control> refusedControl() const;

    Ui& ui() { return ui_; }
    TableStore& store() { return store_; }
    const Clock& clock() const { return clock_; }
    const AppPaths& paths() const { return paths_; }
    const DefaultSettings& settings() const { return settings_; }
    ReportRunners& reports() { return reports_; }

    // A plain message box.
    void message(const std::string& text) { ui_.showMessage(MessageKind::Plain, text); }

  private:
    void clickHandler(Choice choice);

    Ui& ui_;
    TableStore& store_;
    const Clock& clock_;
    AppPaths paths_;
    DefaultSettings settings_;
    ReportRunners reports_;
    Choice selected_ = Choice::None;
    std::map<Choice, bool> enabled_;
};

}  // namespace qrv
