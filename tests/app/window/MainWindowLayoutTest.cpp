// The window as it stands after start-up: menus, toolbar, status bar, controls, resize.

#include "support/ui/WindowFixture.h"

#include <QScrollArea>
#include <QTest>

namespace qrb::test {
namespace {

using Layout = WindowFixture;

TEST_F(Layout, MenuItemsStartInTheirOwnStates) {
    // Hidden items are never usable; Save and Save As wait for a library.
    for (QAction* a :
         {action(Command::AddTile), action(Command::CloneTile), action(Command::SaveSelectedTiles),
          action(Command::Save), action(Command::SaveAs), action(Command::ExportImages),
          action(Command::ReplaceTile), action(Command::MoveTileUp),
          action(Command::DuplicateTile)})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(action(Command::New)->isVisible());
    EXPECT_TRUE(action(Command::New)->isEnabled());
    EXPECT_TRUE(action(Command::ImportImages)->isEnabled()); // pictures start a new library
    EXPECT_TRUE(action(Command::ConfirmReplace)->isChecked());
    EXPECT_TRUE(action(Command::AutoPasteBaseImage)->isChecked());
    EXPECT_FALSE(action(Command::CreateUsingPositionData)->isChecked());
    EXPECT_EQ(action(Command::SaveAs)->text(), "Save &As ...");
    EXPECT_EQ(action(Command::SaveAs)->shortcut(), QKeySequence("Ctrl+A"));
    // The Tile menu's own 16 items come first; anything added follows them.
    EXPECT_EQ(ui().tileMenu->actions().at(15), action(Command::CreateUsingPositionData));
    EXPECT_FALSE(ui().tileContextMenu->menuAction()->isVisible());
}

TEST_F(Layout, ToolbarHasTwentyPositionsWithTheHalfTileButtonHidden) {
    int visible = 0;
    for (int i = 1; i <= 20; ++i) {
        SCOPED_TRACE(i);
        QAction* a = ui().toolbarButton(i);
        // The old form's name lives on as the button's (a separator's) object name.
        const QObject* named = a->isSeparator() || !a->isVisible()
                                   ? static_cast<QObject*>(a)
                                   : ui().mainToolBar->widgetForAction(a);
        EXPECT_EQ(named->objectName(), QStringLiteral("Toolbar1_Button%1").arg(i));
        EXPECT_EQ(a->isSeparator(), i == 3 || i == 6 || i == 12 || i == 14 || i == 19);
        EXPECT_EQ(a->isCheckable(), i == 10 || i == 11 || i == 13);
        visible += a->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(visible, 18);
    EXPECT_EQ(ui().toolbarButton(1)->toolTip(), "Open QRB File");
    // A button with a menu twin is the menu item's own action.
    EXPECT_EQ(ui().toolbarButton(1), action(Command::Open));
    EXPECT_EQ(ui().toolbarButton(17), action(Command::FlipHorizontal));
    const QWidget* undoButton = ui().mainToolBar->widgetForAction(action(Command::Undo));
    ASSERT_NE(undoButton, nullptr);
    EXPECT_EQ(undoButton->objectName(), "toolbarUndo");
    EXPECT_FALSE(ui().toolbarButton(13)->isEnabled());
    // Buttons that act on a library wait for one.
    for (int button : {2, 4, 5, 15, 16, 17, 18, 20})
        EXPECT_FALSE(ui().toolbarButton(button)->isEnabled()) << button;
    EXPECT_TRUE(ui().toolbarButton(1)->isEnabled());
    // After the two start-up size steps (6 -> 8) both size buttons are usable.
    EXPECT_TRUE(ui().toolbarButton(8)->isEnabled());
    EXPECT_TRUE(ui().toolbarButton(9)->isEnabled());
}

TEST_F(Layout, StartsWithDefaultStyleDialogSettingsAndEmptyStrip) {
    EXPECT_EQ(window->windowTitle(), "QRB Text Editor");
    EXPECT_EQ(panel(1), "0 Tiles");
    EXPECT_EQ(panel(2), "Arial ");
    EXPECT_EQ(panel(3), "8");
    const CommonDialog& d = window->commonDialog();
    EXPECT_EQ(d.Filter, "QRB File (*.qrb)|*.qrb");
    EXPECT_TRUE(d.CancelError);
    EXPECT_EQ(window->document().placement().style, defaultTextStyle());
    EXPECT_EQ(ui().textBox->font().pointSizeF(), 8);
    EXPECT_EQ(ui().textBox->height(), 16);
    EXPECT_TRUE(window->document().isSaved());
    EXPECT_TRUE(ui().workingTile->isHidden());
    EXPECT_FALSE(ui().stripBar->isEnabled());
    EXPECT_TRUE(ui().progressBar->isHidden());
}

TEST_F(Layout, ControlsSitAtTheirDesignPlacesWithNames) {
    EXPECT_EQ(ui().textBox->geometry().topLeft(), QPoint(2, 28));
    EXPECT_EQ(ui().positionGroup->findChild<QScrollBar*>("XScroll"), ui().xBar);
    EXPECT_EQ(ui().xBar->minimum(), -5);
    EXPECT_TRUE(ui().angleField->isHidden());
    EXPECT_EQ(ui().tileFrames[0]->geometry(), QRect(159, 28, 174, 174));
    EXPECT_EQ(window->findChild<QPushButton*>("cmdPlaceText(8)"), ui().slotButtons[8]);
    // Controls without a visible caption still have a name a screen reader can say.
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui().textBox, ui().xBar, ui().yBar, ui().xField, ui().yField, ui().angleField,
             ui().angleBar, ui().angleDial, ui().createButton, ui().workingTile, ui().smallColour,
             reinterpret_cast<QWidget*>(ui().strip), ui().stripBar, ui().slotTexts[4]})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
}

TEST_F(Layout, ResizeFollowsTheWindow) {
    resizeClient(800, 600);
    const int S = ui().statusPanels->height();
    EXPECT_EQ(ui().stripBar->x(), 800 - 17);
    EXPECT_EQ(ui().stripBar->height(), 600 - 30 - S);
    EXPECT_EQ(ui().stripFrame->width(), 800 - 334 - 17);
    EXPECT_EQ(ui().stripFrame->height(), 600 - 28 - S);
    const int panel5 = ui().statusPanels->panelLeft(5);
    // The message panel reaches the zoom at the end of the bar, so a command's message is
    // read whole; the progress bar covers the message, not the zoom.
    const QRect zoom = ui().statusPanels->panel(6)->geometry();
    EXPECT_EQ(zoom.right(), 800 - 3);
    EXPECT_EQ(ui().statusPanels->panel(5)->geometry().right(), zoom.left() - 3);
    EXPECT_EQ(ui().progressBar->geometry(),
              QRect(panel5, 600 - S + 2, ui().statusPanels->panel(5)->width(), S - 2));
    EXPECT_EQ(ui().strip->size(), ui().stripFrame->contentsRect().size());
    EXPECT_EQ(ui().tileFrames[1]->height(), 600 - 203 - S);
}

// At 800 x 600 everything is reachable without a scroll bar of the window: the slots scroll
// in their own group, and the one reached with Tab comes into view.
TEST_F(Layout, EverySlotIsReachableInAnEightHundredBySixHundredWindow) {
    window->resize(800, 600);
    QCoreApplication::sendPostedEvents();
    auto* scroller = window->findChild<QScrollArea*>("clientScroller");
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->verticalScrollBar()->maximum(), 0);
    EXPECT_LE(ui().slotGroup->geometry().bottom(), ui().statusPanels->y());
    QWidget* rows = ui().slotView->viewport();
    ui().slotButtons[8]->setFocus();
    EXPECT_TRUE(rows->rect().contains(
        QRect(ui().slotButtons[8]->mapTo(rows, QPoint(0, 0)), ui().slotButtons[8]->size())));
}

TEST_F(Layout, TheWorkingTileFollowsTheTextAndPositionControlsInTheTabOrder) {
    open(library("lib.qrb", 1, 40, 40));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui().textBox->setFocus();
    int presses = 0;
    while (QApplication::focusWidget() != ui().workingTile && presses < 30) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ++presses;
    }
    EXPECT_LE(presses, 5); // the position bars (once the text is placed) and boxes first
}

TEST_F(Layout, DialFramesAndCaptionsAreDrawnInTheDesktopsTextColour) {
    // A dark desktop: yellow text on a dark window.
    struct DarkDesktop {
        QPalette before = QApplication::palette();
        DarkDesktop() {
            QPalette dark = before;
            dark.setColor(QPalette::Window, QColor(40, 40, 40));
            dark.setColor(QPalette::Button, QColor(40, 40, 40));
            dark.setColor(QPalette::WindowText, QColor(250, 240, 0));
            QApplication::setPalette(dark);
        }
        ~DarkDesktop() { QApplication::setPalette(before); }
    } desktop;
    MainWindow darkWindow(platform.platform());
    const MainWindow::Controls& c = darkWindow.ui();

    // Drawn in (nearly) the text colour, nowhere black.
    const auto drawnInText = [](const QImage& image) {
        bool text = false;
        for (int i = 0; i < image.width() * image.height(); ++i) {
            const QColor p = image.pixelColor(i % image.width(), i / image.width());
            if (p == Qt::black)
                return false;
            text = text || (p.red() > 200 && p.green() > 190 && p.blue() < 60);
        }
        return text;
    };
    EXPECT_TRUE(drawnInText(c.angleDial->image())); // "000"
    EXPECT_TRUE(drawnInText(c.tileFrames[0]->grab().toImage()));
    EXPECT_TRUE(drawnInText(c.angleDialRing->grab().toImage()));
    EXPECT_EQ(c.createButton->text(), "&Create");

    EXPECT_EQ(c.angleGroup->title(), "Current Text Angle");
    for (QGroupBox* group : {c.positionGroup, c.slotGroup})
        EXPECT_FALSE(group->title().isEmpty()) << group->objectName().toStdString();
    // The left column's groups and Create lie one below the other, no edge or caption
    // covered by the next.
    const QWidget* column[] = {c.positionGroup, c.angleGroup, c.createButton, c.slotGroup};
    for (std::size_t i = 0; i + 1 < std::size(column); ++i)
        EXPECT_LE(column[i]->geometry().bottom(), column[i + 1]->y())
            << column[i]->objectName().toStdString();
}

TEST_F(Layout, MenusSetTheirStatesWhenTheyOpenWithoutALibrary) {
    platform.clipboard->content = QImage(4, 4, QImage::Format_RGB32);
    emit ui().fileMenu->aboutToShow();
    emit ui().editMenu->aboutToShow();
    emit ui().tileMenu->aboutToShow();
    for (QAction* a :
         {action(Command::CreateBitmaps), action(Command::Copy), action(Command::Paste),
          action(Command::PasteBaseImage), action(Command::CreateTile), action(Command::RotateLeft),
          action(Command::FlipVertical)})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(Layout, ToolbarButtonsRunTheirMenuCommands) {
    open(library("lib.qrb", 1, 20, 20));
    const QImage before = ui().workingTile->image();
    ui().toolbarButton(15)->trigger(); // Rotate Left
    const QImage turned = ui().workingTile->image();
    EXPECT_NE(turned, before);
    action(Command::Undo)->trigger();
    action(Command::RotateLeft)->trigger();
    EXPECT_EQ(ui().workingTile->image(), turned);

    ui().toolbarButton(4)->trigger(); // Copy
    EXPECT_EQ(platform.clipboard->image(), turned);
    ui().toolbarButton(10)->trigger(); // Bold, already pressed when it runs
    EXPECT_TRUE(window->document().placement().style.bold);
    EXPECT_TRUE(ui().toolbarButton(10)->isChecked());
}

} // namespace
} // namespace qrb::test
