// Anchors, fit width, outline and shadow: where the ink lands and what colour it has.

#include "text/render/QtConversions.h"
#include "text/render/RotatedText.h"

#include <gtest/gtest.h>

#include <QRect>

#include <cmath>

namespace qrb {
namespace {

QImage blank(int size = 240) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QFont arial(double points) {
    QFont font;
    font.setFamily("Arial");
    font.setPointSizeF(points);
    return font;
}

QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage drawn(const TextLayout& layout, std::optional<float> angle, const QString& text = "Harbour",
             double points = 14) {
    QImage image = blank();
    TextSurface surface(image);
    DrawLaidOutText(surface, arial(points), text, angle, 120, 120, layout);
    return image;
}

TEST(LaidOutText, TheDefaultAndAFitTheTextAlreadyMeetsDrawTodaysPixels) {
    TextLayout roomy;
    roomy.fitWidth = 500;
    for (const std::optional<float> angle : {std::optional<float>(), std::optional<float>(37.0f)}) {
        QImage today = blank();
        TextSurface surface(today);
        surface.font = arial(14);
        if (angle) {
            DrawRotatedText(surface, surface.font, "Harbour", *angle, 120, 120);
        } else {
            surface.setCurrentPosition(120, 120);
            PrintText(surface, "Harbour");
        }
        EXPECT_EQ(drawn(TextLayout{}, angle), today);
        EXPECT_EQ(drawn(roomy, angle), today) << "a text that fits is not touched";
    }
}

// The anchor is taken along the text's own axes: a centred, middle text is centred on the
// position at every angle; a right, bottom one ends there.
class Anchor : public ::testing::TestWithParam<int> {};

TEST_P(Anchor, IsThePositionAlongTheTextsOwnAxes) {
    const int degrees = GetParam();
    const std::optional<float> angle =
        degrees == 0 ? std::nullopt : std::optional<float>(float(degrees));
    TextLayout centred;
    centred.horizontal = HorizontalAnchor::Centre;
    centred.vertical = VerticalAnchor::Middle;
    const QRect box = inkBox(drawn(centred, angle, "HHHHHHHH"));
    EXPECT_NEAR(box.center().x(), 120, 3) << degrees;
    EXPECT_NEAR(box.center().y(), 120, 3) << degrees;

    // Right and bottom: the far corner of the line is on the position, so the ink lies on
    // the side of it the text turns from.
    TextLayout far;
    far.horizontal = HorizontalAnchor::Right;
    far.vertical = VerticalAnchor::Bottom;
    const QRect ends = inkBox(drawn(far, angle, "HHHHHHHH"));
    const double radians = degrees * M_PI / 180.0;
    // The line's direction on screen (y down) and the direction from its top to its bottom.
    const double alongX = std::cos(radians), alongY = -std::sin(radians);
    const double downX = std::sin(radians), downY = std::cos(radians);
    const QPointF centre = ends.toRectF().center();
    // From the position back to the centre of the ink is against both directions.
    const double along = (centre.x() - 120) * alongX + (centre.y() - 120) * alongY;
    const double down = (centre.x() - 120) * downX + (centre.y() - 120) * downY;
    EXPECT_LT(along, -20) << degrees;
    EXPECT_LT(down, -3) << degrees;
}

INSTANTIATE_TEST_SUITE_P(Angles, Anchor, ::testing::Values(0, 37, 90, 180, 359));

TEST(LaidOutText, AWideTextShrinksToTheLargestWholeSizeThatFitsAndNeverGrows) {
    const QString longName = "Market, small and crowded";
    const QFont font = arial(14);
    for (const bool turned : {false, true}) {
        const double points = fittedPoints(font, longName, turned, 100);
        EXPECT_LT(points, 14) << turned;
        EXPECT_EQ(points, std::floor(points)) << "whole sizes";
        EXPECT_GE(points, 6);
        if (points > 6) {
            // One point larger would not fit.
            QFont larger = font;
            larger.setPointSizeF(points + 1);
            EXPECT_LT(fittedPoints(larger, longName, turned, 100), points + 1) << turned;
        }
        EXPECT_EQ(fittedPoints(font, "Hi", turned, 100), 14) << "never grows";
        EXPECT_EQ(fittedPoints(font, longName, turned, 5), 6) << "down to 6 only";
    }
    TextLayout fit;
    fit.fitWidth = 100;
    EXPECT_LE(inkBox(drawn(fit, std::nullopt, longName)).width(), 100);
    EXPECT_LE(inkBox(drawn(fit, 90.0f, longName)).height(), 101);
}

TEST(LaidOutText, ShadowGoesFirstAndTheOutlineUnderTheLetters) {
    TextLayout effects;
    effects.outlineWidth = 3;
    effects.outlineColour = palette::Red;
    const QImage outlined = drawn(effects, std::nullopt, "I", 40);
    const QImage plain = drawn(TextLayout{}, std::nullopt, "I", 40);
    // The stem of the I stays black under its outline; red surrounds it.
    int black = 0, red = 0;
    for (int y = 0; y < outlined.height(); ++y) {
        for (int x = 0; x < outlined.width(); ++x) {
            black += outlined.pixel(x, y) == qRgb(0, 0, 0);
            red += outlined.pixel(x, y) == qRgb(255, 0, 0);
        }
    }
    EXPECT_GT(red, 100);
    EXPECT_GT(black, 50) << "the outline covered the letters";
    const QRect wider = inkBox(outlined), narrow = inkBox(plain);
    EXPECT_NEAR(wider.width(), narrow.width() + 6, 2) << "3 pixels each side";

    effects.shadowDx = 4;
    effects.shadowDy = 5;
    effects.shadowColour = rgbColour(0, 0, 255);
    const QImage shadowed = drawn(effects, std::nullopt, "I", 40);
    const QRect all = inkBox(shadowed);
    EXPECT_EQ(all.right(), wider.right() + 4);
    EXPECT_EQ(all.bottom(), wider.bottom() + 5);
    // Where the letter is, the letter wins over its own shadow.
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) == qRgb(0, 0, 0)) {
                ASSERT_EQ(shadowed.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
            }
        }
    }
}

// A tile shows the part of an outlined, shadowed text that falls on it exactly as a larger
// picture would: letters beyond the tile's edge still outline and shadow onto it.
TEST(LaidOutText, ATileShowsItsPartOfTheEffectsOfTextRunningOffIt) {
    TextLayout effects;
    effects.horizontal = HorizontalAnchor::Centre;
    effects.outlineWidth = 4;
    effects.outlineColour = palette::Red;
    effects.shadowDx = -6;
    effects.shadowDy = 5;
    for (const std::optional<float> angle : {std::optional<float>(), std::optional<float>(37.0f)}) {
        const QImage whole = drawn(effects, angle, "Harbour Road", 20);
        for (const QPoint corner : {QPoint(100, 100), QPoint(60, 110), QPoint(150, 95)}) {
            QImage tile = blank(40);
            TextSurface surface(tile);
            DrawLaidOutText(surface, arial(20), "Harbour Road", angle,
                            std::int16_t(120 - corner.x()), std::int16_t(120 - corner.y()),
                            effects);
            EXPECT_EQ(tile, whole.copy(QRect(corner, QSize(40, 40))))
                << corner.x() << "," << corner.y() << (angle ? " turned" : "");
        }
    }
}

} // namespace
} // namespace qrb
