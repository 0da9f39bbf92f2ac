// Form2's commands for building a library: New, Recent Libraries, Import and Export Images,
// and libraries and pictures dropped on the window.

#include "app/Form2.h"

#include "app/ExportDeckCommand.h"
#include "app/ExportImagesCommand.h"
#include "app/ImportImagesCommand.h"
#include "app/RecentLibraries.h"
#include "app/StripDragDrop.h"
#include "document/PictureImport.h"
#include "document/TileTransfer.h"
#include "imaging/render/DibConversion.h"
#include "widgets/TileStrip.h"

#include <QAction>
#include <QMenu>

namespace qrb {

void Form2::createLibraryCommands() {
    const Services services{dialog_,
                            *platform_.messages,
                            *platform_.clipboard,
                            *platform_.printing,
                            *platform_.progress,
                            [this](const QString& text) { showStatus(text); }};
    importImages_ = new ImportImagesCommand(document_, services, this);
    connect(importImages_, &ImportImagesCommand::tilesInserted, this, &Form2::ensureRowVisible);
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

void Form2::newLibrary() {
    if (!mayDiscardChanges(tr("You you wish to save the current file?"),
                           [this] { return saveLibrary(); }))
        return;
    startNewLibrary();
    showStatus(tr("New library: File > Import Images... or Paste brings pictures in."));
}

void Form2::startNewLibrary() {
    document_.newLibrary();
    oddTilesTold_ = 0;
    ui_.strip->setWhiteBackground(true);
    applyPreviewLayout(false);
}

void Form2::openRecentLibrary(const QString& path) {
    if (!mayDiscardChanges(tr("You you wish to save the current file?"),
                           [this] { return saveLibrary(); }))
        return;
    if (readLibrary(path, tr("The tile library could not be opened; it is no longer offered "
                             "among the recent libraries.")))
        return;
    RecentLibraries::remove(path);
    fillRecentMenu();
}

void Form2::moveTiles(Document::TileMove where) {
    if (!document_.moveTiles(where))
        return;
    // The moved tiles stay where the user sees them, also when they went to the far end.
    const std::vector<int> marked = document_.strip().selectedTiles();
    const int shown = document_.currentTile() != 0 ? document_.currentTile()
                      : marked.empty()             ? 0
                                                   : marked.front();
    ensureRowVisible(shown);
}

void Form2::openLibraryFile(const QString& path) {
    if (!mayDiscardChanges(tr("You you wish to save the current file?"),
                           [this] { return saveLibrary(); }))
        return;
    readLibrary(path);
}

void Form2::replaceTile() {
    if (!document_.replaceTile())
        showStatus(tr("Nothing was replaced: pick the tile to replace in the strip first."));
}

void Form2::importImages() {
    if (document_.isLibraryOpen()) {
        importImages_->importImages();
        return;
    }
    const QStringList pictures = importImages_->askPictures();
    if (!pictures.isEmpty())
        importDropped(pictures, 0);
}

void Form2::importDropped(const QStringList& pictures, int gap) {
    if (!document_.isLibraryOpen())
        startNewLibrary(); // without a library the pictures start a new one
    importImages_->importFiles(pictures, gap > 0 ? gap : document_.insertionPoint());
}

void Form2::exportImages() {
    exportImages_->exportImages();
}

void Form2::exportDeck() {
    exportDeck_->exportDeck();
}

void Form2::copyTiles() {
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

void Form2::insertTiles(const QByteArray& bytes, int gap) {
    if (!document_.isLibraryOpen())
        return;
    const int n = document_.insertTiles(gap, carriedTiles(document_, bytes), tr("Drop Tiles"));
    ensureRowVisible(gap);
    showStatus(n == 1 ? tr("Copied 1 tile here") : tr("Copied %1 tiles here").arg(n));
}

void Form2::pasteTiles() {
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

void Form2::buildRecentMenu() {
    ui_.recentMenu = new QMenu(tr("Recent &Libraries"), ui_.fileMenu);
    ui_.recentMenu->setObjectName(QStringLiteral("mnuRecent"));
    ui_.recentMenu->menuAction()->setObjectName(QStringLiteral("mnuRecent"));
    ui_.fileMenu->insertMenu(ui_.save, ui_.recentMenu);
    // The files are looked at when the menu opens: one deleted meanwhile shows greyed.
    connect(ui_.recentMenu, &QMenu::aboutToShow, this, &Form2::fillRecentMenu);
    fillRecentMenu();
}

void Form2::fillRecentMenu() {
    RecentLibraries::fillMenu(
        ui_.recentMenu,
        [this](const QString& path) { runCommand([&] { openRecentLibrary(path); }); },
        [this] { fillRecentMenu(); });
}

void Form2::rememberLibrary(const QString& path) {
    RecentLibraries::add(path);
    fillRecentMenu();
}

} // namespace qrb
