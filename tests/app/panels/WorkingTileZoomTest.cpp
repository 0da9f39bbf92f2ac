// The working tile zoomed, dragged and nudged: the zoom's steps and limits, a drag that
// moves the text by whole tile pixels at any zoom as one undo step, a click that stays a
// click, the arrow keys, and the zoom remembered by the next window.

#include "app/panels/WorkingTilePanel.h"
#include "support/ui/WindowFixture.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QSettings>
#include <QWheelEvent>

namespace qrb::test {
namespace {

class Zoom : public WindowFixture {
protected:
    ~Zoom() override { QSettings().remove(QStringLiteral("view")); }

    WorkingTilePanel& panel() { return window->workingTile(); }
    QString zoomShown() const { return ui().statusPanels->panelText(6); }
    QPoint position() const {
        return {window->document().placement().x, window->document().placement().y};
    }
    // A library, a text placed once so the position takes input, and the text live again.
    void openAndPlace() {
        open(library("lib.qrb", 2, 40, 40));
        ui().textBox->setText("Hi");
        ui().placeButton->click();
        ui().xBar->setValue(3);
        ui().yBar->setValue(4);
    }
    // The left button pressed at `from`, moved to `to` in `steps` steps, released there.
    void drag(QPoint from, QPoint to, int steps = 4) {
        QWidget* box = ui().workingTile;
        auto send = [box](QEvent::Type type, QPoint at, Qt::MouseButton button,
                          Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(at), QPointF(box->mapToGlobal(at)), button, held,
                              Qt::NoModifier);
            QApplication::sendEvent(box, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int i = 1; i <= steps; ++i)
            send(QEvent::MouseMove, from + (to - from) * i / steps, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
};

TEST_F(Zoom, StepsStopAtTheLimitsAndActualSizeRestoresTheLayout) {
    open(library("lib.qrb", 2, 40, 40));
    const QRect atOne = inClient(ui().workingTile);
    EXPECT_EQ(panel().zoom(), 1);
    for (double below : {0.5, 0.25, 0.125}) {
        action(Command::ZoomOut)->trigger();
        EXPECT_EQ(panel().zoom(), below);
    }
    EXPECT_EQ(ui().workingTile->size(), QSize(5, 5));
    EXPECT_FALSE(action(Command::ZoomOut)->isEnabled());
    for (int i = 0; i < 20; ++i)
        action(Command::ZoomIn)->trigger();
    EXPECT_EQ(panel().zoom(), WorkingTilePanel::kMaximumZoom);
    EXPECT_EQ(ui().workingTile->size(), QSize(40, 40) * WorkingTilePanel::kMaximumZoom);
    EXPECT_FALSE(action(Command::ZoomIn)->isEnabled());
    // Larger than its frame it scrolls there; the frame and the strip stay where they were.
    EXPECT_TRUE(ui().workingTileView->horizontalScrollBar()->maximum() > 0);
    action(Command::ZoomOut)->trigger();
    EXPECT_EQ(panel().zoom(), WorkingTilePanel::kMaximumZoom - 1);
    action(Command::ActualSize)->trigger();
    EXPECT_EQ(panel().zoom(), 1);
    EXPECT_EQ(inClient(ui().workingTile), atOne);
    // Ctrl with the wheel, two notches anywhere over the frame.
    QWidget* viewport = ui().workingTileView->viewport();
    QWheelEvent wheel(QPointF(5, 5), QPointF(viewport->mapToGlobal(QPoint(5, 5))), QPoint(),
                      QPoint(0, 240), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    EXPECT_EQ(panel().zoom(), 3);
    // Fit: the largest whole zoom that shows the whole 40-pixel tile in its 174-pixel frame.
    action(Command::FitWorkingTile)->trigger();
    EXPECT_EQ(panel().zoom(), 4);
    EXPECT_TRUE(panel().fitsWorkingTile());
}

TEST_F(Zoom, DragMovesTheTextByWholeTilePixelsAsOneUndoStep) {
    for (int zoom : {2, 3}) {
        SCOPED_TRACE(zoom);
        openAndPlace();
        action(Command::ActualSize)->trigger();
        for (int i = 1; i < zoom; ++i)
            action(Command::ZoomIn)->trigger();
        const QPoint before = position();
        drag(QPoint(10, 10), QPoint(10, 10) + QPoint(12, 7) * zoom);
        EXPECT_EQ(position(), before + QPoint(12, 7));
        // The bars and the fields follow, as if they had been moved.
        EXPECT_EQ(ui().xBar->value(), before.x() + 12);
        EXPECT_EQ(ui().yField->text(), QString::number(before.y() + 7));
        EXPECT_EQ(action(Command::Undo)->text(), "&Undo Move Text");
        action(Command::Undo)->trigger();
        EXPECT_EQ(position(), before); // the whole drag, not its last step
    }
}

TEST_F(Zoom, ClickWithoutMovementStillHandsTheTileToThePreview) {
    openAndPlace();
    action(Command::ZoomIn)->trigger();
    action(Command::AutoCreateFromWorkingTile)->trigger(); // the previews show
    const QPoint before = position();
    ASSERT_NE(window->document().working().previewFull, ui().workingTile->image());
    drag(QPoint(10, 10), QPoint(11, 10)); // a hand that shakes a little
    EXPECT_EQ(position(), before);
    EXPECT_EQ(window->document().working().previewFull, ui().workingTile->image());
}

TEST_F(Zoom, ArrowKeysNudgeTheTextWithinTheBarsRange) {
    open(library("lib.qrb", 1, 40, 40));
    ui().textBox->setText("Hi");
    key(ui().workingTile, Qt::Key_Right); // not placed yet: the position takes no input
    EXPECT_EQ(position(), QPoint(0, 0));
    drag(QPoint(5, 5), QPoint(30, 30));
    EXPECT_EQ(position(), QPoint(0, 0));

    ui().placeButton->click();
    key(ui().workingTile, Qt::Key_Right);
    key(ui().workingTile, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(position(), QPoint(1, 10));
    for (int i = 0; i < 5; ++i)
        key(ui().workingTile, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(position(), QPoint(1, -5)); // the bars' end
    EXPECT_EQ(ui().yBar->value(), -5);
}

// Fit shows any tile whole, below 1x when it must; the zoom is shown and the View menu
// says whether Actual Size or Fit holds.
TEST_F(Zoom, FitShowsALargeTileWholeAndTheZoomIsShown) {
    open(library("big.qrb", 1, 720, 477));
    action(Command::ActualSize)->trigger();
    EXPECT_EQ(zoomShown(), "100%");
    EXPECT_TRUE(action(Command::ActualSize)->isChecked());
    EXPECT_FALSE(action(Command::FitWorkingTile)->isChecked());
    action(Command::FitWorkingTile)->trigger();
    EXPECT_EQ(panel().zoom(), 0.25);
    EXPECT_EQ(zoomShown(), "25%");
    EXPECT_TRUE(action(Command::FitWorkingTile)->isChecked());
    EXPECT_FALSE(action(Command::ActualSize)->isChecked());
    const QRect frame = ui().tileFrames[0]->geometry();
    EXPECT_TRUE(frame.contains(inClient(ui().workingTile))) << "the whole tile in view";
    // Text placed in the middle of the tile is in view too.
    ui().textBox->setText("Mid");
    ui().placeButton->click();
    ui().xBar->setValue(360);
    ui().yBar->setValue(238);
    const QPoint anchor = *ui().workingTile->anchor() * panel().zoom();
    EXPECT_TRUE(frame.contains(ui().workingTile->mapTo(ui().client, anchor)));

    action(Command::ZoomIn)->trigger();
    EXPECT_EQ(zoomShown(), "50%");
    EXPECT_FALSE(action(Command::FitWorkingTile)->isChecked());
    action(Command::ActualSize)->trigger();
    action(Command::ActualSize)->trigger(); // chosen again: still checked
    EXPECT_TRUE(action(Command::ActualSize)->isChecked());
    action(Command::ZoomIn)->trigger();
    EXPECT_EQ(zoomShown(), "200%");
    action(Command::ActualSize)->trigger();
    for (int i = 0; i < 3; ++i)
        action(Command::ZoomOut)->trigger();
    EXPECT_EQ(zoomShown(), "12.5%");
    EXPECT_EQ(ui().workingTile->size(), QSize(90, 60));
}

TEST_F(Zoom, IsRememberedByTheNextWindow) {
    open(library("lib.qrb", 1, 40, 40));
    action(Command::ActualSize)->trigger();
    action(Command::ZoomIn)->trigger();
    action(Command::ZoomIn)->trigger();
    window = std::make_unique<MainWindow>(platform.platform());
    EXPECT_EQ(panel().zoom(), 3);
    action(Command::FitWorkingTile)->trigger();
    window = std::make_unique<MainWindow>(platform.platform());
    window->show();
    open(library("other.qrb", 1, 20, 20));
    EXPECT_TRUE(panel().fitsWorkingTile());
    EXPECT_EQ(panel().zoom(), 8); // fits the new tile
}

} // namespace
} // namespace qrb::test
