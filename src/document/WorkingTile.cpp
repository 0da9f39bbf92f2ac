#include "document/WorkingTile.h"

#include "imaging/HalfSize.h"
#include "imaging/render/DibConversion.h"
#include "text/render/QtConversions.h"

#include <QPainter>

#include <set>

namespace qrb {

namespace {

// The background a picture box shows where its picture does not reach.
constexpr ColourValue kBoxBackground = kSystemColourFlag | 15; // button face

// What a box of `size` shows of `picture`: the picture from its top-left corner, clipped,
// the box's background beyond it.
QImage boxed(const QImage& picture, QSize size) {
    if (picture.size() == size)
        return picture;
    QImage shown(size, QImage::Format_RGB32);
    if (shown.isNull())
        return shown;
    shown.fill(toQColor(kBoxBackground));
    if (!picture.isNull()) {
        QPainter painter(&shown);
        painter.drawImage(0, 0, picture);
    }
    return shown;
}

QImage rgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.isNull()
               ? image
               : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

void WorkingTile::load(const Tile& tile) {
    shown = true;
    picture = toQImage(tile.full);
    previewFull = picture;
    previewHalf = toQImage(tile.half);
    halfBox = previewHalf.size();
    smallColour = tile.smallColour;
    editingFullImage = true;
    turnsOffered = tile.full.width() == tile.full.height();
}

void WorkingTile::paste(const QImage& image) {
    picture = rgb32(image);
    previewFull = picture;
    halfBox = QSize(halfDimension(picture.width()), halfDimension(picture.height()));
}

void WorkingTile::deriveHalf(const QImage& source) {
    previewHalf = toQImage(halfSize(toDibImage(source)));
    halfBox = previewHalf.size();
}

QImage WorkingTile::halfShown() const {
    return boxed(previewHalf, halfBox);
}

void WorkingTile::sendToPreview(const QImage& shownImage, bool deriveHalfPreview) {
    if (editingFullImage)
        previewFull = shownImage;
    else
        previewHalf = shownImage;
    if (deriveHalfPreview)
        deriveHalf(shownImage);
}

void WorkingTile::takeFullPreview() {
    picture = previewFull;
    editingFullImage = true;
}

void WorkingTile::takeHalfPreview() {
    picture = halfShown();
    editingFullImage = false;
}

void WorkingTile::resetTo(const Tile& base, const Tile& smallFrom) {
    picture = toQImage(base.full);
    previewFull = picture;
    previewHalf = toQImage(base.half);
    halfBox = previewHalf.size();
    smallColour = smallFrom.smallColour;
}

std::size_t WorkingTile::pixelBytes() const {
    std::set<qint64> counted;
    std::size_t bytes = 0;
    for (const QImage* image : {&picture, &previewFull, &previewHalf}) {
        if (!image->isNull() && counted.insert(image->cacheKey()).second)
            bytes += std::size_t(image->sizeInBytes());
    }
    return bytes;
}

QImage transformedImage(const QImage& image, TransformKind kind) {
    return toQImage(transformed(toDibImage(image), kind));
}

} // namespace qrb
