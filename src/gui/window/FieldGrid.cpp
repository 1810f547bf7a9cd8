#include "gui/window/FieldGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <utility>

#include "gui/language/SystemTexts.h"
#include "gui/window/WorkbenchControls.h"
#include "workbench/Workbench.h"

namespace qrv::gui {

namespace {

using C = Control;

// The processing round as the list shows it: its caption translated, with the code the command line
// takes ("Immediately (00)"); and back.
QString roundShown(const std::string& round) {
    for (const ProcessingRoundInfo& r : processingRounds()) {
        if (round == r.caption) {
            return ShownText(round) + QStringLiteral(" (") +
                   QLatin1String(r.code.data(), static_cast<qsizetype>(r.code.size())) + QLatin1Char(')');
        }
    }
    return QString::fromStdString(round);
}

std::string roundTyped(const QString& shown) {
    for (const ProcessingRoundInfo& r : processingRounds()) {
        const std::string caption(r.caption);
        if (shown == roundShown(caption) || shown == ShownText(caption)) {
            return caption;
        }
    }
    return shown.toStdString();
}

QHBoxLayout* rowBox() {
    auto* h = new QHBoxLayout();
    h->setContentsMargins(0, 0, 0, 0);
    return h;
}

}  // namespace

FieldGrid::FieldGrid(WorkbenchControls& controls, const WorkbenchFields& initial) : controls_(controls) {
    setColumnStretch(1, 1);
    int row = 0;
    addCompanyRows(row);
    addAccountRows(row);
    addFileRows(row);
    round_->setEditText(roundShown(initial.processingRound));
    // The caption column keeps the width of its longest caption, so that the fields stay in place
    // when a layout hides the rows with the long captions.
    setColumnMinimumWidth(0, controls_.at(C::destinationCaption)->sizeHint().width());
    addResultRows(row);
    setBuddies();
    setToolTips();
}

void FieldGrid::addCompanyRows(int& row) {
    auto* caps = rowBox();
    caps->addWidget(controls_.label(C::companyIdCaption));
    caps->addWidget(controls_.label(C::v5CorporateIdCaption));
    addLayout(caps, row, 0);
    addWidget(controls_.edit(C::companyId, FieldLimits::companyId), row, 1);
    ++row;
    addWidget(controls_.label(C::debitAccountCaption), row, 0);
    auto* debit = rowBox();
    debit->addWidget(controls_.edit(C::debitAccount, FieldLimits::debitAccount));
    debit->addWidget(controls_.button(C::copyDebitAccount));
    debit->addStretch(1);
    addLayout(debit, row, 1);
    ++row;
}

void FieldGrid::addAccountRows(int& row) {
    // The credit account with its type and branch.
    addWidget(controls_.label(C::creditAccountCaption), row, 0);
    auto* credit = rowBox();
    credit->addWidget(controls_.edit(C::creditAccount, FieldLimits::creditAccount));
    credit->addSpacing(12);
    credit->addWidget(controls_.label(C::creditAccountTypeCaption));
    credit->addWidget(controls_.display(C::creditAccountType));
    credit->addSpacing(12);
    credit->addWidget(controls_.label(C::creditBranchCaption));
    credit->addWidget(controls_.display(C::creditBranch));
    credit->addSpacing(12);
    credit->addWidget(controls_.button(C::copyCreditAccount));
    credit->addStretch(1);
    addLayout(credit, row, 1);
    ++row;
    // The fee account: the long one of the credit products, the short one of Direct Debit (100M).
    addWidget(controls_.label(C::feeAccountCaption), row, 0);
    auto* fee = rowBox();
    fee->addWidget(controls_.edit(C::feeAccount, FieldLimits::feeAccount));
    fee->addWidget(controls_.edit(C::debitFeeAccount, FieldLimits::debitFeeAccount));
    fee->addSpacing(12);
    fee->addWidget(controls_.label(C::feeAccountTypeCaption));
    fee->addWidget(controls_.display(C::feeAccountType));
    fee->addSpacing(12);
    fee->addWidget(controls_.label(C::feeBranchCaption));
    fee->addWidget(controls_.display(C::feeBranch));
    fee->addStretch(1);
    addLayout(fee, row, 1);
    ++row;
    // The company code of the conversion.
    addWidget(controls_.label(C::companyCodeCaption), row, 0);
    addWidget(controls_.edit(C::companyCode, FieldLimits::companyCode), row, 1);
    ++row;
}

void FieldGrid::addFileRows(int& row) {
    addWidget(controls_.label(C::sourceCaption), row, 0);
    QLineEdit* source = controls_.edit(C::source, 0);
    source->setAcceptDrops(true);
    addWidget(source, row, 1);
    addWidget(controls_.button(C::browseSource), row, 2);
    ++row;
    // The third line: processing round, invoice file or file from V5.
    auto* caps = rowBox();
    caps->addWidget(controls_.label(C::thirdLineCaption));
    caps->addWidget(controls_.label(C::secondFileCaption));
    addLayout(caps, row, 0);
    auto* fields = rowBox();
    round_ = new QComboBox(controls_.form());
    round_->setEditable(true);
    round_->setInsertPolicy(QComboBox::NoInsert);
    for (const ProcessingRoundInfo& r : processingRounds()) {
        round_->addItem(roundShown(std::string(r.caption)));
    }
    round_->setMinimumWidth(widthForChars(round_, 24));
    controls_.add(C::processingRound, round_);
    fields->addWidget(round_);
    fields->addWidget(controls_.edit(C::secondFile, 0), 1);
    fields->addStretch(0);
    addLayout(fields, row, 1);
    addWidget(controls_.button(C::browseSecondFile), row, 2);
    ++row;
    addWidget(controls_.label(C::destinationCaption), row, 0);
    addWidget(controls_.edit(C::destination, 0), row, 1);
    addWidget(controls_.button(C::browseDestination), row, 2);
    ++row;
}

void FieldGrid::addResultRows(int& row) {
    addWidget(controls_.checkBox(C::printDetail), row, 1);
    ++row;
    hashCaption_ = new QLabel(withMnemonic(QStringLiteral("lblHashValue"), "Hash Value"), controls_.form());
    hashCaption_->setObjectName(QStringLiteral("lblHashValue"));
    addWidget(hashCaption_, row, 0);
    QLineEdit* hash = controls_.edit(C::hashValue, 0);
    hash->setReadOnly(true);
    hash->setFrame(false);
    hash->setFocusPolicy(Qt::ClickFocus);
    hash->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    addWidget(hash, row, 1, 1, 2);
    ++row;
}

// Buddies, so that a caption's mnemonic reaches its field.
void FieldGrid::setBuddies() {
    auto buddy = [this](C l, C field) { controls_.as<QLabel>(l)->setBuddy(controls_.at(field)); };
    buddy(C::companyIdCaption, C::companyId);
    buddy(C::v5CorporateIdCaption, C::companyId);
    buddy(C::debitAccountCaption, C::debitAccount);
    buddy(C::creditAccountCaption, C::creditAccount);
    buddy(C::companyCodeCaption, C::companyCode);
    buddy(C::sourceCaption, C::source);
    buddy(C::secondFileCaption, C::secondFile);
    buddy(C::destinationCaption, C::destination);
    hashCaption_->setBuddy(controls_.at(C::hashValue));
}

void FieldGrid::setToolTips() {
    auto tip = [this](C c, const QString& text) { controls_.at(c)->setToolTip(text); };
    tip(C::companyId, tr("Company ID as registered with the bank: up to 12 characters, no \"/\" or \"\\\""));
    const QString account =
        tr("Home-bank account: 10 digits with check digit; the first 3 digits are the "
           "branch, the 4th the account type");
    tip(C::debitAccount, account);
    tip(C::feeAccount, account);
    tip(C::creditAccount, tr("Credit account: 10 digits; the first 3 are the branch, the 4th the type"));
    tip(C::debitFeeAccount, tr("Debit fee account: 10 digits; the first 3 are the branch, the 4th the type"));
    tip(C::companyCode, tr("Company code: up to 6 characters"));
    tip(C::source, tr("The payment text file to read (a file can be dropped here)"));
    tip(C::processingRound, tr("Immediately (00), End of Day (01) or Start of Day (02)"));
    tip(C::hashValue, tr("The hash line's 40 hexadecimal digits"));
    tip(C::printDetail, tr("Show the detail report, line by line, instead of the result report"));
}

void FieldGrid::copyTo(WorkbenchFields& f) const {
    auto text = [this](C c) { return controls_.as<QLineEdit>(c)->text().toStdString(); };
    f.companyId = text(C::companyId);
    f.companyCode = text(C::companyCode);
    f.debitAccount = text(C::debitAccount);
    f.feeAccount = text(C::feeAccount);
    f.creditAccount = text(C::creditAccount);
    f.debitFeeAccount = text(C::debitFeeAccount);
    f.sourcePath = text(C::source);
    f.secondFilePath = text(C::secondFile);
    f.destinationPath = text(C::destination);
    f.hashValue = text(C::hashValue);
    f.processingRound = roundTyped(round_->currentText());
    f.printDetail = controls_.as<QCheckBox>(C::printDetail)->isChecked();
}

void FieldGrid::show(const WorkbenchFields& f) {
    auto setText = [this](C c, const std::string& value) {
        const QString text = QString::fromStdString(value);
        if (auto* e = qobject_cast<QLineEdit*>(controls_.at(c))) {
            if (e->text() != text) {
                e->setText(text);
            }
        } else if (auto* l = qobject_cast<QLabel*>(controls_.at(c))) {
            l->setText(text);
        }
    };
    setText(C::companyId, f.companyId);
    setText(C::companyCode, f.companyCode);
    setText(C::debitAccount, f.debitAccount);
    setText(C::feeAccount, f.feeAccount);
    setText(C::creditAccount, f.creditAccount);
    setText(C::debitFeeAccount, f.debitFeeAccount);
    setText(C::creditAccountType, f.creditAccountType);
    setText(C::creditBranch, f.creditBranch);
    setText(C::feeAccountType, f.feeAccountType);
    setText(C::feeBranch, f.feeBranch);
    setText(C::source, f.sourcePath);
    setText(C::secondFile, f.secondFilePath);
    setText(C::destination, f.destinationPath);
    setText(C::hashValue, f.hashValue);
    const QString round = roundShown(f.processingRound);
    if (round_->currentText() != round) {
        round_->setEditText(round);
    }
    controls_.as<QCheckBox>(C::printDetail)->setChecked(f.printDetail);
}

bool FieldGrid::shown(Control c) const {
    return controls_.at(c)->isVisibleTo(controls_.form());
}

void FieldGrid::nameForScreenReaders() {
    auto captionOf = [this](C l) { return withoutMnemonic(controls_.as<QLabel>(l)->text()); };
    for (const C l :
         {C::companyIdCaption, C::v5CorporateIdCaption, C::debitAccountCaption, C::feeAccountCaption,
          C::creditAccountCaption, C::creditAccountTypeCaption, C::creditBranchCaption,
          C::feeAccountTypeCaption, C::feeBranchCaption, C::thirdLineCaption, C::sourceCaption,
          C::secondFileCaption, C::destinationCaption, C::companyCodeCaption, C::convertContractCaption}) {
        controls_.at(l)->setAccessibleName(captionOf(l));
    }
    hashCaption_->setAccessibleName(withoutMnemonic(hashCaption_->text()));

    auto name = [this](C field, const QString& text) { controls_.at(field)->setAccessibleName(text); };
    auto label = [this](C l) { return controls_.as<QLabel>(l); };
    const C comIdCaption = !shown(C::companyIdCaption) && shown(C::v5CorporateIdCaption)
                               ? C::v5CorporateIdCaption
                               : C::companyIdCaption;
    label(C::companyIdCaption)
        ->setBuddy(comIdCaption == C::companyIdCaption ? controls_.at(C::companyId) : nullptr);
    label(C::v5CorporateIdCaption)
        ->setBuddy(comIdCaption == C::v5CorporateIdCaption ? controls_.at(C::companyId) : nullptr);
    name(C::companyId, captionOf(comIdCaption));
    name(C::debitAccount, captionOf(C::debitAccountCaption));
    name(C::feeAccount, captionOf(C::feeAccountCaption));
    name(C::debitFeeAccount, captionOf(C::feeAccountCaption));
    label(C::feeAccountCaption)
        ->setBuddy(shown(C::debitFeeAccount) ? controls_.at(C::debitFeeAccount)
                                             : controls_.at(C::feeAccount));
    name(C::creditAccount, captionOf(C::creditAccountCaption));
    name(C::creditAccountType, captionOf(C::creditAccountTypeCaption));
    name(C::creditBranch, captionOf(C::creditBranchCaption));
    name(C::feeAccountType, captionOf(C::feeAccountTypeCaption));
    name(C::feeBranch, captionOf(C::feeBranchCaption));
    name(C::companyCode, captionOf(C::companyCodeCaption));
    name(C::source, captionOf(C::sourceCaption));
    name(C::destination, captionOf(C::destinationCaption));
    name(C::hashValue, withoutMnemonic(hashCaption_->text()));
    // The third line's caption names the round list, or the file from V5 when the list is hidden.
    name(C::processingRound, captionOf(C::thirdLineCaption));
    const bool thirdLineNamesInvoice = shown(C::thirdLineCaption) && !shown(C::processingRound);
    const C invoiceCaption = thirdLineNamesInvoice ? C::thirdLineCaption : C::secondFileCaption;
    label(C::thirdLineCaption)
        ->setBuddy(thirdLineNamesInvoice ? controls_.at(C::secondFile) : controls_.at(C::processingRound));
    label(C::secondFileCaption)->setBuddy(thirdLineNamesInvoice ? nullptr : controls_.at(C::secondFile));
    name(C::secondFile, captionOf(invoiceCaption));
    // Each Browse says which file it chooses.
    for (const auto& [button, field] :
         {std::pair{C::browseSource, C::source}, std::pair{C::browseSecondFile, C::secondFile},
          std::pair{C::browseDestination, C::destination}}) {
        const QString browse = withoutMnemonic(controls_.as<QPushButton>(button)->text());
        controls_.at(button)->setAccessibleName(
            tr("%1: %2").arg(browse, controls_.at(field)->accessibleName()));
    }
}

void FieldGrid::offerRounds() {
    // A hidden list offers no items: a screen reader walks a list's items even while it is hidden.
    const bool shown = round_->isVisibleTo(controls_.form());
    if (shown == (round_->count() > 0)) {
        return;
    }
    const QString typed = round_->currentText();
    const QSignalBlocker quiet(round_);
    if (shown) {
        for (const ProcessingRoundInfo& r : processingRounds()) {
            round_->addItem(roundShown(std::string(r.caption)));
        }
    } else {
        round_->clear();
    }
    round_->setEditText(typed);
}

void FieldGrid::describeFiles(Choice choice) {
    // What each file field is for in this product: the files it writes beside the destination.
    QString destination;
    QString secondFile;
    switch (choice) {
        case Choice::ReturnFile:
            destination = tr("The comparison file to write: each debit of the file sent with its result");
            secondFile = tr("The return file from V5");
            break;
        case Choice::Convert100M:
            destination = tr("The converted file to write, in the 100M layout");
            break;
        case Choice::ManagerCheque:
            destination =
                tr("The file to write; its folder also receives the error listings and the archive");
            secondFile = tr("The invoice file of the cheques");
            break;
        default:
            destination =
                tr("The file to write; its folder also receives the error listings and the archive");
            break;
    }
    controls_.at(C::destination)->setToolTip(destination);
    controls_.at(C::secondFile)->setToolTip(secondFile);
}

}  // namespace qrv::gui
