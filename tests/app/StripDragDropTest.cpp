// Drag and drop in the strip, with synthesized drag events: rows dragged within the strip
// land in the gap the line shows, picture files dropped import at the gap, a library
// dropped anywhere on the window opens, a row dragged out carries its picture as a PNG.

#include "app/StripDragDrop.h"
#include "document/TileTransfer.h"

#include "imaging/render/DibConversion.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "widgets/TileStrip.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <list>

namespace qrb::test {
namespace {

class StripDrops : public ::testing::Test {
protected:
    StripDrops() {
        TileSet set;
        for (int i = 1; i <= 40; ++i) {
            Tile t = patternTile(30, 20, i);
            t.smallColour = ColourValue(i);
            set.append(std::move(t));
        }
        document.openTiles(std::move(set), QStringLiteral("lib.qrb"));
        window.resize(300, 400);
        strip = new TileStrip(document.strip(), &window);
        strip->setGeometry(0, 0, 280, 400);
        bar = new QScrollBar(Qt::Vertical, &window);
        strip->setScrollBars(bar, new QScrollBar(Qt::Horizontal, &window));
        strip->updateScrollRange(true);
        drops = new StripDragDrop(document, strip, bar, &window,
                                  {[this](const QStringList& p, int gap) {
                                       imported = {p, gap};
                                   },
                                   [this](const QString& path) { opened = path; },
                                   [this](const QByteArray& tiles, int gap) {
                                       carried = {tiles, gap};
                                   }});
        // Presses reach the document as in the window.
        QObject::connect(strip, &TileStrip::rowPressed,
                         [this](int tile, RowPart part, MouseButton button, Modifiers modifiers) {
                             document.press(tile, part, button, modifiers);
                         });
        window.show();
    }
    // The mouse as a user moves it over the strip.
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(strip->mapToGlobal(at)), button, held,
                          modifiers);
        QApplication::sendEvent(strip, &event);
    }
    QPoint rowPoint(int k) const { return QPoint(10, middleOf(k)); }
    // The pixel row in the middle of tile k's frame.
    int middleOf(int k) const {
        const RowGeometry g = document.strip().rowGeometry(k);
        return strip->toPixelsY(g.frameTop + g.frameHeight / 2);
    }
    // Sends a drag of `data` over `target` at y and drops it there unless `drop` is false.
    bool dragTo(QWidget* target, QMimeData* data, int y, bool drop = true) {
        const QPoint at(40, y);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        if (drop) {
            QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                               Qt::NoModifier);
            QCoreApplication::sendEvent(target, &dropped);
        }
        QCoreApplication::processEvents();
        return true;
    }
    std::vector<int> order() const {
        std::vector<int> o;
        for (int i = 1; i <= 6; ++i)
            o.push_back(int(document.tiles().tile(i).smallColour));
        return o;
    }
    // Kept until the fixture ends, as a desktop keeps a drag's data while it runs.
    QMimeData* files(const QStringList& paths) {
        auto* data = &dragged.emplace_back();
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        data->setUrls(urls);
        return data;
    }

    std::list<QMimeData> dragged;
    Document document;
    QWidget window;
    TileStrip* strip = nullptr;
    QScrollBar* bar = nullptr;
    StripDragDrop* drops = nullptr;
    std::pair<QByteArray, int> carried;
    std::pair<QStringList, int> imported;
    QString opened;
    TempDir dir;
};

TEST_F(StripDrops, RowsDraggedWithinTheStripMoveToTheLineShown) {
    // Tiles 2 and 3 marked: a drag from either takes both.
    document.press(2, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
    document.press(3, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
    ASSERT_EQ(StripDragDrop::rowsToDrag(document, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(StripDragDrop::rowsToDrag(document, 5), (std::vector<int>{5}));

    std::unique_ptr<QMimeData> data(StripDragDrop::dragData(document, {2, 3}));
    const RowGeometry sixth = document.strip().rowGeometry(6);
    // The upper half of row 6: the gap before it, with the line at its frame's top.
    ASSERT_TRUE(dragTo(strip, data.get(), middleOf(6) - 2, false));
    EXPECT_EQ(drops->shownGap(), 6);
    const QWidget* line = strip->findChild<QWidget*>(QStringLiteral("dropLine"));
    ASSERT_TRUE(line && line->isVisible());
    EXPECT_EQ(line->geometry().center().y(), strip->toPixelsY(sixth.frameTop));
    QDragLeaveEvent leave; // Escape ends the desktop's drag with a leave
    QCoreApplication::sendEvent(strip, &leave);
    EXPECT_FALSE(line->isVisible());
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3, 4, 5, 6}));

    ASSERT_TRUE(dragTo(strip, data.get(), middleOf(6) - 2));
    EXPECT_EQ(order(), (std::vector<int>{1, 4, 5, 2, 3, 6}));
    EXPECT_EQ(document.strip().selectedTiles(), (std::vector<int>{1, 4, 5}));
    document.undo();
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

// Marked rows stay marked at the press, so a drag carries them all; a press and release
// without moving is the click it always was.
TEST_F(StripDrops, APressOnAMarkedRowDragsEveryMarkedRowAndAClickStillSelects) {
    for (int k : {1, 5, 6, 7}) { // tile 1, the current one, unmarked
        mouse(QEvent::MouseButtonPress, rowPoint(k), Qt::LeftButton, Qt::ControlModifier);
        mouse(QEvent::MouseButtonRelease, rowPoint(k), Qt::NoButton, Qt::ControlModifier);
    }
    ASSERT_EQ(document.strip().selectedTiles(), (std::vector<int>{5, 6, 7}));
    // The desktop's drag loop, played here: the pointer goes above row 1 and lets go.
    drops->setDragLoop([this](QDrag* drag) {
        ASSERT_TRUE(dragTo(strip, drag->mimeData(), strip->toPixelsY(0) + 1));
    });
    mouse(QEvent::MouseButtonPress, rowPoint(7), Qt::LeftButton);
    EXPECT_EQ(document.strip().selectedTiles(), (std::vector<int>{5, 6, 7}))
        << "the press alone keeps the marks";
    mouse(QEvent::MouseMove, rowPoint(7) - QPoint(0, 20), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, rowPoint(7) - QPoint(0, 20), Qt::NoButton);
    EXPECT_EQ(order(), (std::vector<int>{5, 6, 7, 1, 2, 3}));
    EXPECT_EQ(document.strip().selectedTiles(), (std::vector<int>{1, 2, 3}));

    mouse(QEvent::MouseButtonPress, rowPoint(2), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, rowPoint(2), Qt::NoButton);
    EXPECT_EQ(document.strip().selectedTiles(), (std::vector<int>{2}));
    EXPECT_EQ(document.currentTile(), 2);
    EXPECT_FALSE(document.strip().multiSelect());
}

TEST_F(StripDrops, DraggingNearTheBottomScrollsTheStrip) {
    std::unique_ptr<QMimeData> data(StripDragDrop::dragData(document, {1}));
    ASSERT_TRUE(dragTo(strip, data.get(), strip->height() - 3, false));
    const int before = bar->value();
    QTest::qWait(200);
    EXPECT_GT(bar->value(), before);
    // The line shows the gap under the pointer after the rows scrolled by.
    EXPECT_EQ(drops->shownGap(), document.strip().gapAt(strip->toContentY(strip->height() - 3)));
}

TEST_F(StripDrops, FilesImportAtTheGapAndALibraryOpens) {
    // Names that are no files are not taken.
    EXPECT_FALSE(dragTo(strip, files({QStringLiteral("/x/a.png"), QStringLiteral("/x/b.jpg")}),
                        middleOf(3) + 2));
    const QString a = QString::fromStdString((dir / "a.png").string());
    const QString lib = QString::fromStdString((dir / "other.qrb").string());
    QImage(2, 2, QImage::Format_RGB32).save(a);
    ASSERT_TRUE(dragTo(strip, files({a}), middleOf(3) + 2));
    EXPECT_EQ(imported.first, QStringList{a});
    EXPECT_EQ(imported.second, 4);
    // A library on the window (not the strip) opens, after the save question.
    ASSERT_TRUE(dragTo(&window, files({lib}), 10));
    EXPECT_EQ(opened, lib);
    // Pictures beside the strip: where Import Images puts them.
    ASSERT_TRUE(dragTo(&window, files({a}), 10));
    EXPECT_EQ(imported.second, 0);
}

TEST_F(StripDrops, RowsFromAnotherWindowAreCopiedWholeNotMoved) {
    // Another window's library: its rows 2 and 3 dropped before this strip's row 4.
    TileSet set;
    for (int i = 1; i <= 3; ++i) {
        Tile t = patternTile(12 + i, 9, 100 + i);
        t.smallColour = ColourValue(100 + i);
        set.append(std::move(t));
    }
    Document other;
    other.openTiles(std::move(set), QStringLiteral("other.qrb"));
    std::unique_ptr<QMimeData> data(StripDragDrop::dragData(other, {2, 3}));
    ASSERT_TRUE(dragTo(strip, data.get(), middleOf(4) - 2));
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3, 4, 5, 6})); // nothing of ours moved
    QCoreApplication::processEvents();
    EXPECT_EQ(carried.second, 4);
    const std::vector<Tile> tiles = decodeTiles(carried.first, defaultMemoryBudget());
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles[0], other.tiles().tile(2));
    EXPECT_EQ(tiles[1], other.tiles().tile(3));
}

TEST_F(StripDrops, ARowDraggedOutCarriesItsPictureAsPng) {
    std::unique_ptr<QMimeData> data(StripDragDrop::dragData(document, {7}));
    ASSERT_TRUE(data->hasFormat(QStringLiteral("image/png")));
    const QImage png = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    EXPECT_EQ(toDibImage(png), document.tiles().tile(7).full);
    EXPECT_EQ(StripDragDrop::draggedRows(data.get()), (std::vector<int>{7}));
    QMimeData foreign;
    foreign.setData(QStringLiteral("application/x-qrbtexteditor-tile-rows"), "1:3");
    EXPECT_TRUE(StripDragDrop::draggedRows(&foreign).empty());
}

} // namespace
} // namespace qrb::test
