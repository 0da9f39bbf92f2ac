#pragma once
// The questions of the file commands: which file to read, which to write (with the question
// before one is replaced), and the extension a name gets.

#include "platform/CommonDialog.h"
#include "platform/MessageBoxes.h"

#include <QString>

#include <functional>
#include <optional>

namespace qrb {

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
