// Text in a box: where the lines break and land, how far it shrinks, what is cut, where an
// icon sits, and which characters the fonts draw.

#include "text/render/TextBox.h"

#include <gtest/gtest.h>

#include <QRect>

namespace qrb {
namespace {

constexpr int kX = 150;
constexpr int kY = 150;

QFont arial(double points) {
    QFont font;
    font.setFamily("Arial");
    font.setPointSizeF(points);
    return font;
}

// The box of the pixels that are not white (or, with `only`, that have that colour).
QRect inkBox(const QImage& image, std::optional<QRgb> only = std::nullopt) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) | 0xFF000000;
            if (only ? p == *only : p != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

struct Drawn {
    QImage image;
    BoxOutcome outcome;
};

Drawn drawBox(const std::vector<BoxPiece>& pieces, std::optional<QSize> box, TextLayout layout = {},
              double points = 12, std::optional<float> angle = std::nullopt) {
    Drawn d{QImage(400, 400, QImage::Format_RGB32), {}};
    d.image.fill(Qt::white);
    TextSurface surface(d.image);
    d.outcome = DrawTextBox(surface, arial(points), pieces, angle, kX, kY, box, layout);
    return d;
}

Drawn drawBox(const QString& text, QSize box, TextLayout layout = {}, double points = 12) {
    return drawBox({{text, nullptr}}, box, layout, points);
}

// The distance from one line to the next.
int lineHeight(double points) {
    const QSize box(200, 200);
    return inkBox(drawBox("H\nH", box, {}, points).image).height() -
           inkBox(drawBox("H", box, {}, points).image).height();
}

TEST(TextBox, WrapsAtSpacesBreaksLongWordsAndKeepsLineBreaks) {
    const QSize box(90, 200);
    const int spacing = lineHeight(12);
    ASSERT_GT(spacing, 10);
    const QRect one = inkBox(drawBox("Gain two", box).image);
    const QRect wrapped = inkBox(drawBox("Gain two coins and draw a card", box).image);
    EXPECT_LE(wrapped.right(), kX + box.width());
    EXPECT_GE(wrapped.height(), one.height() + 2 * spacing - 2) << "three lines at least";

    const QRect broken = inkBox(drawBox(QString(30, QLatin1Char('W')), box).image);
    EXPECT_LE(broken.right(), kX + box.width()) << "a long word breaks inside the box";
    EXPECT_GE(broken.height(), spacing * 2);

    const QRect twoLines = inkBox(drawBox("Gain\ntwo", box).image);
    EXPECT_NEAR(twoLines.height(), inkBox(drawBox("Gain", box).image).height() + spacing, 2);
    // Without a box a line break is a space: one line.
    const Drawn plain = drawBox({{"Gain\ntwo", nullptr}}, std::nullopt);
    EXPECT_LT(inkBox(plain.image).height(), spacing + 4);
}

TEST(TextBox, EachAnchorPlacesTheBoxAndAlignsItsLines) {
    const QSize box(120, 80);
    const QString text = "Market\nand a longer line";
    const QRect leftTop = inkBox(drawBox(text, box).image);
    EXPECT_NEAR(leftTop.left(), kX, 2);
    EXPECT_NEAR(leftTop.top(), kY, 4);
    const struct {
        HorizontalAnchor h;
        VerticalAnchor v;
        double boxLeft, boxTop; // where the box lies for that anchor at (kX, kY)
    } cases[] = {
        {HorizontalAnchor::Centre, VerticalAnchor::Middle, kX - 60, kY - 40},
        {HorizontalAnchor::Right, VerticalAnchor::Bottom, kX - 120, kY - 80},
        {HorizontalAnchor::Right, VerticalAnchor::Top, kX - 120, kY},
    };
    for (const auto& c : cases) {
        TextLayout layout;
        layout.horizontal = c.h;
        layout.vertical = c.v;
        const QRect ink = inkBox(drawBox(text, box, layout).image);
        const double inkCentreX = (ink.left() + ink.right() + 1) / 2.0;
        const double inkCentreY = (ink.top() + ink.bottom() + 1) / 2.0;
        if (c.h == HorizontalAnchor::Centre)
            EXPECT_NEAR(inkCentreX, c.boxLeft + 60, 2) << "lines centred in the box";
        else
            EXPECT_NEAR(ink.right() + 1, c.boxLeft + 120, 2) << "lines flush right";
        if (c.v == VerticalAnchor::Middle)
            EXPECT_NEAR(inkCentreY, c.boxTop + 40, 4) << "the block centred";
        else if (c.v == VerticalAnchor::Bottom)
            EXPECT_NEAR(ink.bottom() + 1, c.boxTop + 80, 5) << "the block at the bottom";
        else
            EXPECT_NEAR(ink.top(), c.boxTop, 4);
    }
}

TEST(TextBox, ShrinksToFitThenCutsAtTheBoxAtSixPoints) {
    const QString rules = "Move one card from any discard pile to the bottom of its deck";
    const Drawn roomy = drawBox(rules, QSize(200, 200), {}, 14);
    EXPECT_TRUE(roomy.outcome.fits);
    EXPECT_EQ(roomy.outcome.points, 14);

    const Drawn shrunk = drawBox(rules, QSize(100, 40), {}, 14);
    EXPECT_TRUE(shrunk.outcome.fits);
    EXPECT_LT(shrunk.outcome.points, 14);
    EXPECT_GE(shrunk.outcome.points, 6);
    EXPECT_TRUE(QRect(kX, kY, 100, 40).contains(inkBox(shrunk.image)));
    // One point more would not have fitted.
    const Drawn larger = drawBox(rules, QSize(100, 40000), {}, shrunk.outcome.points + 1);
    EXPECT_GT(inkBox(larger.image).height(), 40 - 2);

    TextLayout centred;
    centred.horizontal = HorizontalAnchor::Centre;
    centred.vertical = VerticalAnchor::Middle;
    for (const TextLayout& layout : {TextLayout{}, centred}) {
        const Drawn cut = drawBox(rules + " " + rules + " " + rules, QSize(60, 20), layout, 14);
        EXPECT_FALSE(cut.outcome.fits);
        EXPECT_EQ(cut.outcome.points, 6);
        const QRect boxOnTile =
            layout == centred ? QRect(kX - 30, kY - 10, 60, 20) : QRect(kX, kY, 60, 20);
        EXPECT_TRUE(boxOnTile.contains(inkBox(cut.image))) << "nothing drawn past the box";
        EXPECT_LE(inkBox(cut.image).top(), boxOnTile.top() + 3) << "cut text starts at the top";
    }
}

TEST(TextBox, TheBoxTurnsWithTheText) {
    // At 90 degrees a 100 x 30 box anchored left top at (kX, kY) stands upwards from it.
    const Drawn turned =
        drawBox({{"Gain two coins and a card", nullptr}}, QSize(100, 30), {}, 9, 90.0f);
    const QRect ink = inkBox(turned.image);
    EXPECT_TRUE(QRect(kX, kY - 100, 30, 100).adjusted(-1, -1, 1, 1).contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    EXPECT_GT(ink.height(), ink.width());
}

TEST(TextBox, AnIconIsAsHighAsTheLettersReachKeepsItsProportionsAndSitsOnTheLine) {
    QImage icon(10, 20, QImage::Format_ARGB32_Premultiplied);
    icon.fill(qRgb(255, 0, 0));
    const QRgb red = qRgb(255, 0, 0);
    const Drawn drawn =
        drawBox({{"Gain 2 ", nullptr}, {{}, &icon}, {" H", nullptr}}, QSize(200, 100), {}, 18);
    const QRect ink = inkBox(drawn.image, red);
    const QRect capital = inkBox(drawBox("H", QSize(200, 100), {}, 18).image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.height(), 2 * ink.width(), 2) << "proportions kept";
    EXPECT_GE(ink.height(), capital.height()) << "as high as the ascent, above the capitals";
    EXPECT_NEAR(ink.bottom(), capital.bottom(), 1) << "on the baseline";
    EXPECT_GT(ink.left(), kX + 20) << "after the words before it";

    // An icon counts as a word: the line wraps before it when it does not fit.
    const int words = inkBox(drawBox("Gain two", QSize(200, 100), {}, 18).image).width();
    const Drawn wrapped =
        drawBox({{"Gain two ", nullptr}, {{}, &icon}}, QSize(words + 2, 100), {}, 18);
    EXPECT_GT(inkBox(wrapped.image, red).top(), capital.bottom());
}

TEST(TextBox, CharactersOutsideTheFaceAreDrawnByAnotherFontAndTheRestReported) {
    // Crossed swords are in no face of Arial's kind, yet some installed font has them.
    const Drawn swords = drawBox(QString::fromUtf8("⚔"), QSize(100, 100));
    EXPECT_FALSE(inkBox(swords.image).isEmpty());
    EXPECT_TRUE(fontsDraw(arial(12), U'⚔'));
    EXPECT_TRUE(fontsDraw(arial(12), U'é'));
    EXPECT_TRUE(fontsDraw(arial(12), U' '));
    EXPECT_FALSE(fontsDraw(arial(12), char32_t(0x10FFFD))) << "private use: no font has it";
    EXPECT_FALSE(fontsDraw(arial(12), char32_t(0x0378))) << "not assigned";
}

} // namespace
} // namespace qrb
