#include "gui/history/RunHistoryWindow.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/language/SystemTexts.h"
#include "gui/window/QtUi.h"

namespace qrv::gui {

// The runs as a table: one row per run, the presenter's texts in its columns.
class RunHistoryModel final : public QAbstractTableModel {
  public:
    RunHistoryModel(const RunHistoryView& view, QObject* parent) : QAbstractTableModel(parent), view_(view) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(view_.runs().size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(RunHistoryView::columns().size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) {
            return {};
        }
        const auto column = static_cast<size_t>(index.column());
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(RunHistoryView::numeric(column) ? Qt::AlignRight | Qt::AlignVCenter
                                                                       : Qt::AlignLeft | Qt::AlignVCenter);
        }
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
            return {};
        }
        const RunEntry& run = view_.runs()[static_cast<size_t>(index.row())];
        // The outcome and where the run came from are words of the program; the rest is data.
        const std::string text = RunHistoryView::cell(run, column);
        return RunHistoryView::translated(column) ? ShownText(text) : QString::fromStdString(text);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return QAbstractTableModel::headerData(section, orientation, role);
        }
        return ShownText(RunHistoryView::columns()[static_cast<size_t>(section)]);
    }
    // The runs were read again.
    void reset() {
        beginResetModel();
        endResetModel();
    }

  private:
    const RunHistoryView& view_;
};

namespace {

QDate qDate(const Date& d) {
    return QDate(d.year, d.month, d.day);
}

std::string isoText(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd")).toStdString();
}

}  // namespace

RunHistoryWindow::RunHistoryWindow(const TableStore& store, const Date& today, QtUi& ui, QWidget* parent)
    : QWidget(parent),
      store_(store.dataFolder(), store.seed()),
      view_(store_),
      ui_(ui),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("fmRunHistory"));
    setWindowTitle(tr("Run history"));
    model_ = new RunHistoryModel(view_, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("runHistoryTable"));
    table_->setAccessibleName(tr("Runs, newest first"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    openFolder_ = new QPushButton(tr("Open folder"), this);
    openFolder_->setObjectName(QStringLiteral("openRunFolder"));
    copyHash_ = new QPushButton(tr("Copy hash"), this);
    copyHash_->setObjectName(QStringLiteral("copyRunHash"));
    count_ = new QLabel(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(count_, 1);
    buttons->addWidget(openFolder_);
    buttons->addWidget(copyHash_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFilter(today));
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    connect(openFolder_, &QPushButton::clicked, this, &RunHistoryWindow::openFolder);
    connect(copyHash_, &QPushButton::clicked, this, &RunHistoryWindow::copyHash);
    connect(table_, &QTableView::doubleClicked, this, &RunHistoryWindow::openFolder);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RunHistoryWindow::updateButtons);
    refresh();
}

RunHistoryWindow::~RunHistoryWindow() = default;

QWidget* RunHistoryWindow::buildFilter(const Date& today) {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    company_ = new QLineEdit(box);
    company_->setObjectName(QStringLiteral("historyCompany"));
    company_->setPlaceholderText(tr("Any company"));
    product_ = new QComboBox(box);
    product_->setObjectName(QStringLiteral("historyProduct"));
    for (const std::string& code : RunHistoryView::productChoices()) {
        product_->addItem(code.empty() ? tr("Any product") : QString::fromStdString(code),
                          QString::fromStdString(code));
    }
    const auto dateFilter = [box, &today](const QString& caption, const char* name, QCheckBox*& on,
                                          QDateEdit*& date) {
        on = new QCheckBox(caption, box);
        date = new QDateEdit(qDate(today), box);
        date->setObjectName(QString::fromLatin1(name));
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        date->setCalendarPopup(true);
        date->setEnabled(false);
        date->setAccessibleName(caption);
        connect(on, &QCheckBox::toggled, date, &QWidget::setEnabled);
    };
    dateFilter(tr("From"), "historyFrom", fromOn_, from_);
    dateFilter(tr("To"), "historyTo", toOn_, to_);
    auto* companyLabel = new QLabel(tr("&Company"), box);
    companyLabel->setBuddy(company_);
    auto* productLabel = new QLabel(tr("&Product"), box);
    productLabel->setBuddy(product_);
    for (QWidget* w : std::initializer_list<QWidget*>{companyLabel, company_, productLabel, product_, fromOn_,
                                                      from_, toOn_, to_}) {
        row->addWidget(w);
    }
    row->addStretch(1);
    connect(company_, &QLineEdit::textChanged, this, &RunHistoryWindow::filterChanged);
    connect(product_, &QComboBox::currentIndexChanged, this, &RunHistoryWindow::filterChanged);
    for (QCheckBox* on : {fromOn_, toOn_}) {
        connect(on, &QCheckBox::toggled, this, &RunHistoryWindow::filterChanged);
    }
    for (QDateEdit* date : {from_, to_}) {
        connect(date, &QDateEdit::dateChanged, this, &RunHistoryWindow::filterChanged);
    }
    return box;
}

void RunHistoryWindow::filterChanged() {
    view_.filter.companyId = company_->text().trimmed().toStdString();
    view_.filter.product = product_->currentData().toString().toStdString();
    view_.filter.since = fromOn_->isChecked() ? isoText(from_->date()) : std::string();
    view_.filter.until = toOn_->isChecked() ? isoText(to_->date()) : std::string();
    refresh();
}

void RunHistoryWindow::refresh() {
    try {
        view_.refresh();
    } catch (const std::exception& e) {
        ui_.showMessage(MessageKind::Warning, e.what());
    }
    model_->reset();
    table_->resizeColumnsToContents();
    count_->setText(tr("%n run(s)", nullptr, static_cast<int>(view_.runs().size())));
    updateButtons();
}

const RunEntry* RunHistoryWindow::chosenRun() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return nullptr;
    }
    return &view_.runs()[static_cast<size_t>(rows.front().row())];
}

void RunHistoryWindow::openFolder() {
    const RunEntry* run = chosenRun();
    if (run == nullptr) {
        return;
    }
    const QString folder = QString::fromStdString(RunHistoryView::folderOf(*run).string());
    if (!opener_(QUrl::fromLocalFile(folder))) {
        ui_.showMessage(MessageKind::Warning,
                        tr("Nothing could open the folder \"%1\": it is gone, or this desktop has no "
                           "program set to open it.")
                            .arg(QDir::toNativeSeparators(folder))
                            .toStdString());
    }
}

void RunHistoryWindow::copyHash() {
    if (const RunEntry* run = chosenRun(); run != nullptr && !RunHistoryView::hashOf(*run).empty()) {
        QGuiApplication::clipboard()->setText(QString::fromStdString(RunHistoryView::hashOf(*run)));
    }
}

void RunHistoryWindow::updateButtons() {
    const RunEntry* run = chosenRun();
    openFolder_->setEnabled(run != nullptr);
    copyHash_->setEnabled(run != nullptr && !RunHistoryView::hashOf(*run).empty());
}

}  // namespace qrv::gui
