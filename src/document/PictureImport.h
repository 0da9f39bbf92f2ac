#pragma once
// Pictures from files as new tiles: any format Qt reads. Each picture becomes a tile the
// way a pasted picture does -- transparent pixels over white, the half image by the
// half-size rule -- with the picture's average colour as the small colour. The window's
// Import Images and qrbtool import both read through here, so their tiles are the same.

#include "core/Progress.h"
#include "tileset/TileSet.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

namespace qrb {

// The tile a picture makes. The picture must fit DibImage::kMaxDimension.
Tile tileFromPicture(const QImage& picture);

// The rounded mean of every pixel of `image`; white for an empty one.
ColourValue averageColour(const DibImage& image);

struct RefusedPicture {
    QString path;
    QString reason; // "the file is not a picture Qt can read", ...
};

struct PictureImport {
    std::vector<Tile> tiles;             // in the order of the files that were read
    std::vector<RefusedPicture> refused; // in the order of the files
    // "a.png: reason" lines, one per refused picture.
    QString summary() const;
};

// Reads `paths` in order. A picture that cannot be read, is larger than a tile may be,
// would take the library past `room` new tiles or its images past `memoryLeft` bytes is
// refused and named; the others become tiles. Reports (files done, files) after each file;
// empty when `stop` was requested (looked at between files): nothing is kept then. Only
// reads files: may run away from the document's thread.
std::optional<PictureImport> readPictures(const QStringList& paths, int room,
                                          std::uint64_t memoryLeft,
                                          const ProgressCallback& progress = {},
                                          std::stop_token stop = {});

} // namespace qrb
