#pragma once
// The system clipboard as the program uses it: bitmaps only.

#include <QImage>

namespace qrb {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    // Replaces the clipboard's content with exactly this image.
    virtual void setImage(const QImage& image) = 0;
    virtual bool hasImage() const = 0;
    // The image on the clipboard, or a null image.
    virtual QImage image() const = 0;
};

} // namespace qrb
