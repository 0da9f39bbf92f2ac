#pragma once
// Everything the window asks of the desktop, handed to it when it is created: the real
// Qt services in the program, scripted ones in the tests (so no test ever waits on a
// modal dialog).

#include "platform/Clipboard.h"
#include "platform/DialogBackend.h"
#include "platform/HelpViewer.h"
#include "platform/MessageBoxes.h"
#include "platform/Printing.h"
#include "platform/ProgressDialog.h"

#include <memory>

namespace qrb {

struct Platform {
    std::shared_ptr<DialogBackend> dialogs;
    std::shared_ptr<MessageBoxes> messages;
    std::shared_ptr<Clipboard> clipboard;
    std::shared_ptr<HelpViewer> help;
    std::shared_ptr<Printing> printing;
    std::shared_ptr<ProgressDialog> progress;

    // The desktop's own dialogs, message boxes, clipboard, a help window, printing and
    // progress dialogs.
    static Platform qt();
};

} // namespace qrb
