#pragma once

#include <QWidget>

class QProgressBar;
class QPushButton;

namespace qrv::gui {

class QtUi;
class ResultPanel;

// Below the form: the progress of a run with its Cancel button, and the panel of the last run.
class RunPane : public QWidget {
    Q_OBJECT
  public:
    // What Cancel offers: nothing (no run), cancelling, a cancel asked for, or nothing more because the
    // run is putting its outputs in place.
    enum class CancelState { Idle, Running, Cancelling, Finishing };

    RunPane(QtUi& ui, QWidget* parent);

    QProgressBar* progressBar() const { return progress_; }
    QPushButton* cancelButton() const { return cancel_; }
    ResultPanel* resultPanel() const { return result_; }
    // Cancel's words and whether it can be pressed; it shows only while a run goes.
    void showCancel(CancelState state);
    // The bar moves without an end while a report is copied for its preview, and says so; progress
    // shows as a share again once reset.
    void showPreparingReport();
    void resetProgress();

  private:
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    ResultPanel* result_ = nullptr;
};

}  // namespace qrv::gui
