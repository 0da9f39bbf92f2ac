#include "app/commands/TileTransferCommands.h"

#include "document/PictureImport.h"
#include "document/TileTransfer.h"
#include "imaging/render/DibConversion.h"

namespace qrb {

namespace {

// Tiles carried from another window, checked and within what the memory limit leaves.
std::vector<Tile> carriedTiles(const Document& document, const QByteArray& bytes) {
    const std::uint64_t budget = defaultMemoryBudget();
    const std::uint64_t held = document.pixelBytes();
    try {
        return decodeTiles(bytes, budget > held ? budget - held : 0);
    } catch (const std::exception& e) {
        throw Refusal(TileTransferCommands::tr("The tiles cannot be taken: %1")
                          .arg(QString::fromUtf8(e.what()))
                          .toStdString());
    }
}

} // namespace

TileTransferCommands::TileTransferCommands(Document& document, Services services, QObject* parent)
    : QObject(parent), document_(document), services_(std::move(services)) {
    setObjectName(QStringLiteral("TileTransfer"));
}

void TileTransferCommands::copyTiles() {
    std::vector<int> tiles;
    if (document_.strip().multiSelect())
        tiles = document_.strip().selectedTiles();
    if (tiles.empty() && document_.currentTile() > 0)
        tiles = {document_.currentTile()};
    if (tiles.empty())
        return;
    services_.clipboard.setTiles(encodeTiles(document_.tiles(), tiles),
                                 toQImage(document_.tiles().tile(tiles.front()).full));
    services_.showStatus(tiles.size() == 1 ? tr("Copied tile %1").arg(tiles.front())
                                           : tr("Copied %1 tiles").arg(tiles.size()));
}

void TileTransferCommands::insertTiles(const QByteArray& bytes, int gap) {
    if (!document_.isLibraryOpen())
        return;
    const int n = document_.insertTiles(gap, carriedTiles(document_, bytes), tr("Drop Tiles"));
    emit tilesInserted(gap);
    services_.showStatus(n == 1 ? tr("Copied 1 tile here") : tr("Copied %1 tiles here").arg(n));
}

void TileTransferCommands::pasteTiles() {
    std::vector<Tile> tiles;
    Clipboard& clipboard = services_.clipboard;
    const QByteArray bytes = clipboard.tiles();
    if (!bytes.isEmpty()) {
        tiles = carriedTiles(document_, bytes);
    } else if (clipboard.hasImage()) {
        const QImage picture = clipboard.image();
        if (picture.width() > DibImage::kMaxDimension || picture.height() > DibImage::kMaxDimension)
            throw Refusal(
                tr("The clipboard's picture is larger than a tile may be.").toStdString());
        tiles.push_back(tileFromPicture(picture));
    } else {
        services_.showStatus(tr("The clipboard holds no tile or picture to paste."));
        return;
    }
    const int at = document_.insertionPoint();
    const int n = document_.insertTiles(at, std::move(tiles), tr("Paste Tile"));
    emit tilesInserted(at);
    services_.showStatus(n == 1 ? tr("Pasted 1 tile") : tr("Pasted %1 tiles").arg(n));
}

} // namespace qrb
