// The window as it stands after start-up: menus, toolbar, status bar, controls, resize.

#include "support/ui/WindowFixture.h"

namespace qrb::test {
namespace {

using Layout = WindowFixture;

TEST_F(Layout, MenuItemsStartInTheirOwnStates) {
    // Hidden items are never usable; Save and Save As wait for a library.
    for (QAction* a : {ui().mnuNew, ui().mnuAddTilemnu, ui().mnuCloneTilemnu, ui().mnuSaveTiles,
                       ui().mnuSave, ui().mnuSaveAs})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(ui().mnuNew->isVisible());
    EXPECT_TRUE(ui().mnuConfirmWrite->isChecked());
    EXPECT_TRUE(ui().mnuAutoPastePase->isChecked());
    EXPECT_FALSE(ui().mnuCreateUsingPosition->isChecked());
    EXPECT_EQ(ui().mnuSaveAs->text(), "Save &As ...");
    EXPECT_EQ(ui().mnuSaveAs->shortcut(), QKeySequence("Ctrl+A"));
    // The Tile menu's own 16 items come first; anything added follows them.
    EXPECT_EQ(ui().mnuConfiguration->actions().at(15), ui().mnuCreateUsingPosition);
    EXPECT_FALSE(ui().mnuTileMenu->menuAction()->isVisible());
}

TEST_F(Layout, ToolbarHasTwentyPositionsWithTheHalfTileButtonHidden) {
    int visible = 0;
    for (int i = 1; i <= 20; ++i) {
        SCOPED_TRACE(i);
        QAction* a = ui().toolbarButton(i);
        // The old form's name lives on as the button's (a separator's) object name.
        const QObject* named = a->isSeparator() || !a->isVisible()
                                   ? static_cast<QObject*>(a)
                                   : ui().Toolbar1->widgetForAction(a);
        EXPECT_EQ(named->objectName(), QStringLiteral("Toolbar1_Button%1").arg(i));
        EXPECT_EQ(a->isSeparator(), i == 3 || i == 6 || i == 12 || i == 14 || i == 19);
        EXPECT_EQ(a->isCheckable(), i == 10 || i == 11 || i == 13);
        visible += a->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(visible, 18);
    EXPECT_EQ(ui().toolbarButton(1)->toolTip(), "Open QRB File");
    // A button with a menu twin is the menu item's own action.
    EXPECT_EQ(ui().toolbarButton(1), ui().mnuOpen);
    EXPECT_EQ(ui().toolbarButton(17), ui().mnuFlipHorizontal);
    EXPECT_EQ(ui().toolbarUndo, ui().mnuUndo);
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
    const CommonDialog& d = window->CommonDialog1();
    EXPECT_EQ(d.Filter, "QRB File (*.qrb)|*.qrb");
    EXPECT_TRUE(d.CancelError);
    EXPECT_EQ(window->document().placement().style, defaultTextStyle());
    EXPECT_EQ(ui().txtText->font().pointSizeF(), 8);
    EXPECT_EQ(ui().txtText->height(), 16);
    EXPECT_TRUE(window->document().isSaved());
    EXPECT_TRUE(ui().pctWorkingTile->isHidden());
    EXPECT_FALSE(ui().VScroll1->isEnabled());
    EXPECT_TRUE(ui().ProgressBar1->isHidden());
}

TEST_F(Layout, ControlsSitAtTheirDesignPlacesWithNames) {
    EXPECT_EQ(ui().txtText->geometry().topLeft(), QPoint(2, 28));
    EXPECT_EQ(ui().Frame3->findChild<QScrollBar*>("XScroll"), ui().XScroll);
    EXPECT_EQ(ui().XScroll->minimum(), -5);
    EXPECT_TRUE(ui().txtAngle->isHidden());
    EXPECT_EQ(ui().Shape2[0]->geometry(), QRect(159, 28, 174, 174));
    EXPECT_EQ(window->findChild<QPushButton*>("cmdPlaceText(8)"), ui().cmdPlaceText[8]);
    // Controls without a visible caption still have a name a screen reader can say.
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui().txtText, ui().XScroll, ui().YScroll, ui().txtX, ui().txtY, ui().txtAngle,
             ui().HScroll1, ui().picRotate, ui().cmdCreate, ui().pctWorkingTile,
             ui().shpPreviewSmall, reinterpret_cast<QWidget*>(ui().Picture1), ui().VScroll1,
             ui().Text1[4]})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
}

TEST_F(Layout, ResizeFollowsTheWindow) {
    resizeClient(800, 600);
    const int S = ui().StatusBar1->height();
    EXPECT_EQ(ui().VScroll1->x(), 800 - 17);
    EXPECT_EQ(ui().VScroll1->height(), 600 - 30 - S);
    EXPECT_EQ(ui().Picture2->width(), 800 - 334 - 17);
    EXPECT_EQ(ui().Picture2->height(), 600 - 28 - S);
    const int panel5 = ui().StatusBar1->panelLeft(5);
    EXPECT_EQ(ui().ProgressBar1->geometry(), QRect(panel5, 600 - S + 2, 800 - panel5 - 17, S - 2));
    EXPECT_EQ(ui().Picture1->size(), ui().Picture2->contentsRect().size());
    EXPECT_EQ(ui().Shape2[1]->height(), 600 - 203 - S);
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
    Form2 darkWindow(platform.platform());
    const Form2::Controls& c = darkWindow.ui();

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
    EXPECT_TRUE(drawnInText(c.picRotate->image())); // "000"
    EXPECT_TRUE(drawnInText(c.Shape2[0]->grab().toImage()));
    EXPECT_TRUE(drawnInText(c.Shape4->grab().toImage()));
    EXPECT_EQ(c.cmdCreate->text(), "&Create");

    EXPECT_EQ(c.frmRotate->title(), "Current Text Angle");
    for (QGroupBox* group : {c.Frame3, c.Frame2})
        EXPECT_FALSE(group->title().isEmpty()) << group->objectName().toStdString();
    // The left column's groups and Create lie one below the other, no edge or caption
    // covered by the next.
    const QWidget* column[] = {c.Frame3, c.frmRotate, c.cmdCreate, c.Frame2};
    for (std::size_t i = 0; i + 1 < std::size(column); ++i)
        EXPECT_LE(column[i]->geometry().bottom(), column[i + 1]->y())
            << column[i]->objectName().toStdString();
}

TEST_F(Layout, MenusSetTheirStatesWhenTheyOpenWithoutALibrary) {
    platform.clipboard->content = QImage(4, 4, QImage::Format_RGB32);
    emit ui().mnuFile->aboutToShow();
    emit ui().mnuEdit->aboutToShow();
    emit ui().mnuConfiguration->aboutToShow();
    for (QAction* a : {ui().mnuCreateBMP, ui().mnuCopy, ui().mnuPaste, ui().mnuPasteBaseImage,
                       ui().mnuCreateTile, ui().mnuRotateLeft, ui().mnuFlipVertical})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(Layout, ToolbarButtonsRunTheirMenuCommands) {
    open(library("lib.qrb", 1, 20, 20));
    const QImage before = ui().pctWorkingTile->image();
    ui().toolbarButton(15)->trigger(); // Rotate Left
    const QImage turned = ui().pctWorkingTile->image();
    EXPECT_NE(turned, before);
    ui().mnuUndo->trigger();
    ui().mnuRotateLeft->trigger();
    EXPECT_EQ(ui().pctWorkingTile->image(), turned);

    ui().toolbarButton(4)->trigger(); // Copy
    EXPECT_EQ(platform.clipboard->image(), turned);
    ui().toolbarButton(10)->trigger(); // Bold, already pressed when it runs
    EXPECT_TRUE(window->document().placement().style.bold);
    EXPECT_TRUE(ui().toolbarButton(10)->isChecked());
}

} // namespace
} // namespace qrb::test
