#pragma once

#include <QMainWindow>

class QMdiArea;

namespace qrv::gui {

// The main window: a multiple-document frame, captioned "Convertor", that holds the workbench and the
// reference-data windows.
class TfmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit TfmMain(QWidget* parent = nullptr);
    QMdiArea* mdiArea() const { return mdi_; }

  private:
    QMdiArea* mdi_;
};

}  // namespace qrv::gui
