// Form2's file commands: open, save, save as, and the bitmap export.

#include "app/Form2.h"

#include "document/FilePath.h"
#include "tileset/BitmapExporter.h"
#include "widgets/TileStrip.h"

#include <QAction>
#include <QProgressBar>

#include <exception>

namespace qrb {

namespace {

const char* const kLibraryFilter = "QRB File (*.qrb)|*.qrb";

QString message(const std::exception& e) {
    return QString::fromUtf8(e.what());
}

} // namespace

std::function<void(int, int)> Form2::progressDisplay() {
    QProgressBar* bar = ui_.ProgressBar1;
    return [bar, shown = -1](int done, int total) mutable {
        if (bar->maximum() != total)
            bar->setMaximum(total);
        bar->setValue(done);
        if (bar->isHidden())
            bar->show();
        // Repaint at most once per percent: the command runs without an event loop.
        const int percent = total > 0 ? int(qint64(done) * 100 / total) : 100;
        if (percent != shown) {
            shown = percent;
            bar->repaint();
        }
    };
}

// ---- Open --------------------------------------------------------------------------------

void Form2::mnuOpen_Click() {
    // Unsaved changes: a save that the user asked for but that did not happen (declined,
    // cancelled, failed) abandons the open, so nothing unsaved is lost.
    if (document_.isLibraryOpen() && !document_.isSaved() &&
        messages().askYesNo(tr("You you wish to save the current file?"), appTitle(),
                            MessageIcon::Critical) &&
        !mnuSave_Click())
        return;

    QString path;
    if (!startupFile_.isEmpty()) {
        path = startupFile_;
        startupFile_.clear();
    } else {
        dialog_.CancelError = true;
        dialog_.FileName = currentPath();
        dialog_.DialogTitle = tr("Open QRB file ...");
        dialog_.Filter = QString::fromLatin1(kLibraryFilter);
        try {
            dialog_.ShowOpen();
        } catch (const DialogCancelled&) {
            return;
        }
        path = dialog_.FileName;
    }

    // The document reads the whole file first; the open library stays exactly as it is
    // until then.
    BusyCursor busy(ui_.ProgressBar1);
    const QString previousTitle = windowTitle();
    setWindowTitle(tr("Opening %1").arg(path));
    try {
        document_.open(path, progressDisplay());
    } catch (const std::exception& e) {
        busy.finish();
        setWindowTitle(previousTitle);
        reportError(tr("The tile library could not be opened.\n\n%1").arg(message(e)));
        return;
    }
    ui_.Picture1->setWhiteBackground(true);
    applyPreviewLayout(document_.largeLayout());
    busy.finish();

    // One warning, and one count of the other oversized tiles: a library of thousands of
    // them must not keep the user clicking.
    const int odd = document_.oddTileCount();
    if (odd > 0)
        messages().inform(tr("Weird displays will occur with tile sizes greater than 256 X 256"),
                          appTitle(), MessageIcon::Information);
    if (odd > 1)
        messages().inform(
            odd == 2 ? tr("1 more tile in this library is larger than 256 X 256.")
                     : tr("%1 more tiles in this library are larger than 256 X 256.").arg(odd - 1),
            appTitle(), MessageIcon::Information);
}

// ---- Save --------------------------------------------------------------------------------

bool Form2::mnuSave_Click() {
    return save(false);
}

bool Form2::mnuSaveAs_Click() {
    return save(true);
}

bool Form2::save(bool askForName) {
    if (TileCount() == 0 || !document_.isLibraryOpen())
        return false;

    QString path = currentPath();
    if (askForName) {
        // The dialog starts without a name; if no file gets written the library's path
        // stays what it was.
        dialog_.FileName.clear();
        dialog_.DialogTitle = tr("Save QRB file as ...");
        dialog_.Filter = QString::fromLatin1(kLibraryFilter);
        try {
            dialog_.ShowSave();
        } catch (const DialogCancelled&) {
            return false;
        }
        path = dialog_.FileName;
    } else if (ui_.mnuConfirmWrite->isChecked() &&
               !messages().askYesNo(tr("Do you want to over write the current file?"), appTitle(),
                                    MessageIcon::Critical)) {
        return false;
    }
    const QString named = withExtension(path, QStringLiteral(".qrb"));
    // The dialog asked about the name as typed; the file written may be another one.
    if (named != path && askForName && (dialog_.Flags & dialogflags::OverwritePrompt) &&
        !mayReplace(messages(), named, tr("%1 already exists.\nDo you want to replace it?"),
                    MessageIcon::Exclamation))
        return false;

    BusyCursor busy(ui_.ProgressBar1);
    try {
        document_.save(named, progressDisplay());
    } catch (const std::exception& e) {
        busy.finish();
        reportError(tr("The tile library was not saved.\n\n%1").arg(message(e)));
        return false;
    }
    return true;
}

// ---- Bitmap export -----------------------------------------------------------------------

void Form2::mnuCreateBMP_Click() {
    if (!document_.isLibraryOpen())
        return;
    dialog_.CancelError = false;
    dialog_.FileName.clear();
    dialog_.DialogTitle = tr("Convert QRB file to BMP files starting with ...");
    dialog_.Filter = QStringLiteral("BMP File (*.bmp)|*.bmp");
    dialog_.ShowSave();
    dialog_.CancelError = true;
    const QString chosen = dialog_.FileName;
    if (chosen.isEmpty())
        return; // cancelled: nothing is written

    BusyCursor busy(ui_.ProgressBar1);
    try {
        BitmapExporter::exportAll(document_.tiles(), toFsPath(chosen), progressDisplay());
    } catch (const std::exception& e) {
        busy.finish();
        reportError(tr("The export stopped.\n\n%1").arg(message(e)));
    }
}

} // namespace qrb
