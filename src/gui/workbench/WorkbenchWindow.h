#pragma once

#include <QWidget>
#include <functional>
#include <map>

#include "workbench/FieldLayout.h"
#include "workbench/ProductChoice.h"

class QComboBox;
class QDateTime;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;

namespace qrv {
class Workbench;
}

namespace qrv::gui {

class QtUi;
class RememberedWork;
class ResultPanel;

// The workbench window: product choice, file and account fields, command buttons, progress bar and
// hash field. It holds no logic of its own: before a handler runs it copies the typed texts into the
// core's fields, and after it shows back the core's fields and control states.
class WorkbenchWindow : public QWidget {
    Q_OBJECT
  public:
    WorkbenchWindow(Workbench& wb, QtUi& ui, QWidget* parent = nullptr);

    // Where the window keeps the last product, its fields, folders and recent files; none: nothing kept.
    void setRemembered(RememberedWork* remembered) { remembered_ = remembered; }
    // Reads the settings and selects the default product (the core's FormCreate), then the product and
    // fields remembered from the last session, and shows the state.
    void formCreate();
    // A recent file chosen from the menu: it becomes the source, as if dropped on the field.
    void openRecent(const QString& path);
    // Keeps the product and its typed fields (the frame calls it when it closes).
    void rememberFields();
    // Copies the window's texts in, runs the handler, shows the core's state back. An unexpected
    // failure is shown in the error box. A long command disables the window's inputs while it runs.
    void runCommand(const std::function<void(Workbench&)>& handler, bool longRunning = false);
    bool busy() const { return busy_; }

    void copyToCore();
    void syncFromCore();

    Workbench& workbench() { return wb_; }
    QWidget* control(Control c) const;
    QRadioButton* radio(Choice c) const;
    QProgressBar* progressBar() const { return progress_; }
    QGroupBox* groupBox() const { return group_; }
    ResultPanel* resultPanel() const { return result_; }

  signals:
    // A long command started (true) or ended (false); the frame locks its menu meanwhile.
    void busyChanged(bool busy);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter that no field or button took runs the layout's default command.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void build();
    void setCaption(Control c, const std::string& caption);
    void updateAccessibleNames();
    void productClicked(Choice choice);
    void setToolTips();
    QString productKey() const;
    void restoreFields();
    // Recent source files; with `command`, the destination when the run changed it.
    void rememberOutputs(const QDateTime& destinationBefore, bool command);

    Workbench& wb_;
    QtUi& ui_;
    QGroupBox* group_ = nullptr;
    QProgressBar* progress_ = nullptr;
    ResultPanel* result_ = nullptr;
    QLabel* hashLabel_ = nullptr;
    QComboBox* round_ = nullptr;
    std::map<Control, QWidget*> controls_;
    std::map<Choice, QRadioButton*> radios_;
    RememberedWork* remembered_ = nullptr;
    bool busy_ = false;
    bool syncing_ = false;
};

}  // namespace qrv::gui
