#include "app/parts/PartSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>

#include <exception>

namespace qrb {

BusyCursor::BusyCursor(QProgressBar* progress) : progress_(progress) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void BusyCursor::finish() {
    if (busy_)
        QApplication::restoreOverrideCursor();
    busy_ = false;
    if (progress_)
        progress_->hide();
}

bool busyWork(MessageBoxes& messages, QProgressBar* progress, const QString& failure,
              const std::function<void()>& work) {
    BusyCursor busy(progress);
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        busy.finish();
        messages.inform(failure + QStringLiteral("\n\n") + QString::fromUtf8(e.what()), appTitle(),
                        MessageIcon::Critical);
        return false;
    }
}

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

QString askFileToWrite(CommonDialog& dialog, MessageBoxes& messages, const FileToWrite& file) {
    dialog.FileName = file.start;
    dialog.DialogTitle = file.title;
    dialog.Filter = file.filter;
    {
        const struct Restore {
            CommonDialog& dialog;
            int flags = dialog.Flags;
            bool cancelError = dialog.CancelError;
            ~Restore() {
                dialog.Flags = flags;
                dialog.CancelError = cancelError;
            }
        } restore{dialog};
        dialog.Flags &= ~dialogflags::OverwritePrompt;
        dialog.CancelError = true;
        try {
            dialog.ShowSave();
        } catch (const DialogCancelled&) {
            return {};
        }
    }
    const QString path = withExtension(dialog.FileName, file.extension);
    return mayReplace(messages, path, file.question, file.icon) ? path : QString();
}

} // namespace qrb
