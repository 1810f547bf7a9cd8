#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "refdata/ReferenceTables.h"
#include "store/TableStore.h"

namespace qrv {

class Events;

// The four states of a maintenance window.
enum class MaintenanceState { Browse, New, Edit, View };
// The two pages that share the window's area.
enum class MaintenancePage { List, Detail };
// The buttons of the toolbar and of the detail page.
enum class MaintenanceButton { Back, Branch, New, Edit, Delete, View, Save, Cancel };
// The keys the window sees before its controls.
enum class MaintenanceKey { F1, F2, F3, F4, F9, Enter, Esc, Other };
// What the window does with a key after the model has seen it.
enum class KeyOutcome {
    PassOn,     // not a key of the window: the control gets it
    Consumed,   // handled (or ignored because its button is disabled); the control does not get it
    FocusNext,  // move the input focus to the next control; the control does not get it
    Close       // Back on the list page: close the window
};
// The picture of the detail page: the icon of the button that opened it.
enum class PageIcon { None, New, Edit, View };

// The bank whose branches the branch window keeps, as the bank window's current row holds it.
struct BankOfBranches {
    std::string code;
    std::string nameTh;
    std::string nameEn;
};

// Fixed texts of the windows.
inline constexpr const char* kMessageLineInitial = "Message : ";
inline constexpr const char* kPleaseInput = "* Please Input ";
inline constexpr const char* kMissingSeparator = " , ";
inline constexpr const char* kPostError = "* Post Error.";
inline constexpr const char* kConfirmDelete = "ยืนยันการลบข้อมูล ?";
inline constexpr const char* kCannotDelete = "ไม่สามารถทำการลบข้อมูลนี้ได้";

// The logic of one maintenance window (bank or branch): the list of rows, the current row, the state,
// the detail page's field texts and message line, the buttons' enabled states and the keys. The window
// only shows what this holds and forwards clicks, typing and keys.
class ReferenceMaintenance {
  public:
    ReferenceMaintenance(const MaintenanceForm& form, TableStore& store, Events& ui,
                         std::optional<BankOfBranches> bank = std::nullopt);
    static ReferenceMaintenance forBanks(TableStore& store, Events& ui);
    static ReferenceMaintenance forBranches(TableStore& store, Events& ui, BankOfBranches bank);

    const MaintenanceForm& form() const { return form_; }
    MaintenanceState state() const { return state_; }
    MaintenancePage page() const {
        return state_ == MaintenanceState::Browse ? MaintenancePage::List : MaintenancePage::Detail;
    }
    bool enabled(MaintenanceButton button) const;

    // The window became active: runs the list query. A row open on the detail page is held apart from
    // the list, so what was typed into it survives.
    void activate();
    // Runs the list query again, keeping the current row where it still exists.
    void refresh();

    // The list.
    const std::vector<Row>& rows() const { return rows_; }
    bool empty() const { return rows_.empty(); }
    // Index of the current row, -1 when the list is empty.
    int current() const { return current_; }
    void setCurrent(int row);
    const Row* currentRow() const;
    // Text of a grid cell.
    std::string cell(int row, size_t column) const;

    // The detail page.
    const std::string& fieldText(size_t field) const { return values_.at(field); }
    // What the person typed into a field; ignored where the field is read-only. Codes become upper
    // case and texts stop at the field's length, as the edits take them.
    void setFieldText(size_t field, const std::string& text);
    bool fieldEditable(size_t field) const;
    // True when the field takes digits only (a code of ReferenceCodes).
    bool fieldTakesDigits(size_t field) const;
    // The field that gets the focus when the page opens, if any.
    std::optional<size_t> focusField() const;
    const std::string& message() const { return message_; }
    PageIcon icon() const { return icon_; }
    // The branch window's bank strip, in upper case.
    std::vector<std::string> bankStrip() const;
    const std::optional<BankOfBranches>& bank() const { return bank_; }

    // The buttons. Each does nothing unless the button is enabled (and, for Edit, View, Delete and
    // Branch, unless the list holds a row).
    void newClick();
    void editClick();
    void viewClick();
    void deleteClick();
    // The bank to open the branch window for.
    std::optional<BankOfBranches> branchClick();
    void saveClick();
    void cancelClick();
    // True when the window is to close (Back on the list page).
    bool backClick();
    KeyOutcome keyDown(MaintenanceKey key);

    // Find (browse): the next row after the current one, round to the first, whose grid cells hold
    // `text` (ASCII letters in any case) becomes the current row. False, and a message, when none does.
    bool find(const std::string& text);
    // Import (browse): the rows of a CSV file of this window's table go in whole or not at all, as
    // `qrv refdata import` takes them; what happened (a file that cannot be read included) is shown as
    // a message. True when imported.
    bool importFile(const std::filesystem::path& file);
    // The question Delete asks: the fixed text, then the current row's fields.
    std::string deleteQuestion() const;

  private:
    void openDetail(MaintenanceState state, PageIcon icon);
    void loadCurrent();
    void post();
    // "* Post Error." naming the code when a new row's code is taken already, or empty.
    std::string takenCode() const;
    void backToList();
    std::int64_t rowId(const Row& row) const;

    const MaintenanceForm& form_;
    TableStore& store_;
    Events& ui_;
    std::optional<BankOfBranches> bank_;
    MaintenanceState state_ = MaintenanceState::Browse;
    std::vector<Row> rows_;
    int current_ = -1;
    std::vector<std::string> values_;
    std::int64_t editing_ = 0;  // row id of the row being edited
    std::string message_ = kMessageLineInitial;
    PageIcon icon_ = PageIcon::None;
};

}  // namespace qrv
