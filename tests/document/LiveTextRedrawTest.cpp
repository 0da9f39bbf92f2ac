// A change of the text alone redraws the working tile's view only where the text was and
// is. Whatever the angle, anchor, fit and effects, the view must be pixel for pixel the
// picture with the text drawn on it afresh, and the area the document reports for the
// repaint must hold every pixel that changed.

#include "document/Document.h"

#include "support/QrbFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qrb::test {
namespace {

struct Look {
    std::string name;
    std::function<void(TextStyle&)> set;
};

QImage artwork(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, ((x ^ y) * 3) & 255));
    return image;
}

QImage redrawnWhole(const Document& d) {
    QImage expected = d.working().picture.copy();
    drawPlacement(expected, d.placement());
    return expected;
}

// The first pixel that differs outside `area`, if any.
std::optional<QPoint> changedOutside(const QImage& before, const QImage& after, QRect area) {
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y) && !area.contains(x, y))
                return QPoint(x, y);
    return std::nullopt;
}

class LiveTextRedraw : public ::testing::TestWithParam<Look> {};

TEST_P(LiveTextRedraw, IsAFullRedrawAndItsAreaHoldsEveryChangedPixel) {
    Document doc;
    TileSet tiles;
    tiles.append(patternTile(40, 40, 1));
    doc.openTiles(std::move(tiles), QStringLiteral("lib.qrb"));
    doc.paste(artwork(220, 160));
    TextStyle style = doc.placement().style;
    style.size = 14;
    GetParam().set(style);
    doc.setStyle(style);
    doc.setText(QStringLiteral("Quay 7 gj"));

    // Typing, moves (to the edges and past them), turns through the quarters, a restyle and
    // the text emptied and typed again: each a change of the text alone.
    const std::vector<std::pair<std::string, std::function<void()>>> steps{
        {"move", [&] { doc.setX(60); }},
        {"move down", [&] { doc.setY(70); }},
        {"type", [&] { doc.setText(QStringLiteral("Quay 7 gjW")); }},
        {"turn 1", [&] { doc.setAngle(1); }},
        {"turn 45", [&] { doc.setAngle(45); }},
        {"turn 90", [&] { doc.setAngle(90); }},
        {"turn 181", [&] { doc.setAngle(181); }},
        {"turn 300", [&] { doc.setAngle(300); }},
        {"step", [&] { doc.setX(61); }},
        {"past the left edge", [&] { doc.setX(-5); }},
        {"past the bottom", [&] { doc.setY(158); }},
        {"bold", [&] { doc.setBold(true); }},
        {"unturned", [&] { doc.resetAngle(); }},
        {"to the far corner", [&] { doc.moveTextTo(219, 159); }},
        {"emptied", [&] { doc.setText(QString()); }},
        {"typed again", [&] { doc.setText(QStringLiteral("Back")); }},
        {"home", [&] { doc.moveTextTo(0, 0); }},
    };
    QImage shown = doc.workingImage().copy();
    ASSERT_EQ(shown, redrawnWhole(doc));
    for (const auto& [name, step] : steps) {
        SCOPED_TRACE(name);
        step();
        const QImage& now = doc.workingImage();
        ASSERT_EQ(now, redrawnWhole(doc));
        const std::optional<QPoint> outside = changedOutside(shown, now, doc.liveTextRepaintArea());
        EXPECT_FALSE(outside) << "pixel " << outside->x() << ", " << outside->y()
                              << " changed outside the reported area";
        shown = now.copy();
    }
}

const Look kLooks[] = {
    {"Plain", [](TextStyle&) {}},
    {"BoldItalicUnderlinedStruckLarge",
     [](TextStyle& s) {
         s.size = 18;
         s.bold = s.italic = s.underline = s.strikethrough = true;
     }},
    {"OutlineAndShadow",
     [](TextStyle& s) {
         s.layout.outlineWidth = 3;
         s.layout.shadowDx = 4;
         s.layout.shadowDy = 5;
     }},
    {"WidestOutline", [](TextStyle& s) { s.layout.outlineWidth = TextLayout::kMaxOutlineWidth; }},
    {"FarShadowUpAndLeft",
     [](TextStyle& s) {
         s.layout.shadowDx = -TextLayout::kMaxShadowOffset;
         s.layout.shadowDy = -9;
     }},
    {"CentredMiddleOutlined",
     [](TextStyle& s) {
         s.layout.horizontal = HorizontalAnchor::Centre;
         s.layout.vertical = VerticalAnchor::Middle;
         s.layout.outlineWidth = 2;
     }},
    {"RightBottomShadowed",
     [](TextStyle& s) {
         s.layout.horizontal = HorizontalAnchor::Right;
         s.layout.vertical = VerticalAnchor::Bottom;
         s.layout.shadowDx = 3;
         s.layout.shadowDy = 3;
     }},
    {"FittedToFortyPixels", [](TextStyle& s) { s.layout.fitWidth = 40; }},
};

INSTANTIATE_TEST_SUITE_P(Looks, LiveTextRedraw, ::testing::ValuesIn(kLooks),
                         [](const auto& testCase) { return testCase.param.name; });

// A new picture under the text (a paste, a turn of the tile) is redrawn whole: nothing of
// the old picture stays where the text was not.
TEST(LiveTextRedraw, ANewPictureUnderTheTextIsRedrawnWhole) {
    Document doc;
    TileSet tiles;
    tiles.append(patternTile(40, 40, 1));
    doc.openTiles(std::move(tiles), QStringLiteral("lib.qrb"));
    doc.paste(artwork(120, 90));
    doc.setText(QStringLiteral("Mill"));
    doc.place();
    doc.setX(30);
    ASSERT_EQ(doc.workingImage(), redrawnWhole(doc));
    doc.transform(TransformKind::FlipHorizontal);
    doc.setX(31);
    EXPECT_EQ(doc.workingImage(), redrawnWhole(doc));
    doc.paste(artwork(90, 120).mirrored(true, false));
    doc.setText(QStringLiteral("Weir"));
    EXPECT_EQ(doc.workingImage(), redrawnWhole(doc));
}

} // namespace
} // namespace qrb::test
