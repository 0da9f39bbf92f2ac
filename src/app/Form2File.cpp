// Form2's file commands: open, save, save as, and the bitmap export.

#include "app/Form2.h"

#include "app/PanelStatusBar.h"
#include "editing/ui/TileStrip.h"
#include "imaging/ui/ImageBox.h"
#include "tileset/BitmapExporter.h"
#include "tileset/LibraryFile.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>

#include <algorithm>
#include <exception>
#include <filesystem>

namespace qrb {

namespace {

constexpr int kLargeTile = 164; // a full image above this needs the large preview layout
constexpr int kWeirdTile = 256; // above this the strip and previews look odd

const char* const kLibraryFilter = "QRB File (*.qrb)|*.qrb";

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString message(const std::exception& e) {
    return QString::fromUtf8(e.what());
}

// The common end of a file command: the normal pointer back and the progress bar hidden,
// however the command ends. finish() does it early, before a message is shown.
class CommandEnd {
public:
    explicit CommandEnd(QProgressBar* progress) : progress_(progress) {}
    ~CommandEnd() { finish(); }
    CommandEnd(const CommandEnd&) = delete;
    CommandEnd& operator=(const CommandEnd&) = delete;

    void busy() {
        if (!busy_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        busy_ = true;
    }
    void finish() {
        if (busy_)
            QApplication::restoreOverrideCursor();
        busy_ = false;
        progress_->hide();
    }

private:
    QProgressBar* progress_;
    bool busy_ = false;
};

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
    // cancelled, failed) abandons the open, so nothing unsaved is lost. Once the last tile
    // is gone there is nothing a save could keep, and the open goes ahead.
    if (!state_.IsSaved &&
        messages().askYesNo(tr("You you wish to save the current file?"),
                            QString::fromLatin1(kTitle), MessageIcon::Critical)) {
        const bool somethingToSave = state_.IsLibraryOpen && TileCount() > 0;
        if (!mnuSave_Click() && somethingToSave)
            return;
    }

    dialog_.CancelError = true;
    QString path;
    if (!state_.StartupFile.isEmpty()) {
        path = state_.StartupFile;
        state_.StartupFile.clear();
    } else {
        const QString previousPath = dialog_.FileName;
        dialog_.DialogTitle = tr("Open QRB file ...");
        try {
            dialog_.ShowOpen();
        } catch (const DialogCancelled&) {
            return;
        }
        path = dialog_.FileName;
        // The chosen file becomes the current library only once it has been read.
        dialog_.FileName = previousPath;
    }

    // Read the whole file first; the open library stays exactly as it is until then.
    CommandEnd end(ui_.ProgressBar1);
    const QString previousTitle = windowTitle();
    setWindowTitle(tr("Opening %1").arg(path));
    end.busy();
    TileSet loaded;
    try {
        loaded = LibraryFile::load(fsPath(path), progressDisplay());
    } catch (const std::exception& e) {
        end.finish();
        setWindowTitle(previousTitle);
        reportError(tr("The tile library could not be opened.\n\n%1").arg(message(e)));
        return;
    }

    // Out with the old set.
    tiles_ = std::move(loaded);
    strip_.reload();
    ui_.Picture1->show();
    ui_.Picture1->setWhiteBackground(true);
    ui_.Picture1->invalidateAll();
    clearEditor();
    ui_.mnuDeleteTile->setEnabled(false);
    ui_.mnuDeleteTilemnu->setEnabled(false);

    // In with the new.
    dialog_.FileName = path;
    setTileCountPanel(TileCount());
    bool large = false;
    for (const Tile& tile : tiles_.tiles())
        large = large || tile.full.width() > kLargeTile || tile.full.height() > kLargeTile;
    state_.LargeLayout = large;
    applyPreviewLayout(large);
    end.finish();
    // One warning, and one count of the other oversized tiles: a library of thousands of
    // them must not keep the user clicking.
    const auto weird =
        std::count_if(tiles_.tiles().begin(), tiles_.tiles().end(), [](const Tile& t) {
            return t.full.width() > kWeirdTile || t.full.height() > kWeirdTile;
        });
    if (weird > 0)
        messages().inform(tr("Weird displays will occur with tile sizes greater than 256 X 256"),
                          QString::fromLatin1(kTitle), MessageIcon::Information);
    if (weird > 1)
        messages().inform(
            weird == 2
                ? tr("1 more tile in this library is larger than 256 X 256.")
                : tr("%1 more tiles in this library are larger than 256 X 256.").arg(weird - 1),
            QString::fromLatin1(kTitle), MessageIcon::Information);

    state_.IsLibraryOpen = true;
    state_.IsSaved = true;
    UpdateTitle();
    enableLibraryCommands(true);
    ShowSelectedTile(1);
}

// ---- Save --------------------------------------------------------------------------------

bool Form2::mnuSave_Click() {
    // Whatever happens, a Save As request does not outlive this save.
    const bool saveAs = state_.SaveAsRequested;
    state_.SaveAsRequested = false;
    if (TileCount() == 0 || !state_.IsLibraryOpen)
        return false;

    QString path = dialog_.FileName;
    if (saveAs) {
        dialog_.DialogTitle = tr("Save QRB file as ...");
        try {
            dialog_.ShowSave();
        } catch (const DialogCancelled&) {
            return false;
        }
        path = dialog_.FileName;
    } else if (ui_.mnuConfirmWrite->isChecked() &&
               !messages().askYesNo(tr("Do you want to over write the current file?"),
                                    QString::fromLatin1(kTitle), MessageIcon::Critical)) {
        return false;
    }
    if (path.right(4).compare(QLatin1String(".qrb"), Qt::CaseInsensitive) != 0) {
        path += QLatin1String(".qrb");
        // The dialog asked about the name as typed; the file written is another one.
        if (saveAs && (dialog_.Flags & dialogflags::OverwritePrompt) && QFileInfo::exists(path) &&
            !messages().askYesNo(tr("%1 already exists.\nDo you want to replace it?")
                                     .arg(QDir::toNativeSeparators(path)),
                                 QString::fromLatin1(kTitle), MessageIcon::Exclamation))
            return false;
    }

    CommandEnd end(ui_.ProgressBar1);
    end.busy();
    try {
        LibraryFile::save(fsPath(path), tiles_, std::nullopt, progressDisplay());
    } catch (const std::exception& e) {
        end.finish();
        reportError(tr("The tile library was not saved.\n\n%1").arg(message(e)));
        return false;
    }
    dialog_.FileName = path;
    state_.IsSaved = true;
    end.finish();
    setWindowTitle(QString::fromLatin1(kTitle) + QStringLiteral(" - ") + path);
    return true;
}

bool Form2::mnuSaveAs_Click() {
    // The dialog starts without a name; if no file gets written the current library path
    // stays what it was.
    const QString previousPath = dialog_.FileName;
    state_.SaveAsRequested = true;
    dialog_.FileName.clear();
    const bool saved = mnuSave_Click();
    if (!saved)
        dialog_.FileName = previousPath;
    return saved;
}

// ---- Bitmap export -----------------------------------------------------------------------

void Form2::mnuCreateBMP_Click() {
    if (!state_.IsLibraryOpen)
        return;
    // The shared dialog is borrowed: its library path and settings are put back after.
    struct Restore {
        CommonDialog& d;
        QString fileName;
        ~Restore() {
            d.FileName = fileName;
            d.CancelError = true;
            d.Filter = QString::fromLatin1(kLibraryFilter);
        }
    } restore{dialog_, dialog_.FileName};

    dialog_.CancelError = false;
    dialog_.FileName.clear();
    dialog_.DialogTitle = tr("Convert QRB file to BMP files starting with ...");
    dialog_.Filter = QStringLiteral("BMP File (*.bmp)|*.bmp");
    dialog_.ShowSave();
    const QString chosen = dialog_.FileName;
    if (chosen.isEmpty())
        return; // cancelled: nothing is written

    CommandEnd end(ui_.ProgressBar1);
    end.busy();
    try {
        BitmapExporter::exportAll(tiles_, fsPath(chosen), progressDisplay());
    } catch (const std::exception& e) {
        end.finish();
        reportError(tr("The export stopped.\n\n%1").arg(message(e)));
    }
}

} // namespace qrb
