// The window worked from the keyboard alone: menu shortcuts wherever the focus is, and
// every command and control within reach of a key.

#include "support/ui/WindowFixture.h"
#include "tileset/ui/DibConversion.h"

#include <QClipboard>
#include <QTest>

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

TEST_F(Keys, MenuShortcutsWinWhileATextBoxHasTheFocus) {
    open(library("lib.qrb", 2, 40, 40));
    activate();
    ui().txtText->setText("keep");
    type(ui().txtText, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard->puts, 1);
    EXPECT_EQ(platform.clipboard->image(), ui().pctWorkingTile->image());

    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    platform.clipboard->setImage(picture);
    type(ui().txtX, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ui().pctWorkingTile->image(), picture);
    EXPECT_EQ(ui().txtX->text(), "0");

    type(ui().Text1[3], Qt::Key_A, Qt::ControlModifier);
    ASSERT_FALSE(platform.dialogs->requests.empty());
    EXPECT_EQ(platform.dialogs->requests.back().kind, ScriptedDialogs::Kind::Save);

    // The text boxes still copy and paste their text with the other standard keys.
    ui().txtText->selectAll();
    type(ui().txtText, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "keep");
    ui().txtText->clear();
    type(ui().txtText, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ui().txtText->text(), "keep");
}

} // namespace
} // namespace qrb::test
