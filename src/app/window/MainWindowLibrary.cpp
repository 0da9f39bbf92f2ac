// MainWindow's commands for building a library: New, Recent Libraries, Import and Export Images,
// and libraries and pictures dropped on the window.

#include "app/window/MainWindow.h"

#include "app/commands/ExportDeckCommand.h"
#include "app/commands/ExportImagesCommand.h"
#include "app/commands/ImportImagesCommand.h"
#include "app/commands/RecentLibraries.h"
#include "app/panels/StripDragDrop.h"
#include "document/PictureImport.h"
#include "document/TileTransfer.h"
#include "imaging/render/DibConversion.h"
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
    exportDeck_ = new ExportDeckCommand(document_, services, this);
    dragDrop_ = new StripDragDrop(
        document_, ui_.strip, ui_.stripBar, this,
        {[this](const QStringList& pictures, int gap) {
             runCommand([&] { importDropped(pictures, gap); });
         },
         [this](const QString& library) { runCommand([&] { openLibraryFile(library); }); },
         [this](const QByteArray& tiles, int gap) {
             runCommand([&] { insertTiles(tiles, gap); });
         }});
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

void MainWindow::exportDeck() {
    exportDeck_->exportDeck();
}

void MainWindow::copyTiles() {
    std::vector<int> tiles;
    if (document_.strip().multiSelect())
        tiles = document_.strip().selectedTiles();
    if (tiles.empty() && document_.currentTile() > 0)
        tiles = {document_.currentTile()};
    if (tiles.empty())
        return;
    platform_.clipboard->setTiles(encodeTiles(document_.tiles(), tiles),
                                  toQImage(document_.tiles().tile(tiles.front()).full));
    showStatus(tiles.size() == 1 ? tr("Copied tile %1").arg(tiles.front())
                                 : tr("Copied %1 tiles").arg(tiles.size()));
}

namespace {

// Tiles carried from another window, checked and within what the memory limit leaves.
std::vector<Tile> carriedTiles(const Document& document, const QByteArray& bytes) {
    const std::uint64_t budget = defaultMemoryBudget();
    const std::uint64_t held = document.pixelBytes();
    try {
        return decodeTiles(bytes, budget > held ? budget - held : 0);
    } catch (const std::exception& e) {
        throw Refusal(QObject::tr("The tiles cannot be taken: %1")
                          .arg(QString::fromUtf8(e.what()))
                          .toStdString());
    }
}

} // namespace

void MainWindow::insertTiles(const QByteArray& bytes, int gap) {
    if (!document_.isLibraryOpen())
        return;
    const int n = document_.insertTiles(gap, carriedTiles(document_, bytes), tr("Drop Tiles"));
    ensureRowVisible(gap);
    showStatus(n == 1 ? tr("Copied 1 tile here") : tr("Copied %1 tiles here").arg(n));
}

void MainWindow::pasteTiles() {
    std::vector<Tile> tiles;
    const QByteArray bytes = platform_.clipboard->tiles();
    if (!bytes.isEmpty()) {
        tiles = carriedTiles(document_, bytes);
    } else if (platform_.clipboard->hasImage()) {
        const QImage picture = platform_.clipboard->image();
        if (picture.width() > DibImage::kMaxDimension || picture.height() > DibImage::kMaxDimension)
            throw Refusal(
                tr("The clipboard's picture is larger than a tile may be.").toStdString());
        tiles.push_back(tileFromPicture(picture));
    } else {
        showStatus(tr("The clipboard holds no tile or picture to paste."));
        return;
    }
    const int at = document_.insertionPoint();
    const int n = document_.insertTiles(at, std::move(tiles), tr("Paste Tile"));
    ensureRowVisible(at);
    showStatus(n == 1 ? tr("Pasted 1 tile") : tr("Pasted %1 tiles").arg(n));
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
