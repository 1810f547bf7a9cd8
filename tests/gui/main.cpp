#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // The window tests run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Convertor QRV"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
