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

void TileEditorPanel::tellRefusal(const Refusal& refusal) {
    services_.messages.inform(QString::fromStdString(refusal.what()), appTitle(),
                              MessageIcon::Exclamation);
}

void TileEditorPanel::cmdCreate_Click() {
    try {
        document_.createTile();
    } catch (const Refusal& refusal) {
        tellRefusal(refusal);
    }
}

int TileEditorPanel::AddTile() {
    try {
        return document_.addTile();
    } catch (const Refusal& refusal) {
        tellRefusal(refusal);
        return 0;
    }
}

void TileEditorPanel::mnuCloneTilemnu_Click() {
    try {
        document_.cloneTile();
    } catch (const Refusal& refusal) {
        tellRefusal(refusal);
    }
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
    BusyCursor busy(progressBar_);
    try {
        document_.saveSelected(path, progress_);
    } catch (const std::exception& e) {
        busy.finish();
        services_.messages.inform(
            tr("The selected tiles were not saved.\n\n%1").arg(QString::fromUtf8(e.what())),
            appTitle(), MessageIcon::Critical);
    }
}

} // namespace qrb
