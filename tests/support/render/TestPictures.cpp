#include "support/render/TestPictures.h"

#include <QBuffer>
#include <QImageWriter>

#include <zlib.h>

#include <stdexcept>

namespace qrb::test {

namespace {

void putBig32(QByteArray& out, std::uint32_t v) {
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

void putLittle16(QByteArray& out, std::uint32_t v) {
    out.append(char(v)).append(char(v >> 8));
}

void putLittle32(QByteArray& out, std::uint32_t v) {
    putLittle16(out, v & 0xFFFF);
    putLittle16(out, v >> 16);
}

QByteArray deflated(const QByteArray& data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()), 9) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(qsizetype(size));
    return out;
}

int channelsOf(int colourType) {
    switch (colourType) {
    case 0:
    case 3:
        return 1;
    case 4:
        return 2;
    case 2:
        return 3;
    default:
        return 4;
    }
}

// Rows of the sub-picture (x0 + i * dx, y0 + j * dy), each with filter byte 0.
QByteArray packedRows(const PngPicture& p, int x0, int y0, int dx, int dy) {
    QByteArray out;
    const int channels = channelsOf(p.colourType);
    for (int y = y0; y < p.height; y += dy) {
        if (x0 >= p.width)
            break;
        out.append('\0');
        std::uint32_t bits = 0;
        int count = 0;
        for (int x = x0; x < p.width; x += dx) {
            const std::vector<int> values = p.sample(x, y);
            for (int c = 0; c < channels; ++c) {
                if (p.bitDepth == 16) {
                    out.append(char(values[std::size_t(c)] >> 8))
                        .append(char(values[std::size_t(c)]));
                    continue;
                }
                bits = (bits << p.bitDepth) | std::uint32_t(values[std::size_t(c)]);
                count += p.bitDepth;
                if (count == 8) {
                    out.append(char(bits));
                    bits = 0;
                    count = 0;
                }
            }
        }
        if (count > 0)
            out.append(char(bits << (8 - count)));
    }
    return out;
}

} // namespace

QByteArray pngChunk(const char* type, const QByteArray& body) {
    QByteArray out;
    putBig32(out, std::uint32_t(body.size()));
    QByteArray typed = QByteArray(type, 4) + body;
    out.append(typed);
    putBig32(out, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()),
                                      uInt(typed.size()))));
    return out;
}

QByteArray pngBytes(const PngPicture& p) {
    QByteArray header;
    putBig32(header, std::uint32_t(p.width));
    putBig32(header, std::uint32_t(p.height));
    header.append(char(p.bitDepth)).append(char(p.colourType)).append('\0').append('\0');
    header.append(char(p.interlaced ? 1 : 0));
    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    out.append(pngChunk("IHDR", header));
    if (!p.iccProfile.isEmpty())
        out.append(
            pngChunk("iCCP", QByteArray("test", 5) + QByteArray(1, '\0') + deflated(p.iccProfile)));
    if (!p.exif.isEmpty())
        out.append(pngChunk("eXIf", p.exif));
    if (!p.palette.isEmpty())
        out.append(pngChunk("PLTE", p.palette));
    if (!p.transparency.isEmpty())
        out.append(pngChunk("tRNS", p.transparency));
    QByteArray raw;
    if (p.interlaced) {
        static constexpr int start[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
        static constexpr int step[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
        for (int pass = 0; pass < 7; ++pass)
            raw.append(packedRows(p, start[pass][0], start[pass][1], step[pass][0], step[pass][1]));
    } else {
        raw = packedRows(p, 0, 0, 1, 1);
    }
    out.append(pngChunk("IDAT", deflated(raw)));
    out.append(pngChunk("IEND", {}));
    return out;
}

QByteArray bmpRows(int width, int height, int bitCount,
                   const std::function<std::uint32_t(int x, int y)>& value) {
    QByteArray out;
    const int stride = (width * bitCount + 31) / 32 * 4;
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;
        QByteArray line(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, y);
            if (bitCount < 8) {
                const int bit = x * bitCount;
                line[bit / 8] = char(line[bit / 8] | (v << (8 - bitCount - bit % 8)));
            } else {
                for (int b = 0; b < bitCount / 8; ++b)
                    line[x * bitCount / 8 + b] = char(v >> (8 * b));
            }
        }
        out.append(line);
    }
    return out;
}

QByteArray bmpBytes(const BmpPicture& p) {
    QByteArray header;
    if (p.headerSize == 12) {
        putLittle32(header, 12);
        putLittle16(header, std::uint32_t(p.width));
        putLittle16(header, std::uint32_t(p.height));
        putLittle16(header, 1);
        putLittle16(header, std::uint32_t(p.bitCount));
    } else {
        putLittle32(header, std::uint32_t(p.headerSize));
        putLittle32(header, std::uint32_t(p.width));
        putLittle32(header, std::uint32_t(p.height));
        putLittle16(header, 1);
        putLittle16(header, std::uint32_t(p.bitCount));
        putLittle32(header, p.compression);
        putLittle32(header, std::uint32_t(p.pixels.size()));
        putLittle32(header, 2835);
        putLittle32(header, 2835);
        putLittle32(header, std::uint32_t(p.palette.size()));
        putLittle32(header, 0);
        if (p.headerSize >= 108) {
            for (const std::uint32_t mask : p.masks)
                putLittle32(header, mask);
            putLittle32(header, p.iccProfile.isEmpty() ? 0x73524742 /* sRGB */ : 0x4D424544);
            header.append(QByteArray(36 + 12, '\0')); // end points, gamma
        }
        if (p.headerSize >= 124) {
            putLittle32(header, 4); // intent
            putLittle32(header, 0); // profile offset, set below
            putLittle32(header, std::uint32_t(p.iccProfile.size()));
            putLittle32(header, 0);
        }
    }
    QByteArray extra;
    if (p.headerSize == 40 && (p.compression == 3 || p.compression == 6))
        for (int i = 0; i < (p.compression == 6 ? 4 : 3); ++i)
            putLittle32(extra, p.masks[std::size_t(i)]);
    for (const QRgb c : p.palette) {
        extra.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        if (p.headerSize != 12)
            extra.append('\0');
    }
    const std::uint32_t offset = std::uint32_t(14 + header.size() + extra.size());
    if (p.headerSize >= 124 && !p.iccProfile.isEmpty()) {
        const std::uint32_t at = std::uint32_t(header.size() + extra.size() + p.pixels.size());
        QByteArray field;
        putLittle32(field, at);
        header.replace(112, 4, field);
    }
    QByteArray out("BM");
    putLittle32(out, offset + std::uint32_t(p.pixels.size() + p.iccProfile.size()));
    putLittle32(out, 0);
    putLittle32(out, offset);
    return out + header + extra + p.pixels + (p.headerSize >= 124 ? p.iccProfile : QByteArray());
}

QByteArray gifBytes(const GifPicture& p) {
    int bits = 1;
    while ((1 << bits) < int(p.palette.size()))
        ++bits;
    QByteArray out("GIF89a");
    putLittle16(out, std::uint32_t(p.width));
    putLittle16(out, std::uint32_t(p.height));
    out.append(char(0x80 | (bits - 1))).append('\0').append('\0');
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb c = i < int(p.palette.size()) ? p.palette[std::size_t(i)] : 0;
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    if (p.transparent >= 0)
        out.append("\x21\xF9\x04\x01\x00\x00", 6).append(char(p.transparent)).append('\0');
    out.append(',');
    putLittle16(out, 0);
    putLittle16(out, 0);
    putLittle16(out, std::uint32_t(p.width));
    putLittle16(out, std::uint32_t(p.height));
    out.append(char(p.interlaced ? 0x40 : 0));
    // LZW with every pixel a literal code and a clear code before the table would make the
    // codes wider: simple and valid.
    const int minimum = std::max(2, bits);
    const int clear = 1 << minimum;
    const int width = minimum + 1;
    std::vector<int> codes{clear};
    int sinceClear = 0;
    std::vector<std::uint8_t> order;
    for (int k = 0; k < p.height; ++k) {
        int y = k;
        if (p.interlaced) {
            static constexpr int start[4] = {0, 4, 2, 1};
            static constexpr int step[4] = {8, 8, 4, 2};
            int left = k;
            for (int pass = 0; pass < 4; ++pass) {
                const int rows = start[pass] < p.height
                                     ? (p.height - start[pass] + step[pass] - 1) / step[pass]
                                     : 0;
                if (left < rows) {
                    y = start[pass] + left * step[pass];
                    break;
                }
                left -= rows;
            }
        }
        for (int x = 0; x < p.width; ++x)
            order.push_back(p.indices[std::size_t(y * p.width + x)]);
    }
    for (const std::uint8_t index : order) {
        if (sinceClear == clear - 2) {
            codes.push_back(clear);
            sinceClear = 0;
        }
        codes.push_back(index);
        ++sinceClear;
    }
    codes.push_back(clear + 1);
    QByteArray data;
    std::uint32_t buffer = 0;
    int count = 0;
    for (const int code : codes) {
        buffer |= std::uint32_t(code) << count;
        count += width;
        while (count >= 8) {
            data.append(char(buffer & 0xFF));
            buffer >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        data.append(char(buffer & 0xFF));
    out.append(char(minimum));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - at);
        out.append(char(n)).append(data.mid(at, n));
    }
    out.append('\0').append(';');
    return out;
}

QByteArray exifOrientationBlock(int value, bool littleEndian) {
    QByteArray out = littleEndian ? QByteArray("II*\0", 4) : QByteArray("MM\0*", 4);
    auto u16 = [&](std::uint32_t v) {
        if (littleEndian)
            putLittle16(out, v);
        else
            out.append(char(v >> 8)).append(char(v));
    };
    auto u32 = [&](std::uint32_t v) {
        if (littleEndian)
            putLittle32(out, v);
        else
            putBig32(out, v);
    };
    u32(8);
    u16(1);
    u16(0x0112);
    u16(3);
    u32(1);
    u16(std::uint32_t(value));
    u16(0);
    u32(0);
    return out;
}

QByteArray jpegBytes(const QImage& image, int orientation) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    if (!writer.write(image))
        throw std::runtime_error("cannot write a JPEG");
    if (orientation == 0)
        return bytes;
    const QByteArray body = QByteArray("Exif\0\0", 6) + exifOrientationBlock(orientation, false);
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char((body.size() + 2) >> 8)).append(char(body.size() + 2)).append(body);
    return bytes.left(2) + app1 + bytes.mid(2);
}

} // namespace qrb::test
