#include "app/TfmMain.h"

#include <QMdiArea>

namespace qrv::gui {

TfmMain::TfmMain(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this)) {
    setObjectName("fmMain");
    setWindowTitle("Convertor");
    setCentralWidget(mdi_);
    resize(662, 505);
}

}  // namespace qrv::gui
