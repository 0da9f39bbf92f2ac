#pragma once
// What the window hands its panels and commands: the desktop's services (dialogs,
// messages, clipboard, printing, progress) and the status bar's message line, and the
// application title every message carries.

#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBoxes.h"
#include "platform/Printing.h"
#include "platform/ProgressDialog.h"

#include <QString>

#include <functional>

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
};

} // namespace qrb
