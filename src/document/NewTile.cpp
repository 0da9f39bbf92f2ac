#include "document/NewTile.h"

#include "imaging/HalfSize.h"
#include "imaging/render/DibConversion.h"

namespace qrb {

Tile newTile(const QImage& full, ColourValue smallColour) {
    Tile tile;
    tile.full = toDibImage(full);
    tile.half = halfSize(tile.full);
    tile.smallColour = smallColour;
    return tile;
}

} // namespace qrb
