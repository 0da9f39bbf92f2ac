// Building a library in the window as a new user would: File > New, Import Images, the
// Tile menu's moves, Duplicate and Replace, Export Images, tile numbers in the strip and the
// status bar, Recent Libraries across a restart, and drops on the window.

#include "app/RecentLibraries.h"
#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"
#include "tileset/LibraryFile.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUrl>

#include <fstream>

namespace qrb::test {
namespace {

class LibraryBuilding : public WindowFixture {
protected:
    LibraryBuilding() { RecentLibraries::clear(); }
    ~LibraryBuilding() override { RecentLibraries::clear(); }
    // A picture file of one colour.
    QString picture(const std::string& name, QColor colour, QSize size = QSize(24, 16)) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        image.save(q(dir / name));
        return q(dir / name);
    }
    std::vector<ColourValue> colours() const {
        std::vector<ColourValue> v;
        for (const Tile& t : window->document().tiles().tiles())
            v.push_back(t.smallColour);
        return v;
    }
    QAction* recentItem(int k) const { return ui().recentMenu->actions().value(k); }
};

TEST_F(LibraryBuilding, FromNothingToASavedReorderedLibrary) {
    ASSERT_TRUE(ui().newLibrary->isVisible());
    EXPECT_EQ(ui().newLibrary->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    ui().newLibrary->trigger();
    EXPECT_TRUE(window->document().isLibraryOpen());
    ASSERT_TRUE(ui().importImages->isEnabled());

    const QString red = picture("red.png", Qt::red);
    const QString green = picture("green.png", Qt::green);
    const QString blue = picture("blue.png", Qt::blue);
    platform.dialogs->answers.push_back(red + "\n" + green + "\n" + blue);
    EXPECT_EQ(ui().importImages->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    ui().importImages->trigger();
    ASSERT_EQ(window->tileCount(), 3);
    EXPECT_EQ(colours(),
              (std::vector<ColourValue>{palette::Red, rgbColour(0, 255, 0), rgbColour(0, 0, 255)}));
    EXPECT_EQ(panel(1), "3 Tiles");

    press(1);
    EXPECT_EQ(panel(1), "Tile 1 of 3");
    EXPECT_EQ(ui().moveTileDown->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));
    ui().moveTileDown->trigger();
    EXPECT_EQ(colours()[1], palette::Red);
    EXPECT_EQ(window->currentTile(), 2);
    EXPECT_EQ(panel(1), "Tile 2 of 3");
    ui().moveTileToEnd->trigger();
    EXPECT_EQ(colours()[2], palette::Red);
    EXPECT_FALSE(ui().moveTileDown->isEnabled());
    EXPECT_FALSE(ui().moveTileToEnd->isEnabled());
    ui().duplicateTile->trigger();
    EXPECT_EQ(window->tileCount(), 4);
    EXPECT_EQ(window->document().undoText(), QStringLiteral("Duplicate Tile"));

    // Replace: the current tile takes what Create would append.
    press(1);
    ui().flipHorizontal->trigger();
    const QImage made = ui().workingTile->image();
    EXPECT_EQ(ui().replaceTile->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    ui().replaceTile->trigger();
    EXPECT_EQ(window->tileCount(), 4);
    EXPECT_EQ(toQImage(window->document().tiles().tile(1).full), made);

    // The first Save asks for a name; the library is then a recent one.
    platform.dialogs->answers.push_back(q(dir / "made"));
    ui().save->trigger();
    EXPECT_EQ(LibraryFile::load(dir / "made.qrb").count(), 4);
    EXPECT_EQ(RecentLibraries::paths().value(0), q(dir / "made.qrb"));
}

TEST_F(LibraryBuilding, PicturesImportedWithoutALibraryStartANewOne) {
    platform.dialogs->answers.push_back(picture("a.png", Qt::red));
    ui().importImages->trigger();
    EXPECT_TRUE(window->document().isLibraryOpen());
    EXPECT_EQ(window->tileCount(), 1);
    EXPECT_TRUE(window->currentPath().isEmpty());
    EXPECT_TRUE(ui().save->isEnabled());
    platform.dialogs->answers.push_back(std::nullopt); // cancelled: nothing changes
    window->document().undo();
    ui().importImages->trigger();
    EXPECT_EQ(window->tileCount(), 0);

    // Picture files dropped beside the strip go where Import Images puts them.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(picture("b.png", Qt::blue))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(colours(), std::vector<ColourValue>{rgbColour(0, 0, 255)});
}

TEST_F(LibraryBuilding, RecentLibrariesAreRememberedAcrossARestart) {
    const auto first = library("first.qrb", 2, 20, 20);
    const auto second = library("second.qrb", 3, 20, 20);
    open(first);
    open(second);
    std::filesystem::remove(first);
    window.reset();                                        // the program ends ...
    window = std::make_unique<Form2>(platform.platform()); // ... and starts again
    window->show();
    QCoreApplication::processEvents();
    QAction* latest = recentItem(0);
    ASSERT_TRUE(latest);
    EXPECT_EQ(latest->text(), QStringLiteral("&1 second.qrb"));
    EXPECT_TRUE(latest->isEnabled());
    EXPECT_FALSE(recentItem(1)->isEnabled()); // first.qrb is gone: greyed
    EXPECT_EQ(recentItem(1)->toolTip(), q(first));
    latest->trigger();
    EXPECT_EQ(window->tileCount(), 3);
    EXPECT_EQ(window->currentPath(), q(second));
}

TEST_F(LibraryBuilding, ALibraryDroppedOnTheWindowOpensAfterTheSaveQuestion) {
    open(library("lib.qrb", 2, 20, 20));
    makeUnsaved();
    const auto other = library("other.qrb", 5, 20, 20);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(q(other))});
    // Over the window's toolbar, away from the strip.
    auto dropOnWindow = [&] {
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &drop);
        QCoreApplication::processEvents();
    };
    platform.messages->answers.push_back(Answer::Cancel);
    dropOnWindow();
    EXPECT_EQ(window->tileCount(), 2);
    ASSERT_FALSE(platform.messages->shown.empty());
    EXPECT_EQ(platform.messages->shown.back().text, "You you wish to save the current file?");
    platform.messages->answers.push_back(false); // No: drop the changes
    dropOnWindow();
    EXPECT_EQ(window->tileCount(), 5);
}

TEST_F(LibraryBuilding, ANewLibrarysFirstTileIsItsBaseTile) {
    ui().newLibrary->trigger();
    EXPECT_FALSE(ui().pasteBaseImage->isEnabled()) << "no tile to paste yet";
    platform.dialogs->answers.push_back(picture("red.png", Qt::red) + "\n" +
                                        picture("blue.png", Qt::blue));
    ui().importImages->trigger();
    ASSERT_EQ(window->tileCount(), 2);
    EXPECT_EQ(window->baseTile(), 1);
    const QImage base = toQImage(window->document().tiles().tile(1).full);
    EXPECT_EQ(ui().workingTile->image(), base) << "the working tile shows the base tile";
    press(2);
    ui().flipHorizontal->trigger();
    EXPECT_TRUE(ui().pasteBaseImage->isEnabled());
    ui().pasteBaseImage->trigger();
    EXPECT_EQ(ui().workingTile->image(), base);
    ui().textBox->setText("Two");
    ui().createButton->click();
    EXPECT_EQ(window->tileCount(), 3);
    EXPECT_EQ(ui().workingTile->image(), base) << "Create goes back to the base tile";
}

// The frames follow the tiles' size whatever brings the tiles in, and the warning about
// very large tiles comes when they come, once.
TEST_F(LibraryBuilding, ImportedLargePicturesChooseTheLargeLayoutAndWarnOnce) {
    open(library("lib.qrb", 2, 40, 40));
    ASSERT_EQ(ui().tileFrames[0]->width(), 174);
    const int stripLeft = ui().stripFrame->x();
    press(1); // no tile current: the pictures go to the end
    platform.dialogs->answers.push_back(picture("big.png", Qt::red, QSize(720, 477)) + "\n" +
                                        picture("big2.png", Qt::blue, QSize(300, 300)));
    ui().importImages->trigger();
    ASSERT_EQ(window->tileCount(), 4);
    EXPECT_EQ(ui().tileFrames[0]->width(), 260);
    EXPECT_GT(ui().stripFrame->x(), stripLeft);
    EXPECT_EQ(platform.messages->count(
                  "Weird displays will occur with tile sizes greater than 256 X 256"),
              1);
    EXPECT_EQ(platform.messages->count("1 more tile in this library is larger than 256 X 256."), 1);
    ui().undo->trigger();
    EXPECT_EQ(ui().tileFrames[0]->width(), 174);
    EXPECT_EQ(ui().stripFrame->x(), stripLeft);
    ui().redo->trigger();
    EXPECT_EQ(ui().tileFrames[0]->width(), 260);
    EXPECT_EQ(platform.messages->shown.size(), 2u) << "nothing new to tell";
}

TEST_F(LibraryBuilding, ARecentLibraryIsCheckedWhenTheMenuOpensAndLeavesItWhenUnreadable) {
    const auto first = library("first.qrb", 2, 20, 20);
    const auto second = library("second.qrb", 3, 20, 20);
    const auto third = library("third.qrb", 4, 20, 20);
    open(first);
    open(second);
    open(third);
    std::filesystem::remove(first);
    emit ui().recentMenu->aboutToShow();
    ASSERT_EQ(recentItem(2)->toolTip(), q(first));
    EXPECT_FALSE(recentItem(2)->isEnabled()) << "deleted while the program runs";

    std::ofstream(second, std::ios::trunc) << "not a library";
    recentItem(1)->trigger();
    ASSERT_FALSE(platform.messages->shown.empty());
    EXPECT_TRUE(platform.messages->shown.back().text.contains("no longer offered"));
    EXPECT_EQ(window->tileCount(), 4) << "the open library stays";
    EXPECT_EQ(RecentLibraries::paths(), (QStringList{q(third), q(first)}));
}

TEST_F(LibraryBuilding, TheStatusMessageGoesWithTheNextCommandAndUntitledWorkIsMarked) {
    ui().newLibrary->trigger();
    EXPECT_EQ(window->windowTitle(), "QRB Text Editor - Untitled[*]");
    EXPECT_FALSE(window->isWindowModified());
    platform.dialogs->answers.push_back(picture("red.png", Qt::red));
    ui().importImages->trigger();
    EXPECT_EQ(panel(5), "Imported 1 picture");
    EXPECT_TRUE(window->isWindowModified());
    ui().undo->trigger();
    EXPECT_EQ(panel(5), "");
    open(library("lib.qrb", 2, 20, 20));
    EXPECT_EQ(window->windowTitle(), "QRB Text Editor - " + q(dir / "lib.qrb") + "[*]");
}

TEST_F(LibraryBuilding, MovingATileToAnEndScrollsTheStripToIt) {
    open(library("lib.qrb", 40, 40, 40));
    press(3);
    ui().moveTileToEnd->trigger();
    EXPECT_EQ(window->currentTile(), 40);
    EXPECT_EQ(ui().strip->rowsInView().second, 40);
    ui().moveTileToStart->trigger();
    EXPECT_EQ(ui().strip->rowsInView().first, 1);
}

// Each number at one place in view, left out where a row is too low for it.
TEST_F(LibraryBuilding, TileNumbersStayInViewBesideAVeryWideTile) {
    QrbFixture lib;
    lib.addSolidTile(1, 40, 40, Rgb{255, 255, 255});
    lib.addSolidTile(2, 2000, 1, Rgb{255, 255, 255});
    lib.addSolidTile(3, 40, 40, Rgb{255, 255, 255});
    open(lib.writeTo(dir / "wide.qrb"));
    press(1); // all rows white
    const QImage shown = ui().strip->grab().toImage();
    const auto darkIn = [&](int tile) {
        const RowGeometry g = window->document().strip().rowGeometry(tile);
        int dark = 0;
        for (int y = ui().strip->toPixelsY(g.frameTop);
             y < ui().strip->toPixelsY(g.frameTop + g.frameHeight); ++y)
            for (int x = shown.width() - 50; x < shown.width(); ++x)
                dark += qGray(shown.pixel(x, y)) < 200 ? 1 : 0;
        return dark;
    };
    EXPECT_GT(darkIn(3), 5) << "the number 3 at the right end of the strip in view";
    EXPECT_EQ(darkIn(2), 0) << "no number on a row one pixel high";
}

TEST_F(LibraryBuilding, RowsShowTheirNumbersInTheirFreeSpace) {
    open(library("lib.qrb", 12, 20, 20));
    const QImage shown = ui().strip->grab().toImage();
    const RowGeometry g = window->document().strip().rowGeometry(2);
    const int left = int((g.smallLeft + g.smallSize) / 15) + 2;
    const int top = ui().strip->toPixelsY(g.frameTop);
    const int bottom = ui().strip->toPixelsY(g.frameTop + g.frameHeight);
    int dark = 0;
    for (int y = top; y < bottom && y < shown.height(); ++y)
        for (int x = left; x < std::min(shown.width(), left + 40); ++x)
            dark += qGray(shown.pixel(x, y)) < 160 ? 1 : 0;
    EXPECT_GT(dark, 5) << "the number 2 in the row's free space";
}

} // namespace
} // namespace qrb::test
