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
    EXPECT_FALSE(ui().mnuUndo->isEnabled());
    EXPECT_FALSE(ui().toolbarUndo->isEnabled());
    open(library("lib.qrb", 2, 40, 40));
    EXPECT_FALSE(ui().mnuUndo->isEnabled()) << "opening starts a new history";

    ui().mnuRotateLeft->trigger();
    EXPECT_TRUE(ui().mnuUndo->isEnabled());
    EXPECT_EQ(ui().mnuUndo->text(), "&Undo Rotate Left");
    EXPECT_EQ(ui().toolbarUndo->toolTip(), "Undo Rotate Left");
    EXPECT_FALSE(ui().mnuRedo->isEnabled());

    ui().toolbarUndo->trigger();
    EXPECT_EQ(ui().pctWorkingTile->image(), fullOf(1));
    EXPECT_EQ(ui().mnuRedo->text(), "&Redo Rotate Left");
    EXPECT_FALSE(ui().mnuUndo->isEnabled());
    ui().mnuRedo->trigger();
    EXPECT_NE(ui().pctWorkingTile->image(), fullOf(1));
}

TEST_F(Undo, KeysActOnTheDocumentEvenInATextBox) {
    open(library("lib.qrb", 2, 40, 40));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui().cmdCreate->click();
    ASSERT_EQ(window->TileCount(), 3);

    ui().txtText->setFocus();
    QTest::keyClicks(ui().txtText, "abc");
    QTest::keyClick(ui().txtText, Qt::Key_Z, Qt::ControlModifier); // the typing
    EXPECT_EQ(window->TileCount(), 3);
    QTest::keyClick(ui().txtText, Qt::Key_Z, Qt::ControlModifier); // then Create
    EXPECT_EQ(window->TileCount(), 2);
    EXPECT_EQ(ui().txtText->text(), "") << "the document's typing step, not the box's undo";
    QTest::keyClick(ui().txtText, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(window->TileCount(), 3);
    QTest::keyClick(ui().txtText, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ui().txtText->text(), "abc");
    QTest::keyClick(ui().txtText, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->TileCount(), 3) << "nothing left to redo";
    EXPECT_EQ(ui().txtText->text(), "abc");
}

TEST_F(Undo, UndoingBackToTheSaveMakesTheLibrarySavedAndASaveKeepsTheHistory) {
    const auto path = library("lib.qrb", 2, 40, 40);
    open(path);
    ui().mnuConfirmWrite->trigger(); // save without the question
    ui().cmdCreate->click();
    EXPECT_FALSE(window->document().isSaved());
    EXPECT_TRUE(window->mnuSave_Click());
    EXPECT_TRUE(ui().mnuUndo->isEnabled());

    ui().mnuUndo->trigger();
    EXPECT_FALSE(window->document().isSaved());
    ui().mnuRedo->trigger();
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
    ui().txtText->setText("Hello");
    ui().cmdPlace->click();
    ui().mnuRotateLeft->trigger();
    ui().mnuUndo->trigger();
    ui().mnuUndo->trigger();
    ui().mnuUndo->trigger();
    ui().cmdCreate->click();
    ui().cmdCreate->click();
    ui().mnuUndo->trigger();
    ui().mnuRedo->trigger();
    ui().mnuUndo->trigger();
    platform.messages->answers = {true};
    ASSERT_TRUE(window->mnuSave_Click());

    const TileSet saved = LibraryFile::load(path);
    ASSERT_EQ(saved.count(), 3);
    EXPECT_EQ(saved.tile(3).full, saved.tile(1).full);
}

} // namespace
} // namespace qrb::test
