#include "app/parts/TileEditorPanel.h"

#include "document/FilePath.h"

#include <QDir>
#include <QProgressBar>

namespace qrb {

TileEditorPanel::TileEditorPanel(Document& document, Services services, ProgressCallback progress,
                                 QProgressBar* progressBar, QObject* parent)
    : QObject(parent), document_(document), services_(services), progress_(std::move(progress)),
      progressBar_(progressBar) {
    setObjectName(QStringLiteral("TileEditor"));
}

void TileEditorPanel::cmdCreate_Click() {
    if (!document_.createTile())
        services_.showStatus(
            tr("Nothing was created: pick a tile in the strip (or paste a picture) first."));
}

int TileEditorPanel::AddTile() {
    return document_.addTile();
}

void TileEditorPanel::mnuCloneTilemnu_Click() {
    document_.cloneTile();
}

void TileEditorPanel::mnuDeleteTile_Click() {
    document_.deleteTile();
}

void TileEditorPanel::mnuDeleteTilemnu_Click() {
    if (document_.currentTile() != 0)
        mnuDeleteTile_Click();
}

void TileEditorPanel::mnuDeleteTiles_Click() {
    document_.deleteSelected();
}

void TileEditorPanel::Toolbar1_Button20() {
    if (document_.strip().multiSelect())
        mnuDeleteTiles_Click();
    else
        mnuDeleteTilemnu_Click();
}

void TileEditorPanel::mnuSetBaseTile_Click() {
    document_.setBaseTile();
}

void TileEditorPanel::mnuSaveTilesAs_Click() {
    mnuSaveTiles_Click();
}

void TileEditorPanel::mnuSaveTiles_Click() {
    // The file is always asked for: the selection never goes silently over a file.
    if (!document_.isLibraryOpen())
        return;
    const FileToWrite file{
        document_.path(),
        tr("Save QRB file as ..."),
        QStringLiteral("QRB File (*.qrb)|*.qrb"),
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
    busyWork(services_.messages, progressBar_, tr("The selected tiles were not saved."),
             [&] { document_.saveSelected(path, progress_); });
}

} // namespace qrb
