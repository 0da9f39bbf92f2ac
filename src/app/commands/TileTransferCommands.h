#pragma once
// Tiles carried whole between windows of the program: Edit > Copy Tile puts the marked
// tiles (or the current one) on the clipboard as library bytes, with the first one's
// picture for other programs; Edit > Paste Tile puts the clipboard's tiles (or its picture
// as a new tile) after the current tile; tiles dragged from another window's strip are
// copied in where they are dropped. Carried tiles are checked as a library read from a
// file is, within what the memory limit leaves.

#include "app/shared/Services.h"
#include "document/Document.h"

#include <QByteArray>
#include <QObject>

namespace qrb {

class TileTransferCommands : public QObject {
    Q_OBJECT
public:
    TileTransferCommands(Document& document, Services services, QObject* parent = nullptr);

    void copyTiles();
    void pasteTiles();
    // Tiles dragged from another window (library bytes), copied in at `gap`.
    void insertTiles(const QByteArray& tiles, int gap);

signals:
    // Tiles from `firstTile` on were inserted.
    void tilesInserted(int firstTile);

private:
    Document& document_;
    Services services_;
};

} // namespace qrb
