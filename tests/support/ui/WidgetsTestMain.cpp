// Test entry point for the window tests: widgets need a QApplication. Without a platform
// chosen (as when the test runner lists the tests) it runs offscreen, so listing and
// running never need a display. Settings the window remembers go to a scratch folder under
// a name of their own, never into the user's settings.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QRB Text Editor tests"));
    QApplication::setApplicationName(QStringLiteral("test_gui"));
    const QTemporaryDir settings;
    if (!settings.isValid())
        return 1;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
