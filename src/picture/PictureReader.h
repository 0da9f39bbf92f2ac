#pragma once
// The one way the program reads a picture file: import, lettering and print sheets call
// it. It reads regular files only (a FIFO or device is refused before it is opened),
// checks the picture's declared size against the memory it may take before decoding,
// decodes so that a stop request ends the work within moments, refuses damaged data
// (truncated, corrupt or runaway) instead of returning a partly filled picture, turns the
// picture upright by its EXIF orientation and converts an embedded colour profile to sRGB.
// No pixel of the result comes from memory the picture did not fill.
//
// PNG, JPEG, BMP, GIF and SVG are decoded here (through libpng, libjpeg and Qt's SVG
// renderer, each checked); every other format Qt reads goes through its reader.

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <limits>
#include <stop_token>

namespace qrb {

struct PictureRequest {
    // The memory the picture may take while it is read, with what the caller makes of it.
    std::uint64_t memoryLeft = std::numeric_limits<std::uint64_t>::max();
    // The bytes the caller will hold for an upright picture of this size (its tiles, say),
    // counted before decoding. It may throw PictureError to refuse the size itself.
    std::function<std::uint64_t(QSize)> madeOf;
    std::stop_token stop;
    // Above 0: a vector picture (SVG) is drawn this many pixels high, its width in
    // proportion, rather than at its own size -- an icon drawn at the height of a line.
    int vectorHeight = 0;
    // When set, raised to the least memoryLeft under which the same picture comes out: the
    // most any check compared with memoryLeft (all of it where a reader is bounded by it
    // alone), so that a result read ahead under a larger budget can be kept.
    std::uint64_t* leastMemory = nullptr;
};

// The picture in `path`, upright and in sRGB, as QImage::Format_ARGB32 (or Format_RGB32
// when it has no transparency). Throws FileError when the file cannot be opened or is not
// a regular file, PictureError when it is not a picture that can be read whole or does not
// fit the memory, PictureCancelled when `request.stop` was requested meanwhile.
QImage readPicture(const QString& path, const PictureRequest& request = {});

// The same for a picture already in memory; `name` ("photo.jpg") helps only to tell SVG
// from other text.
QImage decodePicture(const QByteArray& bytes, const QString& name,
                     const PictureRequest& request = {});

// Bytes a decoded picture of `size` holds at 4 bytes a pixel.
std::uint64_t pictureBytes(QSize size);

} // namespace qrb
