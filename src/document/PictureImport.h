#pragma once
// Pictures from files as new tiles. Each picture becomes one tile the way a pasted picture
// does -- transparent pixels over white, the half image by the half-size rule -- with the
// picture's average colour as the small colour; or, with ImportOptions, it is fitted to
// one tile size or sliced into cells as a sprite sheet. A library file (.qrb) gives its
// tiles whole. The window's Import Images and qrbtool import both read through here, so
// their tiles are the same.

#include "core/Progress.h"
#include "imaging/render/ImportOptions.h"
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

// The tiles one file makes under `options`, in order, within `memoryLeft` bytes. It
// depends on nothing but its arguments, so that files can be read on several threads with
// the same result. Throws FileError or PictureError naming what is wrong (a picture larger
// than a tile, a damaged one, one past the memory), PictureCancelled on a stop request.
// `leastMemory`, when set, is raised to the least `memoryLeft` that gives the same tiles.
std::vector<Tile> tilesFromFile(const QString& path, const ImportOptions& options,
                                std::uint64_t memoryLeft, std::stop_token stop = {},
                                std::uint64_t* leastMemory = nullptr);

struct RefusedPicture {
    QString path;
    QString reason; // "the data ends before the picture does", ...
};

struct PictureImport {
    std::vector<Tile> tiles;             // in the order of the files that were read
    std::vector<RefusedPicture> refused; // in the order of the files
    // "a.png: reason" lines, one per refused picture.
    QString summary() const;
};

// Reads `paths` in order. A file that cannot be read, a picture larger than a tile may be,
// one that would take the library past `room` new tiles or its images past `memoryLeft`
// bytes is refused and named; the others become tiles. Reports (files done, files) after
// each file; empty when `stop` was requested: nothing is kept then. Only reads files: may
// run away from the document's thread. The files are read on `threads` threads (0: every
// core) with the result of one, refusals and their words included.
std::optional<PictureImport> readPictures(const QStringList& paths, const ImportOptions& options,
                                          int room, std::uint64_t memoryLeft,
                                          const ProgressCallback& progress = {},
                                          std::stop_token stop = {}, int threads = 0);

} // namespace qrb
