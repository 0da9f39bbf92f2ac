#include "picture/PictureReader.h"

#include "core/FileError.h"
#include "core/InputFile.h"
#include "core/MemorySize.h"
#include "picture/Decoders.h"
#include "picture/PictureError.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>

#include <cstring>
#include <filesystem>
#include <limits>
#include <mutex>

namespace qrb {

namespace {

// The longest side a picture may have, whatever the memory: far beyond any tile or sheet,
// and small enough that a row's bytes fit an int.
constexpr int kMaxSide = 1 << 20;

enum class Format { Png, Jpeg, Bmp, Gif, Svg, Other };

bool startsWith(const QByteArray& bytes, const char* magic, int length) {
    return bytes.size() >= length &&
           std::memcmp(bytes.constData(), magic, std::size_t(length)) == 0;
}

Format formatOf(const QByteArray& bytes, const QString& name) {
    if (startsWith(bytes, "\x89PNG\r\n\x1a\n", 8))
        return Format::Png;
    if (startsWith(bytes, "\xFF\xD8\xFF", 3))
        return Format::Jpeg;
    if (startsWith(bytes, "GIF87a", 6) || startsWith(bytes, "GIF89a", 6))
        return Format::Gif;
    if (startsWith(bytes, "BM", 2))
        return Format::Bmp;
    const QString lower = name.toLower();
    if (lower.endsWith(QLatin1String(".svg")) || lower.endsWith(QLatin1String(".svgz")) ||
        bytes.left(4096).contains("<svg"))
        return Format::Svg;
    return Format::Other;
}

// Qt's readers and the colour code report through Qt's log; a picture they cannot read is
// an error the caller words, so their own lines are not shown.
void quietenPictureLogs() {
    static std::once_flag once;
    std::call_once(once, [] {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false\n"
                                                        "qt.gui.icc*=false\n"
                                                        "qt.svg*=false\n"));
    });
}

std::uint64_t workingCopies(int orientation) {
    // A quarter turn needs a second picture to turn into.
    return orientation >= 5 ? 2 : 1;
}

QSize uprightSize(QSize size, int orientation) {
    return orientation >= 5 ? size.transposed() : size;
}

// The picture turned upright: in place for mirrors and the half turn, into a copy for the
// quarter turns (5 to 8).
QImage applyOrientation(QImage image, int orientation) {
    switch (orientation) {
    case 2:
        image.mirror(true, false);
        return image;
    case 3:
        image.mirror(true, true);
        return image;
    case 4:
        image.mirror(false, true);
        return image;
    case 5:
    case 6:
    case 7:
    case 8:
        break;
    default:
        return image;
    }
    const int w = image.width();
    const int h = image.height();
    QImage turned(h, w, image.format());
    if (turned.isNull())
        throw PictureError("there is not enough memory to turn the picture upright");
    for (int y = 0; y < w; ++y) {
        auto* out = reinterpret_cast<QRgb*>(turned.scanLine(y));
        for (int x = 0; x < h; ++x) {
            // (sx, sy): where in the stored picture the upright pixel (x, y) is.
            int sx = 0;
            int sy = 0;
            switch (orientation) {
            case 5: // transposed
                sx = y;
                sy = x;
                break;
            case 6: // stored turned a quarter left: turn right
                sx = y;
                sy = h - 1 - x;
                break;
            case 7: // transverse
                sx = w - 1 - y;
                sy = h - 1 - x;
                break;
            default: // 8: stored turned a quarter right: turn left
                sx = w - 1 - y;
                sy = x;
                break;
            }
            out[x] = reinterpret_cast<const QRgb*>(image.constScanLine(sy))[sx];
        }
    }
    return turned;
}

void convertToSrgb(QImage& image, const QColorSpace& space) {
    if (!space.isValid() || space == QColorSpace(QColorSpace::SRgb))
        return;
    image.setColorSpace(space);
    image.convertToColorSpace(QColorSpace::SRgb);
}

// libjpeg's own limit is memoryLeft too, but the working bytes its decoder admits count
// what libjpeg allocates, so the checks of admit() bound it.
void raiseLeast(const PictureRequest& request, std::uint64_t bytes) {
    if (request.leastMemory)
        *request.leastMemory = std::max(*request.leastMemory, bytes);
}

QImage readWithQt(const QByteArray& bytes, DecodeContext& context) {
    QByteArray data = bytes; // shared, not copied
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid()) {
        const QImageIOHandler::Transformations turn = reader.transformation();
        context.orientation = (turn & QImageIOHandler::TransformationRotate90) ? 6 : 1;
        // Qt's reader may hold a picture of its own format beside the converted one.
        context.admit(size, pictureBytes(size));
        context.orientation = 1; // Qt turns it
    }
    context.boundByMemoryLeft = !size.isValid();
    reader.setAllocationLimit(int(std::min<std::uint64_t>(
        (size.isValid() ? context.admitted() : context.memoryLeft) / (1 << 20) + 1,
        std::numeric_limits<int>::max())));
    QImage image = reader.read();
    if (image.isNull())
        throw PictureError(reader.error() == QImageReader::UnsupportedFormatError
                               ? "the file is not a picture that can be read"
                               : "the picture cannot be read: " +
                                     reader.errorString().toStdString());
    context.admit(image.size(), pictureBytes(image.size()));
    const QColorSpace space = image.colorSpace();
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        throw PictureError("there is not enough memory to read the picture");
    convertToSrgb(image, space);
    return image;
}

} // namespace

std::uint64_t pictureBytes(QSize size) {
    return std::uint64_t(std::max(size.width(), 0)) * std::uint64_t(std::max(size.height(), 0)) * 4;
}

void DecodeContext::admit(QSize size, std::uint64_t workingBytes) {
    if (size.width() < 1 || size.height() < 1)
        throw PictureError("the picture has no pixels");
    if (size.width() > kMaxSide || size.height() > kMaxSide)
        throw PictureError("the picture is " + std::to_string(size.width()) + " x " +
                           std::to_string(size.height()) +
                           " pixels, larger than any picture "
                           "that can be read");
    admit_(size, workingBytes);
    admitted_ = std::max(admitted_, pictureBytes(size) + workingBytes);
}

QImage DecodeContext::allocate(QSize size, QImage::Format format, std::uint64_t workingBytes) {
    admit(size, workingBytes);
    QImage image(size, format);
    if (image.isNull())
        throw PictureError("there is not enough memory to read the picture");
    return image;
}

void DecodeContext::checkStop() const {
    if (stop_.stop_requested())
        throw PictureCancelled();
}

QImage decodePicture(const QByteArray& bytes, const QString& name, const PictureRequest& request) {
    quietenPictureLogs();
    const std::uint64_t fileBytes = std::uint64_t(bytes.size());
    DecodeContext* self = nullptr;
    DecodeContext context(request.stop, [&](QSize size, std::uint64_t working) {
        const int orientation = self->orientation;
        const QSize upright = uprightSize(size, orientation);
        const std::uint64_t made = request.madeOf ? request.madeOf(upright) : 0;
        const std::uint64_t needed =
            fileBytes + pictureBytes(size) * workingCopies(orientation) + working + made;
        raiseLeast(request, needed);
        if (needed > request.memoryLeft)
            throw PictureError("the picture is " + std::to_string(size.width()) + " x " +
                               std::to_string(size.height()) + " pixels; reading it needs " +
                               describeMemorySize(needed) + " of memory, more than the " +
                               describeMemorySize(request.memoryLeft) + " left under the limit");
    });
    self = &context;
    context.memoryLeft = request.memoryLeft;
    context.vectorHeight = request.vectorHeight;
    QImage image;
    switch (formatOf(bytes, name)) {
    case Format::Png:
        image = decodePng(bytes, context);
        break;
    case Format::Jpeg:
        image = decodeJpeg(bytes, context);
        break;
    case Format::Bmp:
        image = decodeBmp(bytes, context);
        break;
    case Format::Gif:
        image = decodeGif(bytes, context);
        break;
    case Format::Svg:
        image = decodeSvg(bytes, context);
        break;
    case Format::Other:
        image = readWithQt(bytes, context);
        break;
    }
    context.checkStop();
    if (context.boundByMemoryLeft)
        raiseLeast(request, request.memoryLeft);
    if (!context.iccProfile.isEmpty())
        convertToSrgb(image, QColorSpace::fromIccProfile(context.iccProfile));
    if (context.orientation != 1) {
        // An orientation found after the pixels (a PNG's eXIf chunk may follow them) is
        // checked now, before the copy it may need.
        context.admit(image.size());
        image = applyOrientation(std::move(image), context.orientation);
    }
    return image;
}

QImage readPicture(const QString& path, const PictureRequest& request) {
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    InputFile input(file); // refuses what is not a regular file before reading from it
    raiseLeast(request, input.size());
    if (input.size() > request.memoryLeft)
        throw PictureError("the file is " + describeMemorySize(input.size()) + ", more than the " +
                           describeMemorySize(request.memoryLeft) + " left under the memory limit");
    if (input.size() > std::uint64_t(std::numeric_limits<qsizetype>::max()))
        throw PictureError("the file is too large to read");
    QByteArray bytes;
    try {
        bytes.resize(qsizetype(input.size()));
    } catch (const std::bad_alloc&) {
        throw PictureError("there is not enough memory to read the file");
    }
    if (!input.stream().read(bytes.data(), bytes.size()))
        throw FileError(file, "cannot read the file");
    return decodePicture(bytes, QFileInfo(path).fileName(), request);
}

} // namespace qrb
