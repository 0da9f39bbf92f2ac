#include "document/PictureImport.h"

#include "document/NewTile.h"
#include "imaging/HalfSize.h"

#include <QFileInfo>
#include <QImageReader>
#include <QObject>

#include <limits>

namespace qrb {

namespace {

// Bytes a tile of a w x h picture holds: the full and the half image.
std::uint64_t tileBytes(int w, int h) {
    return std::uint64_t(DibImage::strideFor(w)) * std::uint64_t(h) +
           std::uint64_t(DibImage::strideFor(halfDimension(w))) * std::uint64_t(halfDimension(h));
}

QString tr(const char* text) {
    return QObject::tr(text);
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

QString PictureImport::summary() const {
    QStringList lines;
    for (const RefusedPicture& r : refused)
        lines << QStringLiteral("%1: %2").arg(QFileInfo(r.path).fileName(), r.reason);
    return lines.join(QLatin1Char('\n'));
}

std::optional<PictureImport> readPictures(const QStringList& paths, int room,
                                          std::uint64_t memoryLeft,
                                          const ProgressCallback& progress, std::stop_token stop) {
    PictureImport result;
    const int total = int(paths.size());
    if (progress)
        progress(0, total);
    for (int i = 0; i < total; ++i) {
        if (stop.stop_requested())
            return std::nullopt;
        const QString& path = paths[i];
        auto refuse = [&](const QString& reason) { result.refused.push_back({path, reason}); };
        QImageReader reader(path);
        // Sizes are checked here, before anything is decoded.
        const QSize size = reader.size();
        const int max = DibImage::kMaxDimension;
        if (size.isValid() && (size.width() > max || size.height() > max)) {
            refuse(tr("the picture is %1 x %2 pixels; a tile can be at most %3 pixels wide "
                      "and high")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(max));
        } else if (int(result.tiles.size()) >= room) {
            refuse(tr("the library would have more than %1 tiles, the most a library file can "
                      "store")
                       .arg(TileSet::kMaxTiles));
        } else if (size.isValid() && tileBytes(size.width(), size.height()) > memoryLeft) {
            refuse(tr("the library's images would take more memory than the limit"));
        } else {
            // The decoded picture, at 4 bytes a pixel, may be larger than Qt's own default
            // limit: the checks above bound it.
            if (size.isValid())
                reader.setAllocationLimit(int(std::min<std::uint64_t>(
                    std::uint64_t(size.width()) * std::uint64_t(size.height()) * 8 / (1 << 20) + 1,
                    std::numeric_limits<int>::max())));
            const QImage picture = reader.read();
            if (picture.isNull()) {
                refuse(reader.error() == QImageReader::FileNotFoundError
                           ? tr("the file cannot be opened")
                           : tr("the file is not a picture that can be read (%1)")
                                 .arg(reader.errorString()));
            } else if (picture.width() > max || picture.height() > max) {
                refuse(tr("the picture is %1 x %2 pixels; a tile can be at most %3 pixels wide "
                          "and high")
                           .arg(picture.width())
                           .arg(picture.height())
                           .arg(max));
            } else if (tileBytes(picture.width(), picture.height()) > memoryLeft) {
                refuse(tr("the library's images would take more memory than the limit"));
            } else {
                Tile tile = tileFromPicture(picture);
                memoryLeft -= tile.full.byteCount() + tile.half.byteCount();
                result.tiles.push_back(std::move(tile));
            }
        }
        if (progress)
            progress(i + 1, total);
    }
    return result;
}

} // namespace qrb
