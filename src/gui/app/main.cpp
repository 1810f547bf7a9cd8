#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <exception>
#include <filesystem>

#include "app/TfmMain.h"
#include "workbench/AppPaths.h"

namespace {

// An installed program keeps its data in the user's data folder, filled from the installed defaults
// on first start; a build folder's Data/ is used as it is.
void prepareDataFolder(const qrv::AppPaths& paths) {
    const std::filesystem::path source = qrv::AppPaths::defaultDataSource();
    if (std::filesystem::exists(paths.dataFolder) || !std::filesystem::is_directory(source)) {
        return;
    }
    std::filesystem::create_directories(paths.dataFolder);
    std::filesystem::copy(source, paths.dataFolder, std::filesystem::copy_options::skip_existing);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);  // the program reads no command-line arguments of its own
    QApplication::setApplicationName(QStringLiteral("Convertor QRV"));
    QApplication::setApplicationDisplayName(QStringLiteral("Convertor QRV"));
    const qrv::AppPaths paths = qrv::AppPaths::defaults();
    try {
        prepareDataFolder(paths);
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, qrv::gui::kAppTitle, QString::fromStdString(e.what()));
    }
    qrv::gui::TfmMain main({paths, nullptr, {}});
    // Maximized; the same size where no window manager maximizes it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        main.setGeometry(screen->availableGeometry());
    }
    main.showMaximized();
    return QApplication::exec();
}
