#pragma once
// What the window hands its panels and commands: the desktop's services (dialogs,
// messages, clipboard, printing, progress), the window's way of running a command, the
// status bar's message line and progress bar, and the application title every message
// carries.

#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBoxes.h"
#include "platform/Printing.h"
#include "platform/ProgressDialog.h"

#include <QString>

#include <functional>

class QProgressBar;

namespace qrb {

// The application title: caption of messages and start of the window title.
inline constexpr const char* kAppTitle = "QRB Text Editor";
inline QString appTitle() {
    return QString::fromLatin1(kAppTitle);
}

// The desktop as a panel or a command sees it.
struct Services {
    CommonDialog& dialog;
    MessageBoxes& messages;
    Clipboard& clipboard;
    Printing& printing;
    ProgressDialog& progress;
    // Says in the status bar what a command did, or why it did nothing.
    std::function<void(const QString&)> showStatus = [](const QString&) {};
    // Runs a command as the menus run it: a failure it throws becomes a message and ends
    // only that command.
    std::function<void(const std::function<void()>&)> runCommand =
        [](const std::function<void()>& command) { command(); };
    // The status bar's progress bar, for a command that shows its progress there.
    QProgressBar* progressBar = nullptr;
};

} // namespace qrb
