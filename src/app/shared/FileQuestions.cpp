#include "app/shared/FileQuestions.h"

#include "app/shared/Services.h"

#include <QDir>
#include <QFileInfo>

namespace qrb {

QString withExtension(const QString& path, const QString& extension) {
    if (path.right(extension.size()).compare(extension, Qt::CaseInsensitive) == 0)
        return path;
    return path + extension;
}

bool mayReplace(MessageBoxes& messages, const QString& path, const QString& question,
                MessageIcon icon) {
    if (!QFileInfo::exists(path))
        return true;
    return messages.askYesNo(question.arg(QDir::toNativeSeparators(path)), appTitle(), icon);
}

namespace {

// The dialog's flags and cancel setting, put back when a question is over.
struct KeepDialogSettings {
    CommonDialog& dialog;
    int flags = dialog.Flags;
    bool cancelError = dialog.CancelError;
    ~KeepDialogSettings() {
        dialog.Flags = flags;
        dialog.CancelError = cancelError;
    }
};

} // namespace

QString askFileToOpen(CommonDialog& dialog, const QString& start, const QString& title,
                      const QString& filter) {
    const KeepDialogSettings keep{dialog};
    dialog.FileName = start;
    dialog.DialogTitle = title;
    dialog.Filter = filter;
    dialog.CancelError = true;
    try {
        dialog.ShowOpen();
    } catch (const DialogCancelled&) {
        return {};
    }
    return dialog.FileName;
}

QString askFileToWrite(CommonDialog& dialog, MessageBoxes& messages, const FileToWrite& file,
                       const AskFirst& askFirst) {
    dialog.FileName = file.start;
    dialog.DialogTitle = file.title;
    dialog.Filter = file.filter;
    {
        const KeepDialogSettings keep{dialog};
        dialog.Flags &= ~dialogflags::OverwritePrompt;
        dialog.CancelError = true;
        try {
            dialog.ShowSave();
        } catch (const DialogCancelled&) {
            return {};
        }
    }
    if (dialog.FileName.isEmpty())
        return {};
    const QString path =
        file.extension.isEmpty() ? dialog.FileName : withExtension(dialog.FileName, file.extension);
    if (askFirst) {
        if (const std::optional<bool> decided = askFirst(path))
            return *decided ? path : QString();
    }
    if (file.question.isEmpty())
        return path;
    return mayReplace(messages, path, file.question, file.icon) ? path : QString();
}

} // namespace qrb
