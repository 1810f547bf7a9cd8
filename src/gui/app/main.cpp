#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <exception>

#include "gui/app/MainWindow.h"
#include "gui/app/ProgramIcon.h"
#include "gui/language/Language.h"
#include "gui/window/RememberedWork.h"
#include "io/AppPaths.h"
#include "io/Platform.h"

int main(int argc, char** argv) {
    qrv::platform::failWritesPastTheFileSizeLimit();
    QApplication app(argc, argv);  // the program reads no command-line arguments of its own
    QApplication::setApplicationName(QStringLiteral("Convertor QRV"));
    QApplication::setApplicationDisplayName(QStringLiteral("Convertor QRV"));
    QApplication::setWindowIcon(qrv::gui::ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("convertor-qrv"));
    // The window's language, before any window takes its texts.
    qrv::gui::InstallLanguage(qrv::gui::ChosenLanguage(qrv::gui::RememberedWork()));
    const qrv::AppPaths paths = qrv::AppPaths::defaults();
    try {
        // An installed program keeps its data in the user's data folder, made from the installed
        // defaults on first start; a build folder's Data/ is used as it is.
        if (paths.installed) {
            qrv::CreateDataFolder(paths.dataFolder, qrv::AppPaths::defaultDataSource());
        }
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, qrv::gui::kAppTitle, QString::fromStdString(e.what()));
    }
    qrv::gui::MainWindow main({paths, nullptr, {}, {}});
    // Maximized; the same size where no window manager maximizes it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        main.setGeometry(screen->availableGeometry());
    }
    main.showMaximized();
    return QApplication::exec();
}
