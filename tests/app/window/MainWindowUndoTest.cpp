// Undo and Redo in the window: the Edit menu's items and the toolbar's buttons name the
// step and are greyed when there is none, the keys act on the document from any text box,
// and undoing back to the saved state makes the library saved again.

#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"
#include "tileset/LibraryFile.h"

#include <QTest>

namespace qrb::test {
namespace {

class Undo : public WindowFixture {
protected:
    QImage fullOf(int k) const { return toQImage(window->document().tiles().tile(k).full); }
};

TEST_F(Undo, ItemsNameTheStepAndAreGreyedWithoutOne) {
    EXPECT_FALSE(action(Command::Undo)->isEnabled());
    EXPECT_FALSE(action(Command::Undo)->isEnabled());
    open(library("lib.qrb", 2, 40, 40));
    EXPECT_FALSE(action(Command::Undo)->isEnabled()) << "opening starts a new history";

    action(Command::RotateLeft)->trigger();
    EXPECT_TRUE(action(Command::Undo)->isEnabled());
    EXPECT_EQ(action(Command::Undo)->text(), "&Undo Rotate Left");
    EXPECT_EQ(action(Command::Undo)->toolTip(), "Undo Rotate Left");
    EXPECT_FALSE(action(Command::Redo)->isEnabled());

    action(Command::Undo)->trigger();
    EXPECT_EQ(ui().workingTile->image(), fullOf(1));
    EXPECT_EQ(action(Command::Redo)->text(), "&Redo Rotate Left");
    EXPECT_FALSE(action(Command::Undo)->isEnabled());
    action(Command::Redo)->trigger();
    EXPECT_NE(ui().workingTile->image(), fullOf(1));
}

TEST_F(Undo, KeysActOnTheDocumentEvenInATextBox) {
    open(library("lib.qrb", 2, 40, 40));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui().createButton->click();
    ASSERT_EQ(window->document().tileCount(), 3);

    ui().textBox->setFocus();
    QTest::keyClicks(ui().textBox, "abc");
    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier); // the typing
    EXPECT_EQ(window->document().tileCount(), 3);
    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier); // then Create
    EXPECT_EQ(window->document().tileCount(), 2);
    EXPECT_EQ(ui().textBox->text(), "") << "the document's typing step, not the box's undo";
    QTest::keyClick(ui().textBox, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(window->document().tileCount(), 3);
    QTest::keyClick(ui().textBox, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ui().textBox->text(), "abc");
    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->document().tileCount(), 3) << "nothing left to redo";
    EXPECT_EQ(ui().textBox->text(), "abc");
}

TEST_F(Undo, UndoingBackToTheSaveMakesTheLibrarySavedAndASaveKeepsTheHistory) {
    const auto path = library("lib.qrb", 2, 40, 40);
    open(path);
    action(Command::ConfirmReplace)->trigger(); // save without the question
    ui().createButton->click();
    EXPECT_FALSE(window->document().isSaved());
    EXPECT_TRUE(window->files().saveLibrary());
    EXPECT_TRUE(action(Command::Undo)->isEnabled());

    action(Command::Undo)->trigger();
    EXPECT_FALSE(window->document().isSaved());
    action(Command::Redo)->trigger();
    EXPECT_TRUE(window->document().isSaved());
    // Closing now asks nothing: the library is as saved.
    window->close();
    EXPECT_TRUE(platform.messages->shown.empty());
}

// The sequence a new user tries: type, Place, Rotate Left, Undo three times (the typing
// too), Create twice, Undo, Redo, Undo, Save: one new tile, the first tile's untouched
// picture.
TEST_F(Undo, PlaceTurnUndoCreateSequenceSavesTheUntouchedTile) {
    const auto path = library("lib.qrb", 2, 40, 40);
    open(path);
    ui().textBox->setText("Hello");
    ui().placeButton->click();
    action(Command::RotateLeft)->trigger();
    action(Command::Undo)->trigger();
    action(Command::Undo)->trigger();
    action(Command::Undo)->trigger();
    ui().createButton->click();
    ui().createButton->click();
    action(Command::Undo)->trigger();
    action(Command::Redo)->trigger();
    action(Command::Undo)->trigger();
    platform.messages->answers = {true};
    ASSERT_TRUE(window->files().saveLibrary());

    const TileSet saved = LibraryFile::load(path);
    ASSERT_EQ(saved.count(), 3);
    EXPECT_EQ(saved.tile(3).full, saved.tile(1).full);
}

} // namespace
} // namespace qrb::test
