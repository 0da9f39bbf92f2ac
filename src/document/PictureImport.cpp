#include "document/PictureImport.h"

#include "core/FileError.h"
#include "core/OrderedWork.h"
#include "document/FilePath.h"
#include "document/NewTile.h"
#include "imaging/HalfSize.h"
#include "imaging/render/PictureFit.h"
#include "picture/PictureError.h"
#include "picture/PictureReader.h"
#include "tileset/LibraryFile.h"

#include <QFileInfo>
#include <QObject>

#include <algorithm>

namespace qrb {

namespace {

// Bytes a tile of a w x h picture holds: the full and the half image.
std::uint64_t tileBytes(QSize size) {
    const int w = size.width();
    const int h = size.height();
    return std::uint64_t(DibImage::strideFor(w)) * std::uint64_t(h) +
           std::uint64_t(DibImage::strideFor(halfDimension(w))) * std::uint64_t(halfDimension(h));
}

std::string sizeText(QSize size) {
    return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

void checkTileSize(QSize size, const char* what) {
    const int max = DibImage::kMaxDimension;
    if (size.width() > max || size.height() > max)
        throw PictureError(std::string(what) + " is " + sizeText(size) +
                           " pixels; a tile can be at most " + std::to_string(max) +
                           " pixels wide and high");
}

// What the tiles of a picture of `size` hold, with the scratch pictures of fitting; throws
// PictureError for a size no tile can take.
std::uint64_t bytesMadeOf(QSize size, const ImportOptions& options) {
    std::uint64_t cells = 1;
    QSize each = size;
    if (options.slice) {
        cells = sliceCells(size, *options.slice).size();
        if (cells == 0)
            throw PictureError("the picture (" + sizeText(size) +
                               " pixels) holds no whole cell of " + sizeText(options.slice->cell) +
                               " pixels");
        each = options.slice->cell;
    }
    if (options.fit) {
        each = options.fit->size;
        // The scaled picture and the canvas it is placed on, one cell at a time.
        return cells * tileBytes(each) + 2 * pictureBytes(each);
    }
    checkTileSize(each, options.slice ? "a cell" : "the picture");
    return cells * tileBytes(each);
}

// Transparent pixels composed over `background`, in place; the picture has no alpha after.
void flatten(QImage& picture, const QColor& background) {
    if (!picture.hasAlphaChannel())
        return;
    const int br = background.red();
    const int bg = background.green();
    const int bb = background.blue();
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = row[x];
            const int a = qAlpha(p);
            if (a == 255)
                continue;
            // Rounded division by 255, exact for what two 8-bit products sum to.
            auto over = [a](int c, int under) {
                const int t = c * a + under * (255 - a) + 128;
                return (t + (t >> 8)) >> 8;
            };
            row[x] = qRgb(over(qRed(p), br), over(qGreen(p), bg), over(qBlue(p), bb));
        }
    }
    picture.reinterpretAsFormat(QImage::Format_RGB32);
}

bool isBlank(const QImage& cell, QRgb background) {
    for (int y = 0; y < cell.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
        for (int x = 0; x < cell.width(); ++x)
            if ((row[x] | 0xFF000000u) != background)
                return false;
    }
    return true;
}

std::uint64_t bytesOf(const Tile& tile) {
    return tile.full.byteCount() + tile.half.byteCount();
}

std::vector<Tile> libraryTiles(const QString& path, std::uint64_t memoryLeft,
                               std::uint64_t* leastMemory) {
    TileSet set = LibraryFile::load(toFsPath(path), {}, memoryLeft);
    std::vector<Tile> tiles;
    tiles.reserve(std::size_t(set.count()));
    std::uint64_t bytes = 0; // what the reader checked against the budget
    for (int i = 1; i <= set.count(); ++i) {
        bytes += bytesOf(set.tile(i));
        tiles.push_back(std::move(set.tile(i)));
    }
    if (leastMemory)
        *leastMemory = std::max(*leastMemory, bytes);
    return tiles;
}

// One file's tiles, or what reading it threw, under `memoryLeft`.
struct FileRead {
    std::vector<Tile> tiles;
    std::exception_ptr error;
    std::uint64_t memoryLeft = 0;
    std::uint64_t leastMemory = 0; // the least budget giving the same tiles
};

QString reasonOf(const std::exception& e) {
    if (const auto* file = dynamic_cast<const FileError*>(&e))
        return QString::fromStdString(file->reason());
    return QString::fromStdString(e.what());
}

} // namespace

ColourValue averageColour(const DibImage& image) {
    if (image.isEmpty())
        return palette::White;
    std::uint64_t sums[3] = {0, 0, 0};
    const std::size_t rowBytes = std::size_t(image.width()) * 3;
    for (std::int32_t r = 0; r < image.height(); ++r) {
        const std::uint8_t* row = image.bufferRow(r);
        for (std::size_t i = 0; i < rowBytes; i += 3) {
            sums[0] += row[i];
            sums[1] += row[i + 1];
            sums[2] += row[i + 2];
        }
    }
    const std::uint64_t n = std::uint64_t(image.width()) * std::uint64_t(image.height());
    auto mean = [n](std::uint64_t sum) { return std::uint8_t((sum + n / 2) / n); };
    return rgbColour(mean(sums[2]), mean(sums[1]), mean(sums[0]));
}

Tile tileFromPicture(const QImage& picture) {
    Tile tile = newTile(picture, 0);
    tile.smallColour = averageColour(tile.full);
    return tile;
}

std::vector<Tile> tilesFromFile(const QString& path, const ImportOptions& options,
                                std::uint64_t memoryLeft, std::stop_token stop,
                                std::uint64_t* leastMemory) {
    if (isLibraryPath(path))
        return libraryTiles(path, memoryLeft, leastMemory);
    PictureRequest request;
    request.memoryLeft = memoryLeft;
    request.leastMemory = leastMemory;
    request.madeOf = [&options](QSize size) { return bytesMadeOf(size, options); };
    request.stop = stop;
    QImage picture = readPicture(path, request);
    flatten(picture, options.background);
    const std::vector<QRect> cells = options.slice ? sliceCells(picture.size(), *options.slice)
                                                   : std::vector<QRect>{picture.rect()};
    const QRgb background = options.background.rgb();
    std::vector<Tile> tiles;
    for (const QRect& rect : cells) {
        if (stop.stop_requested())
            throw PictureCancelled();
        const QImage cell = pictureView(picture, rect);
        if (options.slice && options.slice->skipEmpty && isBlank(cell, background))
            continue;
        tiles.push_back(tileFromPicture(
            options.fit ? fitPicture(cell, *options.fit, options.background) : cell));
    }
    return tiles;
}

namespace {

FileRead readFile(const QString& path, const ImportOptions& options, std::uint64_t memoryLeft,
                  std::stop_token stop) {
    FileRead read;
    read.memoryLeft = memoryLeft;
    try {
        read.tiles = tilesFromFile(path, options, memoryLeft, stop, &read.leastMemory);
    } catch (...) {
        read.error = std::current_exception();
    }
    return read;
}

} // namespace

QString PictureImport::summary() const {
    QStringList lines;
    for (const RefusedPicture& r : refused)
        lines << QStringLiteral("%1: %2").arg(QFileInfo(r.path).fileName(), r.reason);
    return lines.join(QLatin1Char('\n'));
}

std::optional<PictureImport> readPictures(const QStringList& paths, const ImportOptions& options,
                                          int room, std::uint64_t memoryLeft,
                                          const ProgressCallback& progress, std::stop_token stop,
                                          int threads) {
    PictureImport result;
    const int total = int(paths.size());
    if (progress)
        progress(0, total);
    // Whether a file read with `read` is kept (false: cancelled). Its tiles take from the
    // memory left to the files after it.
    auto take = [&](int i, FileRead&& read) {
        const QString& path = paths[i];
        try {
            if (read.error)
                std::rethrow_exception(read.error);
            if (read.tiles.size() > std::size_t(room - int(result.tiles.size())))
                throw PictureError(QObject::tr("the library would have more than %1 tiles, the "
                                               "most a library file can store")
                                       .arg(TileSet::kMaxTiles)
                                       .toStdString());
            for (Tile& tile : read.tiles) {
                memoryLeft -= std::min(memoryLeft, bytesOf(tile));
                result.tiles.push_back(std::move(tile));
            }
        } catch (const PictureCancelled&) {
            return false;
        } catch (const std::bad_alloc&) {
            result.refused.push_back({path, QObject::tr("there is not enough memory to read it")});
        } catch (const std::exception& e) {
            result.refused.push_back({path, reasonOf(e)});
        }
        if (progress)
            progress(i + 1, total);
        return true;
    };
    threads = resolvedThreads(threads);
    if (threads == 1 || total < 2) {
        for (int i = 0; i < total; ++i) {
            if (stop.stop_requested() || !take(i, readFile(paths[i], options, memoryLeft, stop)))
                return std::nullopt;
        }
        return result;
    }
    // Each file is read ahead with the memory left by the files taken so far; the files
    // before it may leave less. Its result stands when that budget gives the same one
    // (the same tiles, a refusal in the same words); otherwise it is read again here.
    OrderedWork<FileRead> work(threads, batchWindow(threads), stop);
    int taken = 0;
    auto takeNext = [&] {
        FileRead read = work.next();
        const int i = taken++;
        if (stop.stop_requested())
            return false;
        if (read.memoryLeft != memoryLeft && (read.error || read.leastMemory > memoryLeft))
            read = readFile(paths[i], options, memoryLeft, stop);
        return take(i, std::move(read));
    };
    for (int i = 0; i < total; ++i) {
        if (work.full() && !takeNext())
            return std::nullopt;
        work.add([&paths, &options, i, budget = memoryLeft](std::stop_token jobStop) {
            return readFile(paths[i], options, budget, jobStop);
        });
    }
    while (!work.empty())
        if (!takeNext())
            return std::nullopt;
    return result;
}

} // namespace qrb
