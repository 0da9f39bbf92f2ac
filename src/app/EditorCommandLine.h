#pragma once
// The editor's command line: its own options, the library to open at start, and the few
// arguments handed on to Qt. Qt never sees the rest, so a file named like one of Qt's own
// options ("-reverse") is the user's, given after "--".

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace qrb {

class EditorCommandLine {
public:
    enum class Action {
        Run,         // start the window
        ShowHelp,    // print helpText() and end
        ShowVersion, // print versionText() and end
        Refuse,      // print error() and end with a usage error
    };

    // Parses `arguments`, the program name first.
    explicit EditorCommandLine(const QStringList& arguments);

    Action action() const { return action_; }
    // The library to open at start: the file arguments joined by blanks (so an unquoted
    // name with blanks still names one file); empty when none was given.
    const QString& startupFile() const { return startupFile_; }
    // The arguments for QApplication: the program name and, when asked for, the display
    // platform ("-platform", NAME).
    QStringList qtArguments() const;

    QString helpText() const;
    QString versionText() const;
    // For Refuse: what is wrong, with a hint, on one or two lines.
    const QString& error() const { return error_; }

private:
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
    QCommandLineOption platform_;
    QString program_;
    Action action_ = Action::Run;
    QString startupFile_;
    QString error_;
};

} // namespace qrb
