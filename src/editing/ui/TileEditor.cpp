#include "editing/ui/TileEditor.h"

#include "app/Form2.h"
#include "app/PanelStatusBar.h"
#include "app/ShapeWidget.h"
#include "app/platform/CommonDialog.h"
#include "editing/ui/TileStrip.h"
#include "imaging/HalfSize.h"
#include "imaging/ui/ImageBox.h"
#include "tileset/LibraryFile.h"
#include "imaging/render/DibConversion.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <span>

namespace qrb {

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// The busy pointer and the progress bar of a long command, put back however it ends.
class BusyCommand {
public:
    explicit BusyCommand(QProgressBar* progress) : progress_(progress) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCommand() {
        QApplication::restoreOverrideCursor();
        progress_->hide();
    }
    BusyCommand(const BusyCommand&) = delete;
    BusyCommand& operator=(const BusyCommand&) = delete;

private:
    QProgressBar* progress_;
};

} // namespace

TileEditor::TileEditor(Form2& form, QObject* parent)
    : QObject(parent), form_(form), working_(form, this) {
    const Form2::Controls& ui = form_.ui();
    connect(ui.cmdCreate, &QAbstractButton::clicked, this,
            [this] { form_.runHandler(QStringLiteral("cmdCreate_Click")); });

    auto install = [this](const char* name, void (TileEditor::*handler)()) {
        form_.setHandler(QString::fromLatin1(name), [this, handler] { (this->*handler)(); });
    };
    install("cmdCreate_Click", &TileEditor::cmdCreate_Click);
    install("mnuCreateTile_Click", &TileEditor::cmdCreate_Click);
    form_.setHandler(QStringLiteral("mnuAddTilemnu_Click"), [this] { AddTile(); });
    install("mnuDeleteTile_Click", &TileEditor::mnuDeleteTile_Click);
    install("mnuDeleteTiles_Click", &TileEditor::mnuDeleteTiles_Click);
    install("mnuDeleteTilemnu_Click", &TileEditor::mnuDeleteTilemnu_Click);
    install("Toolbar1_Button20", &TileEditor::Toolbar1_Button20);
    install("mnuSetBaseTile_Click", &TileEditor::mnuSetBaseTile_Click);
    install("mnuBaseTile_Click", &TileEditor::mnuSetBaseTile_Click);
    install("mnuSaveTiles_Click", &TileEditor::mnuSaveTiles_Click);
    install("mnuSaveTilesAs_Click", &TileEditor::mnuSaveTilesAs_Click);
}

// ---- Create and add ----------------------------------------------------------------------

void TileEditor::scrollToLastRow() {
    form_.UpdateTitle();
    QScrollBar* bar = form_.ui().VScroll1;
    if (bar->isEnabled())
        bar->setValue(bar->maximum());
}

int TileEditor::AddTile() {
    const int n = form_.TileCount() + 1;
    if (n > TileSet::kMaxTiles) {
        form_.messages().inform(
            tr("The library already holds %1 tiles, the most a library file can store. "
               "Delete a tile before creating another.")
                .arg(TileSet::kMaxTiles),
            QString::fromLatin1(Form2::kTitle), MessageIcon::Exclamation);
        return 0;
    }
    form_.setTileCountPanel(n);

    // Until something fills it, the row holds a white picture of the full preview's size
    // and the small colour of a new row.
    const ImageBox* full = form_.ui().pctPreviewFull;
    const std::int32_t w = std::clamp(full->width(), 1, int(DibImage::kMaxDimension));
    const std::int32_t h = std::clamp(full->height(), 1, int(DibImage::kMaxDimension));
    Tile row;
    row.full = DibImage::filled(w, h, Rgb{255, 255, 255});
    row.half = DibImage::filled(halfDimension(w), halfDimension(h), Rgb{255, 255, 255});
    row.smallColour = working_.rememberedSmallColour();
    form_.strip().appendTile(std::move(row));
    form_.stripChanged(n);
    scrollToLastRow();
    return n;
}

void TileEditor::stampPositionSlots() {
    const Form2::Controls& ui = form_.ui();
    for (int k = 0; k < 9; ++k) {
        if (ui.Text1[std::size_t(k)]->text().isEmpty())
            continue;
        // A slot button click, as the user would make it (the text placement part
        // provides it; without it there is nothing to stamp).
        form_.runHandler(QStringLiteral("cmdPlaceText_Click(%1)").arg(k));
    }
}

void TileEditor::cmdCreate_Click() {
    const Form2::Controls& ui = form_.ui();
    if (ui.pctWorkingTile->isHidden())
        return;
    const int n = AddTile();
    if (n == 0)
        return;
    form_.state().EditingFullImage = true;
    if (ui.mnuCreateUsingPosition->isChecked())
        stampPositionSlots();

    // The new tile's full image is the whole picture it is made from, at that picture's
    // own size (a turned working tile keeps everything it shows).
    Tile tile;
    tile.full = toDibImage(ui.mnuAutoCreateFromWorking->isChecked()
                               ? WorkingTile::shownImage(*ui.pctWorkingTile)
                               : WorkingTile::shownImage(*ui.pctPreviewFull));
    if (ui.mnuCreateHalfTile->isChecked())
        working_.deriveHalfPreview(tile.full);
    tile.half = toDibImage(WorkingTile::shownImage(*ui.pctPreviewHalf));
    tile.smallColour = ui.shpPreviewSmall->backColour();

    const Twips heightBefore = form_.strip().contentHeight();
    form_.strip().replaceTile(n, std::move(tile));
    ui.Picture1->setWhiteBackground(true);
    form_.stripChanged(n);
    if (form_.strip().contentHeight() != heightBefore)
        scrollToLastRow();

    // Back to the base tile's images, ready for the next tile.
    const int current = form_.CurrentTile();
    const int base = form_.BaseTile();
    if (current != 0 && base != 0 && ui.mnuAutoPastePase->isChecked()) {
        const Tile& baseTile = form_.tileSet().tile(base);
        const QImage baseFull = toQImage(baseTile.full);
        form_.setWorkingImage(baseFull);
        ui.pctPreviewFull->setImage(baseFull);
        ui.pctPreviewHalf->resize(baseTile.half.width(), baseTile.half.height());
        ui.pctPreviewHalf->setImage(toQImage(baseTile.half));
        ui.shpPreviewSmall->setBackColour(form_.tileSet().tile(current).smallColour);
        ui.shpPreviewSmall->setBorder(false);
    }

    form_.Form_Resize();
    form_.state().IsSaved = false;
}

// ---- Delete ------------------------------------------------------------------------------

void TileEditor::DeleteTiles(int k) {
    applyDelete(form_.strip().deleteTile(k), k);
}

void TileEditor::mnuDeleteTile_Click() {
    DeleteTiles(form_.CurrentTile());
}

void TileEditor::mnuDeleteTiles_Click() {
    StripModel& strip = form_.strip();
    int first = strip.currentTile();
    const bool several = strip.multiSelect();
    if (several) {
        const std::vector<int> selected = strip.selectedTiles();
        first = selected.empty() ? 0 : selected.front();
    }
    const DeleteOutcome outcome = strip.deleteSelected();
    applyDelete(outcome, first);
    // The marked tiles took the one in the editor with them: the editor shows the tile
    // that became current, or nothing.
    if (several && outcome.removed > 0 && !outcome.becameEmpty && form_.CurrentTile() == 0)
        form_.clearEditor();
}

void TileEditor::mnuDeleteTilemnu_Click() {
    if (form_.CurrentTile() != 0)
        mnuDeleteTile_Click();
}

void TileEditor::Toolbar1_Button20() {
    if (form_.strip().multiSelect())
        mnuDeleteTiles_Click();
    else if (form_.CurrentTile() != 0)
        mnuDeleteTile_Click();
}

void TileEditor::applyDelete(const DeleteOutcome& outcome, int firstRemoved) {
    if (outcome.removed == 0)
        return;
    const Form2::Controls& ui = form_.ui();
    Form2::State& state = form_.state();
    form_.stripChanged(std::max(1, firstRemoved));

    if (outcome.becameEmpty) {
        // The last tile went: nothing left to edit or to save.
        for (QWidget* w : std::initializer_list<QWidget*>{ui.pctWorkingTile, ui.pctPreviewFull,
                                                          ui.pctPreviewHalf, ui.shpPreviewSmall,
                                                          ui.Shape2[1], ui.Picture1})
            w->hide();
        ui.mnuAutoCreateFromWorking->setChecked(true);
        ui.StatusBar1->setPanelText(1, QString());
        state.IsLibraryOpen = false;
        form_.enableLibraryCommands(false);
        ui.mnuDeleteTile->setEnabled(false);
        ui.mnuDeleteTilemnu->setEnabled(false);
        form_.UpdateTitle();
        return;
    }

    form_.UpdateTitle();
    form_.setTileCountPanel(form_.TileCount());
    state.IsSaved = false;
    if (outcome.showTile != 0)
        form_.loadTileIntoEditor(outcome.showTile);
    const bool current = form_.CurrentTile() != 0;
    ui.mnuDeleteTile->setEnabled(current);
    ui.mnuDeleteTilemnu->setEnabled(current);
    ui.Picture1->update();
}

// ---- Base tile ---------------------------------------------------------------------------

void TileEditor::mnuSetBaseTile_Click() {
    form_.strip().setBaseTile();
    form_.ui().Picture1->update();
}

// ---- Save selected tiles -----------------------------------------------------------------

void TileEditor::mnuSaveTilesAs_Click() {
    form_.state().SaveAsRequested = true;
    mnuSaveTiles_Click();
}

void TileEditor::mnuSaveTiles_Click() {
    Form2::State& state = form_.state();
    // A request to ask for the file never outlives this save. The file is always asked
    // for: the selection never goes silently over the library's own file.
    state.SaveAsRequested = false;
    if (!state.IsLibraryOpen)
        return;
    const std::vector<int> selected = form_.strip().selectedTiles();

    // The shared dialog holds the library's path; it is borrowed and put back, so the
    // file written never becomes the library's path.
    CommonDialog& dialog = form_.CommonDialog1();
    struct Restore {
        CommonDialog& d;
        QString fileName;
        QString title;
        int flags;
        bool cancelError;
        ~Restore() {
            d.FileName = fileName;
            d.DialogTitle = title;
            d.Flags = flags;
            d.CancelError = cancelError;
        }
    } restore{dialog, dialog.FileName, dialog.DialogTitle, dialog.Flags, dialog.CancelError};
    const QString libraryPath = dialog.FileName;

    dialog.DialogTitle = tr("Save QRB file as ...");
    dialog.CancelError = true;
    // The question about an existing file is asked below, for the name with its extension.
    dialog.Flags &= ~dialogflags::OverwritePrompt;
    try {
        dialog.ShowSave();
    } catch (const DialogCancelled&) {
        return;
    }
    QString path = dialog.FileName;
    if (path.right(4).compare(QLatin1String(".qrb"), Qt::CaseInsensitive) != 0)
        path += QLatin1String(".qrb");

    const QFileInfo target(path);
    const QString title = QString::fromLatin1(Form2::kTitle);
    if (target.exists() &&
        !form_.messages().askYesNo(
            tr("%1 already exists.\nDo you want to replace it with the selected tiles?")
                .arg(QDir::toNativeSeparators(path)),
            title, MessageIcon::Critical))
        return;
    const bool overLibrary =
        target.exists() && !libraryPath.isEmpty() &&
        target.canonicalFilePath() == QFileInfo(libraryPath).canonicalFilePath();

    QString failure;
    {
        BusyCommand busy(form_.ui().ProgressBar1);
        try {
            LibraryFile::save(fsPath(path), form_.tileSet(), std::span<const int>(selected),
                              form_.progressDisplay());
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
    }
    if (!failure.isEmpty()) {
        form_.messages().inform(tr("The selected tiles were not saved.\n\n%1").arg(failure), title,
                                MessageIcon::Critical);
        return;
    }
    // The library's own file now holds only the selection: the whole set is unsaved.
    if (overLibrary)
        state.IsSaved = false;
}

} // namespace qrb
