#include <QApplication>

#include "app/TfmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);  // command-line arguments are not read by the program itself
    QApplication::setApplicationName("Convertor QRV");
    QApplication::setApplicationDisplayName("Convertor QRV");
    qrv::gui::TfmMain main;
    main.showMaximized();
    return QApplication::exec();
}
