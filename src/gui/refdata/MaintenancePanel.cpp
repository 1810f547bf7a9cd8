#include "gui/refdata/MaintenancePanel.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/language/SystemTexts.h"
#include "gui/window/QtUi.h"

namespace qrv::gui {

namespace {

QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

MaintenanceKey keyOf(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_F1:
            return MaintenanceKey::F1;
        case Qt::Key_F2:
            return MaintenanceKey::F2;
        case Qt::Key_F3:
            return MaintenanceKey::F3;
        case Qt::Key_F4:
            return MaintenanceKey::F4;
        case Qt::Key_F9:
            return MaintenanceKey::F9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return MaintenanceKey::Enter;
        case Qt::Key_Escape:
            return MaintenanceKey::Esc;
        default:
            return MaintenanceKey::Other;
    }
}

}  // namespace

MaintenancePanel::MaintenancePanel(std::unique_ptr<ReferenceMaintenance> model, bool doubleClickEdits,
                                   QWidget* parent)
    : QWidget(parent), model_(std::move(model)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildToolBar());
    addShortcuts();
    pages_ = new QStackedWidget(this);
    pages_->addWidget(buildMainPage(doubleClickEdits));
    pages_->addWidget(buildDetailPage());
    layout->addWidget(pages_);

    for (const auto& [b, w] : buttons_) {
        const MaintenanceButton which = b;
        connect(w, &QAbstractButton::clicked, this, [this, which] { click(which); });
    }
    sync();
}

// The commands of the list, then Find and Import.
QWidget* MaintenancePanel::buildToolBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName("toolBar");
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    addButton(new QToolButton(bar), MaintenanceButton::Back, "bBack", tr("Back"), "ย้อนกลับ [ESC]",
              QStyle::SP_ArrowBack);
    if (model_->form().branchButton) {
        addButton(new QToolButton(bar), MaintenanceButton::Branch, "bBranch", tr("Branch"), "เพิ่มสาขา [F7]",
                  QStyle::SP_FileDialogDetailedView);
    }
    addButton(new QToolButton(bar), MaintenanceButton::New, "bNew", tr("New"), "เพิ่มข้อมูล [F1]",
              QStyle::SP_FileIcon);
    addButton(new QToolButton(bar), MaintenanceButton::Edit, "bEdit", tr("Edit"), "แก้ไขข้อมูล [F2]",
              QStyle::SP_FileDialogContentsView);
    addButton(new QToolButton(bar), MaintenanceButton::Delete, "bDelete", tr("Delete"), "ลบข้อมูล [F3]",
              QStyle::SP_TrashIcon);
    addButton(new QToolButton(bar), MaintenanceButton::View, "bView", tr("View"), "แสดงข้อมูล [F4]",
              QStyle::SP_FileDialogInfoView);
    for (const auto& [b, w] : buttons_) {
        static_cast<QToolButton*>(w)->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
    for (const MaintenanceButton b :
         {MaintenanceButton::Back, MaintenanceButton::Branch, MaintenanceButton::New, MaintenanceButton::Edit,
          MaintenanceButton::Delete, MaintenanceButton::View}) {
        if (buttons_.count(b) != 0) {
            barLayout->addWidget(buttons_[b]);
        }
    }
    barLayout->addStretch();
    findEdit_ = new QLineEdit(bar);
    findEdit_->setObjectName("edtFind");
    findEdit_->setAccessibleName("Find");
    findEdit_->setPlaceholderText(tr("Code or name"));
    findEdit_->setToolTip(tr("Code or name to find [Ctrl+F]"));
    findEdit_->setClearButtonEnabled(true);
    barLayout->addWidget(findEdit_);
    auto* find = new QToolButton(bar);
    find->setObjectName("bFind");
    find->setText(tr("Find"));
    find->setToolTip(tr("Find the next row holding the text [Ctrl+F, Enter]"));
    find->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    find->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    find->setFocusPolicy(Qt::NoFocus);
    findButton_ = find;
    barLayout->addWidget(find);
    auto* import = new QToolButton(bar);
    import->setObjectName("bImport");
    import->setText(tr("Import"));
    import->setToolTip(model_->form().branchButton ? tr("Import banks from a CSV file [Ctrl+I]")
                                                   : tr("Import branches from a CSV file [Ctrl+I]"));
    import->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    import->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    import->setFocusPolicy(Qt::NoFocus);
    importButton_ = import;
    barLayout->addWidget(import);
    connect(find, &QToolButton::clicked, this, &MaintenancePanel::findNext);
    connect(import, &QToolButton::clicked, this, &MaintenancePanel::importCsv);
    return bar;
}

// Find (Ctrl+F) and Import (Ctrl+I) from anywhere in the panel.
void MaintenancePanel::addShortcuts() {
    auto* findKey = new QAction(this);
    findKey->setShortcut(QKeySequence::Find);
    findKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(findKey, &QAction::triggered, this, [this] {
        if (findEdit_->isEnabled()) {
            findEdit_->setFocus();
            findEdit_->selectAll();
        }
    });
    addAction(findKey);
    auto* importKey = new QAction(this);
    importKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    importKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(importKey, &QAction::triggered, this, [this] {
        if (importButton_->isEnabled()) {
            importCsv();
        }
    });
    addAction(importKey);
}

// The page of the list: one row per code; a double click edits the row when `doubleClickEdits`.
QWidget* MaintenancePanel::buildMainPage(bool doubleClickEdits) {
    auto* mainPage = new QWidget(pages_);
    mainPage->setObjectName("mainPage");
    auto* mainLayout = new QVBoxLayout(mainPage);
    grid_ = new QTableWidget(mainPage);
    grid_->setObjectName("grid");
    const auto& columns = model_->form().columns;
    grid_->setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    for (const MaintenanceColumn& c : columns) {
        titles << ShownText(c.title);
    }
    grid_->setHorizontalHeaderLabels(titles);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    // Codes take their width, names share the rest.
    for (size_t c = 0; c < columns.size(); ++c) {
        const bool name = columns[c].field.find("NAME") != std::string::npos;
        grid_->horizontalHeader()->setSectionResizeMode(
            static_cast<int>(c), name ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    }
    grid_->setSortingEnabled(false);  // the list query gives the order
    connect(grid_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { model_->setCurrent(row); });
    if (doubleClickEdits) {
        connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
            model_->setCurrent(row);
            click(MaintenanceButton::Edit);
        });
    }
    mainLayout->addWidget(grid_);
    return mainPage;
}

MaintenancePanel::~MaintenancePanel() = default;

void MaintenancePanel::addButton(QAbstractButton* button, MaintenanceButton b, const char* name,
                                 const QString& text, const QString& hint, int icon) {
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(ShownText(hint.toStdString()));
    button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
    button->setFocusPolicy(Qt::NoFocus);
    buttons_[b] = button;
}

QWidget* MaintenancePanel::buildDetailPage() {
    auto* page = new QWidget(pages_);
    page->setObjectName("detailPage");
    auto* outer = new QVBoxLayout(page);
    auto* top = new QHBoxLayout();
    picture_ = new QLabel(page);
    picture_->setObjectName("imgAction");
    picture_->setFixedSize(32, 32);
    top->addWidget(picture_);
    message_ = new QLabel(page);
    message_->setObjectName("errorMessage");
    top->addWidget(message_, 1);
    outer->addLayout(top);

    auto* form = new QGridLayout();
    const auto& fields = model_->form().fields;
    for (size_t i = 0; i < fields.size(); ++i) {
        const MaintenanceField& f = fields[i];
        auto* label = new QLabel(ShownText(f.caption), page);
        auto* edit = new QLineEdit(page);
        edit->setObjectName(qs("edt" + f.field));
        edit->setToolTip(ShownText(f.hint));
        if (f.maxLength > 0) {
            edit->setMaxLength(f.maxLength);
        }
        if (model_->fieldTakesDigits(i)) {  // bank, branch and region codes are digits
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        }
        label->setBuddy(edit);
        form->addWidget(label, static_cast<int>(i), 0);
        form->addWidget(edit, static_cast<int>(i), 1);
        connect(edit, &QLineEdit::textEdited, this, [this, i](const QString& text) { typed(i, text); });
        edits_.push_back(edit);
    }
    outer->addLayout(form);

    auto* actions = new QHBoxLayout();
    actions->addStretch();
    addButton(new QPushButton(page), MaintenanceButton::Save, "bSave", tr("Save"), "บันทึกข้อมูล [F9]",
              QStyle::SP_DialogSaveButton);
    addButton(new QPushButton(page), MaintenanceButton::Cancel, "bCancel", tr("Cancel"),
              "ยกเลิกการบันทึกข้อมูล [ESC]", QStyle::SP_DialogCancelButton);
    buttons_[MaintenanceButton::Save]->setFocusPolicy(Qt::StrongFocus);
    buttons_[MaintenanceButton::Cancel]->setFocusPolicy(Qt::StrongFocus);
    actions->addWidget(buttons_[MaintenanceButton::Save]);
    actions->addWidget(buttons_[MaintenanceButton::Cancel]);
    outer->addLayout(actions);
    outer->addStretch();
    return page;
}

QAbstractButton* MaintenancePanel::button(MaintenanceButton b) const {
    const auto it = buttons_.find(b);
    return it == buttons_.end() ? nullptr : it->second;
}

void MaintenancePanel::activate() {
    model_->activate();
    sync();
}

void MaintenancePanel::watchKeys(QWidget* window) {
    window->installEventFilter(this);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        w->installEventFilter(this);
    }
}

bool MaintenancePanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const MaintenanceKey key = keyOf(static_cast<QKeyEvent*>(event));
    if (watched == findEdit_ && key == MaintenanceKey::Enter) {  // Enter in the find box finds
        findNext();
        return true;
    }
    const MaintenanceState before = model_->state();
    const KeyOutcome outcome = model_->keyDown(key);
    switch (outcome) {
        case KeyOutcome::PassOn:
            return false;
        case KeyOutcome::Consumed:
            sync(model_->state() != before);
            return true;
        case KeyOutcome::FocusNext:
            focusNext(qobject_cast<QWidget*>(watched));
            return true;
        case KeyOutcome::Close:
            emit closeRequested();
            return true;
    }
    return false;
}

void MaintenancePanel::click(MaintenanceButton b) {
    const MaintenanceState before = model_->state();
    switch (b) {
        case MaintenanceButton::Back:
            if (model_->backClick()) {
                emit closeRequested();
                return;
            }
            break;
        case MaintenanceButton::Branch:
            if (const auto bank = model_->branchClick()) {
                emit branchRequested(*bank);
            }
            return;
        case MaintenanceButton::New:
            model_->newClick();
            break;
        case MaintenanceButton::Edit:
            model_->editClick();
            break;
        case MaintenanceButton::Delete:
            model_->deleteClick();
            break;
        case MaintenanceButton::View:
            model_->viewClick();
            break;
        case MaintenanceButton::Save:
            model_->saveClick();
            break;
        case MaintenanceButton::Cancel:
            model_->cancelClick();
            break;
    }
    sync(model_->state() != before);
}

void MaintenancePanel::findNext() {
    if (model_->find(findEdit_->text().trimmed().toStdString())) {
        fillGrid();
        grid_->setFocus();
    }
}

void MaintenancePanel::importCsv() {
    if (model_->state() != MaintenanceState::Browse) {
        return;
    }
    QFileDialog dialog(this, model_->form().branchButton ? tr("Import banks") : tr("Import branches"),
                       QString(), tr("CSV files (*.csv);;All files (*.*)"));
    dialog.setObjectName("importDialog");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    FitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    model_->importFile(std::filesystem::path(dialog.selectedFiles().first().toStdU16String()));
    sync();
}

void MaintenancePanel::typed(size_t field, const QString& text) {
    model_->setFieldText(field, text.toStdString());
    const QString taken = qs(model_->fieldText(field));
    if (taken != text) {  // a code typed in lower case shows in upper case
        QLineEdit* edit = edits_[field];
        const int cursor = edit->cursorPosition();
        edit->setText(taken);
        edit->setCursorPosition(std::min(cursor, static_cast<int>(taken.size())));
    }
}

void MaintenancePanel::sync(bool opened) {
    const bool list = model_->page() == MaintenancePage::List;
    pages_->setCurrentIndex(list ? 0 : 1);
    for (const auto& [b, w] : buttons_) {
        w->setEnabled(model_->enabled(b));
    }
    findEdit_->setEnabled(list);
    findButton_->setEnabled(list);
    importButton_->setEnabled(list);
    if (list) {
        fillGrid();
        if (opened) {
            grid_->setFocus();
        }
        return;
    }
    for (size_t i = 0; i < edits_.size(); ++i) {
        const QString text = qs(model_->fieldText(i));
        if (edits_[i]->text() != text) {
            edits_[i]->setText(text);
        }
        edits_[i]->setReadOnly(!model_->fieldEditable(i));
    }
    message_->setText(ShownText(model_->message()));
    QStyle::StandardPixmap icon = QStyle::SP_CustomBase;
    switch (model_->icon()) {
        case PageIcon::New:
            icon = QStyle::SP_FileIcon;
            break;
        case PageIcon::Edit:
            icon = QStyle::SP_FileDialogContentsView;
            break;
        case PageIcon::View:
            icon = QStyle::SP_FileDialogInfoView;
            break;
        case PageIcon::None:
            break;
    }
    picture_->setPixmap(icon == QStyle::SP_CustomBase ? QPixmap()
                                                      : style()->standardIcon(icon).pixmap(32, 32));
    if (opened) {
        if (const auto f = model_->focusField()) {
            edits_[*f]->setFocus();
            edits_[*f]->selectAll();
        } else {
            buttons_[MaintenanceButton::Back]->setFocus();
        }
    }
}

void MaintenancePanel::fillGrid() {
    const QSignalBlocker block(grid_);
    const auto& rows = model_->rows();
    const auto& columns = model_->form().columns;
    grid_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (size_t c = 0; c < columns.size(); ++c) {
            auto* item = grid_->item(r, static_cast<int>(c));
            if (item == nullptr) {
                item = new QTableWidgetItem();
                grid_->setItem(r, static_cast<int>(c), item);
            }
            item->setText(qs(model_->cell(r, c)));
        }
    }
    if (model_->current() >= 0) {
        grid_->setCurrentCell(model_->current(), 0);
        grid_->selectRow(model_->current());
    }
}

void MaintenancePanel::focusNext(QWidget* from) {
    // The controls of the page shown that take the focus, in page order; the focus moves to the one
    // after the current, round to the first.
    std::vector<QWidget*> chain;
    if (model_->page() == MaintenancePage::List) {
        chain.push_back(grid_);
    } else {
        for (QLineEdit* e : edits_) {
            if (!e->isReadOnly()) {
                chain.push_back(e);
            }
        }
        for (const MaintenanceButton b : {MaintenanceButton::Save, MaintenanceButton::Cancel}) {
            if (buttons_[b]->isEnabled()) {
                chain.push_back(buttons_[b]);
            }
        }
    }
    if (chain.empty()) {
        return;
    }
    // The control the key was typed in (a key reaches the window first when none has the focus).
    QWidget* focus = from != nullptr && from != window() ? from : QApplication::focusWidget();
    if (model_->page() == MaintenancePage::Detail) {
        // Enter on Save or Cancel presses it; on the last field it saves, as a form's Enter does.
        for (const MaintenanceButton b : {MaintenanceButton::Save, MaintenanceButton::Cancel}) {
            if (focus == buttons_[b] && buttons_[b]->isEnabled()) {
                click(b);
                return;
            }
        }
        const auto lastField = std::find_if(
            chain.rbegin(), chain.rend(), [](QWidget* w) { return qobject_cast<QLineEdit*>(w) != nullptr; });
        if (lastField != chain.rend() && *lastField == focus &&
            buttons_[MaintenanceButton::Save]->isEnabled()) {
            click(MaintenanceButton::Save);
            return;
        }
    }
    size_t next = 0;
    for (size_t i = 0; i < chain.size(); ++i) {
        if (chain[i] == focus) {
            next = (i + 1) % chain.size();
        }
    }
    chain[next]->setFocus();
}

}  // namespace qrv::gui
