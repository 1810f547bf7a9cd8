#include "gui/refdata/BranchWindow.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/language/SystemTexts.h"
#include "gui/refdata/MaintenancePanel.h"

namespace qrv::gui {

BranchWindow::BranchWindow(TableStore& store, Events& ui, const BankOfBranches& bank, QWidget* parent)
    : QDialog(parent),
      panel_(new MaintenancePanel(std::make_unique<ReferenceMaintenance>(branchForm(), store, ui, bank),
                                  false, this)) {
    setObjectName("fmBranch");
    setWindowTitle(tr("Branch ::"));
    setModal(true);
    resize(720, 480);
    auto* layout = new QVBoxLayout(this);
    auto* stripBox = new QWidget(this);
    stripBox->setObjectName("bankStrip");
    auto* strip = new QGridLayout(stripBox);
    const std::vector<std::string> values = panel_->model().bankStrip();
    const char* captions[] = {"Bank Code : ", "Bank Name Thai : ", "Bank Name English : "};
    const char* names[] = {"edtBankCode", "edtBankNameTh", "edtBankNameEn"};
    for (int i = 0; i < 3; ++i) {
        auto* value = new QLineEdit(QString::fromStdString(values.at(static_cast<size_t>(i))), stripBox);
        value->setObjectName(names[i]);
        value->setReadOnly(true);
        value->setFocusPolicy(Qt::NoFocus);
        strip->addWidget(new QLabel(ShownText(captions[i]), stripBox), i, 0);
        strip->addWidget(value, i, 1);
        strip_.push_back(value);
    }
    layout->addWidget(stripBox);
    layout->addWidget(panel_);
    panel_->watchKeys(this);
    connect(panel_, &MaintenancePanel::closeRequested, this, &QDialog::reject);
}

bool BranchWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        panel_->activate();
    }
    return QDialog::event(event);
}

void BranchWindow::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    panel_->activate();
    QDialog::showEvent(event);
}

}  // namespace qrv::gui
