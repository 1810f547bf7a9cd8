#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    // The window tests run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt's own file dialogs, which a test finds and closes; Windows would show its native ones.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    // Windows made without a settings file of their own keep nothing in the user's settings.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication::setApplicationName(QStringLiteral("Convertor QRV"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
