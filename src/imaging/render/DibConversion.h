#pragma once
// The one crossing between the program's pixel rows (DibImage: 24-bit, bottom-up, B G R)
// and Qt images. Displayed and edited images are QImage::Format_RGB32 (the format the
// lettering is drawn on); every other format is converted on the way in, and an alpha
// channel is composed over white first.

#include "tileset/DibImage.h"

#include <QImage>

namespace qrb {

// An RGB32 image with exactly the pixels of `dib`.
QImage toQImage(const DibImage& dib);
// The part `part` of `dib` (clipped to it) as an RGB32 image, for showing a piece of a
// picture too large to convert whole.
QImage toQImage(const DibImage& dib, const QRect& part);

// The 24-bit rows of `image` (padding bytes 0). A null image gives an empty DibImage.
DibImage toDibImage(const QImage& image);

} // namespace qrb
