#include "gui/window/RunPane.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/window/ResultPanel.h"

namespace qrv::gui {

RunPane::RunPane(QtUi& ui, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("runPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("pgbState"));
    progress_->setAccessibleName(QStringLiteral("Progress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    cancel_ = new QPushButton(tr("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("btnCancel"));
    cancel_->setAutoDefault(false);
    cancel_->setMinimumWidth(cancel_->fontMetrics().horizontalAdvance(tr("Finishing...")) + 24);
    // Shown only while a command runs (Esc is its key); its place is kept so that the bar keeps its width.
    QSizePolicy keepPlace = cancel_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    cancel_->setSizePolicy(keepPlace);
    cancel_->hide();
    showCancel(CancelState::Idle);
    auto* progressRow = new QHBoxLayout();
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(cancel_);
    layout->addLayout(progressRow);
    result_ = new ResultPanel(ui, this);
    layout->addWidget(result_, 1);
}

void RunPane::showCancel(CancelState state) {
    switch (state) {
        case CancelState::Idle:
        case CancelState::Running:
            cancel_->setText(tr("Cancel"));
            cancel_->setToolTip(tr("Stop the running command (Esc); nothing it has not finished is written"));
            break;
        case CancelState::Cancelling:
            cancel_->setText(tr("Cancelling..."));
            cancel_->setToolTip(tr("The command stops at its next step; nothing is written"));
            break;
        case CancelState::Finishing:
            cancel_->setText(tr("Finishing..."));
            cancel_->setToolTip(
                tr("The command is putting its files in place and can no longer be cancelled"));
            break;
    }
    cancel_->setEnabled(state == CancelState::Running);
    cancel_->setAccessibleName(cancel_->text());
    cancel_->setAccessibleDescription(cancel_->toolTip());
}

void RunPane::showPreparingReport() {
    progress_->setRange(0, 0);
    progress_->setFormat(tr("Preparing the report..."));
    progress_->setTextVisible(true);
    progress_->setAccessibleDescription(progress_->format());
}

void RunPane::resetProgress() {
    progress_->setRange(0, 100);
    progress_->resetFormat();
    progress_->setAccessibleDescription(QString());
}

}  // namespace qrv::gui
