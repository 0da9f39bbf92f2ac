#pragma once
// Small writers of picture files for the tests: PNG (every colour type and depth,
// interlaced, tRNS, iCCP, eXIf), BMP (every header, depth and compression; the pixel data
// as the test gives it), GIF (palette, transparency, interlacing) and JPEG with an EXIF
// orientation. The damaged forms are made by cutting or changing the bytes they return.

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace qrb::test {

struct PngPicture {
    int width = 1;
    int height = 1;
    int bitDepth = 8;
    int colourType = 2; // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    bool interlaced = false;
    // The channel values of pixel (x, y), each of bitDepth bits, as the colour type has them.
    std::function<std::vector<int>(int x, int y)> sample;
    QByteArray palette;      // PLTE's body
    QByteArray transparency; // tRNS's body
    QByteArray iccProfile;   // uncompressed; written as iCCP
    QByteArray exif;         // eXIf's body (a TIFF block)
};
QByteArray pngBytes(const PngPicture& picture);

// A chunk of `type` with `body` and its checksum.
QByteArray pngChunk(const char* type, const QByteArray& body);

struct BmpPicture {
    int width = 1;
    int height = 1; // negative: top-down
    int bitCount = 24;
    std::uint32_t compression = 0;
    int headerSize = 40;                  // 12 (OS/2 1.x), 40, 108, 124
    std::vector<QRgb> palette;            // written as the header's kind has them
    std::array<std::uint32_t, 4> masks{}; // after a 40-byte header with BI_BITFIELDS
    QByteArray pixels;                    // as stored
    QByteArray iccProfile;                // embedded after the pixels (124-byte header)
};
QByteArray bmpBytes(const BmpPicture& picture);

// Uncompressed pixel rows of `bitCount` bits, bottom-up and padded to 4 bytes, from
// `value(x, y)` (y counted from the top).
QByteArray bmpRows(int width, int height, int bitCount,
                   const std::function<std::uint32_t(int x, int y)>& value);

// A GIF of one picture of palette indices (row by row from the top).
struct GifPicture {
    int width = 1;
    int height = 1;
    std::vector<QRgb> palette; // 2, 4, ... 256 colours
    std::vector<std::uint8_t> indices;
    int transparent = -1;
    bool interlaced = false;
};
QByteArray gifBytes(const GifPicture& picture);

// A TIFF block holding only the EXIF orientation `value`.
QByteArray exifOrientationBlock(int value, bool littleEndian = true);

// `image` as a JPEG (Qt's writer, best quality) with an EXIF APP1 block of `orientation`
// after its start marker (none for 0).
QByteArray jpegBytes(const QImage& image, int orientation = 0);

} // namespace qrb::test
