#include "gui/refdata/TfmBank.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include "gui/refdata/MaintenancePanel.h"
#include "gui/refdata/TfmBranch.h"

namespace qrv::gui {

QPointer<TfmBank> TfmBank::instance_;

TfmBank::TfmBank(TableStore& store, Events& ui, QWidget* parent)
    : QWidget(parent),
      store_(store),
      ui_(ui),
      panel_(
          new MaintenancePanel(std::make_unique<ReferenceMaintenance>(BankLayout(), store, ui), true, this)) {
    setObjectName("fmBank");
    setWindowTitle("Bank ::");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel_);
    panel_->watchKeys(this);
    connect(panel_, &MaintenancePanel::closeRequested, this, &TfmBank::closeWindow);
    connect(panel_, &MaintenancePanel::branchRequested, this, &TfmBank::openBranches);
}

TfmBank* TfmBank::instance() {
    return instance_.data();
}

TfmBank* TfmBank::open(QMdiArea* area, TableStore& store, Events& ui) {
    if (instance_ == nullptr) {
        auto* bank = new TfmBank(store, ui, nullptr);
        QMdiSubWindow* sub = area->addSubWindow(bank);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        instance_ = bank;
        connect(area, &QMdiArea::subWindowActivated, bank, [bank](QMdiSubWindow* active) {
            if (active != nullptr && active == bank->subWindow()) {
                bank->panel()->activate();
            }
        });
    }
    QMdiSubWindow* sub = instance_->subWindow();
    sub->showMaximized();
    area->setActiveSubWindow(sub);
    instance_->panel()->activate();
    return instance_.data();
}

QMdiSubWindow* TfmBank::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

bool TfmBank::event(QEvent* event) {
    // Outside an MDI area the window's own activation runs the list query.
    if (event->type() == QEvent::WindowActivate && subWindow() == nullptr) {
        panel_->activate();
    }
    return QWidget::event(event);
}

void TfmBank::openBranches(const BankOfBranches& bank) {
    {
        TfmBranch branches(store_, ui_, bank, this);
        branches.exec();
    }
    panel_->activate();  // the bank window is active again
}

void TfmBank::closeWindow() {
    if (QMdiSubWindow* sub = subWindow()) {
        sub->close();
    } else {
        close();
    }
}

}  // namespace qrv::gui
