// QRB Text Editor: creates the main window with the desktop's services and runs it. The
// command-line text after the program name is one library path, opened at start.

#include "app/Form2.h"
#include "app/WindowPlacement.h"
#include "platform/qt/Resources.h"

#include <QApplication>
#include <QScreen>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qrb::ensureResources();
    QApplication::setApplicationName(QStringLiteral("QRB Text Editor"));
    QApplication::setOrganizationName(QStringLiteral("Tessarine"));
    QApplication::setApplicationVersion(QStringLiteral(QRB_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    QApplication::setQuitOnLastWindowClosed(false);

    // The whole argument text is the path, taken verbatim: no unquoting, no splitting.
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const QString startupFile = args.join(QLatin1Char(' '));

    qrb::Form2 window(qrb::Platform::qt(), startupFile);
    QObject::connect(&window, &qrb::Form2::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (QScreen* screen = window.screen()) {
        const QRect placed = qrb::placedWindow(window.size(), window.minimumSize(),
                                               qrb::kUsualWindowFrame, screen->availableGeometry());
        window.resize(placed.size());
        window.move(placed.topLeft());
    }
    window.show();
    return app.exec();
}
