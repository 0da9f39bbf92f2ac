// The picture boxes: zooms that keep every picture pixel whole, a zoomed picture drawn as
// crisp squares, and the working tile's mouse and keys (a click stays a click under a
// shaking hand, a drag reports whole tile pixels, arrows nudge).

#include "widgets/ImageBox.h"
#include "widgets/WorkingTileBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace qrb::test {
namespace {

QImage pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(40 * x, 40 * y, 200));
    return image;
}

struct ZoomCase {
    double asked;
    double zoom;
};

class ImageBoxZoom : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ImageBoxZoom, SnapsToAWholeZoomOrAHalvingAndSizesTheBoxByIt) {
    ImageBox box;
    box.setImage(pattern(16, 8));
    box.setZoom(GetParam().asked);
    EXPECT_EQ(box.zoom(), GetParam().zoom);
    EXPECT_EQ(box.size(), QSize(int(16 * GetParam().zoom), int(8 * GetParam().zoom)));
}

INSTANTIATE_TEST_SUITE_P(, ImageBoxZoom,
                         ::testing::Values(ZoomCase{1, 1}, ZoomCase{2.6, 3}, ZoomCase{0.7, 0.5},
                                           ZoomCase{0.3, 0.25}, ZoomCase{100, 16},
                                           ZoomCase{0.01, 0.125}, ZoomCase{-3, 0.125}));

TEST(ImageBox, AZoomedPictureIsDrawnAsCrispSquaresAndAFixedBoxClipsIt) {
    ImageBox box;
    const QImage picture = pattern(4, 3);
    box.setImage(picture);
    box.setZoom(4);
    const QImage shown = box.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(16, 12));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(shown.pixel(x, y), picture.pixel(x / 4, y / 4)) << x << "," << y;

    box.setAutoSize(false);
    box.resize(6, 20);
    box.setImage(pattern(40, 40));
    EXPECT_EQ(box.size(), QSize(6, 20));
}

void send(QWidget& to, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), to.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&to, &event);
}

void press(QWidget& to, QPoint at) {
    send(to, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}
void move(QWidget& to, QPoint at) {
    send(to, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}
void release(QWidget& to, QPoint at) {
    send(to, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void key(QWidget& to, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, code, modifiers);
    QApplication::sendEvent(&to, &event);
}

class WorkingTile : public ::testing::Test {
protected:
    void SetUp() override {
        box.setImage(pattern(20, 20));
        box.setZoom(4);
        box.setMovesText(true);
    }
    WorkingTileBox box;
    QSignalSpy clicks{&box, &ImageBox::clicked};
    QSignalSpy started{&box, &WorkingTileBox::textDragStarted};
    QSignalSpy dragged{&box, &WorkingTileBox::textDragged};
    QSignalSpy nudged{&box, &WorkingTileBox::textNudged};
};

TEST_F(WorkingTile, AShortMoveStillClicksAndADragReportsWholeTilePixelsWithoutAClick) {
    press(box, {10, 10});
    move(box, {11, 10});
    release(box, {11, 10});
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(started.count(), 0);

    press(box, {10, 10});
    move(box, {22, 2}); // 12 and -8 screen pixels at 4x
    move(box, {23, 2}); // still 3 tile pixels across: not reported again
    move(box, {30, 2});
    release(box, {30, 2});
    EXPECT_EQ(started.count(), 1);
    ASSERT_EQ(dragged.count(), 2);
    EXPECT_EQ(dragged.at(0).at(0).toPoint(), QPoint(3, -2));
    EXPECT_EQ(dragged.at(1).at(0).toPoint(), QPoint(5, -2));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(WorkingTile, ArrowsNudgeByOneOrTenAndNothingMovesWhenTheTextDoesNotMove) {
    key(box, Qt::Key_Left);
    key(box, Qt::Key_Down, Qt::ShiftModifier);
    key(box, Qt::Key_Up, Qt::ControlModifier);
    ASSERT_EQ(nudged.count(), 2);
    EXPECT_EQ(nudged.at(0).at(0).toPoint(), QPoint(-1, 0));
    EXPECT_EQ(nudged.at(1).at(0).toPoint(), QPoint(0, 10));

    box.setMovesText(false);
    key(box, Qt::Key_Right);
    press(box, {10, 10});
    move(box, {30, 30});
    release(box, {30, 30});
    EXPECT_EQ(nudged.count(), 2);
    EXPECT_EQ(started.count(), 0);
    EXPECT_EQ(dragged.count(), 0);
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
} // namespace qrb::test
