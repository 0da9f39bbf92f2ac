#include "app/commands/LibraryFileCommands.h"

#include "app/commands/RecentLibraries.h"
#include "app/shared/BusyWork.h"
#include "app/shared/FileQuestions.h"
#include "document/FilePath.h"
#include "document/TileImageExport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

#include <numeric>

namespace qrb {

QString LibraryFileCommands::libraryFilter() {
    return QStringLiteral("%1|*.qrb").arg(tr("QRB File (*.qrb)"));
}

LibraryFileCommands::LibraryFileCommands(Document& document, Services services, QWidget* window)
    : QObject(window), document_(document), services_(std::move(services)), window_(window) {
    setObjectName(QStringLiteral("LibraryFile"));
}

bool LibraryFileCommands::work(const QString& failure,
                               const std::function<void(const ProgressCallback&)>& task) {
    QProgressBar* bar = services_.progressBar;
    return busyWork(services_.messages, bar, failure,
                    [&] { task(bar ? progressOn(bar) : ProgressCallback()); });
}

// ---- The question before unsaved work is set aside ---------------------------------------

bool LibraryFileCommands::mayDiscardChanges(const Question& question,
                                            bool (LibraryFileCommands::*saveFirst)()) {
    if (!document_.isLibraryOpen() || document_.isSaved())
        return true;
    switch (services_.messages.ask(question)) {
    case Answer::Yes: {
        // A save that does not happen (declined, cancelled, failed) keeps the work.
        bool saved = false;
        services_.runCommand([&] { saved = (this->*saveFirst)(); });
        return saved;
    }
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool LibraryFileCommands::mayReplaceLibrary() {
    return mayDiscardChanges(Question{tr("You you wish to save the current file?"), appTitle(),
                                      MessageIcon::Critical, true},
                             &LibraryFileCommands::saveLibrary);
}

bool LibraryFileCommands::mayClose() {
    return mayDiscardChanges(Question{tr("Do you what to save the current QRB File?"),
                                      tr("Danger Ivo Brankel!"), MessageIcon::Critical, true},
                             &LibraryFileCommands::saveLibraryAs);
}

// ---- New and Open ------------------------------------------------------------------------

void LibraryFileCommands::newLibrary() {
    if (!mayReplaceLibrary())
        return;
    startNewLibrary();
    services_.showStatus(tr("New library: File > Import Images... or Paste brings pictures in."));
}

void LibraryFileCommands::startNewLibrary() {
    document_.newLibrary();
    emit libraryReplaced();
}

void LibraryFileCommands::openLibrary() {
    if (!mayReplaceLibrary())
        return;
    const QString path =
        askFileToOpen(services_.dialog, document_.path(), tr("Open QRB file ..."), libraryFilter());
    if (!path.isEmpty())
        readLibrary(path);
}

void LibraryFileCommands::openLibraryFile(const QString& path) {
    if (mayReplaceLibrary())
        readLibrary(path);
}

void LibraryFileCommands::openRecentLibrary(const QString& path) {
    if (!mayReplaceLibrary())
        return;
    if (readLibrary(path, tr("The tile library could not be opened; it is no longer offered "
                             "among the recent libraries.")))
        return;
    RecentLibraries::remove(path);
    fillRecentMenu();
}

bool LibraryFileCommands::readLibrary(const QString& path, const QString& failure) {
    // The document reads the whole file first; the open library stays exactly as it is
    // until then.
    const QString previousTitle = window_->windowTitle();
    window_->setWindowTitle(tr("Opening %1").arg(path));
    if (!work(failure.isEmpty() ? tr("The tile library could not be opened.") : failure,
              [&](const ProgressCallback& progress) { document_.open(path, progress); })) {
        window_->setWindowTitle(previousTitle);
        return false;
    }
    rememberLibrary(path);
    emit libraryReplaced();
    return true;
}

void LibraryFileCommands::noticeFileChangedOnDisk() {
    if (QApplication::activeModalWidget() || !document_.fileChangedOnDisk() ||
        document_.fileOnDisk() == noticedOnDisk_)
        return;
    noticedOnDisk_ = document_.fileOnDisk();
    const QString path = document_.path();
    if (!document_.isSaved()) {
        services_.showStatus(tr("Another program changed %1; Save asks before overwriting it.")
                                 .arg(QFileInfo(path).fileName()));
        return;
    }
    // No is the default: the library in the window may be the only copy of what was
    // saved before the other program wrote over it.
    if (services_.messages.ask(
            Question{tr("%1 has been changed by another program.\nDo you want to load it again?")
                         .arg(QDir::toNativeSeparators(path)),
                     appTitle(), MessageIcon::Question, false, Answer::No}) != Answer::Yes)
        return;
    services_.runCommand([&] { readLibrary(path); });
}

// ---- Save --------------------------------------------------------------------------------

bool LibraryFileCommands::saveLibrary() {
    return save(false);
}

bool LibraryFileCommands::saveLibraryAs() {
    return save(true);
}

bool LibraryFileCommands::save(bool askForName) {
    // A library without tiles is still one: its file holds a count of 0.
    if (!document_.isLibraryOpen())
        return false;
    MessageBoxes& messages = services_.messages;
    const QString current = document_.path();
    QString named = withExtension(current, QStringLiteral(".qrb"));
    // A new library has no name yet: its first Save asks for one.
    if (askForName || current.isEmpty()) {
        // The dialog starts without a name; if no file gets written the library's path
        // stays what it was.
        named = askFileToWrite(services_.dialog, messages,
                               {QString(), tr("Save QRB file as ..."), libraryFilter(),
                                QStringLiteral(".qrb"),
                                tr("%1 already exists.\nDo you want to replace it?")});
        if (named.isEmpty())
            return false;
    } else if (confirmReplace_ &&
               !messages.askYesNo(tr("Do you want to over write the current file?"), appTitle(),
                                  MessageIcon::Critical)) {
        return false;
    }
    // Another program's version of the library's file is not overwritten unasked; the
    // document writes only over the version asked about.
    std::optional<FileIdentity> agreed;
    if (isSameFile(named, current) && document_.fileChangedOnDisk()) {
        agreed = document_.fileOnDisk();
        if (messages.ask(Question{tr("%1 has been changed by another program since it was "
                                     "opened or saved here.\nDo you want to overwrite it with "
                                     "the library shown in the window?")
                                      .arg(QDir::toNativeSeparators(named)),
                                  appTitle(), MessageIcon::Exclamation, false, Answer::No}) !=
            Answer::Yes)
            return false;
    }
    if (!work(tr("The tile library was not saved."),
              [&](const ProgressCallback& progress) { document_.save(named, progress, agreed); }))
        return false;
    rememberLibrary(named);
    return true;
}

void LibraryFileCommands::saveSelectedTiles() {
    // The file is always asked for: the selection never goes silently over a file.
    if (!document_.isLibraryOpen())
        return;
    const FileToWrite file{
        document_.path(),
        tr("Save QRB file as ..."),
        libraryFilter(),
        QStringLiteral(".qrb"),
        tr("%1 already exists.\nDo you want to replace it with the selected tiles?"),
        MessageIcon::Critical};
    // Over the open library's own file the selection would replace the whole library on
    // disk: a question of its own, with No as the answer Enter gives.
    const AskFirst ownFile = [this](const QString& path) -> std::optional<bool> {
        if (!isSameFile(path, document_.path()))
            return std::nullopt;
        const int kept = int(document_.strip().selectedTiles().size());
        const QString question =
            tr("%1 is the file of the library open in the window.\nSaving the selected tiles "
               "over it leaves the file with %2 of the library's %3 tiles; the window keeps "
               "all of them, unsaved.\nDo you want to replace the library's file with the "
               "selected tiles?")
                .arg(QDir::toNativeSeparators(path))
                .arg(kept)
                .arg(document_.tileCount());
        return services_.messages.ask(Question{question, appTitle(), MessageIcon::Exclamation,
                                               false, Answer::No}) == Answer::Yes;
    };
    const QString path = askFileToWrite(services_.dialog, services_.messages, file, ownFile);
    if (path.isEmpty())
        return;
    work(tr("The selected tiles were not saved."),
         [&](const ProgressCallback& progress) { document_.saveSelected(path, progress); });
}

// ---- Bitmaps -----------------------------------------------------------------------------

void LibraryFileCommands::exportBitmaps() {
    if (!document_.isLibraryOpen())
        return;
    // A prefix, not a file: the bitmaps of the same names are replaced without a question.
    const QString chosen = askFileToWrite(
        services_.dialog, services_.messages,
        {QString(), tr("Convert QRB file to BMP files starting with ..."),
         QStringLiteral("%1|*.bmp").arg(tr("BMP File (*.bmp)")), QString(), QString()});
    if (chosen.isEmpty())
        return; // cancelled: nothing is written
    std::vector<int> every(std::size_t(document_.tileCount()));
    std::iota(every.begin(), every.end(), 1);
    const ImageExport bitmaps{ImageFormat::Bmp, false};
    if (work(tr("The export stopped."), [&](const ProgressCallback& progress) {
            bitmaps.write(document_.tiles(), every, toFsPath(chosen), progress);
        }))
        services_.showStatus(every.size() == 1 ? tr("Wrote 1 bitmap")
                                               : tr("Wrote %1 bitmaps").arg(every.size()));
}

// ---- Recent libraries --------------------------------------------------------------------

void LibraryFileCommands::setRecentMenu(QMenu* menu) {
    recentMenu_ = menu;
    // The files are looked at when the menu opens: one deleted meanwhile shows greyed.
    connect(menu, &QMenu::aboutToShow, this, &LibraryFileCommands::fillRecentMenu);
    fillRecentMenu();
}

void LibraryFileCommands::fillRecentMenu() {
    if (!recentMenu_)
        return;
    RecentLibraries::fillMenu(
        recentMenu_,
        [this](const QString& path) { services_.runCommand([&] { openRecentLibrary(path); }); },
        [this] { fillRecentMenu(); });
}

void LibraryFileCommands::rememberLibrary(const QString& path) {
    RecentLibraries::add(path);
    fillRecentMenu();
}

} // namespace qrb
