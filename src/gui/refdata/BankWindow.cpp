#include "gui/refdata/BankWindow.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include "gui/refdata/BranchWindow.h"
#include "gui/refdata/MaintenancePanel.h"

namespace qrv::gui {

QPointer<BankWindow> BankWindow::instance_;

BankWindow::BankWindow(TableStore& store, Events& ui, QWidget* parent)
    : QWidget(parent),
      store_(store),
      ui_(ui),
      panel_(
          new MaintenancePanel(std::make_unique<ReferenceMaintenance>(bankForm(), store, ui), true, this)) {
    setObjectName("fmBank");
    setWindowTitle(tr("Bank ::"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel_);
    panel_->watchKeys(this);
    connect(panel_, &MaintenancePanel::closeRequested, this, &BankWindow::closeWindow);
    connect(panel_, &MaintenancePanel::branchRequested, this, &BankWindow::openBranches);
}

BankWindow* BankWindow::instance() {
    return instance_.data();
}

BankWindow* BankWindow::open(QMdiArea* area, TableStore& store, Events& ui) {
    if (instance_ == nullptr) {
        auto* bank = new BankWindow(store, ui, nullptr);
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

QMdiSubWindow* BankWindow::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

bool BankWindow::event(QEvent* event) {
    // Outside an MDI area the window's own activation runs the list query.
    if (event->type() == QEvent::WindowActivate && subWindow() == nullptr) {
        panel_->activate();
    }
    return QWidget::event(event);
}

void BankWindow::openBranches(const BankOfBranches& bank) {
    {
        BranchWindow branches(store_, ui_, bank, this);
        branches.exec();
    }
    panel_->activate();  // the bank window is active again
}

void BankWindow::closeWindow() {
    if (QMdiSubWindow* sub = subWindow()) {
        sub->close();
    } else {
        close();
    }
}

}  // namespace qrv::gui
