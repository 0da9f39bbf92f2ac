// Form2's file commands: open, save, save as, and the bitmap export.

#include "app/Form2.h"

#include "document/FilePath.h"
#include "tileset/BitmapExporter.h"
#include "widgets/TileStrip.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>

#include <exception>

namespace qrb {

namespace {

const char* const kLibraryFilter = "QRB File (*.qrb)|*.qrb";

} // namespace

// ---- Open --------------------------------------------------------------------------------

void Form2::openLibrary() {
    // Unsaved changes: Cancel (or Escape) abandons the open, and so does a save that the
    // user asked for but that did not happen (declined, cancelled, failed), so nothing
    // unsaved is lost.
    if (!mayDiscardChanges(tr("You you wish to save the current file?"),
                           [this] { return saveLibrary(); }))
        return;

    QString path;
    if (!startupFile_.isEmpty()) {
        path = startupFile_;
        startupFile_.clear();
    } else {
        path = askFileToOpen(dialog_, currentPath(), tr("Open QRB file ..."),
                             QString::fromLatin1(kLibraryFilter));
        if (path.isEmpty())
            return;
    }

    readLibrary(path);
}

bool Form2::readLibrary(const QString& path, const QString& failure) {
    // The document reads the whole file first; the open library stays exactly as it is
    // until then.
    const QString previousTitle = windowTitle();
    setWindowTitle(tr("Opening %1").arg(path));
    if (!busyWork(messages(), ui_.progressBar,
                  failure.isEmpty() ? tr("The tile library could not be opened.") : failure,
                  [&] { document_.open(path, progressDisplay()); })) {
        setWindowTitle(previousTitle);
        return false;
    }
    rememberLibrary(path);
    ui_.strip->setWhiteBackground(true);
    applyPreviewLayout(document_.largeLayout());
    oddTilesTold_ = 0;
    tellOfOddTiles();
    return true;
}

void Form2::noticeFileChangedOnDisk() {
    if (runningCommands_ > 0 || QApplication::activeModalWidget() ||
        !document_.fileChangedOnDisk() || document_.fileOnDisk() == noticedOnDisk_)
        return;
    noticedOnDisk_ = document_.fileOnDisk();
    const QString path = currentPath();
    if (!document_.isSaved()) {
        showStatus(tr("Another program changed %1; Save asks before overwriting it.")
                       .arg(QFileInfo(path).fileName()));
        return;
    }
    // No is the default: the library in the window may be the only copy of what was
    // saved before the other program wrote over it.
    if (messages().ask(Question{tr("%1 has been changed by another program.\nDo you want to load "
                                   "it again?")
                                    .arg(QDir::toNativeSeparators(path)),
                                appTitle(), MessageIcon::Question, false, Answer::No}) !=
        Answer::Yes)
        return;
    runCommand([&] { readLibrary(path); });
}

// ---- Save --------------------------------------------------------------------------------

bool Form2::mayDiscardChanges(const QString& question, const std::function<bool()>& save) {
    if (!document_.isLibraryOpen() || document_.isSaved())
        return true;
    switch (messages().ask(Question{question, appTitle(), MessageIcon::Critical, true})) {
    case Answer::Yes:
        return save();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool Form2::saveLibrary() {
    return save(false);
}

bool Form2::saveLibraryAs() {
    return save(true);
}

bool Form2::save(bool askForName) {
    // A library without tiles is still one: its file holds a count of 0.
    if (!document_.isLibraryOpen())
        return false;

    QString named = withExtension(currentPath(), QStringLiteral(".qrb"));
    // A new library has no name yet: its first Save asks for one.
    if (askForName || currentPath().isEmpty()) {
        // The dialog starts without a name; if no file gets written the library's path
        // stays what it was.
        named = askFileToWrite(dialog_, messages(),
                               {QString(), tr("Save QRB file as ..."),
                                QString::fromLatin1(kLibraryFilter), QStringLiteral(".qrb"),
                                tr("%1 already exists.\nDo you want to replace it?")});
        if (named.isEmpty())
            return false;
    } else if (ui_.confirmReplace->isChecked() &&
               !messages().askYesNo(tr("Do you want to over write the current file?"), appTitle(),
                                    MessageIcon::Critical)) {
        return false;
    }
    // Another program's version of the library's file is not overwritten unasked; the
    // document writes only over the version asked about.
    std::optional<FileIdentity> agreed;
    if (isSameFile(named, currentPath()) && document_.fileChangedOnDisk()) {
        agreed = document_.fileOnDisk();
        if (messages().ask(
                Question{tr("%1 has been changed by another program since it was opened "
                            "or saved here.\nDo you want to overwrite it with the library "
                            "shown in the window?")
                             .arg(QDir::toNativeSeparators(named)),
                         appTitle(), MessageIcon::Exclamation, false, Answer::No}) != Answer::Yes)
            return false;
    }

    if (!busyWork(messages(), ui_.progressBar, tr("The tile library was not saved."),
                  [&] { document_.save(named, progressDisplay(), agreed); }))
        return false;
    rememberLibrary(named);
    return true;
}

// ---- Tiles -------------------------------------------------------------------------------

void Form2::createTile() {
    if (!document_.createTile())
        showStatus(tr("Nothing was created: pick a tile in the strip (or paste a picture) first."));
}

void Form2::saveSelectedTiles() {
    // The file is always asked for: the selection never goes silently over a file.
    if (!document_.isLibraryOpen())
        return;
    const FileToWrite file{
        currentPath(),
        tr("Save QRB file as ..."),
        QString::fromLatin1(kLibraryFilter),
        QStringLiteral(".qrb"),
        tr("%1 already exists.\nDo you want to replace it with the selected tiles?"),
        MessageIcon::Critical};
    // Over the open library's own file the selection would replace the whole library on
    // disk: a question of its own, with No as the answer Enter gives.
    const AskFirst ownFile = [this](const QString& path) -> std::optional<bool> {
        if (!isSameFile(path, currentPath()))
            return std::nullopt;
        const int kept = int(document_.strip().selectedTiles().size());
        const QString question =
            tr("%1 is the file of the library open in the window.\nSaving the selected tiles "
               "over it leaves the file with %2 of the library's %3 tiles; the window keeps "
               "all of them, unsaved.\nDo you want to replace the library's file with the "
               "selected tiles?")
                .arg(QDir::toNativeSeparators(path))
                .arg(kept)
                .arg(tileCount());
        return messages().ask(Question{question, appTitle(), MessageIcon::Exclamation, false,
                                       Answer::No}) == Answer::Yes;
    };
    const QString path = askFileToWrite(dialog_, messages(), file, ownFile);
    if (path.isEmpty())
        return;
    busyWork(messages(), ui_.progressBar, tr("The selected tiles were not saved."),
             [&] { document_.saveSelected(path, progressDisplay()); });
}

// ---- Bitmap export -----------------------------------------------------------------------

void Form2::exportBitmaps() {
    if (!document_.isLibraryOpen())
        return;
    // A prefix, not a file: the bitmaps of the same names are replaced without a question.
    const QString chosen =
        askFileToWrite(dialog_, messages(),
                       {QString(), tr("Convert QRB file to BMP files starting with ..."),
                        QStringLiteral("BMP File (*.bmp)|*.bmp"), QString(), QString()});
    if (chosen.isEmpty())
        return; // cancelled: nothing is written

    if (busyWork(messages(), ui_.progressBar, tr("The export stopped."), [&] {
            BitmapExporter::exportAll(document_.tiles(), toFsPath(chosen), progressDisplay());
        }))
        showStatus(tileCount() == 1 ? tr("Wrote 1 bitmap")
                                    : tr("Wrote %1 bitmaps").arg(tileCount()));
}

} // namespace qrb
