#include "app/parts/TileEditorPanel.h"

#include <QFileInfo>
#include <QProgressBar>

namespace qrb {

TileEditorPanel::TileEditorPanel(Document& document, Services services, ProgressCallback progress,
                                 QProgressBar* progressBar, QObject* parent)
    : QObject(parent), document_(document), services_(services), progress_(std::move(progress)),
      progressBar_(progressBar) {
    setObjectName(QStringLiteral("TileEditor"));
}

void TileEditorPanel::cmdCreate_Click() {
    document_.createTile();
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
    const QString path = askFileToWrite(
        services_.dialog, services_.messages,
        {document_.path(), tr("Save QRB file as ..."), QStringLiteral("QRB File (*.qrb)|*.qrb"),
         QStringLiteral(".qrb"),
         tr("%1 already exists.\nDo you want to replace it with the selected tiles?"),
         MessageIcon::Critical});
    if (path.isEmpty())
        return;
    busyWork(services_.messages, progressBar_, tr("The selected tiles were not saved."),
             [&] { document_.saveSelected(path, progress_); });
}

} // namespace qrb
