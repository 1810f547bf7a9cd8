#pragma once

#include <QDialog>

#include "workbench/ReferenceMaintenance.h"

class QLineEdit;

namespace qrv::gui {

class MaintenancePanel;

// The branch window, "Branch ::": a modal dialog, centred on the screen, that keeps the branches of the
// bank window's current bank; the bank is shown read-only in upper case at the top.
class BranchWindow : public QDialog {
    Q_OBJECT
  public:
    BranchWindow(TableStore& store, Events& ui, const BankOfBranches& bank, QWidget* parent);

    MaintenancePanel* panel() const { return panel_; }
    // The bank strip: code, Thai name, English name.
    QLineEdit* stripField(int index) const { return strip_.at(static_cast<size_t>(index)); }

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    MaintenancePanel* panel_;
    std::vector<QLineEdit*> strip_;
};

}  // namespace qrv::gui
