// Lettering in the window, driven through its controls: the live preview, angle and
// position input, Place, the position slots and their file, and the style buttons.

#include "app/parts/TextPlacementPanel.h"
#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"
#include "text/PositionDataFile.h"
#include "text/render/QtConversions.h"
#include "text/render/modRotateText.h"

#include <QMouseEvent>

namespace qrb::test {
namespace {

class Lettering : public WindowFixture {
protected:
    TextPlacementPanel& text() { return window->textPlacement(); }
    QImage work() const { return ui().workingTile->image(); }
    QImage undo() const { return window->document().working().picture; }
    void openTiles() { open(library("lib.qrb", 2, 40, 40)); }

    void typeAngle(const QString& typed) {
        click(ui().angleDial, {25, 25});
        ASSERT_FALSE(ui().angleField->isHidden());
        ASSERT_EQ(ui().angleField->selectedText(), ui().angleField->text());
        ui().angleField->setText(typed);
        key(ui().angleField, Qt::Key_Return);
    }
    void store(int k, const QString& s, int x, int y, int angle) {
        ui().textBox->setText(s);
        ui().xField->setText(QString::number(x));
        ui().yField->setText(QString::number(y));
        ui().angleBar->setValue(angle);
        ui().storeButton->click();
        ui().slotButtons[std::size_t(k)]->click();
    }
};

TEST_F(Lettering, AngleWrapsRoundAndTheDialShowsItsDigits) {
    QImage blank(50, 50, QImage::Format_RGB32);
    blank.fill(toQColor(ui().angleDial->backColour()));
    QImage zero = blank;
    TextSurface dial(zero);
    dial.font = ui().angleDial->font();
    dial.setCurrentPosition(22, 21);
    PrintText(dial, "000");
    EXPECT_EQ(ui().angleDial->image(), zero);

    ui().angleBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(ui().angleBar->value(), 359);
    EXPECT_EQ(ui().angleField->text(), "359");
    ui().angleBar->setValue(45);
    TextSurface turned(blank);
    DrawRotatedText(turned, ui().angleField->font(), "045", 45.0f, 22, 22);
    EXPECT_EQ(ui().angleDial->image(), blank);

    ui().angleBar->setValue(359);
    ui().angleBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(ui().angleBar->value(), 0);
    EXPECT_EQ(ui().angleField->text(), "000");
    EXPECT_EQ(ui().angleDial->image(), zero);
}

TEST_F(Lettering, TypedAnglesRoundHalfToEvenAndAnythingElseIsZero) {
    const std::vector<std::tuple<QString, QString, int>> cases{
        {"45", "045", 45}, {"12.5", "012", 12}, {"13.5", "014", 14}, {"359.5", "000", 0},
        {"360", "000", 0}, {"-1", "000", 0},    {"abc", "000", 0},   {"", "000", 0}};
    for (const auto& [typed, shown, angle] : cases) {
        SCOPED_TRACE(typed.toStdString());
        ui().angleBar->setValue(100);
        typeAngle(typed);
        EXPECT_EQ(ui().angleField->text(), shown);
        EXPECT_EQ(ui().angleBar->value(), angle);
        EXPECT_TRUE(ui().angleField->isHidden());
    }
    ui().angleBar->setValue(30);
    ui().angleField->show();
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ui().angleField, &twice);
    EXPECT_EQ(ui().angleField->text(), "000");
    EXPECT_EQ(ui().angleBar->value(), 0);
}

// The bar always rests on the angle the document holds; after Enter the box shows it.
TEST_F(Lettering, TheAngleBarAndBoxShowTheAngleHeldWhateverWasGiven) {
    ASSERT_EQ(ui().angleBar->value(), 0);
    ui().angleBar->setValue(360); // past the right end at 0, as an accessibility tool sets it
    EXPECT_EQ(ui().angleBar->value(), 0);
    EXPECT_EQ(ui().angleField->text(), "000");
    ui().angleBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(ui().angleBar->value(), 1) << "the right arrow turns on";

    ui().angleBar->setValue(12);
    for (const auto& [typed, shown] : std::vector<std::pair<QString, QString>>{
             {"12.5", "012"}, {"abc", "000"}, {"0", "000"}, {"360", "000"}}) {
        SCOPED_TRACE(typed.toStdString());
        typeAngle(typed);
        EXPECT_EQ(ui().angleField->text(), shown);
    }
}

TEST_F(Lettering, PreviewStartsFromTheUndoCopyAndPlaceMakesTheTextStay) {
    ui().placeButton->click(); // no library: nothing happens
    EXPECT_FALSE(ui().xBar->isEnabled());
    openTiles();
    const QImage tile = undo();
    ui().textBox->setText("Hi");
    ui().angleBar->setValue(10);
    EXPECT_EQ(work(), lettered(tile, "Hi", 10, 0, 0));
    ui().textBox->setText("");
    ui().angleBar->setValue(20);
    EXPECT_EQ(work(), tile); // the moved text left no trace
    EXPECT_EQ(undo(), tile);

    // Typing shows at once; Place makes what the tile shows permanent.
    ui().textBox->setText("Hi");
    ui().xField->setText("5");
    EXPECT_EQ(work(), lettered(tile, "Hi", 20, 5, 0));
    ui().placeButton->click();
    const QImage placed = lettered(tile, "Hi", 20, 5, 0);
    EXPECT_EQ(undo(), placed);
    EXPECT_EQ(work(), lettered(placed, "Hi", 20, 5, 0)); // live again over the placed copy
    ui().yBar->setValue(20);
    EXPECT_EQ(ui().yField->text(), "20");
    EXPECT_EQ(work(), lettered(placed, "Hi", 20, 5, 20));
}

TEST_F(Lettering, TypedPositionThatIsNotAWholeNumberGoesBackToTheLastValidOne) {
    openTiles();
    ui().textBox->setText("x");
    for (const char* typed : {"abc", "1.5", "40000", "-32769", ""}) {
        SCOPED_TRACE(typed);
        ui().xField->setText("12");
        key(ui().xField, Qt::Key_Return);
        ui().xField->setText(typed);
        key(ui().xField, Qt::Key_Return);
        EXPECT_EQ(ui().xField->text(), "12");
    }
    ui().yField->setText("-32768");
    ui().angleBar->setValue(1); // draws with the typed position, far off the tile
    EXPECT_EQ(work(), undo());
    ui().yField->setText("#");
    ui().storeButton->click();
    ui().slotButtons[0]->click();
    EXPECT_EQ(ui().slotButtons[0]->text(), "12,-32768");
}

TEST_F(Lettering, StoreFillsTheChosenSlotAndRecallBringsItBackCommittingTheLiveText) {
    openTiles();
    const QImage tile = undo();
    ui().toolbarButton(10)->trigger(); // bold
    store(2, "North", 3, 4, 90);
    EXPECT_EQ(ui().slotButtons[2]->text(), "3,4");
    EXPECT_EQ(window->document().positionSlots()[2].angle, "090");
    EXPECT_TRUE(ui().slotTexts[2]->font().bold());
    EXPECT_EQ(ui().slotTexts[2]->toolTip(), "Font = Arial, Size = 8, Degrees = 090");
    EXPECT_TRUE(ui().slotButtons[2]->isEnabled());
    EXPECT_FALSE(ui().slotButtons[3]->isEnabled());

    // Something else is live on the tile; recalling slot 2 makes it permanent first.
    ui().toolbarButton(10)->trigger();
    ui().textBox->setText("Live");
    ui().angleBar->setValue(0);
    const QImage live = work();
    ui().slotButtons[2]->click();
    EXPECT_EQ(undo(), live);
    EXPECT_NE(live, tile);
    EXPECT_EQ(ui().textBox->text(), "North");
    EXPECT_TRUE(ui().toolbarButton(10)->isChecked());
    EXPECT_EQ(panel(4), "Bold");
    EXPECT_EQ(ui().xBar->value(), 3);
    EXPECT_EQ(work(), lettered(live, "North", 90, 3, 4));
}

TEST_F(Lettering, CreateUsingPositionDataStampsTheFilledSlotsInOrder) {
    openTiles();
    const QImage tile = undo();
    store(4, "B", 20, 20, 0);
    store(1, "A", 2, 2, 30);
    ui().textBox->setText("");
    ui().angleBar->setValue(0); // nothing live any more
    ui().createUsingPositionData->trigger();
    ui().createButton->click();
    ASSERT_EQ(window->tileCount(), 3);
    const QImage expected = lettered(lettered(tile, "A", 30, 2, 2), "B", 0, 20, 20);
    EXPECT_EQ(toQImage(window->document().tiles().tile(3).full), expected);
}

TEST_F(Lettering, SizeButtonsStopAtSixAndEighteen) {
    QAction* smaller = ui().toolbarButton(8);
    QAction* larger = ui().toolbarButton(9);
    smaller->trigger();
    smaller->trigger();
    EXPECT_EQ(panel(3), "6");
    EXPECT_FALSE(smaller->isEnabled());
    EXPECT_EQ(ui().textBox->height(), 12);
    text().decreaseFontSize();
    EXPECT_EQ(window->document().placement().style.size, 6);
    for (int i = 0; i < 12; ++i)
        larger->trigger();
    EXPECT_EQ(panel(3), "18");
    EXPECT_FALSE(larger->isEnabled());
    EXPECT_TRUE(smaller->isEnabled());
    EXPECT_EQ(window->document().placement().style.size, 18);
    EXPECT_EQ(ui().textBox->height(), 36);
}

TEST_F(Lettering, BoldItalicAndTheFontDialogShowInPanelsAndTheTextBox) {
    QAction* bold = ui().toolbarButton(10);
    QAction* italic = ui().toolbarButton(11);
    bold->trigger();
    EXPECT_EQ(panel(4), "Bold");
    italic->trigger();
    EXPECT_EQ(panel(4), "Bold Italic");
    bold->trigger();
    EXPECT_EQ(panel(4), "Italic");
    EXPECT_TRUE(window->document().placement().style.italic);

    FontSettings white{"Courier New", 18, true, false, true, false, palette::White};
    platform.dialogs->fontAnswers = {white, std::nullopt};
    ui().toolbarButton(7)->trigger();
    EXPECT_EQ(panel(2), "Courier New ");
    EXPECT_EQ(panel(4), "Bold");
    EXPECT_FALSE(ui().toolbarButton(9)->isEnabled());
    const QImage box = ui().textBox->grab().toImage();
    EXPECT_EQ(box.pixelColor(box.width() - 4, box.height() / 2), QColor(128, 128, 128));
    EXPECT_EQ(window->document().placement().style.textColour, palette::White);
    ui().toolbarButton(7)->trigger(); // cancelled: nothing changes
    EXPECT_EQ(window->document().placement().style.boxColour, palette::DarkGrey);
}

TEST_F(Lettering, FontDialogStartsFromTheStyleAndAMissingFaceKeepsItsName) {
    open(library("lib.qrb", 1, 40, 40));
    platform.dialogs->fontAnswers = {FontSettings{"Nonesuch", 30, false, true, false, false, 0}};
    ui().toolbarButton(7)->trigger();
    const FontDialogRequest asked = platform.dialogs->requests.back().font;
    EXPECT_EQ(asked.current.name, "Arial");
    EXPECT_EQ(asked.current.size, 8);
    EXPECT_EQ(asked.minSize, 6);
    EXPECT_EQ(asked.maxSize, 18);
    EXPECT_EQ(panel(2), "Nonesuch ");
    EXPECT_EQ(panel(3), "18"); // a size beyond the limits is kept within them

    // Drawn with a substitute, but stored, saved and offered again under its own name.
    store(0, "x", 1, 1, 0);
    EXPECT_EQ(ui().slotTexts[0]->toolTip(), "Font = Nonesuch, Size = 18, Degrees = 000");
    platform.dialogs->answers = {q(dir / "faces.qpf")};
    ui().savePositionData->trigger();
    EXPECT_EQ(PositionDataFile::read(dir / "faces.qpf")[0].style.face, "Nonesuch");
    ui().toolbarButton(7)->trigger(); // cancelled
    EXPECT_EQ(platform.dialogs->requests.back().font.current.name, "Nonesuch");
}

TEST_F(Lettering, ClearReturnsSlotsStyleAndEditorToTheirFirstState) {
    openTiles();
    ui().toolbarButton(11)->trigger();
    store(5, "Gone", 7, 8, 45);
    ui().placeButton->click();
    ui().clearPositionData->trigger();
    for (int k = 0; k < 9; ++k) {
        const auto i = std::size_t(k);
        EXPECT_EQ(ui().slotButtons[i]->text(), QStringLiteral("%1,%1").arg(5 * k));
        EXPECT_FALSE(ui().slotButtons[i]->isEnabled());
        EXPECT_TRUE(ui().slotTexts[i]->toolTip().isEmpty());
    }
    EXPECT_EQ(panel(2), "Arial");
    EXPECT_EQ(panel(4), "");
    EXPECT_FALSE(ui().toolbarButton(11)->isChecked());
    EXPECT_EQ(window->document().placement().style.textColour, defaultTextStyle().textColour);
    EXPECT_TRUE(ui().textBox->text().isEmpty());
    EXPECT_FALSE(ui().xBar->isEnabled());
    EXPECT_EQ(ui().angleField->text(), "000");
}

TEST_F(Lettering, PositionFileRoundTripsThroughTheDialogsAndDamagedFilesChangeNothing) {
    open(library("lib.qrb", 1, 40, 40));
    store(0, "Café", -5, 30, 200);
    platform.dialogs->answers = {q(dir / "labels")};
    ui().savePositionData->trigger();
    EXPECT_EQ(platform.dialogs->requests.back().file.title, "Save position data to...");
    EXPECT_EQ(platform.dialogs->requests.back().file.filter, "QPF File (*.qpf)|*.qpf");
    const PositionSlots saved = PositionDataFile::read(dir / "labels.qpf");
    // The same name again: the file the extension leads to exists, so the user is asked.
    store(0, "Other", 1, 1, 0);
    platform.dialogs->answers = {q(dir / "labels")};
    ui().savePositionData->trigger();
    EXPECT_EQ(platform.messages->count("labels.qpf already exists"), 1);
    EXPECT_EQ(PositionDataFile::read(dir / "labels.qpf"), saved);

    ui().clearPositionData->trigger();
    platform.dialogs->answers = {q(dir / "labels")};
    ui().loadPositionData->trigger();
    EXPECT_EQ(platform.dialogs->requests.back().file.title, "Open position data file");
    EXPECT_EQ(window->document().positionSlots(), saved);
    EXPECT_EQ(ui().slotButtons[0]->text(), "-5,30");
    EXPECT_EQ(ui().slotTexts[0]->toolTip(), "Font = Arial, Size = 8, Degrees = 200");
    EXPECT_TRUE(ui().slotButtons[0]->isEnabled());

    // A damaged file changes no slot, not even those read before the damage.
    std::filesystem::resize_file(dir / "labels.qpf", 5000);
    ui().clearPositionData->trigger();
    const PositionSlots cleared = window->document().positionSlots();
    platform.dialogs->answers = {q(dir / "labels.qpf")};
    ui().loadPositionData->trigger();
    EXPECT_EQ(platform.messages->count("slot 4"), 1);
    EXPECT_EQ(window->document().positionSlots(), cleared);
}

TEST_F(Lettering, RecalledSizeAboveTheDialogLimitAndPositionOffTheTileAreKept) {
    openTiles();
    PositionSlots stored;
    stored[0].text = "Big";
    stored[0].style.size = 20;
    stored[0].position = "300,-50";
    stored[0].angle = "0";
    PositionDataFile::write(dir / "big.qpf", stored);
    platform.dialogs->answers = {q(dir / "big.qpf")};
    ui().loadPositionData->trigger();
    ui().slotButtons[0]->click();
    EXPECT_EQ(ui().textBox->font().pointSizeF(), 20);
    EXPECT_EQ(panel(3), "20");
    EXPECT_FALSE(ui().toolbarButton(9)->isEnabled());
    EXPECT_EQ(ui().xBar->value(), 40);
    EXPECT_EQ(ui().yBar->value(), -5);
    EXPECT_EQ(ui().xField->text(), "300");
    EXPECT_EQ(ui().yField->text(), "-50");
    // The font dialog offers the nearest size it has.
    ui().toolbarButton(7)->trigger(); // cancelled
    EXPECT_EQ(platform.dialogs->requests.back().font.current.size, 18);
}

} // namespace
} // namespace qrb::test
