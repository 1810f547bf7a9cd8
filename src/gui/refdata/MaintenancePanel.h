#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "workbench/ReferenceMaintenance.h"

class QLabel;
class QLineEdit;
class QStackedWidget;
class QTableWidget;
class QAbstractButton;

namespace qrv::gui {

// The part the bank and branch windows share: the toolbar, the list page with its grid and the detail
// page with its edits, message line and picture, all showing a ReferenceMaintenance model. The window
// that holds it hands its keys here before its controls see them.
class MaintenancePanel : public QWidget {
    Q_OBJECT
  public:
    // `doubleClickEdits`: a double click on the grid acts as Edit.
    MaintenancePanel(std::unique_ptr<ReferenceMaintenance> model, bool doubleClickEdits, QWidget* parent);
    ~MaintenancePanel() override;

    ReferenceMaintenance& model() { return *model_; }
    // The window became active: the list query runs.
    void activate();
    // Sends the keys of `window` and of everything inside it through the model first.
    void watchKeys(QWidget* window);

    QTableWidget* grid() const { return grid_; }
    QLineEdit* edit(size_t field) const { return edits_.at(field); }
    QLabel* messageLine() const { return message_; }
    QAbstractButton* button(MaintenanceButton b) const;
    QLineEdit* findEdit() const { return findEdit_; }
    QAbstractButton* findButton() const { return findButton_; }
    QAbstractButton* importButton() const { return importButton_; }
    // Find: the next row holding the find box's text becomes current.
    void findNext();
    // Import: asks for a CSV file of this window's table and imports it whole.
    void importCsv();

  signals:
    void closeRequested();
    void branchRequested(const qrv::BankOfBranches& bank);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void addButton(QAbstractButton* button, MaintenanceButton b, const char* name, const QString& text,
                   const QString& hint, int icon);
    QWidget* buildToolBar();
    void addShortcuts();
    QWidget* buildMainPage(bool doubleClickEdits);
    QWidget* buildDetailPage();
    void click(MaintenanceButton b);
    void typed(size_t field, const QString& text);
    // Shows what the model holds; `opened` moves the focus where a newly opened page wants it.
    void sync(bool opened = false);
    void fillGrid();
    // Enter typed in `from`: the focus moves to the next field; on the detail page's last field, on Save
    // or on Cancel it presses that button (Save from the last field).
    void focusNext(QWidget* from);

    std::unique_ptr<ReferenceMaintenance> model_;
    QStackedWidget* pages_ = nullptr;
    QTableWidget* grid_ = nullptr;
    std::vector<QLineEdit*> edits_;
    QLabel* message_ = nullptr;
    QLabel* picture_ = nullptr;
    std::map<MaintenanceButton, QAbstractButton*> buttons_;
    QLineEdit* findEdit_ = nullptr;
    QAbstractButton* findButton_ = nullptr;
    QAbstractButton* importButton_ = nullptr;
};

}  // namespace qrv::gui
