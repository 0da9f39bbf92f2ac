#pragma once
// What the window's feature panels share: the desktop services they are handed, the
// application title, the busy pointer of a long command, file extensions and the question
// before a file is replaced.

#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBoxes.h"
#include "platform/Printing.h"
#include "platform/ProgressDialog.h"

#include <QString>

#include <functional>
#include <optional>

class QProgressBar;

namespace qrb {

// The application title: caption of messages and start of the window title.
inline constexpr const char* kAppTitle = "QRB Text Editor";
inline QString appTitle() {
    return QString::fromLatin1(kAppTitle);
}

// The desktop as a panel sees it.
struct Services {
    CommonDialog& dialog;
    MessageBoxes& messages;
    Clipboard& clipboard;
    Printing& printing;
    ProgressDialog& progress;
    // Says in the status bar what a command did, or why it did nothing.
    std::function<void(const QString&)> showStatus = [](const QString&) {};
};

// The hourglass pointer while a command works, and its progress bar hidden afterwards,
// however the command ends. finish() ends it early, before a message is shown.
class BusyCursor {
public:
    explicit BusyCursor(QProgressBar* progress = nullptr);
    ~BusyCursor() { finish(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    void finish();

private:
    QProgressBar* progress_;
    bool busy_ = true;
};

// Runs `work` (a file command) under the busy pointer, with `progress` hidden afterwards.
// A failure is shown as `failure`, a blank line and the reason, and gives false.
bool busyWork(MessageBoxes& messages, QProgressBar* progress, const QString& failure,
              const std::function<void()>& work);

// `path` with `extension` (".qrb", ".qpf") appended unless it already ends in it, in any
// case.
QString withExtension(const QString& path, const QString& extension);

// True when `path` may be written: it does not exist, or the user agrees to replace it.
bool mayReplace(MessageBoxes& messages, const QString& path, const QString& question,
                MessageIcon icon);

// A file the user names for writing, asked with the save dialog.
struct FileToWrite {
    QString start;     // the name the dialog starts on
    QString title;     // the dialog's title
    QString filter;    // "PDF File (*.pdf)|*.pdf"
    QString extension; // appended unless the name ends in it (".pdf"); none when empty
    QString question;  // asked when the named file exists (%1 is its name); none when empty
    MessageIcon icon = MessageIcon::Exclamation;
};

// Asked about the name as it will be written before the question about an existing file:
// true to write it, false to write nothing, empty to go on with the usual question.
using AskFirst = std::function<std::optional<bool>(const QString& path)>;

// A file the user picks to read with the open dialog, starting on `start`; empty when the
// user cancels. The dialog's flags and cancel setting are left as they were.
QString askFileToOpen(CommonDialog& dialog, const QString& start, const QString& title,
                      const QString& filter);

// The name with its extension, or empty when the user cancels the dialog or keeps an
// existing file. The question about an existing file is asked once, for the name as it
// will be written. The dialog's flags and cancel setting are left as they were.
QString askFileToWrite(CommonDialog& dialog, MessageBoxes& messages, const FileToWrite& file,
                       const AskFirst& askFirst = {});

} // namespace qrb
