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
    EXPECT_FALSE(ui().undo->isEnabled());
    EXPECT_FALSE(ui().undo->isEnabled());
    open(library("lib.qrb", 2, 40, 40));
    EXPECT_FALSE(ui().undo->isEnabled()) << "opening starts a new history";

    ui().rotateLeft->trigger();
    EXPECT_TRUE(ui().undo->isEnabled());
    EXPECT_EQ(ui().undo->text(), "&Undo Rotate Left");
    EXPECT_EQ(ui().undo->toolTip(), "Undo Rotate Left");
    EXPECT_FALSE(ui().redo->isEnabled());

    ui().undo->trigger();
    EXPECT_EQ(ui().workingTile->image(), fullOf(1));
    EXPECT_EQ(ui().redo->text(), "&Redo Rotate Left");
    EXPECT_FALSE(ui().undo->isEnabled());
    ui().redo->trigger();
    EXPECT_NE(ui().workingTile->image(), fullOf(1));
}

TEST_F(Undo, KeysActOnTheDocumentEvenInATextBox) {
    open(library("lib.qrb", 2, 40, 40));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui().createButton->click();
    ASSERT_EQ(window->tileCount(), 3);

    ui().textBox->setFocus();
    QTest::keyClicks(ui().textBox, "abc");
    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier); // the typing
    EXPECT_EQ(window->tileCount(), 3);
    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier); // then Create
    EXPECT_EQ(window->tileCount(), 2);
    EXPECT_EQ(ui().textBox->text(), "") << "the document's typing step, not the box's undo";
    QTest::keyClick(ui().textBox, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(window->tileCount(), 3);
    QTest::keyClick(ui().textBox, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ui().textBox->text(), "abc");
    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->tileCount(), 3) << "nothing left to redo";
    EXPECT_EQ(ui().textBox->text(), "abc");
}

TEST_F(Undo, UndoingBackToTheSaveMakesTheLibrarySavedAndASaveKeepsTheHistory) {
    const auto path = library("lib.qrb", 2, 40, 40);
    open(path);
    ui().confirmReplace->trigger(); // save without the question
    ui().createButton->click();
    EXPECT_FALSE(window->document().isSaved());
    EXPECT_TRUE(window->saveLibrary());
    EXPECT_TRUE(ui().undo->isEnabled());

    ui().undo->trigger();
    EXPECT_FALSE(window->document().isSaved());
    ui().redo->trigger();
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
    ui().rotateLeft->trigger();
    ui().undo->trigger();
    ui().undo->trigger();
    ui().undo->trigger();
    ui().createButton->click();
    ui().createButton->click();
    ui().undo->trigger();
    ui().redo->trigger();
    ui().undo->trigger();
    platform.messages->answers = {true};
    ASSERT_TRUE(window->saveLibrary());

    const TileSet saved = LibraryFile::load(path);
    ASSERT_EQ(saved.count(), 3);
    EXPECT_EQ(saved.tile(3).full, saved.tile(1).full);
}

} // namespace
} // namespace qrb::test
