// The window worked from the keyboard alone: menu shortcuts wherever the focus is, and
// every command and control within reach of a key.

#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"

#include <QClipboard>
#include <QTest>

#include <set>

namespace qrb::test {
namespace {

class Keys : public WindowFixture {
protected:
    // Key presses reach the window through the desktop's shortcut handling only while it
    // is the active window.
    void activate() {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void type(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        w->setFocus();
        QTest::keyClick(w, key, modifiers);
    }
};

TEST_F(Keys, TypingGoesToTheTextBoxFromTheStart) {
    activate();
    EXPECT_EQ(QApplication::focusWidget(), ui().textBox);
}

TEST_F(Keys, MenuShortcutsWinWhileATextBoxHasTheFocus) {
    open(library("lib.qrb", 2, 40, 40));
    activate();
    ui().textBox->setText("keep");
    type(ui().textBox, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard->puts, 1);
    EXPECT_EQ(platform.clipboard->image(), ui().workingTile->image());

    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    platform.clipboard->setImage(picture);
    type(ui().xField, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ui().workingTile->image(), picture);
    EXPECT_EQ(ui().xField->text(), "0");

    type(ui().slotTexts[3], Qt::Key_A, Qt::ControlModifier);
    ASSERT_FALSE(platform.dialogs->requests.empty());
    EXPECT_EQ(platform.dialogs->requests.back().kind, ScriptedDialogs::Kind::Save);

    // The text boxes still copy and paste their text with the other standard keys.
    ui().textBox->selectAll();
    type(ui().textBox, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "keep");
    ui().textBox->clear();
    type(ui().textBox, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ui().textBox->text(), "keep");
}

TEST_F(Keys, PositionAndAngleBarsAreInTheTabOrderAndMoveWithTheArrows) {
    open(library("lib.qrb", 1, 40, 40));
    activate();
    type(ui().storeButton, Qt::Key_Tab); // the hidden angle box is passed over
    EXPECT_EQ(QApplication::focusWidget(), ui().angleBar);
    QTest::keyClick(ui().angleBar, Qt::Key_Left);
    EXPECT_EQ(ui().angleField->text(), "359");

    type(ui().placeButton, Qt::Key_Space);
    type(ui().textBox, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ui().xBar);
    QTest::keyClick(ui().xBar, Qt::Key_Right);
    EXPECT_EQ(ui().xField->text(), "1");
    type(ui().xBar, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ui().yBar);
    QTest::keyClick(ui().yBar, Qt::Key_PageDown);
    EXPECT_EQ(ui().yField->text(), "10");
}

TEST_F(Keys, ToolbarOnlyCommandsAndTheAngleBoxAreInTheMenus) {
    open(library("lib.qrb", 3, 40, 40));
    const QList<QAction*> edit = ui().editMenu->actions();
    for (int button : {7, 8, 9, 10, 11})
        EXPECT_TRUE(edit.contains(ui().toolbarButton(button))) << button;
    EXPECT_TRUE(ui().tileMenu->actions().contains(ui().toolbarButton(20)));

    activate();
    ui().textBox->setFocus();
    action(Command::TypeAngle)->trigger();
    EXPECT_FALSE(ui().angleField->isHidden());
    EXPECT_TRUE(ui().angleField->hasFocus());
    ui().angleField->setText("45");
    QTest::keyClick(ui().angleField, Qt::Key_Return);
    EXPECT_EQ(ui().angleBar->value(), 45);
    EXPECT_TRUE(ui().textBox->hasFocus()) << "typing goes on where it was";
}

// Each item of the File and Tile menus has a letter of its own for Alt and the letter.
TEST_F(Keys, EveryFileAndTileItemHasAMnemonicOfItsOwn) {
    for (QMenu* menu : {ui().fileMenu, ui().positionDataMenu, ui().tileMenu}) {
        std::set<QChar> taken;
        for (const QAction* action : menu->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            const QString text = action->text();
            const qsizetype at = text.indexOf('&');
            ASSERT_TRUE(at >= 0 && at + 1 < text.size()) << text.toStdString();
            EXPECT_TRUE(taken.insert(text.at(at + 1).toLower()).second) << text.toStdString();
        }
    }
}

// The clicks on the working tile and the previews, and the small colour, without a mouse:
// from the Tile menu and with Space on the boxes, which Tab reaches.
TEST_F(Keys, PreviewClicksAndTheSmallColourAreReachedFromTheKeyboard) {
    open(library("lib.qrb", 2, 40, 40));
    action(Command::AutoCreateFromWorkingTile)->trigger(); // the previews show
    activate();
    action(Command::EditHalfImage)->trigger();
    EXPECT_EQ(window->document().working().picture.size(), QSize(20, 20));
    ui().fullPreview->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(ui().fullPreview->hasFocus());
    QTest::keyClick(ui().fullPreview, Qt::Key_Space);
    EXPECT_EQ(window->document().working().picture.size(), QSize(40, 40));
    EXPECT_EQ(window->document().undoText(), "Full Preview to Working Tile");
    action(Command::WorkingTileToPreview)->trigger();
    EXPECT_EQ(window->document().undoText(), "Working Tile to Preview");

    platform.dialogs->colourAnswers = {ColourValue(0x00FF00)};
    ui().smallColour->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ui().smallColour, Qt::Key_Return);
    EXPECT_EQ(window->document().working().smallColour, ColourValue(0x00FF00));
    platform.dialogs->colourAnswers = {ColourValue(0x0000FF)};
    action(Command::ChooseSmallColour)->trigger();
    EXPECT_EQ(window->document().working().smallColour, ColourValue(0x0000FF));
}

// Bold and Italic act however their button is pressed, an accessibility tool's toggle too.
TEST_F(Keys, BoldAndItalicFollowTheirButtonsPressedState) {
    open(library("lib.qrb", 2, 40, 40));
    ui().toolbarButton(10)->toggle(); // what the button's accessible toggle action does
    EXPECT_TRUE(window->document().placement().style.bold);
    ui().toolbarButton(11)->trigger();
    EXPECT_TRUE(window->document().placement().style.italic);
    EXPECT_EQ(window->document().undoText(), "Italic");
    action(Command::Undo)->trigger();
    EXPECT_FALSE(ui().toolbarButton(11)->isChecked());
    EXPECT_FALSE(window->document().placement().style.italic);
}

class StripKeys : public Keys {
protected:
    void SetUp() override {
        open(library("lib.qrb", 30, 40, 40));
        activate();
        ui().strip->setFocus();
    }
    void strip(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        key(ui().strip, k, modifiers);
    }
    bool inView(int tile) const {
        auto [first, last] = ui().strip->rowsInView();
        return first <= tile && tile <= last;
    }
};

TEST_F(StripKeys, PagingAndEndKeysMakeTheTileTheyReachCurrent) {
    strip(Qt::Key_End);
    EXPECT_EQ(window->document().currentTile(), 30);
    EXPECT_TRUE(inView(30));
    EXPECT_EQ(ui().workingTile->image(), toQImage(window->document().tiles().tile(30).full));
    strip(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(window->document().currentTile(), 1);
    EXPECT_TRUE(inView(1));
    strip(Qt::Key_Home); // already there: the tile stays current
    EXPECT_EQ(window->document().currentTile(), 1);

    auto [first, last] = ui().strip->rowsInView();
    strip(Qt::Key_PageDown);
    EXPECT_EQ(window->document().currentTile(), 1 + (last - first));
    EXPECT_TRUE(inView(1 + (last - first)));
}

TEST_F(StripKeys, ShiftAndCtrlMarkTilesAndTheMenuAndDeleteKeysActOnThem) {
    strip(Qt::Key_Down); // tile 2 current
    strip(Qt::Key_Down, Qt::ShiftModifier);
    strip(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(window->document().strip().selectedTiles(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(window->document().currentTile(), 2);
    strip(Qt::Key_Down, Qt::ControlModifier); // the focus row moves on, nothing else
    strip(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(ui().strip->focusRow(), 6);
    EXPECT_EQ(window->document().strip().selectedTiles(), (std::vector<int>{2, 3, 4}));
    strip(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(window->document().strip().selectedTiles(), (std::vector<int>{2, 3, 4, 6}));

    strip(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(ui().tileContextMenu->isVisible());
    EXPECT_TRUE(action(Command::DeleteSelectedTiles)->isVisible());
    ui().tileContextMenu->hide();
    strip(Qt::Key_Delete);
    EXPECT_EQ(window->document().tileCount(), 26);
    EXPECT_EQ(panel(1), "26 Tiles");
}

TEST_F(StripKeys, TheFocusRowIsFramed) {
    strip(Qt::Key_Down);
    const QImage focused = ui().strip->grab().toImage();
    ui().textBox->setFocus();
    EXPECT_NE(ui().strip->grab().toImage(), focused);
}

} // namespace
} // namespace qrb::test
