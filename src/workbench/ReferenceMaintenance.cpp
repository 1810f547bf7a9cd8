#include "workbench/ReferenceMaintenance.h"

#include <algorithm>

#include "base/Events.h"
#include "base/FieldHelpers.h"
#include "base/QrvError.h"
#include "refdata/ReferenceCodes.h"
#include "refdata/ReferenceImport.h"

namespace qrv {

namespace {

constexpr const char* kRowIdColumn = "qrv_rowid";

// Keeps the first `maxChars` UTF-8 characters.
std::string limitCharacters(const std::string& text, int maxChars) {
    if (maxChars <= 0) {
        return text;
    }
    int count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80) {  // a character starts here
            if (count == maxChars) {
                return text.substr(0, i);
            }
            ++count;
        }
    }
    return text;
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

}  // namespace

ReferenceMaintenance::ReferenceMaintenance(const MaintenanceForm& form, TableStore& store, Events& ui,
                                           std::optional<BankOfBranches> bank)
    : form_(form), store_(store), ui_(ui), bank_(std::move(bank)), values_(form.fields.size()) {}

ReferenceMaintenance ReferenceMaintenance::forBanks(TableStore& store, Events& ui) {
    return ReferenceMaintenance(bankForm(), store, ui);
}

ReferenceMaintenance ReferenceMaintenance::forBranches(TableStore& store, Events& ui, BankOfBranches bank) {
    return ReferenceMaintenance(branchForm(), store, ui, std::move(bank));
}

bool ReferenceMaintenance::enabled(MaintenanceButton button) const {
    const bool browse = state_ == MaintenanceState::Browse;
    const bool changing = state_ == MaintenanceState::New || state_ == MaintenanceState::Edit;
    switch (button) {
        case MaintenanceButton::Back:
            return true;
        case MaintenanceButton::Branch:
            return form_.branchButton && browse;
        case MaintenanceButton::New:
        case MaintenanceButton::Edit:
        case MaintenanceButton::Delete:
        case MaintenanceButton::View:
            return browse;
        case MaintenanceButton::Save:
        case MaintenanceButton::Cancel:
            return changing;
    }
    return false;
}

void ReferenceMaintenance::activate() {
    refresh();
}

void ReferenceMaintenance::refresh() {
    const std::int64_t keep = currentRow() != nullptr ? rowId(*currentRow()) : 0;
    std::string sql = "SELECT rowid AS " + std::string(kRowIdColumn) + ", * FROM " + quoted(form_.table);
    Binds binds;
    if (bank_) {
        sql += " WHERE BANK_CODE = ?";
        binds.emplace_back(bank_->code);
    }
    sql += " ORDER BY " + form_.orderBy;
    rows_ = store_.query(sql, binds);
    if (rows_.empty()) {
        current_ = -1;
        return;
    }
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (keep != 0 && rowId(rows_[i]) == keep) {
            current_ = static_cast<int>(i);
            return;
        }
    }
    current_ = std::clamp(current_, 0, static_cast<int>(rows_.size()) - 1);
}

void ReferenceMaintenance::setCurrent(int row) {
    if (state_ == MaintenanceState::Browse && row >= 0 && row < static_cast<int>(rows_.size())) {
        current_ = row;
    }
}

const Row* ReferenceMaintenance::currentRow() const {
    if (current_ < 0 || current_ >= static_cast<int>(rows_.size())) {
        return nullptr;
    }
    return &rows_[static_cast<size_t>(current_)];
}

std::string ReferenceMaintenance::cell(int row, size_t column) const {
    return rows_.at(static_cast<size_t>(row)).text(form_.columns.at(column).field);
}

std::int64_t ReferenceMaintenance::rowId(const Row& row) const {
    const Value* v = row.find(kRowIdColumn);
    const auto* id = v != nullptr ? std::get_if<std::int64_t>(v) : nullptr;
    return id != nullptr ? *id : 0;
}

void ReferenceMaintenance::setFieldText(size_t field, const std::string& text) {
    if (!fieldEditable(field)) {
        return;
    }
    const MaintenanceField& f = form_.fields.at(field);
    values_[field] = limitCharacters(f.code ? UpperCaseCode(text) : text, f.maxLength);
}

bool ReferenceMaintenance::fieldEditable(size_t field) const {
    if (state_ == MaintenanceState::New) {
        return true;
    }
    return state_ == MaintenanceState::Edit && !form_.fields.at(field).code;
}

bool ReferenceMaintenance::fieldTakesDigits(size_t field) const {
    return ReferenceCodeOf(form_.table, form_.fields.at(field).field) != nullptr;
}

std::optional<size_t> ReferenceMaintenance::focusField() const {
    if (state_ == MaintenanceState::New) {
        return 0;
    }
    if (state_ == MaintenanceState::Edit) {
        return 1;
    }
    return std::nullopt;
}

std::vector<std::string> ReferenceMaintenance::bankStrip() const {
    if (!bank_) {
        return {};
    }
    return {UpperCaseCode(bank_->code), UpperCaseCode(bank_->nameTh), UpperCaseCode(bank_->nameEn)};
}

void ReferenceMaintenance::openDetail(MaintenanceState state, PageIcon icon) {
    state_ = state;
    icon_ = icon;
    message_.clear();
}

void ReferenceMaintenance::loadCurrent() {
    const Row* row = currentRow();
    for (size_t i = 0; i < form_.fields.size(); ++i) {
        values_[i] = row->text(form_.fields[i].field);
    }
    editing_ = rowId(*row);
}

void ReferenceMaintenance::newClick() {
    if (!enabled(MaintenanceButton::New)) {
        return;
    }
    openDetail(MaintenanceState::New, PageIcon::New);
    for (std::string& v : values_) {
        v.clear();
    }
    editing_ = 0;
}

void ReferenceMaintenance::editClick() {
    if (!enabled(MaintenanceButton::Edit) || currentRow() == nullptr) {
        return;
    }
    openDetail(MaintenanceState::Edit, PageIcon::Edit);
    loadCurrent();
}

void ReferenceMaintenance::viewClick() {
    if (!enabled(MaintenanceButton::View) || currentRow() == nullptr) {
        return;
    }
    openDetail(MaintenanceState::View, PageIcon::View);
    loadCurrent();
}

void ReferenceMaintenance::deleteClick() {
    if (!enabled(MaintenanceButton::Delete) || currentRow() == nullptr) {
        return;
    }
    if (!ui_.askConfirmation(deleteQuestion())) {
        return;
    }
    bool deleted = false;
    try {
        TableStore::CommandScope command(store_);
        deleted = store_.execute("DELETE FROM " + quoted(form_.table) + " WHERE rowid = ?",
                                 {rowId(*currentRow())}) == 1;
    } catch (const QrvError&) {
        deleted = false;
    }
    if (!deleted) {
        ui_.showMessage(MessageKind::Warning, kCannotDelete);
    }
    refresh();
}

std::optional<BankOfBranches> ReferenceMaintenance::branchClick() {
    const Row* row = currentRow();
    if (!enabled(MaintenanceButton::Branch) || row == nullptr) {
        return std::nullopt;
    }
    return BankOfBranches{row->text("BANK_CODE"), row->text("BANK_NAME_TH"), row->text("BANK_NAME_EN")};
}

void ReferenceMaintenance::saveClick() {
    if (!enabled(MaintenanceButton::Save)) {
        return;
    }
    std::string missing;
    for (size_t i = 0; i < form_.fields.size(); ++i) {
        values_[i] = std::string(Trim(values_[i]));
        const std::string& hint = form_.fields[i].hint;
        if (!hint.empty() && hint.front() == '*' && values_[i].empty()) {
            missing += hint.substr(1) + kMissingSeparator;
        }
    }
    if (!missing.empty()) {
        message_ = kPleaseInput + missing.substr(0, missing.size() - 2);
        return;
    }
    // What is typed now has the form the reference tables hold; a code kept from before (read-only while
    // editing, perhaps registered by a Media Clearing run) is left as it is.
    for (size_t i = 0; i < form_.fields.size(); ++i) {
        const ReferenceCode* code = ReferenceCodeOf(form_.table, form_.fields[i].field);
        if (code != nullptr && fieldEditable(i) && !IsReferenceCode(*code, values_[i])) {
            message_ =
                "* " + std::string(code->title) + " must be " + std::to_string(code->digits) + " digits.";
            return;
        }
    }
    if (const std::string taken = takenCode(); !taken.empty()) {
        message_ = taken;
        return;
    }
    try {
        post();
    } catch (const QrvError&) {
        message_ = kPostError;
        return;
    }
    backToList();
}

std::string ReferenceMaintenance::takenCode() const {
    if (state_ != MaintenanceState::New) {
        return {};
    }
    std::string sql = "SELECT 1 FROM " + quoted(form_.table) + " WHERE ";
    std::string named;
    Binds binds;
    for (size_t i = 0; i < form_.fields.size(); ++i) {
        if (form_.fields[i].code) {
            sql += quoted(form_.fields[i].field) + " = ?";
            binds.emplace_back(values_[i]);
            named = form_.fields[i].hint.substr(1) + " " + values_[i];
        }
    }
    if (bank_) {
        sql += " AND \"BANK_CODE\" = ?";
        binds.emplace_back(bank_->code);
        named += " of bank " + bank_->code;
    }
    return store_.query(sql + " LIMIT 1", binds).empty()
               ? std::string()
               : std::string(kPostError) + " " + named + " exists already.";
}

std::string ReferenceMaintenance::deleteQuestion() const {
    std::string question = kConfirmDelete;
    if (const Row* row = currentRow()) {
        question += "\n";
        for (const MaintenanceField& f : form_.fields) {
            question += "\n" + f.caption + row->text(f.field);
        }
    }
    return question;
}

bool ReferenceMaintenance::find(const std::string& text) {
    if (state_ != MaintenanceState::Browse || rows_.empty() || text.empty()) {
        return false;
    }
    const std::string wanted = AsciiLowerCase(text);
    const int count = static_cast<int>(rows_.size());
    for (int step = 1; step <= count; ++step) {
        const int row = (std::max(current_, 0) + step) % count;
        for (size_t c = 0; c < form_.columns.size(); ++c) {
            if (AsciiLowerCase(cell(row, c)).find(wanted) != std::string::npos) {
                current_ = row;
                return true;
            }
        }
    }
    ui_.showMessage(MessageKind::Information, "\"" + text + "\" was not found.");
    return false;
}

bool ReferenceMaintenance::importFile(const std::filesystem::path& file) {
    if (state_ != MaintenanceState::Browse) {
        return false;
    }
    ReferenceImportRequest request;
    (bank_ ? request.branchesPath : request.banksPath) = file;
    bool imported = false;
    try {
        imported = importReferenceData(request, store_, ui_).outcome == Outcome::Written;
    } catch (const QrvError& e) {  // a file that cannot be read
        ui_.showMessage(MessageKind::Error, e.what());
    }
    refresh();
    return imported;
}

void ReferenceMaintenance::post() {
    TableStore::CommandScope command(store_);
    Binds binds;
    std::string names;
    std::string params;
    std::string assignments;
    for (size_t i = 0; i < form_.fields.size(); ++i) {
        const std::string& field = form_.fields[i].field;
        names += (i ? ", " : "") + quoted(field);
        params += i ? ", ?" : "?";
        assignments += (i ? ", " : "") + quoted(field) + " = ?";
        binds.emplace_back(values_[i]);
    }
    if (state_ == MaintenanceState::New) {
        if (bank_) {  // a new branch belongs to the bank of the bank window
            names += ", \"BANK_CODE\"";
            params += ", ?";
            binds.emplace_back(bank_->code);
        }
        store_.execute("INSERT INTO " + quoted(form_.table) + " (" + names + ") VALUES (" + params + ")",
                       binds);
        return;
    }
    binds.emplace_back(editing_);
    if (store_.execute("UPDATE " + quoted(form_.table) + " SET " + assignments + " WHERE rowid = ?", binds) !=
        1) {
        throw QrvError("The row being edited is no longer in " + form_.table);
    }
}

void ReferenceMaintenance::backToList() {
    const MaintenanceState was = state_;
    const std::vector<std::string> posted = values_;
    state_ = MaintenanceState::Browse;
    icon_ = PageIcon::None;
    refresh();
    if (was != MaintenanceState::New) {
        return;
    }
    // The row just added becomes the current row.
    for (size_t r = 0; r < rows_.size(); ++r) {
        bool same = true;
        for (size_t i = 0; i < form_.fields.size(); ++i) {
            if (form_.fields[i].code && rows_[r].text(form_.fields[i].field) != posted[i]) {
                same = false;
            }
        }
        if (same) {
            current_ = static_cast<int>(r);
            return;
        }
    }
}

void ReferenceMaintenance::cancelClick() {
    if (!enabled(MaintenanceButton::Cancel)) {
        return;
    }
    state_ = MaintenanceState::Browse;
    icon_ = PageIcon::None;
    refresh();
}

bool ReferenceMaintenance::backClick() {
    if (state_ == MaintenanceState::Browse) {
        return true;
    }
    state_ = MaintenanceState::Browse;
    icon_ = PageIcon::None;
    refresh();
    return false;
}

KeyOutcome ReferenceMaintenance::keyDown(MaintenanceKey key) {
    switch (key) {
        case MaintenanceKey::F1:
            newClick();
            return KeyOutcome::Consumed;
        case MaintenanceKey::F2:
            editClick();
            return KeyOutcome::Consumed;
        case MaintenanceKey::F3:
            deleteClick();
            return KeyOutcome::Consumed;
        case MaintenanceKey::F4:
            viewClick();
            return KeyOutcome::Consumed;
        case MaintenanceKey::F9:
            saveClick();
            return KeyOutcome::Consumed;
        case MaintenanceKey::Enter:
            return KeyOutcome::FocusNext;
        case MaintenanceKey::Esc:
            return backClick() ? KeyOutcome::Close : KeyOutcome::Consumed;
        case MaintenanceKey::Other:
            return KeyOutcome::PassOn;
    }
    return KeyOutcome::PassOn;
}

}  // namespace qrv
