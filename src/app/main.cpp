// QRB Text Editor: creates the main window with the desktop's services and runs it. The
// command line names the library to open at start (see EditorCommandLine).

#include "app/EditorCommandLine.h"
#include "app/UiLanguage.h"
#include "app/window/MainWindow.h"
#include "app/window/WindowPlacement.h"
#include "platform/qt/Resources.h"

#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

QtMessageHandler qtHandler = nullptr;

// While the application starts, a fatal message (no usable display platform) ends the
// program with the reason and exit status 1 instead of an abort.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (qtHandler != nullptr) {
            qtHandler(type, context, message);
        }
        return;
    }
    std::fprintf(stderr, "qrbtexteditor: cannot start: %s\n", qPrintable(message));
    std::fflush(stderr);
    std::_Exit(1);
}

// Prints `text` to `stream` and returns `status`; a text that cannot be written is a
// failure.
int finish(std::FILE* stream, const QString& text, int status) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    return std::fflush(stream) == 0 && !std::ferror(stream) ? status : 1;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const qrb::EditorCommandLine commandLine(arguments);
    switch (commandLine.action()) {
    case qrb::EditorCommandLine::Action::ShowHelp: {
        // The help names the program as it was started; that needs an application object,
        // but no display.
        int coreArgc = 1;
        QCoreApplication core(coreArgc, argv);
        return finish(stdout, commandLine.helpText(), 0);
    }
    case qrb::EditorCommandLine::Action::ShowVersion:
        return finish(stdout, commandLine.versionText(), 0);
    case qrb::EditorCommandLine::Action::Refuse:
        return finish(stderr, QStringLiteral("qrbtexteditor: %1\n").arg(commandLine.error()), 2);
    case qrb::EditorCommandLine::Action::Run:
        break;
    }

    // Qt sees only what it must: its options come from us, never from a file name.
    std::vector<std::string> qtStrings;
    for (const QString& a : commandLine.qtArguments()) {
        qtStrings.push_back(a.toLocal8Bit().toStdString());
    }
    std::vector<char*> qtArgv;
    for (std::string& s : qtStrings) {
        qtArgv.push_back(s.data());
    }
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(qtStrings.size());

    qtHandler = qInstallMessageHandler(startupMessages);
    QApplication app(qtArgc, qtArgv.data());
    qInstallMessageHandler(qtHandler);

    qrb::ensureResources();
    // The desktop's language (LANGUAGE, then LANG); the tests run in English.
    const qrb::UiLanguage language(QLocale::system().uiLanguages());
    QApplication::setApplicationName(QStringLiteral("QRB Text Editor"));
    QApplication::setOrganizationName(QStringLiteral("Tessarine"));
    QApplication::setApplicationVersion(QStringLiteral(QRB_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    QApplication::setQuitOnLastWindowClosed(false);

    qrb::MainWindow window(qrb::Platform::qt(), commandLine.startupFile());
    QObject::connect(&window, &qrb::MainWindow::unloaded, &app, &QCoreApplication::quit,
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
