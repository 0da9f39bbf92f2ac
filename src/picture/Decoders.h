#pragma once
// The decoders of picture/, one per format it reads itself. Each checks the declared size
// through the context before decoding, throws PictureError for damaged data and
// PictureCancelled on a stop request, and fills every pixel of what it returns.

#include "picture/DecodeContext.h"

#include <QByteArray>
#include <QImage>

#include <optional>

namespace qrb {

QImage decodePng(const QByteArray& bytes, DecodeContext& context);
QImage decodeJpeg(const QByteArray& bytes, DecodeContext& context);
QImage decodeBmp(const QByteArray& bytes, DecodeContext& context);
QImage decodeGif(const QByteArray& bytes, DecodeContext& context);
QImage decodeSvg(const QByteArray& bytes, DecodeContext& context);

// The orientation (1 to 8) an EXIF block gives, from its TIFF header on ("II*\0..." or
// "MM\0*..."); empty when it has none or the block is damaged.
std::optional<int> exifOrientation(const QByteArray& tiff);

} // namespace qrb
