#pragma once
// The system clipboard as the program uses it: bitmaps, and whole tiles with a picture
// beside them for other programs.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace qrb {

// The format of tiles carried whole, as library bytes, on the clipboard and in drags.
inline QString tilesMimeType() {
    return QStringLiteral("application/x-qrbtexteditor-tiles");
}

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    // Replaces the clipboard's content with exactly this image.
    virtual void setImage(const QImage& image) = 0;
    virtual bool hasImage() const = 0;
    // The image on the clipboard, or a null image.
    virtual QImage image() const = 0;
    // Replaces the content with tiles as library bytes (document/TileTransfer) and
    // `picture` for other programs.
    virtual void setTiles(const QByteArray& library, const QImage& picture) = 0;
    // The tiles' library bytes; empty when the clipboard holds no tiles.
    virtual QByteArray tiles() const = 0;
};

} // namespace qrb
