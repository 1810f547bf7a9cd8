#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "base/Date.h"
#include "convert/FieldLimits.h"
#include "convert/Reformat.h"
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
    std::string edtComId;
    std::string edtCompanyCode;
    std::string edtDebitAcct;
    std::string edtFeeAcct;
    std::string CreditAccountEdit;
    std::string DebitFeeAccEdt;
    std::string display_AcctType_CreAcct;
    std::string display_BranCode_CreAcct;
    std::string display_AcctType_FeeAcct;
    std::string display_BranCode_FeeAcct;
    std::string edtSource;
    std::string edtInvoice;
    std::string edtDestination;
    std::string ProcessingRound = "----- Please Select -----";
    bool CheckBox1 = false;  // "Print detail"
    std::string edtHashValue;
    int pgbState = 0;
};

// The items of the processing-round list.
inline constexpr const char* kProcessingRoundItems[] = {"Immediately", "End of Day", "Start of Day"};

// The workbench: its fields, product choice, what the window shows, the run state and the settings,
// with the logic of every handler. The window and the command line copy input in, call a handler and
// show back what changed.
class Workbench {
  public:
    Workbench(Ui& ui, TableStore& store, const Clock& clock, AppPaths paths);

    // Reads "Default.ini", disables the products it disables and selects the default product.
    void FormCreate();

    // A radio button clicked (or selected by FormCreate): its click handler runs.
    void selectProduct(Choice choice);
    Choice selected() const { return selected_; }
    bool isEnabled(Choice choice) const;

    void bntClearFormClick();
    void btnCopyAcctClick();
    void btncopyAccDDPClick();
    // An item of the processing-round list chosen or text typed.
    void ProcessingRoundChange(const std::string& text);
    void btnBrowseClick();
    void btnInvoiceClick();
    void bntDestinationClick();
    // The hidden button: the Media Clearing detail layout with whatever variables the runner holds.
    void Button1Click();

    // The commands of the products, each defined in the file of its command.
    void btnActionClick();  // "Reformat Data": reformat() with reformatRequest(), the hash shown
    // The "Reformat Data" request of the fields as typed.
    ReformatRequest reformatRequest() const;
    // DebitCommands.cpp: each runs its operation with the fields as its request.
    bool Button2Click();            // "Reformat  100 M": true when the comparison file is written
    void Button3Click();            // "Save" of the return-file choice: proposes a name for it
    bool btnConvertClick();         // "Convert 100 M": true when the converted file is written
    void btnGenHashClick();         // "GenerateHash": a clean check fills the hash field
    void btnCoverLetterClick();     // "Cover Letter" of the hash shown
    void calculateTierRateClick();  // "Calculate Tier Rate Report"

    // Progress bar; reported to the window only when it changes.
    void setProgress(int percent);

    WorkbenchFields fields;
    RunState run;
    ControlStates controls = initialControlStates();
    AccountEntryDialog accountDialog;  // the account entry dialog with its Accepted flag and AccountEntry

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
