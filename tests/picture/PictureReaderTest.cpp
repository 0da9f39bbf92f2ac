// The picture reader against pictures the tests write: every PNG colour type and depth
// (interlaced, tRNS), the BMP variants, GIF, EXIF orientations, a colour profile, SVG
// bounds, and each damaged form, which must be refused rather than read in part.

#include "picture/PictureReader.h"
#include "core/FileError.h"
#include "picture/PictureError.h"
#include "support/SpecialFiles.h"
#include "support/TempDir.h"
#include "support/render/TestPictures.h"

#include <QColorSpace>
#include <QColorTransform>
#include <QFile>

#include <gtest/gtest.h>

#include <thread>

namespace qrb::test {
namespace {

QImage decoded(const QByteArray& bytes, const QString& name = QStringLiteral("picture")) {
    return decodePicture(bytes, name);
}

// The reason the reader gives for refusing `bytes`; empty when it reads them.
std::string refusal(const QByteArray& bytes, std::uint64_t memory = UINT64_MAX,
                    const QString& name = QStringLiteral("picture")) {
    PictureRequest request;
    request.memoryLeft = memory;
    try {
        decodePicture(bytes, name, request);
    } catch (const PictureError& e) {
        return e.what();
    }
    return {};
}

// Equal within one level a channel; the colour of a fully transparent pixel is free.
::testing::AssertionResult samePixels(const QImage& actual,
                                      const std::function<QRgb(int, int)>& expected) {
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected(x, y);
            auto near = [](int p, int q) { return std::abs(p - q) <= 1; };
            const bool same =
                near(qAlpha(a), qAlpha(e)) &&
                (qAlpha(e) == 0 || (near(qRed(a), qRed(e)) && near(qGreen(a), qGreen(e)) &&
                                    near(qBlue(a), qBlue(e))));
            if (!same)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << a << ", not " << e;
        }
    return ::testing::AssertionSuccess();
}

// ---- PNG: every colour type and depth, with and without tRNS, interlaced or not ----

struct PngCase {
    const char* name;
    int colourType;
    int bitDepth;
    bool transparency;
    bool interlaced;
};

class PngColours : public ::testing::TestWithParam<PngCase> {};

// A value of `depth` bits for channel c of (x, y): four levels spread over the range, with
// noise in the low bits of 16-bit values so that a tRNS match must be exact.
int level(int x, int y, int c, int depth) {
    const int max = (1 << depth) - 1;
    const int k = (x * 7 + y * 3 + c * 5) % 4;
    int v = k * max / 3;
    if (depth == 16)
        v = std::clamp(v + ((x + y) % 3) - 1, 0, max);
    return v;
}

int to8(int v, int depth) {
    const int max = (1 << depth) - 1;
    return (v * 255 + max / 2) / max;
}

TEST_P(PngColours, ReadExactly) {
    const PngCase& c = GetParam();
    PngPicture png;
    png.width = 11;
    png.height = 7;
    png.bitDepth = c.bitDepth;
    png.colourType = c.colourType;
    png.interlaced = c.interlaced;
    const int depth = c.bitDepth;
    std::vector<QRgb> palette;
    if (c.colourType == 3) {
        for (int i = 0; i < (1 << depth); ++i) {
            palette.push_back(qRgb(i * 37 % 256, 255 - i * 11 % 256, i * 5 % 256));
            png.palette.append(char(qRed(palette.back())))
                .append(char(qGreen(palette.back())))
                .append(char(qBlue(palette.back())));
        }
    }
    png.sample = [&](int x, int y) {
        std::vector<int> v;
        const int channels = c.colourType == 2   ? 3
                             : c.colourType == 6 ? 4
                             : c.colourType == 4 ? 2
                                                 : 1;
        for (int ch = 0; ch < channels; ++ch)
            v.push_back(c.colourType == 3 ? (x + y * 3) % (1 << depth) : level(x, y, ch, depth));
        return v;
    };
    // tRNS: the value (or palette entry) the pattern uses most turns transparent.
    const std::vector<int> clear = png.sample(1, 0);
    if (c.transparency) {
        if (c.colourType == 3) {
            for (int i = 0; i < (1 << depth); ++i)
                png.transparency.append(char(i == clear[0] ? 0 : i % 2 ? 128 : 255));
        } else {
            for (const int v : clear)
                png.transparency.append(char(v >> 8)).append(char(v & 0xFF));
        }
    }
    auto expected = [&](int x, int y) {
        const std::vector<int> v = png.sample(x, y);
        switch (c.colourType) {
        case 0: {
            const int g = to8(v[0], depth);
            return qRgba(g, g, g, c.transparency && v == clear ? 0 : 255);
        }
        case 2:
            return qRgba(to8(v[0], depth), to8(v[1], depth), to8(v[2], depth),
                         c.transparency && v == clear ? 0 : 255);
        case 3: {
            const QRgb p = palette[std::size_t(v[0])];
            const int a = !c.transparency ? 255 : v[0] == clear[0] ? 0 : v[0] % 2 ? 128 : 255;
            return qRgba(qRed(p), qGreen(p), qBlue(p), a);
        }
        case 4: {
            const int g = to8(v[0], depth);
            return qRgba(g, g, g, to8(v[1], depth));
        }
        default:
            return qRgba(to8(v[0], depth), to8(v[1], depth), to8(v[2], depth), to8(v[3], depth));
        }
    };
    const QImage image = decoded(pngBytes(png));
    ASSERT_EQ(image.size(), QSize(11, 7));
    EXPECT_TRUE(samePixels(image, expected));
}

INSTANTIATE_TEST_SUITE_P(
    Picture, PngColours,
    ::testing::Values(
        PngCase{"grey1", 0, 1, false, false}, PngCase{"grey2", 0, 2, true, false},
        PngCase{"grey4", 0, 4, false, true}, PngCase{"grey8", 0, 8, true, false},
        PngCase{"grey16", 0, 16, false, false}, PngCase{"grey16trns", 0, 16, true, true},
        PngCase{"palette1", 3, 1, false, false}, PngCase{"palette2", 3, 2, true, false},
        PngCase{"palette4", 3, 4, true, true}, PngCase{"palette8", 3, 8, true, false},
        PngCase{"rgb8", 2, 8, false, true}, PngCase{"rgb8trns", 2, 8, true, false},
        PngCase{"rgb16", 2, 16, false, false}, PngCase{"rgb16trns", 2, 16, true, false},
        PngCase{"rgb16trnsInterlaced", 2, 16, true, true},
        PngCase{"greyAlpha8", 4, 8, false, false}, PngCase{"greyAlpha16", 4, 16, false, true},
        PngCase{"rgba8", 6, 8, false, true}, PngCase{"rgba16", 6, 16, false, false}),
    [](const auto& test) { return std::string(test.param.name); });

// ---- BMP: the variants common readers take ----

const std::vector<QRgb> kFour = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 128, 255),
                                 qRgb(250, 240, 10)};

BmpPicture palettePicture(int bits) {
    BmpPicture bmp;
    bmp.width = 9;
    bmp.height = 5;
    bmp.bitCount = bits;
    for (int i = 0; i < (1 << bits); ++i)
        bmp.palette.push_back(i < 4 ? kFour[std::size_t(i)] : qRgb(i, 255 - i, i / 2));
    bmp.pixels = bmpRows(9, 5, bits, [bits](int x, int y) {
        return std::uint32_t((x + 2 * y) % (1 << std::min(bits, 2)));
    });
    return bmp;
}

TEST(PictureBmp, PalettesOfEveryDepthAndTheOs2Header) {
    for (const int bits : {1, 2, 4, 8}) {
        BmpPicture bmp = palettePicture(bits);
        const QImage image = decoded(bmpBytes(bmp));
        EXPECT_TRUE(
            samePixels(image,
                       [&](int x, int y) {
                           return kFour[std::size_t((x + 2 * y) % (1 << std::min(bits, 2)))];
                       }))
            << bits << " bits";
        bmp.headerSize = 12;
        EXPECT_TRUE(
            samePixels(decoded(bmpBytes(bmp)),
                       [&](int x, int y) {
                           return kFour[std::size_t((x + 2 * y) % (1 << std::min(bits, 2)))];
                       }))
            << bits << " bits, OS/2 header";
    }
}

TEST(PictureBmp, FiveAndSixBitChannelsCoverTheWholeRange) {
    // 555 without masks, 565 with them: 31 and 63 are 255, not 248 or 252.
    BmpPicture rgb555;
    rgb555.width = 4;
    rgb555.height = 2;
    rgb555.bitCount = 16;
    const int levels[4] = {0, 1, 16, 31};
    rgb555.pixels = bmpRows(4, 2, 16, [&](int x, int y) {
        const std::uint32_t v = std::uint32_t(levels[x]);
        return y == 0 ? (v << 10) | (v << 5) | v : v << 10;
    });
    const QImage image555 = decoded(bmpBytes(rgb555));
    EXPECT_TRUE(samePixels(image555, [&](int x, int y) {
        const int v = (levels[x] * 255 + 15) / 31;
        return y == 0 ? qRgb(v, v, v) : qRgb(v, 0, 0);
    }));
    EXPECT_EQ(image555.pixel(3, 0), qRgb(255, 255, 255));

    BmpPicture rgb565 = rgb555;
    rgb565.compression = 3;
    rgb565.masks = {0xF800, 0x07E0, 0x001F, 0};
    rgb565.pixels = bmpRows(4, 2, 16, [](int x, int) {
        return std::uint32_t(x == 3 ? 0xFFFF : x == 2 ? (32 << 5) : 0);
    });
    const QImage image565 = decoded(bmpBytes(rgb565));
    EXPECT_EQ(image565.pixel(3, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image565.pixel(2, 1), qRgb(0, 130, 0)); // 32 of 63
}

TEST(PictureBmp, TrueColourTopDownAndAlpha) {
    auto colour = [](int x, int y) { return qRgb(x * 40, y * 60, 200 - x * 10); };
    BmpPicture rgb24;
    rgb24.width = 5;
    rgb24.height = 3;
    rgb24.pixels =
        bmpRows(5, 3, 24, [&](int x, int y) { return std::uint32_t(colour(x, y)) & 0xFFFFFF; });
    EXPECT_TRUE(samePixels(decoded(bmpBytes(rgb24)), colour));

    // Stored top-down: the first row is the top.
    BmpPicture topDown = rgb24;
    topDown.height = -3;
    topDown.pixels =
        bmpRows(5, 3, 24, [&](int x, int y) { return std::uint32_t(colour(x, 2 - y)) & 0xFFFFFF; });
    EXPECT_TRUE(samePixels(decoded(bmpBytes(topDown)), colour));

    // 32 bits without a mask: the fourth byte is not alpha, whatever it holds.
    BmpPicture rgb32 = rgb24;
    rgb32.bitCount = 32;
    rgb32.pixels = bmpRows(5, 3, 32, [&](int x, int y) {
        return (std::uint32_t(colour(x, y)) & 0xFFFFFF) | 0x17000000;
    });
    const QImage opaque = decoded(bmpBytes(rgb32));
    EXPECT_FALSE(opaque.hasAlphaChannel());
    EXPECT_TRUE(samePixels(opaque, colour));

    // 32 bits with an alpha mask in a version 5 header.
    BmpPicture rgba = rgb32;
    rgba.headerSize = 124;
    rgba.compression = 3;
    rgba.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    rgba.pixels = bmpRows(5, 3, 32, [&](int x, int y) {
        return (std::uint32_t(colour(x, y)) & 0xFFFFFF) | (std::uint32_t(x * 60) << 24);
    });
    EXPECT_TRUE(samePixels(decoded(bmpBytes(rgba)), [&](int x, int y) {
        return (colour(x, y) & 0xFFFFFF) | (QRgb(x * 60) << 24);
    }));
}

TEST(PictureBmp, RunLengthsWithDeltasAndLiterals) {
    // RLE8, 6 x 3, bottom-up: a run, a literal of three, an end of line; a delta over the
    // middle row, which stays transparent; then the top row and the end.
    BmpPicture rle8 = palettePicture(8);
    rle8.width = 6;
    rle8.height = 3;
    rle8.compression = 1;
    rle8.pixels = QByteArray("\x03\x01"
                             "\x00\x03\x02\x03\x00\x00"
                             "\x00\x00"
                             "\x00\x02\x00\x01"
                             "\x06\x02"
                             "\x00\x01",
                             18);
    const QImage image = decoded(bmpBytes(rle8));
    EXPECT_TRUE(samePixels(image, [](int x, int y) {
        if (y == 0)
            return kFour[2];
        if (y == 1)
            return QRgb(0);
        return x < 3 ? kFour[1] : kFour[std::size_t(x == 3 ? 2 : x == 4 ? 3 : 0)];
    }));

    // RLE4: runs alternate the two nibbles; literals are padded to 16 bits.
    BmpPicture rle4 = palettePicture(4);
    rle4.width = 5;
    rle4.height = 1;
    rle4.compression = 2;
    rle4.pixels = QByteArray("\x02\x12"
                             "\x00\x03\x32\x10"
                             "\x00\x01",
                             8);
    EXPECT_TRUE(samePixels(decoded(bmpBytes(rle4)), [](int x, int) {
        const int index[5] = {1, 2, 3, 2, 1};
        return kFour[std::size_t(index[x])];
    }));
}

// ---- GIF ----

TEST(PictureGif, PaletteTransparencyAndInterlacingAsQtReadsThem) {
    GifPicture gif;
    gif.width = 13;
    gif.height = 11;
    gif.palette = {qRgb(10, 20, 30), qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200)};
    for (int i = 0; i < 13 * 11; ++i)
        gif.indices.push_back(std::uint8_t((i * 7 + i / 13) % 4));
    gif.transparent = 2;
    for (const bool interlaced : {false, true}) {
        gif.interlaced = interlaced;
        const QByteArray bytes = gifBytes(gif);
        const QImage image = decoded(bytes);
        // The writer is checked against Qt's own reader, which reads whole GIFs well.
        EXPECT_TRUE(samePixels(image, [&](int x, int y) {
            const std::uint8_t index = gif.indices[std::size_t(y * 13 + x)];
            return index == 2 ? QRgb(0) : gif.palette[index];
        }));
        EXPECT_TRUE(samePixels(image, [&](int x, int y) {
            return QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32).pixel(x, y);
        }));
    }
}

// ---- EXIF orientation and colour profiles ----

// Four quadrants of distinct colours, 16 x 8, large enough to survive JPEG.
QImage quadrants() {
    QImage image(16, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y,
                           x < 8 ? (y < 4 ? qRgb(255, 0, 0) : qRgb(0, 0, 255))
                                 : (y < 4 ? qRgb(0, 255, 0) : qRgb(255, 255, 0)));
    return image;
}

class Orientation : public ::testing::TestWithParam<int> {};

TEST_P(Orientation, TurnsTheStoredPictureUpright) {
    const int orientation = GetParam();
    // Store the upright picture as a camera would: transformed by the inverse.
    const QImage upright = quadrants();
    QTransform turn;
    bool mirror = false;
    switch (orientation) {
    case 2:
        mirror = true;
        break;
    case 3:
        turn.rotate(180);
        break;
    case 4:
        turn.rotate(180);
        mirror = true;
        break;
    case 5:
        turn.rotate(90);
        mirror = true;
        break;
    case 6:
        turn.rotate(-90);
        break;
    case 7:
        turn.rotate(-90);
        mirror = true;
        break;
    case 8:
        turn.rotate(90);
        break;
    default:
        break;
    }
    QImage stored = upright.transformed(turn);
    if (mirror)
        stored = stored.mirrored(true, false);
    for (const bool jpeg : {false, true}) {
        QByteArray bytes;
        if (jpeg) {
            bytes = jpegBytes(stored, orientation);
        } else {
            PngPicture png;
            png.width = stored.width();
            png.height = stored.height();
            png.sample = [&](int x, int y) {
                const QRgb p = stored.pixel(x, y);
                return std::vector<int>{qRed(p), qGreen(p), qBlue(p)};
            };
            png.exif = exifOrientationBlock(orientation, orientation % 2 == 0);
            bytes = pngBytes(png);
        }
        const QImage image = decoded(bytes);
        ASSERT_EQ(image.size(), upright.size()) << orientation << (jpeg ? " jpeg" : " png");
        for (const QPoint at : {QPoint(2, 1), QPoint(13, 1), QPoint(2, 6), QPoint(13, 6)}) {
            const QColor got = image.pixelColor(at);
            const QColor want = upright.pixelColor(at);
            EXPECT_NEAR(got.red(), want.red(), 24)
                << orientation << " at " << at.x() << "," << at.y();
            EXPECT_NEAR(got.green(), want.green(), 24) << orientation;
            EXPECT_NEAR(got.blue(), want.blue(), 24) << orientation;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Picture, Orientation, ::testing::Range(1, 9));

TEST(PictureColour, AnEmbeddedProfileIsConvertedToSrgb) {
    const QColorSpace adobe(QColorSpace::AdobeRgb);
    const QColor stored(200, 60, 40);
    PngPicture png;
    png.sample = [&](int, int) {
        return std::vector<int>{stored.red(), stored.green(), stored.blue()};
    };
    png.iccProfile = adobe.iccProfile();
    ASSERT_FALSE(png.iccProfile.isEmpty());
    const QColor want = adobe.transformationToColorSpace(QColorSpace::SRgb).map(stored);
    ASSERT_GT(std::abs(want.red() - stored.red()) + std::abs(want.green() - stored.green()), 10);
    const QColor got = decoded(pngBytes(png)).pixelColor(0, 0);
    EXPECT_NEAR(got.red(), want.red(), 1);
    EXPECT_NEAR(got.green(), want.green(), 1);
    EXPECT_NEAR(got.blue(), want.blue(), 1);

    // The same profile in a bitmap's version 5 header.
    BmpPicture bmp;
    bmp.headerSize = 124;
    bmp.iccProfile = png.iccProfile;
    bmp.pixels =
        bmpRows(1, 1, 24, [&](int, int) { return std::uint32_t(stored.rgb()) & 0xFFFFFF; });
    const QColor fromBmp = decoded(bmpBytes(bmp)).pixelColor(0, 0);
    EXPECT_NEAR(fromBmp.red(), want.red(), 1);
    EXPECT_NEAR(fromBmp.green(), want.green(), 1);
}

// ---- Damaged pictures are refused, never read in part ----

QImage noise(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245 + 12345;
            image.setPixel(x, y, seed >> 8);
        }
    return image;
}

struct Damage {
    const char* what;
    QByteArray bytes;
    const char* reason; // a part of the refusal
};

std::vector<Damage> damagedPictures() {
    std::vector<Damage> cases;
    PngPicture png;
    png.width = 40;
    png.height = 40;
    png.sample = [](int x, int y) { return std::vector<int>{x * 6, y * 6, (x * y) % 256}; };
    const QByteArray wholePng = pngBytes(png);
    cases.push_back({"PNG cut at 60 %", wholePng.left(wholePng.size() * 6 / 10), "ends before"});
    QByteArray badCrc = wholePng;
    const qsizetype idat = badCrc.indexOf("IDAT");
    badCrc[idat + 10] = char(badCrc[idat + 10] ^ 0x55);
    cases.push_back({"PNG with a changed byte in its image data", badCrc, "damaged"});
    cases.push_back({"PNG without its end", wholePng.left(wholePng.size() - 12), "ends before"});

    const QByteArray wholeJpeg = jpegBytes(noise(64, 64));
    cases.push_back({"JPEG cut at 60 %", wholeJpeg.left(wholeJpeg.size() * 6 / 10), "ends before"});
    QByteArray corruptJpeg = wholeJpeg;
    const qsizetype scan = corruptJpeg.indexOf("\xFF\xDA");
    corruptJpeg.insert(scan + 400, "\xFF\xD0\xFF\xD5");
    cases.push_back({"JPEG with stray markers in its data", corruptJpeg, "damaged"});

    BmpPicture bmp;
    bmp.width = 30;
    bmp.height = 20;
    bmp.pixels = bmpRows(30, 20, 24, [](int x, int y) { return std::uint32_t(x * 8 + y * 2048); });
    const QByteArray wholeBmp = bmpBytes(bmp);
    cases.push_back({"BMP cut at 60 %", wholeBmp.left(wholeBmp.size() * 6 / 10), "ends before"});
    BmpPicture rle = palettePicture(8);
    rle.width = 4;
    rle.height = 2;
    rle.compression = 1;
    rle.pixels = QByteArray("\x05\x01\x00\x00\x00\x01", 6);
    cases.push_back({"RLE8 run past the row", bmpBytes(rle), "runs past"});
    rle.pixels = QByteArray("\x04\x01\x00\x00\x04\x01\x00\x00\x04\x01\x00\x01", 12);
    cases.push_back({"RLE8 past the last row", bmpBytes(rle), "runs past"});
    rle.pixels = QByteArray("\x04\x01\x00\x00\x04\x02", 6);
    cases.push_back({"RLE8 without its end code", bmpBytes(rle), "end code"});
    rle.pixels = QByteArray("\x00\x02\x09\x00\x00\x01", 6);
    cases.push_back({"RLE8 delta past the picture", bmpBytes(rle), "runs past"});

    GifPicture gif;
    gif.width = 20;
    gif.height = 20;
    gif.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255)};
    gif.indices.assign(400, 0);
    for (std::size_t i = 0; i < 400; ++i)
        gif.indices[i] = std::uint8_t(i % 3);
    const QByteArray wholeGif = gifBytes(gif);
    cases.push_back(
        {"GIF cut in its picture data", wholeGif.left(wholeGif.size() * 6 / 10), "pixels"});
    QByteArray badCode = wholeGif;
    // Right after the first clear code (min. code size 2: three-bit codes), a code of 7
    // where the table ends at 6.
    const qsizetype data = badCode.lastIndexOf(',') + 10 + 2;
    badCode[data] = char(0x3C); // codes 4 (clear), 7
    cases.push_back({"GIF with a code the table lacks", badCode, "code"});
    return cases;
}

TEST(PictureDamage, EachDamagedFormIsRefusedWithItsReason) {
    for (const Damage& d : damagedPictures()) {
        const std::string reason = refusal(d.bytes);
        EXPECT_NE(reason.find(d.reason), std::string::npos) << d.what << ": \"" << reason << "\"";
    }
}

TEST(PictureDamage, AJpegWhoseOnlyMissingPartIsItsEndMarkerIsRead) {
    const QByteArray whole = jpegBytes(noise(16, 16));
    ASSERT_TRUE(whole.endsWith("\xFF\xD9"));
    EXPECT_EQ(refusal(whole.left(whole.size() - 2)), "");
}

// ---- Budget, files that are not regular, SVG bounds and stopping ----

TEST(PictureLimits, TheDeclaredSizeIsRefusedBeforeDecoding) {
    // 20000 x 20000 declared in a PNG whose data is a few bytes: refused by its size (the
    // data would be found short only by decoding).
    PngPicture png;
    png.width = 2;
    png.height = 2;
    png.sample = [](int, int) { return std::vector<int>{1, 2, 3}; };
    QByteArray bytes = pngBytes(png);
    QByteArray header;
    for (const int v : {20000, 20000})
        header.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
    bytes.replace(16, 8, header);
    bytes.replace(8, 25, pngChunk("IHDR", bytes.mid(16, 13)));
    const std::string reason = refusal(bytes, std::uint64_t(1) << 30);
    EXPECT_NE(reason.find("20000 x 20000"), std::string::npos) << reason;
    EXPECT_NE(reason.find("more than the 1 GiB"), std::string::npos) << reason;

    // What the caller makes of the picture counts too.
    PictureRequest request;
    request.memoryLeft = 100000;
    request.madeOf = [](QSize size) { return std::uint64_t(size.width()) * 100000; };
    EXPECT_THROW(decodePicture(pngBytes(png), QStringLiteral("a.png"), request), PictureError);
}

TEST(PictureLimits, FilesThatAreNotRegularAreRefusedBeforeTheyAreOpened) {
    TempDir dir;
    for (const SpecialFile& special : specialFiles()) {
        const std::filesystem::path path = dir / (special.name + ".png");
        if (!special.make(path))
            continue;
        try {
            readPicture(QString::fromStdString(path.string()));
            ADD_FAILURE() << special.name << " was read";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("cannot open"), std::string::npos) << e.what();
        }
    }
}

QByteArray svg(int size, const QByteArray& body) {
    return "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
           "width='" +
           QByteArray::number(size) + "' height='" + QByteArray::number(size) + "'>" + body +
           "</svg>";
}

TEST(PictureSvg, DrawsAndBoundsItsWork) {
    const QImage image =
        decoded(svg(20, "<rect x='0' y='0' width='10' height='20' fill='#ff0000'/>"),
                QStringLiteral("a.svg"));
    ASSERT_EQ(image.size(), QSize(20, 20));
    EXPECT_EQ(image.pixel(2, 10), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(image.pixel(15, 10)), 0);

    // Tall enough for several bands, with a shape across them: no seam, nothing twice.
    const QImage tall = decoded(svg(600, "<circle cx='300' cy='300' r='290' fill='#0000ff' "
                                         "fill-opacity='0.5'/>"),
                                QStringLiteral("b.svg"));
    EXPECT_EQ(tall.pixel(300, 127), tall.pixel(300, 128));
    EXPECT_NEAR(qAlpha(tall.pixel(300, 300)), 128, 1);

    QByteArray many;
    for (int i = 0; i < 100001; ++i)
        many += "<g/>";
    EXPECT_NE(refusal(svg(10, many), UINT64_MAX, "c.svg").find("elements"), std::string::npos);
    // Each <use> repeats what it names: 2^20 elements from a 20-step chain.
    QByteArray chain = "<defs><rect id='u0' width='1' height='1'/>";
    for (int i = 1; i <= 20; ++i)
        chain += "<g id='u" + QByteArray::number(i) + "'><use xlink:href='#u" +
                 QByteArray::number(i - 1) + "'/><use xlink:href='#u" + QByteArray::number(i - 1) +
                 "'/></g>";
    chain += "</defs><use xlink:href='#u20'/>";
    EXPECT_NE(refusal(svg(10, chain), UINT64_MAX, "d.svg").find("elements"), std::string::npos);
    EXPECT_NE(refusal(svg(10, "<g id='a'><use xlink:href='#a'/></g>"), UINT64_MAX, "e.svg")
                  .find("refer to themselves"),
              std::string::npos);
    EXPECT_NE(refusal(svg(10, QByteArray(300, 'x').replace("x", "<g>") +
                                  QByteArray(300, 'x').replace("x", "</g>")),
                      UINT64_MAX, "f.svg")
                  .find("deep"),
              std::string::npos);
    QByteArray heavy;
    for (int i = 0; i < 5000; ++i)
        heavy += "<rect width='100%' height='100%' fill='red'/>";
    EXPECT_NE(refusal(svg(8000, heavy), UINT64_MAX, "g.svg").find("too long"), std::string::npos);
}

TEST(PictureSvg, AStopRequestEndsAReadingThatIsDrawing) {
    // Several seconds of drawing; the stop comes once it has begun.
    QByteArray heavy;
    for (int i = 0; i < 1500; ++i)
        heavy += "<rect width='4000' height='4000' fill='red' fill-opacity='0.5'/>";
    std::stop_source stop;
    PictureRequest request;
    request.stop = stop.get_token();
    std::jthread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stop.request_stop();
    });
    EXPECT_THROW(decodePicture(svg(4000, heavy), QStringLiteral("h.svg"), request),
                 PictureCancelled);
}

} // namespace
} // namespace qrb::test
