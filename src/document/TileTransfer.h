#pragma once
// Whole tiles carried between windows of the editor, through the clipboard or a drag: the
// bytes of a library holding them (full image, half image and small colour as they are),
// under a MIME type of the program's own. Other programs get a picture beside them.

#include "tileset/TileSet.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace qrb {

// The tiles `numbers` of `set` as library bytes.
QByteArray encodeTiles(const TileSet& set, const std::vector<int>& numbers);

// The tiles of library bytes, checked as a library file is; throws what the library reader
// throws for damaged bytes or tiles past `budget`.
std::vector<Tile> decodeTiles(const QByteArray& bytes, std::uint64_t budget);

} // namespace qrb
