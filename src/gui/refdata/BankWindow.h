#pragma once

#include <QPointer>
#include <QWidget>

class QMdiArea;
class QMdiSubWindow;

namespace qrv {
class TableStore;
class Events;
struct BankOfBranches;
}  // namespace qrv

namespace qrv::gui {

class MaintenancePanel;

// The bank window, "Bank ::": a maximized child of the main window's MDI area listing all banks, with
// New, Edit, Delete, View and Branch. At most one exists; closing it destroys it.
class BankWindow : public QWidget {
    Q_OBJECT
  public:
    // Opens the bank window in `area`: creates it when there is none, otherwise brings the existing one
    // forward. The list query runs as it becomes active.
    static BankWindow* open(QMdiArea* area, TableStore& store, Events& ui);
    // The bank window that exists, if any.
    static BankWindow* instance();

    MaintenancePanel* panel() const { return panel_; }
    QMdiSubWindow* subWindow() const;

  protected:
    bool event(QEvent* event) override;

  private:
    BankWindow(TableStore& store, Events& ui, QWidget* parent);
    void openBranches(const BankOfBranches& bank);
    void closeWindow();

    TableStore& store_;
    Events& ui_;
    MaintenancePanel* panel_;
    static QPointer<BankWindow> instance_;
};

}  // namespace qrv::gui
