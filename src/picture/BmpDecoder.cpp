// Windows and OS/2 bitmaps, decoded here: 1-, 2-, 4- and 8-bit palettes, RLE4 and RLE8,
// 16- and 32-bit with bit fields (5-bit channels scaled to the full range, not shifted),
// 24 bits, 32 bits with or without alpha, bottom-up and top-down. Every byte is checked
// against the file: pixel data that ends early, and RLE that runs past the picture or ends
// without its end code, refuse the picture. Pixels an RLE delta skips are transparent.

#include "picture/Decoders.h"
#include "picture/PictureError.h"

#include <bit>
#include <cstdint>
#include <string>

namespace qrb {

namespace {

enum Compression : std::uint32_t {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    AlphaBitFields = 6,
};

class Bytes {
public:
    explicit Bytes(const QByteArray& bytes)
        : data_(reinterpret_cast<const std::uint8_t*>(bytes.constData())),
          size_(std::size_t(bytes.size())) {}
    std::size_t size() const { return size_; }
    bool has(std::size_t at, std::size_t count) const { return at <= size_ && count <= size_ - at; }
    std::uint8_t u8(std::size_t at) const { return data_[at]; }
    std::uint16_t u16(std::size_t at) const {
        return std::uint16_t(data_[at] | (data_[at + 1] << 8));
    }
    std::uint32_t u32(std::size_t at) const {
        return std::uint32_t(data_[at]) | (std::uint32_t(data_[at + 1]) << 8) |
               (std::uint32_t(data_[at + 2]) << 16) | (std::uint32_t(data_[at + 3]) << 24);
    }
    const std::uint8_t* at(std::size_t offset) const { return data_ + offset; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

[[noreturn]] void truncated() {
    throw PictureError("the data ends before the picture does");
}

[[noreturn]] void damaged(const std::string& what) {
    throw PictureError("the bitmap is damaged: " + what);
}

// One channel of a bit-field pixel, scaled from its own range to 0..255.
class Channel {
public:
    Channel() = default;
    explicit Channel(std::uint32_t mask) : mask_(mask) {
        if (mask == 0)
            return;
        shift_ = std::countr_zero(mask);
        const std::uint32_t bits = mask >> shift_;
        if ((bits & (bits + 1)) != 0)
            damaged("a colour mask's bits are not next to each other");
        max_ = bits;
    }
    bool present() const { return mask_ != 0; }
    std::uint32_t operator()(std::uint32_t pixel) const {
        if (max_ == 0)
            return 0;
        const std::uint64_t value = (pixel & mask_) >> shift_;
        return std::uint32_t((value * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    std::uint64_t max_ = 0;
};

struct Header {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: top-down
    int bitCount = 0;
    std::uint32_t compression = Rgb;
    std::uint32_t coloursUsed = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    bool os2 = false;                      // palette entries of 3 bytes
    std::size_t paletteAt = 0;
};

Header readHeader(const Bytes& b, DecodeContext& context) {
    if (!b.has(0, 18))
        truncated();
    Header h;
    h.headerSize = b.u32(14);
    const std::size_t at = 14;
    if (h.headerSize == 12) {
        if (!b.has(at, 12))
            truncated();
        h.width = b.u16(at + 4);
        h.height = b.u16(at + 6);
        h.bitCount = b.u16(at + 10);
        h.os2 = true;
    } else if (h.headerSize >= 16 && h.headerSize <= 124) {
        if (!b.has(at, h.headerSize))
            truncated();
        h.width = std::int32_t(b.u32(at + 4));
        h.height = std::int32_t(b.u32(at + 8));
        h.bitCount = b.u16(at + 14);
        if (h.headerSize >= 20)
            h.compression = b.u32(at + 16);
        if (h.headerSize >= 36)
            h.coloursUsed = b.u32(at + 32);
        // OS/2 2.x headers (16 to 64 bytes other than Windows' 40, 52, 56) number their
        // compressions differently: 3 and 4 are Huffman and RLE24 there.
        const bool os2v2 =
            h.headerSize != 40 && h.headerSize != 52 && h.headerSize != 56 && h.headerSize < 108;
        if (os2v2 && (h.compression == 3 || h.compression == 4))
            throw PictureError("the bitmap uses an OS/2 compression that cannot be read");
        if (h.headerSize >= 52) {
            for (int i = 0; i < (h.headerSize >= 56 ? 4 : 3); ++i)
                h.masks[i] = b.u32(at + 40 + 4 * std::size_t(i));
        }
        if (h.headerSize == 124) {
            const std::uint32_t space = b.u32(at + 56);
            const std::uint32_t profileAt = b.u32(at + 112);
            const std::uint32_t profileSize = b.u32(at + 116);
            if (space == 0x4D424544 /* 'MBED' */ && profileSize > 0 &&
                b.has(at + std::size_t(profileAt), profileSize))
                context.iccProfile = QByteArray(reinterpret_cast<const char*>(b.at(at + profileAt)),
                                                qsizetype(profileSize));
        }
    } else {
        damaged("its header has an unknown size of " + std::to_string(h.headerSize) + " bytes");
    }
    h.paletteAt = at + h.headerSize;
    if (h.headerSize == 40 && (h.compression == BitFields || h.compression == AlphaBitFields)) {
        const int count = h.compression == AlphaBitFields ? 4 : 3;
        if (!b.has(h.paletteAt, 4 * std::size_t(count)))
            truncated();
        for (int i = 0; i < count; ++i)
            h.masks[i] = b.u32(h.paletteAt + 4 * std::size_t(i));
        h.paletteAt += 4 * std::size_t(count);
    }
    return h;
}

std::vector<QRgb> readPalette(const Bytes& b, const Header& h, std::size_t pixelsAt) {
    std::vector<QRgb> palette;
    if (h.bitCount > 8)
        return palette;
    const std::uint32_t most = 1u << h.bitCount;
    std::uint32_t count = h.coloursUsed == 0 ? most : std::min(h.coloursUsed, most);
    const std::size_t entry = h.os2 ? 3 : 4;
    // The palette ends where the pixels start; a count that would reach past them is
    // taken as far as it goes.
    if (pixelsAt > h.paletteAt)
        count = std::uint32_t(std::min<std::size_t>(count, (pixelsAt - h.paletteAt) / entry));
    if (!b.has(h.paletteAt, entry * count))
        truncated();
    palette.reserve(most);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = h.paletteAt + entry * i;
        palette.push_back(qRgb(b.u8(at + 2), b.u8(at + 1), b.u8(at)));
    }
    // Indices past the palette show black, as in every common reader.
    palette.resize(most, qRgb(0, 0, 0));
    return palette;
}

void decodeRows(const Bytes& b, const Header& h, std::size_t pixelsAt,
                const std::vector<QRgb>& palette, QImage& image, DecodeContext& context) {
    const int w = image.width();
    const int rows = image.height();
    const std::uint64_t stride = (std::uint64_t(w) * std::uint64_t(h.bitCount) + 31) / 32 * 4;
    const std::uint64_t lastRowBytes = (std::uint64_t(w) * std::uint64_t(h.bitCount) + 7) / 8;
    if (!b.has(pixelsAt, stride * std::uint64_t(rows - 1) + lastRowBytes))
        truncated();
    const bool bitFields = h.compression == BitFields || h.compression == AlphaBitFields;
    std::uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], 0};
    if (bitFields)
        masks[3] = h.masks[3];
    else if (h.bitCount == 16)
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    else if (h.bitCount == 32)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const bool topDown = h.height < 0;
    for (int r = 0; r < rows; ++r) {
        if ((r & 63) == 0)
            context.checkStop();
        const std::uint8_t* src = b.at(pixelsAt + stride * std::uint64_t(r));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(topDown ? r : rows - 1 - r));
        switch (h.bitCount) {
        case 1:
        case 2:
        case 4:
        case 8: {
            const int bits = h.bitCount;
            const int perByte = 8 / bits;
            const int mask = (1 << bits) - 1;
            for (int x = 0; x < w; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                out[x] = palette[std::size_t((src[x / perByte] >> shift) & mask)];
            }
            break;
        }
        case 24:
            for (int x = 0; x < w; ++x, src += 3)
                out[x] = qRgb(src[2], src[1], src[0]);
            break;
        case 16:
        case 32:
            for (int x = 0; x < w; ++x) {
                std::uint32_t p = 0;
                if (h.bitCount == 16) {
                    p = std::uint32_t(src[0] | (src[1] << 8));
                    src += 2;
                } else {
                    p = std::uint32_t(src[0]) | (std::uint32_t(src[1]) << 8) |
                        (std::uint32_t(src[2]) << 16) | (std::uint32_t(src[3]) << 24);
                    src += 4;
                }
                out[x] = qRgba(int(red(p)), int(green(p)), int(blue(p)),
                               alpha.present() ? int(alpha(p)) : 255);
            }
            break;
        default:
            break;
        }
    }
}

void decodeRle(const Bytes& b, const Header& h, std::size_t pixelsAt,
               const std::vector<QRgb>& palette, QImage& image, DecodeContext& context) {
    const bool four = h.compression == Rle4;
    const int w = image.width();
    const int rows = image.height();
    image.fill(Qt::transparent); // what a delta skips
    std::size_t at = pixelsAt;
    int x = 0;
    int y = 0; // counted from the bottom
    std::uint32_t steps = 0;
    auto pixel = [&](int index) {
        reinterpret_cast<QRgb*>(image.scanLine(rows - 1 - y))[x++] = palette[std::size_t(index)];
    };
    auto runsPast = [] { damaged("its RLE data runs past the picture"); };
    for (;;) {
        if ((++steps & 4095) == 0)
            context.checkStop();
        if (!b.has(at, 2))
            damaged("its RLE data ends without its end code");
        const int count = b.u8(at);
        const int value = b.u8(at + 1);
        at += 2;
        if (count > 0) {
            if (y >= rows || x + count > w)
                runsPast();
            for (int i = 0; i < count; ++i)
                pixel(four ? ((i & 1) ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // delta
            if (!b.has(at, 2))
                damaged("its RLE data ends without its end code");
            x += b.u8(at);
            y += b.u8(at + 1);
            at += 2;
            if (x > w || y > rows)
                runsPast();
        } else { // a literal run of `value` pixels, padded to a 16-bit boundary
            const std::size_t bytes = four ? std::size_t(value + 1) / 2 : std::size_t(value);
            if (!b.has(at, bytes))
                damaged("its RLE data ends without its end code");
            if (y >= rows || x + value > w)
                runsPast();
            for (int i = 0; i < value; ++i) {
                const int byte = b.u8(at + std::size_t(four ? i / 2 : i));
                pixel(four ? ((i & 1) ? byte & 15 : byte >> 4) : byte);
            }
            at += (bytes + 1) & ~std::size_t(1);
        }
    }
}

} // namespace

QImage decodeBmp(const QByteArray& bytes, DecodeContext& context) {
    const Bytes b(bytes);
    const Header h = readHeader(b, context);
    if (h.width <= 0 || h.height == 0 || h.height == std::int64_t(INT32_MIN))
        damaged("its size is " + std::to_string(h.width) + " x " + std::to_string(h.height));
    const bool rle = h.compression == Rle8 || h.compression == Rle4;
    switch (h.compression) {
    case Rgb:
        if (h.bitCount != 1 && h.bitCount != 2 && h.bitCount != 4 && h.bitCount != 8 &&
            h.bitCount != 16 && h.bitCount != 24 && h.bitCount != 32)
            throw PictureError("bitmaps of " + std::to_string(h.bitCount) +
                               " bits a pixel cannot be read");
        break;
    case Rle8:
    case Rle4:
        if (h.bitCount != (h.compression == Rle8 ? 8 : 4))
            damaged("its compression does not match its " + std::to_string(h.bitCount) +
                    " bits a pixel");
        if (h.height < 0)
            damaged("a compressed bitmap cannot be stored top-down");
        break;
    case BitFields:
    case AlphaBitFields:
        if (h.bitCount != 16 && h.bitCount != 32)
            damaged("bit fields need 16 or 32 bits a pixel, not " + std::to_string(h.bitCount));
        break;
    default:
        throw PictureError("the bitmap uses a compression (" + std::to_string(h.compression) +
                           ") that cannot be read");
    }
    const std::uint32_t offset = b.u32(10);
    // An offset inside the headers is wrong; the pixels then follow the palette.
    std::size_t pixelsAt = offset;
    if (offset < h.paletteAt) {
        const std::size_t entry = h.os2 ? 3 : 4;
        const std::uint32_t most = h.bitCount <= 8 ? 1u << h.bitCount : 0;
        pixelsAt =
            h.paletteAt + entry * (h.coloursUsed == 0 ? most : std::min(h.coloursUsed, most));
    }
    if (pixelsAt > b.size())
        truncated();
    const std::vector<QRgb> palette = readPalette(b, h, pixelsAt);
    const bool alpha =
        h.compression == AlphaBitFields || (h.compression == BitFields && h.masks[3] != 0);
    const QSize size(int(h.width), int(h.height < 0 ? -h.height : h.height));
    QImage image =
        context.allocate(size, alpha || rle ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (rle)
        decodeRle(b, h, pixelsAt, palette, image, context);
    else
        decodeRows(b, h, pixelsAt, palette, image, context);
    return image;
}

} // namespace qrb
