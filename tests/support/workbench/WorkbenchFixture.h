#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "workbench/Ui.h"
#include "workbench/Workbench.h"

namespace qrv::test {

// The window as a person would use it: a recording sink that also answers the file dialogs and the
// account entry dialog as told.
class RecordingUi : public Recording<Ui> {
  public:
    std::optional<std::string> chooseOpenFile(const std::string& filter) override {
        filters.push_back(filter);
        return openAnswer;
    }
    std::optional<std::string> chooseSaveFile(const std::string& filter,
                                              const std::string& proposed) override {
        filters.push_back(filter);
        proposedNames.push_back(proposed);
        return saveAnswer;
    }
    // The account entry dialog: each scripted answer is typed and OK pressed until one is accepted; when
    // none is left, EXIT.
    struct AccountAnswer {
        std::string part1, part2, part3, part4, name;
    };
    bool askAccountEntry(AccountEntryDialog& dialog) override {
        accountDialogFieldsAtOpen.push_back(dialog.accountPart1 + dialog.accountPart2 + dialog.accountPart3 +
                                            dialog.accountPart4 + dialog.accountName);
        for (const AccountAnswer& a : accountAnswers) {
            dialog.setText(AccountField::accountPart1, a.part1);
            dialog.setText(AccountField::accountPart2, a.part2);
            dialog.setText(AccountField::accountPart3, a.part3);
            dialog.setText(AccountField::accountPart4, a.part4);
            dialog.setText(AccountField::accountName, a.name);
            if (dialog.confirm(*this)) {
                return true;
            }
        }
        dialog.exit();
        return false;
    }

    // The mapping dialog: the sheets it was opened on; the file it "built".
    std::optional<std::string> sourceFromSheet(SheetMappingForm& form) override {
        sheetsMapped.push_back(form.sheet().string());
        return sheetAnswer;
    }

    std::vector<std::string> sheetsMapped;
    std::optional<std::string> sheetAnswer;
    std::vector<std::string> filters;
    std::vector<std::string> proposedNames;
    std::optional<std::string> openAnswer;
    std::optional<std::string> saveAnswer;
    std::vector<AccountAnswer> accountAnswers;
    std::vector<std::string> accountDialogFieldsAtOpen;  // the five fields joined, each time it opens
};

// A workbench over the test data and the source tree's report layouts, with a recording Ui.
class WorkbenchFixture : public TestData {
  public:
    explicit WorkbenchFixture(Date today = Date{2026, 12, 8}, const std::string& defaultIni = "");
    // "Reformat Data" through the operation with the request the fields make, the workbench's settings
    // and report runners, and the recording Ui; the result is also kept in `last`.
    ReformatResult reformat();
    ReformatResult reformat(const ReformatRequest& request);
    RecordingUi ui;
    Workbench wb;
    ReformatResult last;
};

// The services of a fixture for calling an operation directly: its store and clock, the workbench's
// report runners and settings, and the recording Ui as the events.
inline Services servicesOf(WorkbenchFixture& f) {
    return Services{f.store, f.clock, f.wb.reports(), f.wb.settings(), f.ui};
}

}  // namespace qrv::test
