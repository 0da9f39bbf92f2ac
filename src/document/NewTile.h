#pragma once
// The one way a new tile is made of a picture, for Create and for lettering from a table:
// the picture as the full image, the half image by the half-size rule, the small colour.

#include "tileset/TileSet.h"

#include <QImage>

namespace qrb {

Tile newTile(const QImage& full, ColourValue smallColour);

} // namespace qrb
