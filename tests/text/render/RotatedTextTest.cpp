#include "text/render/RotatedText.h"
#include "text/render/QtConversions.h"

#include <gtest/gtest.h>

#include <QRect>

#include <cstring>
#include <vector>

namespace qrb {
namespace {

QImage blank(int w = 200, int h = 200) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QFont arial(double points) {
    QFont font;
    font.setFamily("Arial");
    font.setPointSizeF(points);
    return font;
}

// Pixels the lettering touched, and how much darker it made them in total.
struct Ink {
    QRect box;
    long darkness = 0;
};

Ink inkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            if (grey < 255) {
                ink.box |= QRect(x, y, 1, 1);
                ink.darkness += 255 - grey;
            }
        }
    }
    return ink;
}

Ink draw(const QFont& font, float angle, const QString& text = "Lettering", int x = 100,
         int y = 100) {
    QImage image = blank();
    TextSurface surface(image);
    DrawRotatedText(surface, font, text, angle, std::int16_t(x), std::int16_t(y));
    return inkOf(image);
}

class CellHeight : public ::testing::TestWithParam<std::pair<double, int>> {};

TEST_P(CellHeight, IsOneAndAHalfTimesTheSizeRoundedToEven) {
    const auto [points, cell] = GetParam();
    EXPECT_EQ(rotatedtext::cellHeightForSize(points), cell);
    for (const char* face : {"Arial", "Times New Roman"}) {
        QFont font = arial(points);
        font.setFamily(face);
        const auto realised = rotatedtext::rotatedFont(font);
        EXPECT_NEAR(realised.cellHeight, cell, 0.01) << face;
        // Glyphs from the top of an accent to the bottom of a descender fill the cell
        // (give or take a smoothed pixel).
        const Ink ink = draw(font, 0, "ÉÅgjpq", 20, 20);
        EXPECT_GE(ink.box.top(), 19) << face;
        EXPECT_LE(ink.box.bottom(), 20 + cell) << face;
        EXPECT_GE(ink.box.height(), cell * 3 / 4) << face;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, CellHeight,
                         ::testing::Values(std::pair{6.0, 9}, std::pair{7.0, 10},
                                           std::pair{8.0, 12}, std::pair{9.0, 14},
                                           std::pair{12.0, 18}, std::pair{18.0, 27}));

TEST(DrawRotatedText, LineRunsCounterClockwiseFromTheStartPoint) {
    const QFont font = arial(12);
    const QRect flat = draw(font, 0).box;
    EXPECT_GT(flat.width(), 2 * flat.height());
    EXPECT_GE(flat.left(), 99);
    EXPECT_GE(flat.top(), 99);

    const QRect up = draw(font, 90).box; // reads upwards, glyph bodies right of the start
    EXPECT_GT(up.height(), 2 * up.width());
    EXPECT_LE(up.bottom(), 101);
    EXPECT_GE(up.left(), 99);

    const QRect down = draw(font, 270).box; // reads downwards, bodies left of the start
    EXPECT_GT(down.height(), 2 * down.width());
    EXPECT_GE(down.top(), 99);
    EXPECT_LE(down.right(), 101);

    const QRect back = draw(font, 180).box; // upside down, leftwards, bodies above
    EXPECT_GT(back.width(), 2 * back.height());
    EXPECT_LE(back.right(), 101);
    EXPECT_LE(back.bottom(), 101);
}

TEST(DrawRotatedText, StylesSurviveRotation) {
    for (const float angle : {0.0f, 37.0f, 90.0f}) {
        const long plain = draw(arial(12), angle).darkness;
        for (auto style : {&QFont::setBold, &QFont::setUnderline, &QFont::setStrikeOut}) {
            QFont font = arial(12);
            (font.*style)(true);
            EXPECT_GT(draw(font, angle).darkness, plain * 11 / 10) << angle;
        }
    }
}

TEST(DrawRotatedText, LeavesTheSurfaceFontAndDrawsInItsColour) {
    QImage image = blank();
    TextSurface surface(image);
    surface.font = arial(9.75);
    surface.font.setItalic(true);
    surface.foreColor = QColor(200, 0, 0);
    const QFont before = surface.font;
    QFont bold = arial(18);
    bold.setBold(true);
    DrawRotatedText(surface, bold, "", 45, 50, 50);
    EXPECT_EQ(image, blank()); // empty text draws nothing
    DrawRotatedText(surface, bold, "Red", 45, 50, 50);
    EXPECT_EQ(surface.font, before);
    bool sawRed = false;
    for (int i = 0; i < image.width() * image.height(); ++i) {
        const QColor c = image.pixelColor(i % image.width(), i / image.width());
        sawRed |= c.red() > 190 && c.green() < 60 && c.blue() < 60;
    }
    EXPECT_TRUE(sawRed);
}

TEST(DrawRotatedText, DrawsOnlyInsideTheSurface) {
    // A 40 x 30 surface inside a bigger buffer: the rows around it and the bytes past each
    // row's end must stay untouched whatever the position and angle.
    const int w = 40, h = 30, stride = w * 4 + 32;
    std::vector<uchar> buffer(std::size_t(stride) * (h + 2), 0xAB);
    QImage image(buffer.data() + stride, w, h, stride, QImage::Format_RGB32);
    image.fill(Qt::white);
    TextSurface surface(image);
    const QFont font = arial(18);
    for (const int pos : {-32768, -40, -5, 0, 20, 39, 45, 32767}) {
        for (const float angle : {0.0f, 45.0f, 90.0f, 180.0f, 270.0f, 359.0f}) {
            DrawRotatedText(surface, font, "Edge Edge Edge", angle, std::int16_t(pos),
                            std::int16_t(pos / 2));
        }
    }
    for (int row = 0; row < h + 2; ++row) {
        const uchar* line = buffer.data() + std::size_t(row) * stride;
        const int from = (row == 0 || row == h + 1) ? 0 : w * 4;
        for (int i = from; i < stride; ++i) {
            ASSERT_EQ(line[i], 0xAB) << "row " << row << " byte " << i;
        }
    }
    EXPECT_NE(image.pixel(0, 0), QColor(Qt::white).rgb()); // something was drawn inside
}

TEST(PrintText, UsesTheSurfaceFontAtScreenSizeAndAdvancesALine) {
    QImage image = blank();
    TextSurface surface(image);
    surface.font = arial(8);
    surface.setCurrentPosition(10, 20);
    PrintText(surface, "Lettering");
    const Ink small = inkOf(image);
    EXPECT_GE(small.box.left(), 10);
    EXPECT_GE(small.box.top(), 20);
    EXPECT_EQ(surface.currentX, 10);
    EXPECT_GT(surface.currentY, 20 + 8);
    EXPECT_EQ(rotatedtext::printPixelSize(8), 11);
    EXPECT_EQ(rotatedtext::printPixelSize(9.75), 13);
}

TEST(TextStyleConversion, RoundTripsThroughQt) {
    const TextStyle style{"Times New Roman", 9.5f, true, true, false, true, 0x0000FF, 0x808080};
    EXPECT_EQ(toTextStyle(toQFont(style), style.textColour, style.boxColour), style);
    EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(toColourValue(QColor(0, 128, 255)), 0xFF8000u);
}

} // namespace
} // namespace qrb
