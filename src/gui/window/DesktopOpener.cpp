#include "gui/window/DesktopOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace qrv::gui {

bool openOnDesktop(const QUrl& url, const std::function<void()>& nothingOpened) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Qt counts a started xdg-open as opened; its exit status says whether a program took the file.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (url.isLocalFile() && !opener.isEmpty()) {
        // Without a parent: the program it opens in the foreground outlives the window if need be.
        auto* process = new QProcess();
        QObject::connect(process, &QProcess::finished, process,
                         [process, nothingOpened](int exitCode, QProcess::ExitStatus status) {
                             process->deleteLater();
                             if (status != QProcess::NormalExit || exitCode != 0) {
                                 nothingOpened();
                             }
                         });
        QObject::connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                process->deleteLater();
            }
        });
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(opener, {url.toLocalFile()});
        return process->waitForStarted();
    }
#else
    (void)nothingOpened;
#endif
    return QDesktopServices::openUrl(url);
}

}  // namespace qrv::gui
