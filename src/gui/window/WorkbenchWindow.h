#pragma once

#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "workbench/ProductChoice.h"
#include "workbench/ProductControls.h"

class QAbstractButton;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSplitter;

namespace qrv {
class Workbench;
}

namespace qrv::gui {

class FieldGrid;
class ProductChoices;
class QtUi;
class RememberedWork;
class ResultPanel;
class RunPane;
class WorkbenchControls;
class WorkerUi;

// The workbench window: the form (product choices, file and account fields, command buttons, hash
// field) above, the run pane (progress, Cancel, the last run) below. It holds no logic of its own: before a
// handler runs it copies the typed texts into the core's fields, and after it shows back the core's fields
// and control states. A product command runs on a worker thread whose events reach the window through
// `worker` (the workbench's Ui), so that the window keeps answering; Cancel (or Esc) asks the run to stop.
class WorkbenchWindow : public QWidget {
    Q_OBJECT
  public:
    WorkbenchWindow(Workbench& wb, QtUi& ui, WorkerUi& worker, QWidget* parent = nullptr);
    ~WorkbenchWindow() override;

    // Where the window keeps the last product, its fields, folders and recent files; none: nothing kept.
    void setRemembered(RememberedWork* remembered) { remembered_ = remembered; }
    // Reads the settings and selects the default product (Workbench::loadSettings), then the product and
    // fields remembered from the last session, and shows the state.
    void loadSettings();
    // A recent file chosen from the menu: it becomes the source, as if dropped on the field.
    void openRecent(const QString& path);
    // Keeps the product and its typed fields (the frame calls it when it closes).
    void rememberFields();
    // Copies the window's texts in, runs the handler, shows the core's state back. An unexpected
    // failure is shown in the error box. A long command runs on the worker thread and returns at once;
    // the window's inputs are disabled and Cancel enabled until it ends. A short one runs here.
    void runCommand(const std::function<void(Workbench&)>& handler, bool longRunning = false);
    bool busy() const { return busy_; }
    // Asks the running command to stop; nothing without one.
    void cancelRun();
    // Returns when no command runs, serving the window's events (the worker's questions) meanwhile.
    void waitForRun();
    // The window goes: a running command is cancelled without a message and ends first.
    void endRun();
    // Whether the program may close now: during a run the person is asked first (No by default).
    bool mayClose();

    void copyToCore();
    void syncFromCore();

    Workbench& workbench() { return wb_; }
    QWidget* control(Control c) const;
    QRadioButton* radio(Choice c) const;
    QProgressBar* progressBar() const;
    QPushButton* cancelButton() const;
    QGroupBox* groupBox() const { return group_; }
    ResultPanel* resultPanel() const;
    QScrollArea* formScrollArea() const { return formScroll_; }
    QSplitter* splitter() const { return split_; }

  signals:
    // A long command started (true) or ended (false); the frame locks its menu meanwhile.
    void busyChanged(bool busy);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter that no field or button took runs the layout's default command.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Empties the last run's panel and gives the form its room back.
    void clearResult();
    // The panel below takes what it needs, at most half the height; the form the rest.
    void fitSplit();
    void endFormAtRowEdge();
    // The form above and the run pane below, with a handle between them.
    void buildFrame();
    void buildForm();
    void setTabOrder();
    void wireFieldCommands();
    void wireProductCommands();
    void productClicked(Choice choice);
    // The command Enter runs: the first of the layout's own commands that is shown; none for a layout
    // without one.
    QAbstractButton* defaultCommand() const;
    // Runs it once any click a key started has ended.
    void runDefaultCommand();
    // Whether `path` names a file the run about to start reads (the source, the return or invoice file).
    bool isRunInput(const QString& path) const;
    QString productKey() const;
    void restoreFields();
    // Recent source files; with `command`, the destination when the run changed it.
    void rememberOutputs(const QDateTime& destinationBefore, bool command);
    // After a long command: the focus back where it was, or on the field a refusal was about.
    void returnFocus();
    // The end of a command, on this thread: its failure or cancellation shown, the state shown back.
    void finishCommand(const std::exception_ptr& error, bool longRunning);

    Workbench& wb_;
    QtUi& ui_;
    WorkerUi& workerUi_;
    QSplitter* split_ = nullptr;
    QScrollArea* formScroll_ = nullptr;
    QGroupBox* group_ = nullptr;
    RunPane* runPane_ = nullptr;
    std::unique_ptr<WorkbenchControls> controls_;
    ProductChoices* choices_ = nullptr;
    FieldGrid* fields_ = nullptr;
    RememberedWork* remembered_ = nullptr;
    bool busy_ = false;
    bool splitMoved_ = false;  // the person placed the handle: a resize keeps it
    bool syncing_ = false;
    bool closing_ = false;  // a run cancelled because the window goes: no message about it
    QPointer<QWidget> focused_;
    QDateTime destinationBefore_;
    std::jthread worker_;  // last member: joined before the rest goes
};

}  // namespace qrv::gui
