// The working tile zoomed, dragged and nudged: the zoom's steps and limits, a drag that
// moves the text by whole tile pixels at any zoom as one undo step, a click that stays a
// click, the arrow keys, the repaint of only what the text changed, and the zoom
// remembered by the next window.

#include "app/panels/WorkingTilePanel.h"
#include "support/ui/WindowFixture.h"
#include "widgets/WorkingTileBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QSettings>
#include <QWheelEvent>

#include <functional>
#include <optional>
#include <vector>

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

// What the screen shows of a box: a full render of it at the start, then after each step
// the parts its paint events covered, taken from a full render of it then. Parts the steps
// changed but no paint event covered stay as they were, as on a screen.
class Screen : public QObject {
public:
    explicit Screen(QWidget* box) : box_(box), shown_(render()) { box_->installEventFilter(this); }
    // Lets the box paint what the last step changed, and takes it.
    void settle() {
        QApplication::processEvents();
        const QImage now = render();
        QPainter painter(&shown_);
        painter.setClipRegion(painted_);
        painter.drawImage(0, 0, now);
        painted_ = QRegion();
    }
    // The first pixel in view that differs from a full render of the box now.
    std::optional<QPoint> staleInView() {
        const QImage now = render();
        for (const QRect& part : box_->visibleRegion())
            for (int y = part.top(); y <= part.bottom(); ++y)
                for (int x = part.left(); x <= part.right(); ++x)
                    if (now.pixel(x, y) != shown_.pixel(x, y))
                        return QPoint(x, y);
        return std::nullopt;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !rendering_)
            painted_ += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    // The whole box painted afresh (not a paint the screen would see).
    QImage render() {
        rendering_ = true;
        QImage image = box_->grab().toImage();
        rendering_ = false;
        return image;
    }

    bool rendering_ = false;
    QWidget* box_;
    QImage shown_;
    QRegion painted_;
};

// A change of the text alone repaints only where the text and its anchor were and are: at
// any zoom, grid or none, the screen must then show what repainting the whole box shows.
TEST_F(Zoom, RepaintingOnlyWhereTheTextWasAndIsShowsTheWholeChange) {
    open(library("lib.qrb", 1, 120, 90));
    ui().textBox->setText("Pier 9");
    ui().placeButton->click();
    action(Command::Undo)->trigger(); // the text live again, not placed
    for (const int zoom : {1, 3, WorkingTileBox::kGridZoom, WorkingTilePanel::kMaximumZoom}) {
        SCOPED_TRACE(zoom);
        action(Command::ActualSize)->trigger();
        for (int i = 1; i < zoom; ++i)
            action(Command::ZoomIn)->trigger();
        // The text where the view shows the tile.
        const QPoint corner = ui().workingTile->visibleRegion().boundingRect().topLeft() / zoom;
        ui().xBar->setValue(corner.x() + 2);
        ui().yBar->setValue(corner.y() + 3);
        Screen screen(ui().workingTile);
        const std::vector<std::function<void()>> steps{
            [&] { ui().xBar->setValue(ui().xBar->value() + 1); },
            [&] { ui().angleBar->setValue(40); },
            [&] { ui().textBox->setText("Pier 9W"); },
            [&] { ui().yBar->setValue(ui().yBar->value() + 2); },
            [&] { ui().angleBar->setValue(0); },
            [&] { drag(QPoint(3, 3) * zoom + corner * zoom, QPoint(5, 4) * zoom + corner * zoom); },
            [&] { ui().textBox->setText("P"); },
        };
        for (const auto& step : steps) {
            step();
            screen.settle();
        }
        const std::optional<QPoint> stale = screen.staleInView();
        EXPECT_FALSE(stale) << "the screen is stale at " << stale->x() << ", " << stale->y();
    }
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
