#include "gui/app/AccountDialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qrv::gui {

namespace {

constexpr std::array<int, 4> kPartLengths = {3, 1, 5, 1};
constexpr const char* kPartNames[] = {"edtAccNum1", "edtAccNum2", "edtAccNum3", "edtAccNum4"};

}  // namespace

AccountDialog::AccountDialog(QWidget* parent)
    : QDialog(parent),
      name_(new QLineEdit(this)),
      ok_(new QPushButton(tr("&OK"), this)),
      exit_(new QPushButton(tr("E&XIT"), this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("Account"));
    setModal(true);
    // No title-bar buttons: only OK and EXIT leave the dialog.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    // In Thai the captions are the system's own: "เลขที่บัญชี" and "ชื่อบัญชีบริษัท", with the hint "1-100".
    const QString numberCaption = tr("Account number");
    const QString nameCaption = tr("Company account name");

    auto* numberLabel = new QLabel(numberCaption, this);
    numberLabel->setObjectName(QStringLiteral("lblAccNum"));
    QHBoxLayout* numberRow = buildNumberRow(numberCaption);
    numberLabel->setBuddy(parts_[0]);

    auto* nameLabel = new QLabel(nameCaption, this);
    nameLabel->setObjectName(QStringLiteral("lblNameAccount"));
    nameLabel->setBuddy(name_);
    name_->setObjectName(QStringLiteral("NameAccount"));
    name_->setMaxLength(100);
    name_->setAccessibleName(nameCaption);
    name_->setMinimumWidth(name_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30);
    auto* hint = new QLabel(tr("1-100 characters"), this);
    hint->setObjectName(QStringLiteral("lblNameHint"));

    auto* grid = new QGridLayout();
    grid->addWidget(numberLabel, 0, 0);
    grid->addLayout(numberRow, 0, 1);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(name_, 1, 1);
    grid->addWidget(hint, 2, 1);

    QHBoxLayout* buttons = buildButtons();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setTabOrder(parts_[0], parts_[1]);
    setTabOrder(parts_[1], parts_[2]);
    setTabOrder(parts_[2], parts_[3]);
    setTabOrder(parts_[3], name_);
    setTabOrder(name_, ok_);
    setTabOrder(ok_, exit_);
}

// The four boxes of the account number, "--" between them; a full box hands the focus to the next.
QHBoxLayout* AccountDialog::buildNumberRow(const QString& caption) {
    auto* numberRow = new QHBoxLayout();
    for (size_t i = 0; i < parts_.size(); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(kPartNames[i]));
        edit->setMaxLength(kPartLengths[i]);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * kPartLengths[i] + 18);
        edit->setAccessibleName(caption + QStringLiteral(" %1").arg(i + 1));
        parts_[i] = edit;
        if (i > 0) {
            numberRow->addWidget(new QLabel(QStringLiteral("--"), this));
        }
        numberRow->addWidget(edit);
    }
    numberRow->addStretch(1);

    // Automatic advance: a full part hands the focus to the next; the last part stays.
    for (size_t i = 0; i + 1 < parts_.size(); ++i) {
        QLineEdit* next = parts_[i + 1];
        const int length = kPartLengths[i];
        connect(parts_[i], &QLineEdit::textChanged, this, [next, length](const QString& text) {
            if (text.size() == length) {
                next->setFocus();
            }
        });
    }
    return numberRow;
}

// OK, the default, and EXIT.
QHBoxLayout* AccountDialog::buildButtons() {
    ok_->setObjectName(QStringLiteral("btnOK"));
    ok_->setAccessibleName(QStringLiteral("OK"));
    ok_->setDefault(true);
    exit_->setObjectName(QStringLiteral("Button1"));
    exit_->setAccessibleName(QStringLiteral("EXIT"));
    exit_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &AccountDialog::confirmClicked);
    connect(exit_, &QPushButton::clicked, this, &AccountDialog::exitClicked);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(exit_);
    return buttons;
}

AccountInput AccountDialog::input() const {
    AccountInput in;
    for (size_t i = 0; i < parts_.size(); ++i) {
        in.parts[i] = parts_[i]->text().toStdString();
    }
    in.name = name_->text().toStdString();
    return in;
}

void AccountDialog::clearFields() {
    for (QLineEdit* e : parts_) {
        e->clear();
    }
    name_->clear();
    parts_[0]->setFocus();
}

std::optional<AccountInput> AccountDialog::ask() {
    clearFields();
    if (exec() == QDialog::Accepted) {
        return input();
    }
    return std::nullopt;
}

void AccountDialog::confirmClicked() {
    if (okHandler_ && !okHandler_(input())) {
        return;  // refused: the handler has said why; the typed values stay
    }
    leaving_ = true;
    accept();
    leaving_ = false;
}

void AccountDialog::exitClicked() {
    leaving_ = true;
    reject();
    leaving_ = false;
}

void AccountDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->ignore();  // only EXIT leaves without confirming
        return;
    }
    QDialog::keyPressEvent(event);
}

void AccountDialog::closeEvent(QCloseEvent* event) {
    if (!leaving_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace qrv::gui
