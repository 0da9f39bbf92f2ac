#include "sheet/render/SheetWriter.h"

#include "core/FileError.h"
#include "core/MemorySize.h"
#include "sheet/SheetError.h"
#include "sheet/render/PngStreamWriter.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "support/render/PdfPages.h"

#include <QFile>
#include <QImage>
#include <QPageRanges>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>

namespace qrb {
namespace {

constexpr int kDpi = 100;

const Rgb kGreen{0, 160, 0};
const Rgb kRed{220, 0, 0};
const Rgb kBlue{0, 0, 200};
const Rgb kYellow{240, 220, 0};

// Tile 1: 4 x 4 pixels, each differing from its neighbours. Tile 2: solid green. Tile 3:
// a red left column, the rest blue.
TileSet testLibrary() {
    TileSet set;
    set.append({test::pattern(4, 4, 1), DibImage(2, 2), 0});
    set.append({DibImage::filled(8, 8, kGreen), DibImage(4, 4), 0});
    DibImage edged = DibImage::filled(8, 8, kBlue);
    for (int y = 0; y < 8; ++y) {
        edged.setPixel(0, y, kRed);
    }
    set.append({edged, DibImage(4, 4), 0});
    return set;
}

int px(double mm) {
    return static_cast<int>(std::floor(mm / 25.4 * kDpi));
}

Rgb at(const QImage& image, double xMm, double yMm) {
    const QColor c = image.pixelColor(px(xMm), px(yMm));
    return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

bool isWhite(Rgb c) {
    return c.red > 245 && c.green > 245 && c.blue > 245;
}

QImage pdfPage(const std::filesystem::path& pdf, int page) {
    return test::pdfPage(pdf, page, kDpi);
}

TEST(SheetWriter, PdfShowsEachTileWhereItIsLaidOutAndNoMarkOverIt) {
    test::TempDir dir;
    const TileSet set = testLibrary();
    const SheetArt art(set);
    SheetOptions options;
    options.gap = 6;
    options.bleed = 2;
    options.marks = CutMarks::Full;
    const SheetLayout layout = layOutSheet(options, art);
    SheetWriter::writePdf(dir / "sheet.pdf", layout, art, "Test");
    const QImage page = pdfPage(dir / "sheet.pdf", 1);
    ASSERT_EQ(page.size(), QSize(px(210) + 1, px(297) + 1));

    // Tile 1 at its own pixels, exactly, the right way up: cell (x, y) is 6.25 mm square.
    const RectMm& t1 = layout.pages[0].items[0].trim;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(at(page, t1.x + 6.25 * x + 3.1, t1.y + 6.25 * y + 3.1),
                      set.tile(1).full.pixel(x, y))
                << x << "," << y;
        }
    }
    // Tile 2 fills its place and its bleed and no more, and no mark lies on it.
    const RectMm& b2 = layout.pages[0].items[1].bleed;
    for (int y = px(b2.top()) + 1; y < px(b2.bottom()) - 1; ++y) {
        for (int x = px(b2.left()) + 1; x < px(b2.right()) - 1; ++x) {
            ASSERT_EQ(page.pixelColor(x, y), QColor(0, 160, 0)) << x << "," << y;
        }
    }
    EXPECT_TRUE(isWhite(at(page, b2.left() - 0.5, b2.top() + 12)));
    EXPECT_TRUE(isWhite(at(page, b2.right() + 0.5, b2.top() + 12)));
    EXPECT_TRUE(isWhite(at(page, b2.left() + 12, b2.bottom() + 0.5)));
    // The full cut line at tile 2's left edge shows in the top margin.
    EXPECT_FALSE(isWhite(at(page, layout.pages[0].items[1].trim.left(), 4)));

    // Tile 3's bleed repeats its red left column and its blue right one.
    const RectMm& t3 = layout.pages[0].items[2].trim;
    EXPECT_EQ(at(page, t3.left() - 1, t3.top() + 10), kRed);
    EXPECT_EQ(at(page, t3.left() - 1, t3.top() - 1), kRed);
    EXPECT_EQ(at(page, t3.right() + 1, t3.top() + 10), kBlue);
    EXPECT_EQ(at(page, t3.left() + 10, t3.bottom() + 1), kBlue);
}

TEST(SheetWriter, BackPagesFollowMirroredOnLandscapePages) {
    test::TempDir dir;
    const TileSet set = testLibrary();
    TileSet backs;
    backs.append({DibImage::filled(8, 8, kYellow), DibImage(4, 4), 0});
    SheetArt art(set);
    art.setBackLibrary(backs);
    SheetOptions options;
    options.orientation = PageOrientation::Landscape;
    options.tiles = {2};
    options.backs = true;
    options.backOffset = {1, 2};
    const SheetLayout layout = layOutSheet(options, art);
    SheetWriter::writePdf(dir / "backs.pdf", layout, art);
    const QImage front = pdfPage(dir / "backs.pdf", 1);
    const QImage back = pdfPage(dir / "backs.pdf", 2);
    ASSERT_EQ(front.size(), QSize(px(297) + 1, px(210) + 1));
    EXPECT_EQ(at(front, 20, 20), kGreen);
    // Behind (10..35, 10..35): (297 - 35 .. 297 - 10), moved 1 mm right and 2 mm down.
    EXPECT_EQ(at(back, 297 - 35 + 1.5, 12.5), kYellow);
    EXPECT_EQ(at(back, 297 - 10 + 0.5, 35 + 1.5), kYellow);
    EXPECT_TRUE(isWhite(at(back, 297 - 35 + 0.5, 20)));
}

TEST(SheetWriter, EachPictureIsEmbeddedOnce) {
    test::TempDir dir;
    const TileSet set = testLibrary();
    const SheetArt art(set);
    SheetOptions options;
    options.tiles = {1, 2};
    options.copies = 40;
    const auto images = [&](double bleed) {
        options.bleed = bleed;
        SheetWriter::writePdf(dir / "copies.pdf", layOutSheet(options, art), art);
        QFile pdf(QFile::decodeName((dir / "copies.pdf").c_str()));
        EXPECT_TRUE(pdf.open(QIODevice::ReadOnly));
        return pdf.readAll().count("/Subtype /Image");
    };
    EXPECT_EQ(images(0), 2);
    // With bleed, each picture's four edges come once more.
    EXPECT_EQ(images(1), 2 * 5);
}

TEST(SheetWriter, CalibrationCrossesOnBothSides) {
    test::TempDir dir;
    const TileSet none;
    SheetOptions options;
    options.calibration = true; // text on the pages: fonts are drawn too
    options.backOffset = {3, 0};
    SheetWriter::writePdf(dir / "calibration.pdf", layOutSheet(options, SheetArt(none)),
                          SheetArt(none));
    // The centre cross's vertical arm at 105 mm; behind it on the back at 105 + 3 mm.
    const QImage front = pdfPage(dir / "calibration.pdf", 1);
    const QImage back = pdfPage(dir / "calibration.pdf", 2);
    EXPECT_FALSE(isWhite(at(front, 105, 143)));
    EXPECT_FALSE(isWhite(at(back, 108, 143)));
    EXPECT_TRUE(isWhite(at(back, 105, 143)));
}

TEST(SheetWriter, PngPagesAtTheResolutionAsked) {
    test::TempDir dir;
    const TileSet set = testLibrary();
    const SheetArt art(set);
    SheetOptions options;
    options.tileWidth = 90;
    options.bleed = 1.5;
    options.tiles = {2, 2, 2, 2, 2, 2};
    const SheetLayout layout = layOutSheet(options, art);
    ASSERT_EQ(layout.pages.size(), 2u);
    const auto written = SheetWriter::writePng(dir / "sheet.png", layout, art, 50);
    ASSERT_EQ(written,
              (std::vector<std::filesystem::path>{dir / "sheet-1.png", dir / "sheet-2.png"}));
    const QImage first(QFile::decodeName(written[0].c_str()));
    EXPECT_EQ(first.size(), QSize(413, 585));
    EXPECT_EQ(first.dotsPerMeterX(), 1969);
    // Neighbouring bleeds meet without a seam: all green from the first tile's bleed to
    // the second's.
    const RectMm& b1 = layout.pages[0].items[0].bleed;
    const RectMm& b2 = layout.pages[0].items[1].bleed;
    const auto dots = [&](double mm) { return int(std::lround(mm * first.width() / 210)); };
    for (int x = dots(b1.left()) + 1; x < dots(b2.right()) - 1; ++x) {
        ASSERT_EQ(first.pixelColor(x, 110), QColor(0, 160, 0)) << x;
    }

    EXPECT_EQ(SheetWriter::pagePngPath("a.v2/out", 1), "a.v2/out-1.png");
    EXPECT_THROW(SheetWriter::writePng(dir / "x.png", layout, art, 5), SheetError);
}

// Rows written one at a time read back as the picture they came from, whatever filter
// each row gets (random pixels, a flat run, a gradient), with its resolution.
TEST(SheetWriter, PngRowsReadBackExactly) {
    QImage picture(37, 23, QImage::Format_RGB32);
    std::mt19937 random(7);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb noise = random();
            picture.setPixel(x, y, y < 8 ? noise : y < 16 ? qRgb(9, 9, 9) : qRgb(x * 7, y * 11, 3));
        }
    }
    std::ostringstream out;
    PngStreamWriter png(out, picture.width(), picture.height(), 3937);
    for (int y = 0; y < picture.height(); ++y) {
        png.writeRow(reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y)));
    }
    png.finish();
    const std::string bytes = out.str();
    const QImage read = QImage::fromData(QByteArray(bytes.data(), qsizetype(bytes.size())), "PNG");
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(read.dotsPerMeterX(), 3937);

    std::ostringstream unfinished;
    PngStreamWriter partial(unfinished, 2, 2, 3937);
    partial.writeRow(reinterpret_cast<const std::uint32_t*>(picture.constScanLine(0)));
    EXPECT_THROW(partial.finish(), std::logic_error);
}

// A page drawn in bands, as a small memory limit makes it, has the pixels of the page
// drawn as one picture; a limit too small for the fewest rows says what a page needs.
TEST(SheetWriter, PngPagesInBandsHaveThePixelsOfOnePicture) {
    test::TempDir dir;
    const TileSet set = testLibrary();
    const SheetArt art(set);
    SheetOptions options;
    options.tileWidth = 47;
    options.bleed = 1.5;
    options.marks = CutMarks::Full;
    options.tiles = {1, 2, 3, 1, 2, 3, 3};
    const SheetLayout layout = layOutSheet(options, art);
    const auto whole = SheetWriter::writePng(dir / "whole.png", layout, art, kDpi);
    const int width = static_cast<int>(std::round(210 / 25.4 * kDpi));
    const std::uint64_t encoder = PngStreamWriter::workingBytes(width);
    const std::uint64_t row = std::uint64_t(width) * 4;
    const auto bands =
        SheetWriter::writePng(dir / "bands.png", layout, art, kDpi, encoder + 71 * row);
    ASSERT_EQ(bands.size(), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const QImage one(QFile::decodeName(whole[i].c_str()));
        const QImage banded(QFile::decodeName(bands[i].c_str()));
        EXPECT_EQ(banded.width(), width);
        EXPECT_EQ(banded.convertToFormat(QImage::Format_RGB32),
                  one.convertToFormat(QImage::Format_RGB32))
            << "page " << i + 1;
    }
    try {
        SheetWriter::writePng(dir / "small.png", layout, art, kDpi,
                              encoder + (SheetWriter::kMinBandRows - 1) * row);
        ADD_FAILURE() << "drawn without the memory";
    } catch (const SheetError& e) {
        EXPECT_NE(std::string(e.what()).find(" mm page at 100 dpi needs " +
                                             describeMemorySize(encoder + 64 * row) +
                                             " of memory to draw"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "small-1.png"));
}

// Pages drawn on several threads, each in the bands its share of the memory holds, are
// the files of one thread, byte for byte and in order.
TEST(SheetWriter, PngPagesOnSeveralThreadsAreTheFilesOfOne) {
    test::TempDir dir;
    const TileSet set = testLibrary();
    const SheetArt art(set);
    SheetOptions options;
    options.tileWidth = 60;
    options.bleed = 1;
    options.marks = CutMarks::Full;
    for (int i = 0; i < 70; ++i)
        options.tiles.push_back(1 + i % 3);
    const SheetLayout layout = layOutSheet(options, art);
    ASSERT_GE(layout.pages.size(), 5u);
    const int dpi = 40;
    const int width = static_cast<int>(std::round(210 / 25.4 * dpi));
    const std::uint64_t band =
        PngStreamWriter::workingBytes(width) + std::uint64_t(width) * 4 * 100;
    const auto one = SheetWriter::writePng(dir / "one.png", layout, art, dpi, UINT64_MAX, 1);
    ASSERT_EQ(one.size(), layout.pages.size());
    for (const std::uint64_t memory : {UINT64_MAX, 3 * band, band}) {
        for (const int threads : {2, 3, 8}) {
            const auto several =
                SheetWriter::writePng(dir / "several.png", layout, art, dpi, memory, threads);
            ASSERT_EQ(several.size(), one.size());
            for (std::size_t i = 0; i < one.size(); ++i) {
                EXPECT_EQ(several[i], SheetWriter::pagePngPath(dir / "several.png", int(i + 1)));
                ASSERT_EQ(test::readFile(several[i]), test::readFile(one[i]))
                    << "page " << i + 1 << ", " << threads << " threads, memory " << memory;
            }
        }
    }
}

TEST(SheetWriter, PaintsOnlyThePagesTheDeviceAsksFor) {
    test::TempDir dir;
    const TileSet set = testLibrary();
    const SheetArt art(set);
    SheetOptions options;
    options.tileWidth = 90;
    options.tiles = {2, 2, 2, 2, 2, 2, 3}; // six to a page: tile 3 alone on page 2
    const SheetLayout layout = layOutSheet(options, art);
    ASSERT_EQ(layout.pages.size(), 2u);
    {
        // As a printer does when the print dialog asks for page 2 only.
        QPdfWriter writer(QFile::decodeName((dir / "range.pdf").c_str()));
        QPageRanges pages;
        pages.addPage(2);
        writer.setPageRanges(pages);
        SheetWriter::paintPages(writer, layout, art);
    }
    const QImage page = pdfPage(dir / "range.pdf", 1);
    EXPECT_EQ(at(page, 50, 50), kBlue);
    EXPECT_EQ(at(page, 11, 50), kRed);
}

TEST(SheetWriter, FailedWriteNamesTheFileAndLeavesNothing) {
    test::TempDir dir;
    const TileSet set = testLibrary();
    const SheetArt art(set);
    const SheetLayout layout = layOutSheet(SheetOptions{}, art);
    EXPECT_THROW(SheetWriter::writePdf(dir / "no such folder" / "s.pdf", layout, art), FileError);
    EXPECT_THROW(SheetWriter::writePng(dir / "no such folder" / "s.png", layout, art), FileError);
    EXPECT_EQ(dir.entries(), 0u);
}

// All pages or none: page 10's name is one byte too long for the folder, so pages 1 to 9
// of the earlier run stay as they were and no temporary is left. A shorter set of pages
// leaves the older pages beyond it, and says which they are.
TEST(SheetWriter, PngPagesAllOrNone) {
    test::TempDir dir;
    const TileSet set = testLibrary();
    const SheetArt art(set);
    SheetOptions options;
    options.tileWidth = 90;
    options.tiles.assign(55, 2); // six to a page: ten pages
    const SheetLayout layout = layOutSheet(options, art);
    ASSERT_EQ(layout.pages.size(), 10u);
    const std::filesystem::path out = dir / (std::string(249, 'p') + ".png"); // "-9.png": 255
    for (int n = 1; n <= 9; ++n) {
        test::writeFile(SheetWriter::pagePngPath(out, n), {'o', 'l', 'd'});
    }
    try {
        SheetWriter::writePng(out, layout, art, SheetWriter::kMinDpi);
        FAIL() << "written";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), SheetWriter::pagePngPath(out, 10));
    }
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(test::readFile(SheetWriter::pagePngPath(out, n)),
                  (std::vector<std::uint8_t>{'o', 'l', 'd'}))
            << n;
    }
    EXPECT_EQ(dir.entries(), 9u);

    options.tiles.assign(12, 2); // two pages
    const SheetLayout shorter = layOutSheet(options, art);
    ASSERT_EQ(SheetWriter::writePng(out, shorter, art, SheetWriter::kMinDpi).size(), 2u);
    EXPECT_NE(test::readFile(SheetWriter::pagePngPath(out, 2)),
              (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    const auto older = SheetWriter::olderPngPages(out, 2);
    ASSERT_EQ(older.size(), 7u);
    EXPECT_EQ(older.front(), SheetWriter::pagePngPath(out, 3));
    EXPECT_EQ(older.back(), SheetWriter::pagePngPath(out, 9));
    EXPECT_EQ(dir.entries(), 9u);
}

} // namespace
} // namespace qrb
