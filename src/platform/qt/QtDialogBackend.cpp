#include "platform/qt/QtDialogBackend.h"

#include "platform/qt/DeckOptionsDialog.h"
#include "platform/qt/FontDialog.h"
#include "platform/qt/ImportOptionsDialog.h"
#include "text/render/QtConversions.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace qrb {

namespace {

std::optional<QStringList> runFileDialog(const FileDialogRequest& request, bool save,
                                         bool several = false) {
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save      ? QFileDialog::AnyFile
                       : several ? QFileDialog::ExistingFiles
                                 : QFileDialog::ExistingFile);
    dialog.setNameFilters(QtDialogBackend::nameFilters(request.filter));
    if (!(request.flags & dialogflags::OverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.isEmpty()) {
        QFileInfo info(request.fileName);
        if (info.isRelative() && !request.directory.isEmpty())
            info = QFileInfo(QDir(request.directory), request.fileName);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    } else if (!request.directory.isEmpty()) {
        dialog.setDirectory(request.directory);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles();
}

std::optional<QString> first(const std::optional<QStringList>& files) {
    return files ? std::optional<QString>(files->first()) : std::nullopt;
}

} // namespace

QStringList QtDialogBackend::nameFilters(const QString& filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.contains(QLatin1Char('(')))
            result << description;
        else
            result << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    if (result.isEmpty())
        result << QCoreApplication::translate("qrb::QtDialogBackend", "All files (*)");
    return result;
}

std::optional<QString> QtDialogBackend::openFile(const FileDialogRequest& request) {
    return first(runFileDialog(request, false));
}

std::optional<QStringList> QtDialogBackend::openFiles(const FileDialogRequest& request) {
    return runFileDialog(request, false, true);
}

std::optional<QString> QtDialogBackend::saveFile(const FileDialogRequest& request) {
    return first(runFileDialog(request, true));
}

std::optional<QString> QtDialogBackend::chooseFolder(const FileDialogRequest& request) {
    const QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                                             request.title, request.directory);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<FontSettings> QtDialogBackend::chooseFont(const FontDialogRequest& request) {
    FontDialog dialog(request, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

std::optional<ColourValue> QtDialogBackend::chooseColour(ColourValue initial) {
    QColor chosen = QColorDialog::getColor(toQColor(initial), QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return toColourValue(chosen);
}

std::optional<ImportOptions>
QtDialogBackend::chooseImportOptions(const ImportDialogRequest& request) {
    ImportOptionsDialog dialog(request.paths, request.options, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.options();
}

std::optional<DeckOptions> QtDialogBackend::chooseDeckOptions(const DeckDialogRequest& request) {
    DeckOptionsDialog dialog(request, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.options();
}

} // namespace qrb
