#include "app/EditorCommandLine.h"

#include <QCoreApplication>

namespace qrb {

EditorCommandLine::EditorCommandLine(const QStringList& arguments)
    : help_(QStringList{QStringLiteral("h"), QStringLiteral("help")},
            QStringLiteral("Show this help.")),
      version_(QStringList{QStringLiteral("v"), QStringLiteral("version")},
               QStringLiteral("Show the version.")),
      platform_(QStringLiteral("platform"),
                QStringLiteral("Display platform to start on (xcb, wayland, offscreen, ...); by "
                               "default the desktop's, or QT_QPA_PLATFORM."),
                QStringLiteral("NAME")),
      program_(arguments.isEmpty() ? QStringLiteral("qrbtexteditor") : arguments.first()) {
    parser_.setApplicationDescription(QStringLiteral(
        "QRB Text Editor: puts lettering on the tiles of QRB tile libraries.\n\n"
        "FILE is the tile library to open at start. Words after the first file word are\n"
        "joined to it with blanks, so an unquoted name with blanks names one file. A name\n"
        "that starts with '-' goes after '--': qrbtexteditor -- -reverse.qrb"));
    // "-platform" as Qt writes it works too; "-h" and "-v" stay short options.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser_.addOption(help_);
    parser_.addOption(version_);
    parser_.addOption(platform_);
    parser_.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Tile library to open."),
                                  QStringLiteral("[FILE]"));

    if (!parser_.parse(arguments)) {
        action_ = Action::Refuse;
        error_ = parser_.errorText() +
                 QStringLiteral("\nA file name that starts with '-' goes after '--'. Try '%1 "
                                "--help' for more information.")
                     .arg(program_);
        return;
    }
    if (parser_.isSet(help_)) {
        action_ = Action::ShowHelp;
    } else if (parser_.isSet(version_)) {
        action_ = Action::ShowVersion;
    }
    startupFile_ = parser_.positionalArguments().join(QLatin1Char(' '));
}

QStringList EditorCommandLine::qtArguments() const {
    QStringList arguments{program_};
    if (action_ != Action::Refuse && parser_.isSet(platform_)) {
        arguments << QStringLiteral("-platform") << parser_.value(platform_);
    }
    return arguments;
}

QString EditorCommandLine::helpText() const {
    return parser_.helpText();
}

QString EditorCommandLine::versionText() const {
    return QStringLiteral("QRB Text Editor %1\n").arg(QStringLiteral(QRB_VERSION));
}

} // namespace qrb
