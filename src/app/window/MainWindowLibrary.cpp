// MainWindow's commands for building a library: New, Recent Libraries, Import and Export Images,
// and libraries and pictures dropped on the window.

#include "app/window/MainWindow.h"

#include "app/commands/ExportImagesCommand.h"
#include "app/commands/ImportImagesCommand.h"
#include "app/commands/RecentLibraries.h"
#include "app/panels/StripDragDrop.h"
#include "widgets/TileStrip.h"

#include <QAction>
#include <QMenu>

namespace qrb {

void MainWindow::createLibraryCommands() {
    const Services services{dialog_,
                            *platform_.messages,
                            *platform_.clipboard,
                            *platform_.printing,
                            *platform_.progress,
                            [this](const QString& text) { showStatus(text); }};
    importImages_ = new ImportImagesCommand(document_, services, this);
    connect(importImages_, &ImportImagesCommand::tilesInserted, this,
            &MainWindow::ensureRowVisible);
    exportImages_ = new ExportImagesCommand(document_, services, this);
    dragDrop_ = new StripDragDrop(
        document_, ui_.strip, ui_.stripBar, this,
        {[this](const QStringList& pictures, int gap) {
             runCommand([&] { importDropped(pictures, gap); });
         },
         [this](const QString& library) { runCommand([&] { openLibraryFile(library); }); }});
}

void MainWindow::newLibrary() {
    if (!mayDiscardChanges(tr("You you wish to save the current file?"),
                           [this] { return saveLibrary(); }))
        return;
    startNewLibrary();
    showStatus(tr("New library: File > Import Images... or Paste brings pictures in."));
}

void MainWindow::startNewLibrary() {
    document_.newLibrary();
    oddTilesTold_ = 0;
    ui_.strip->setWhiteBackground(true);
    applyPreviewLayout(false);
}

void MainWindow::openRecentLibrary(const QString& path) {
    if (!mayDiscardChanges(tr("You you wish to save the current file?"),
                           [this] { return saveLibrary(); }))
        return;
    if (readLibrary(path, tr("The tile library could not be opened; it is no longer offered "
                             "among the recent libraries.")))
        return;
    RecentLibraries::remove(path);
    fillRecentMenu();
}

void MainWindow::moveTiles(Document::TileMove where) {
    if (!document_.moveTiles(where))
        return;
    // The moved tiles stay where the user sees them, also when they went to the far end.
    const std::vector<int> marked = document_.strip().selectedTiles();
    const int shown = document_.currentTile() != 0 ? document_.currentTile()
                      : marked.empty()             ? 0
                                                   : marked.front();
    ensureRowVisible(shown);
}

void MainWindow::openLibraryFile(const QString& path) {
    if (!mayDiscardChanges(tr("You you wish to save the current file?"),
                           [this] { return saveLibrary(); }))
        return;
    readLibrary(path);
}

void MainWindow::replaceTile() {
    if (!document_.replaceTile())
        showStatus(tr("Nothing was replaced: pick the tile to replace in the strip first."));
}

void MainWindow::importImages() {
    if (document_.isLibraryOpen()) {
        importImages_->importImages();
        return;
    }
    const QStringList pictures = importImages_->askPictures();
    if (!pictures.isEmpty())
        importDropped(pictures, 0);
}

void MainWindow::importDropped(const QStringList& pictures, int gap) {
    if (!document_.isLibraryOpen())
        startNewLibrary(); // without a library the pictures start a new one
    importImages_->importFiles(pictures, gap > 0 ? gap : document_.insertionPoint());
}

void MainWindow::exportImages() {
    exportImages_->exportImages();
}

void MainWindow::buildRecentMenu() {
    ui_.recentMenu = new QMenu(tr("Recent &Libraries"), ui_.fileMenu);
    ui_.recentMenu->setObjectName(QStringLiteral("mnuRecent"));
    ui_.recentMenu->menuAction()->setObjectName(QStringLiteral("mnuRecent"));
    ui_.fileMenu->insertMenu(ui_.save, ui_.recentMenu);
    // The files are looked at when the menu opens: one deleted meanwhile shows greyed.
    connect(ui_.recentMenu, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    fillRecentMenu();
}

void MainWindow::fillRecentMenu() {
    RecentLibraries::fillMenu(
        ui_.recentMenu,
        [this](const QString& path) { runCommand([&] { openRecentLibrary(path); }); },
        [this] { fillRecentMenu(); });
}

void MainWindow::rememberLibrary(const QString& path) {
    RecentLibraries::add(path);
    fillRecentMenu();
}

} // namespace qrb
