// The working tile and its previews in the window: turns and flips, the preview clicks,
// the small colour, the clipboard and the preview options.

#include "app/panels/WorkingTilePanel.h"
#include "imaging/HalfSize.h"
#include "imaging/Transform.h"
#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"

namespace qrb::test {
namespace {

class Working : public WindowFixture {
protected:
    DibImage working() const { return toDibImage(ui().workingTile->image()); }
    // One click on the angle bar's arrow: the live text is drawn afresh.
    void stepAngle() { ui().angleBar->triggerAction(QAbstractSlider::SliderSingleStepAdd); }
    void putOnClipboard(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(10, 200, 30));
        image.setPixel(1, 2, qRgb(250, 0, 0));
        platform.clipboard->setImage(image);
    }
};

// Every command that gives the working tile a new picture makes it the picture the live
// text is drawn over: moving the text afterwards keeps it, and Create stores it.
enum class NewPicture {
    RotateLeft,
    RotateRight,
    FlipHorizontal,
    FlipVertical,
    Paste,
    PasteBaseImage,
    FullPreviewClick,
    HalfPreviewClick
};
void PrintTo(NewPicture c, std::ostream* os) {
    static const char* const names[] = {"RotateLeft",       "RotateRight",     "FlipHorizontal",
                                        "FlipVertical",     "Paste",           "PasteBaseImage",
                                        "FullPreviewClick", "HalfPreviewClick"};
    *os << names[int(c)];
}

class WorkingPicture : public Working, public ::testing::WithParamInterface<NewPicture> {};

TEST_P(WorkingPicture, StaysUnderTheMovingTextAndIsWhatCreateStores) {
    open(library("lib.qrb", 3, 40, 40));
    press(3); // the base image (tile 1) differs from the tile being edited
    switch (GetParam()) {
    case NewPicture::RotateLeft:
        action(Command::RotateLeft)->trigger();
        break;
    case NewPicture::RotateRight:
        ui().toolbarButton(16)->trigger();
        break;
    case NewPicture::FlipHorizontal:
        action(Command::FlipHorizontal)->trigger();
        break;
    case NewPicture::FlipVertical:
        ui().toolbarButton(18)->trigger();
        break;
    case NewPicture::Paste:
        putOnClipboard(40, 40);
        action(Command::Paste)->trigger();
        break;
    case NewPicture::PasteBaseImage:
        action(Command::PasteBaseImage)->trigger();
        break;
    case NewPicture::FullPreviewClick:
        // A flipped picture handed to the full preview, then the half one edited: the
        // full preview's click brings the flipped picture back.
        action(Command::AutoCreateFromWorkingTile)->trigger();
        action(Command::FlipVertical)->trigger();
        click(ui().workingTile, {2, 2});
        click(ui().halfPreview, {2, 2});
        click(ui().fullPreview, {2, 2});
        action(Command::AutoCreateFromWorkingTile)
            ->trigger(); // Create takes the working tile again
        break;
    case NewPicture::HalfPreviewClick:
        action(Command::AutoCreateFromWorkingTile)->trigger();
        click(ui().halfPreview, {2, 2});
        action(Command::AutoCreateFromWorkingTile)->trigger();
        break;
    }
    const QImage result = ui().workingTile->image();
    ASSERT_NE(result, toQImage(window->document().tiles().tile(3).full));

    stepAngle();
    EXPECT_EQ(ui().workingTile->image(), result);
    ui().createButton->click();
    ASSERT_EQ(window->document().tileCount(), 4);
    EXPECT_EQ(toQImage(window->document().tiles().tile(4).full), result);
}

INSTANTIATE_TEST_SUITE_P(Commands, WorkingPicture,
                         ::testing::Values(NewPicture::RotateLeft, NewPicture::RotateRight,
                                           NewPicture::FlipHorizontal, NewPicture::FlipVertical,
                                           NewPicture::Paste, NewPicture::PasteBaseImage,
                                           NewPicture::FullPreviewClick,
                                           NewPicture::HalfPreviewClick));

// A working tile that gets smaller keeps its new picture, however far the text had been
// moved on the larger one.
TEST_F(Working, SmallerPastedPictureStaysWhenTheTextIsNudged) {
    open(library("lib.qrb", 1, 120, 120));
    ui().placeButton->click();
    ui().xBar->setValue(60);
    putOnClipboard(30, 30);
    action(Command::Paste)->trigger();
    const QImage pasted = platform.clipboard->image();
    EXPECT_EQ(ui().workingTile->image(), pasted);
    EXPECT_EQ(ui().tileSizeLabel->text(), "30, 30");
    EXPECT_EQ(ui().xBar->maximum(), 30);
    EXPECT_EQ(ui().xField->text(), "60"); // the text keeps its position
    ui().xBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(ui().workingTile->image(), pasted);
    EXPECT_EQ(ui().tileSizeLabel->text(), "30, 30");
}

TEST_F(Working, SmallerTileChosenAfterTheTextWasMovedIsTheOneCreated) {
    QrbFixture lib;
    lib.addTile(1, FixtureImage::of(pattern(64, 64, 1)), FixtureImage::of(pattern(32, 32, 1)));
    lib.addTile(2, FixtureImage::of(pattern(32, 32, 2)), FixtureImage::of(pattern(16, 16, 2)));
    open(lib.writeTo(dir / "lib.qrb"));
    ui().placeButton->click();
    ui().xBar->setValue(50);
    press(2);
    EXPECT_EQ(ui().tileSizeLabel->text(), "32, 32");
    ui().createButton->click();
    ASSERT_EQ(window->document().tileCount(), 3);
    EXPECT_EQ(window->document().tiles().tile(3).full, window->document().tiles().tile(2).full);
}

TEST_F(Working, FlipsChangeThePixelsAndANonSquareTurnTakesTheNewSize) {
    open(library("lib.qrb", 1, 48, 32));
    const DibImage start = working();
    ui().toolbarButton(17)->trigger();
    EXPECT_EQ(working(), transformed(start, TransformKind::FlipHorizontal));
    action(Command::FlipHorizontal)->trigger();

    // The turn items are off for this tile, but a pasted image can make any working
    // image turnable: the whole image is turned and the working tile takes its size.
    window->document().transform(TransformKind::RotateRight);
    EXPECT_EQ(working(), transformed(start, TransformKind::RotateRight));
    EXPECT_EQ(ui().tileSizeLabel->text(), "32, 48");
    EXPECT_EQ(ui().yBar->maximum(), 48);
    EXPECT_EQ(inClient(ui().workingTile).center(), ui().tileFrames[0]->geometry().center());
}

TEST_F(Working, PreviewClicksChooseTheImageBeingEditedAndTheHalfIsDerived) {
    open(library("lib.qrb", 1, 64, 48));
    action(Command::AutoCreateFromWorkingTile)->trigger(); // the previews show
    action(Command::FlipVertical)->trigger();
    const DibImage flipped = working();
    click(ui().workingTile, {2, 2});
    EXPECT_EQ(toDibImage(ui().fullPreview->image()), flipped);
    EXPECT_EQ(toDibImage(ui().halfPreview->image()), halfSize(flipped)); // 32 x 24
    EXPECT_FALSE(ui().xBar->isEnabled());

    // Editing the half image: the working tile shrinks to it, and its click goes to the
    // half preview, which is then derived again from it.
    click(ui().halfPreview, {2, 2});
    EXPECT_FALSE(window->document().working().editingFullImage);
    EXPECT_EQ(ui().tileSizeLabel->text(), "32, 24");
    click(ui().workingTile, {2, 2});
    EXPECT_EQ(toDibImage(ui().halfPreview->image()), halfSize(halfSize(flipped)));
    EXPECT_EQ(toDibImage(ui().fullPreview->image()), flipped);

    click(ui().fullPreview, {2, 2});
    EXPECT_TRUE(window->document().working().editingFullImage);
    EXPECT_EQ(working(), flipped);
}

TEST_F(Working, SmallColourDialogStartsFromTheLastChoiceAndCancelChangesNothing) {
    open(library("lib.qrb", 2, 40, 40));
    action(Command::AutoCreateFromWorkingTile)->trigger();
    platform.dialogs->colourAnswers.push_back(rgbColour(1, 2, 3));
    click(ui().smallColour, {2, 2});
    EXPECT_EQ(platform.dialogs->requests.back().colour, palette::Red);
    EXPECT_EQ(ui().smallColour->backColour(), rgbColour(1, 2, 3));
    EXPECT_EQ(window->document().placement().style.textColour, palette::Black); // kept

    window->strip().press(2, RowPart::Full, MouseButton::Left, Modifiers::None);
    platform.dialogs->colourAnswers.push_back(std::nullopt);
    click(ui().smallColour, {2, 2});
    EXPECT_EQ(platform.dialogs->requests.back().colour, rgbColour(1, 2, 3));
    EXPECT_EQ(ui().smallColour->backColour(), 2u); // tile 2's own colour stays
}

TEST_F(Working, PasteTakesAnyImageAsTwentyFourBitsAndSizesTheHalfPreview) {
    QImage offered(100, 80, QImage::Format_ARGB32);
    offered.fill(qRgba(200, 10, 10, 255));
    offered.setPixel(0, 0, qRgba(0, 0, 0, 0)); // transparent: white on the tile
    platform.clipboard->setImage(offered);
    action(Command::Paste)->trigger(); // no library open: nothing
    EXPECT_TRUE(ui().workingTile->image().isNull());

    open(library("lib.qrb", 1, 40, 40));
    const QImage oldHalf = ui().halfPreview->image();
    ui().toolbarButton(5)->trigger();
    EXPECT_EQ(ui().fullPreview->size(), QSize(100, 80));
    EXPECT_EQ(ui().workingTile->image().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(ui().workingTile->image().pixel(1, 0), qRgb(200, 10, 10));
    EXPECT_EQ(ui().tileSizeLabel->text(), "100, 80");
    EXPECT_EQ(ui().halfPreview->size(), QSize(50, 40));
    EXPECT_EQ(ui().halfPreview->y(), ui().fullPreview->y() + ui().fullPreview->height() + 10);
    EXPECT_EQ(ui().halfPreview->image(), oldHalf);
}

TEST_F(Working, CopyOnlyWhenShownAndPasteBaseImageTakesTheBaseTile) {
    platform.clipboard->setImage(QImage(3, 3, QImage::Format_RGB32));
    action(Command::Copy)->trigger();
    EXPECT_EQ(platform.clipboard->puts, 1);
    EXPECT_EQ(platform.clipboard->image().size(), QSize(3, 3));

    open(library("lib.qrb", 3, 40, 40));
    action(Command::FlipVertical)->trigger();
    ui().toolbarButton(4)->trigger();
    EXPECT_EQ(platform.clipboard->image(), ui().workingTile->image());

    window->strip().press(3, RowPart::Full, MouseButton::Left, Modifiers::None);
    action(Command::PasteBaseImage)->trigger();
    EXPECT_EQ(ui().workingTile->image(), toQImage(window->document().tiles().tile(1).full));
}

TEST_F(Working, ShortcutsActOnceTheirCommandCanWhateverTheMenusShowedBefore) {
    // Looked at before anything could be done: every command offered there is disabled.
    for (QMenu* menu : {ui().editMenu, ui().tileMenu}) {
        menu->popup(QPoint());
        EXPECT_FALSE(menu->actions().front()->isEnabled());
        menu->hide();
    }
    open(library("lib.qrb", 2, 40, 40));
    QImage copied(30, 20, QImage::Format_RGB32);
    copied.fill(Qt::green);
    platform.clipboard->setImage(copied);
    action(Command::Paste)->trigger(); // as Ctrl+V does
    EXPECT_EQ(ui().workingTile->size(), QSize(30, 20));
    action(Command::CreateTile)->trigger(); // as Ctrl+T does
    EXPECT_EQ(window->document().tileCount(), 3);
}

TEST_F(Working, PreviewOptionsShowThePreviewsAndFollowTheHalfTileButton) {
    open(library("lib.qrb", 1, 40, 40));
    action(Command::AutoCreateFromWorkingTile)->trigger();
    EXPECT_FALSE(ui().halfPreview->isHidden());
    EXPECT_EQ(ui().tileFrames[1]->geometry().bottom() + 1,
              ui().client->height() - ui().statusPanels->height());
    action(Command::AutoCreateFromWorkingTile)->trigger();
    EXPECT_TRUE(ui().tileFrames[1]->isHidden());

    action(Command::AutoCreateHalfTile)->trigger();
    EXPECT_FALSE(ui().toolbarButton(13)->isChecked());
    action(Command::AutoCreateHalfTile)->trigger();
    EXPECT_TRUE(ui().toolbarButton(13)->isChecked());
}

} // namespace
} // namespace qrb::test
