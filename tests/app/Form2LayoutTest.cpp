// The window as it stands after start-up: menus, toolbar, status bar, controls, resize.

#include "app/PanelStatusBar.h"
#include "app/ShapeWidget.h"
#include "editing/ui/TileStrip.h"
#include "imaging/ui/ImageBox.h"
#include "support/ui/WindowFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

namespace qrb::test {
namespace {

using Layout = WindowFixture;

struct MenuItem {
    const char* name;
    const char* caption;
    const char* shortcut;
    bool visible;
    bool enabled;
    int checked; // -1 not checkable
};

TEST_F(Layout, MenuItemsHaveTheirCaptionsShortcutsAndInitialStates) {
    const std::vector<MenuItem> items{
        {"mnuNew", "&New", "Ctrl+N", false, false, -1},
        {"mnuOpen", "&Open", "Ctrl+O", true, true, -1},
        {"mnuSave", "&Save", "Ctrl+S", true, false, -1},
        {"mnuSaveAs", "Save &As ...", "Ctrl+A", true, false, -1},
        {"mnuConfirmWrite", "Confirm when replacing file", "", true, true, 1},
        {"mnuSavePositionData", "Save", "", true, true, -1},
        {"mnuCreateBMP", "Create bitmaps from QRB file", "", true, true, -1},
        {"mnuExit", "&Exit", "", true, true, -1},
        {"mnuPasteBaseImage", "Paste &Base Image", "Ctrl+B", true, true, -1},
        {"mnuCreateTile", "Create Tile", "Ctrl+T", true, true, -1},
        {"mnuAddTilemnu", "Add tile", "", false, false, -1},
        {"mnuCloneTilemnu", "Clone tile", "", false, false, -1},
        {"mnuDeleteTilemnu", "Delete tile", "", false, false, -1},
        {"mnuBaseTile", "Set base tile", "", false, false, -1},
        {"mnuAutoPastePase", "Automatically paste base image when tile is created", "", true, true,
         1},
        {"mnuCreateUsingPosition", "Create tile using position data", "", true, true, 0},
        {"mnuSaveTiles", "Save selected tiles", "", false, false, -1},
        {"mnuDeleteTiles", "Delete selected tiles", "", true, true, -1},
    };
    for (const MenuItem& m : items) {
        SCOPED_TRACE(m.name);
        auto* a = window->findChild<QAction*>(QString::fromLatin1(m.name));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromLatin1(m.caption));
        EXPECT_EQ(a->shortcut().toString(), QString::fromLatin1(m.shortcut));
        EXPECT_EQ(a->isVisible(), m.visible);
        if (m.visible) { // a hidden action is never enabled
            EXPECT_EQ(a->isEnabled(), m.enabled);
        }
        if (m.checked >= 0) {
            EXPECT_EQ(a->isChecked(), m.checked == 1);
        } else {
            EXPECT_FALSE(a->isCheckable());
        }
    }
    // Menu order and the context menu that never shows in the menu bar.
    QStringList tile;
    for (QAction* a : window->ui().mnuConfiguration->actions())
        tile << a->objectName();
    EXPECT_EQ(tile.first(), "mnuCreateTile");
    EXPECT_EQ(tile.last(), "mnuCreateUsingPosition");
    EXPECT_EQ(tile.size(), 16);
    EXPECT_FALSE(window->ui().mnuTileMenu->menuAction()->isVisible());
    EXPECT_EQ(window->ui().mnuPositionData->title(), "Text Position Data");
}

TEST_F(Layout, ToolbarHasTwentyPositionsWithTipsAndHiddenHalfTileButton) {
    const QStringList tips{"Open QRB File",
                           "Save QRB File",
                           "",
                           "Copy",
                           "Paste",
                           "",
                           "Select Font",
                           "Decrease Font Size",
                           "Increase Font Size",
                           "Bold",
                           "Italic",
                           "",
                           "Automatically Create Halfsize Tile",
                           "",
                           "Rotate Left",
                           "Rotate Right",
                           "Flip Horizontal",
                           "Flip Vertical",
                           "",
                           "Delete Tile"};
    int visible = 0;
    for (int i = 1; i <= 20; ++i) {
        SCOPED_TRACE(i);
        QAction* a = window->ui().toolbarButton(i);
        EXPECT_EQ(a->objectName(), QStringLiteral("Toolbar1_Button%1").arg(i));
        EXPECT_EQ(a->isSeparator(), tips[i - 1].isEmpty());
        if (!a->isSeparator()) {
            EXPECT_EQ(a->toolTip(), tips[i - 1]);
        }
        EXPECT_EQ(a->isCheckable(), i == 10 || i == 11 || i == 13);
        EXPECT_FALSE(a->isChecked());
        visible += a->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(visible, 18);
    EXPECT_FALSE(window->ui().toolbarButton(13)->isEnabled());
    // After the two start-up size steps (6 -> 8) both size buttons are usable.
    EXPECT_TRUE(window->ui().toolbarButton(8)->isEnabled());
    EXPECT_TRUE(window->ui().toolbarButton(9)->isEnabled());
}

TEST_F(Layout, StartsWithDefaultStyleDialogSettingsAndEmptyStrip) {
    EXPECT_EQ(window->windowTitle(), "QRB Text Editor");
    EXPECT_EQ(panel(1), "0 Tiles");
    EXPECT_EQ(panel(2), "Arial ");
    EXPECT_EQ(panel(3), "8");
    const CommonDialog& d = window->CommonDialog1();
    EXPECT_EQ(d.Filter, "QRB File (*.qrb)|*.qrb");
    EXPECT_TRUE(d.CancelError);
    EXPECT_EQ(d.FontName, "Arial");
    EXPECT_EQ(d.FontSize, 8);
    EXPECT_EQ(d.Min, 6);
    EXPECT_EQ(d.Max, 18);
    EXPECT_EQ(d.Flags, 0x2107);
    EXPECT_EQ(window->ui().txtText->font().pointSizeF(), 8);
    EXPECT_EQ(window->ui().txtText->height(), 16);
    EXPECT_EQ(window->ui().pctWorkingTile->font().family(), "Arial");
    EXPECT_TRUE(window->state().EditingFullImage);
    EXPECT_TRUE(window->state().IsSaved);
    EXPECT_TRUE(window->ui().pctWorkingTile->isHidden());
    EXPECT_FALSE(window->ui().VScroll1->isEnabled());
    EXPECT_TRUE(window->ui().ProgressBar1->isHidden());
}

TEST_F(Layout, ControlsSitAtTheirDesignPlacesWithTipsAndNames) {
    const auto& ui = window->ui();
    EXPECT_EQ(ui.txtText->geometry().topLeft(), QPoint(2, 28));
    EXPECT_EQ(ui.Frame3->findChild<QScrollBar*>("XScroll"), ui.XScroll);
    EXPECT_EQ(ui.XScroll->minimum(), -5);
    EXPECT_EQ(ui.XScroll->pageStep(), 10);
    EXPECT_EQ(ui.HScroll1->minimum(), -1);
    EXPECT_EQ(ui.HScroll1->maximum(), 360);
    EXPECT_TRUE(ui.txtAngle->isHidden());
    EXPECT_EQ(ui.txtAngle->text(), "000");
    EXPECT_EQ(ui.Shape2[0]->geometry(), QRect(159, 28, 174, 174));
    EXPECT_EQ(ui.cmdStore->toolTip(),
              "After clicking \"Store\" select one of the nine position buttons below to save "
              "the current text, position, and font");
    EXPECT_EQ(ui.txtX->toolTip(), "Horizontal Position - Click to change");
    EXPECT_EQ(ui.StatusBar1->panel(1)->toolTip(), "Number of tiles in QRB file");
    EXPECT_EQ(ui.StatusBar1->panelWidth(4), 78);

    const QStringList captions{"0,0",   "5,5",   "10,10", "15,15", "20,20",
                               "25,25", "30,30", "35,35", "40,40"};
    for (int k = 0; k < 9; ++k) {
        auto* button = window->findChild<QPushButton*>(QStringLiteral("cmdPlaceText(%1)").arg(k));
        ASSERT_EQ(button, ui.cmdPlaceText[std::size_t(k)]);
        EXPECT_EQ(button->text(), captions[k]);
        EXPECT_FALSE(button->isEnabled());
        EXPECT_EQ(button->property("index").toInt(), k);
        EXPECT_EQ(ui.Text1[std::size_t(k)]->x(), k == 0 ? 4 : 3);
    }
    // Controls without a visible caption still have a name a screen reader can say.
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui.txtText, ui.XScroll, ui.YScroll, ui.txtX, ui.txtY, ui.txtAngle, ui.HScroll1,
             ui.picRotate, ui.cmdCreate, ui.pctWorkingTile, ui.shpPreviewSmall,
             reinterpret_cast<QWidget*>(ui.Picture1), ui.VScroll1, ui.Text1[4]})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
}

TEST_F(Layout, ResizeFollowsTheWindowAndStopsSilentlyWhenTooSmall) {
    const auto& ui = window->ui();
    resizeClient(800, 600);
    const int S = ui.StatusBar1->height();
    EXPECT_EQ(ui.VScroll1->x(), 800 - 17);
    EXPECT_EQ(ui.VScroll1->height(), 600 - 30 - S);
    EXPECT_EQ(ui.Picture2->width(), 800 - 334 - 17);
    EXPECT_EQ(ui.Picture2->height(), 600 - 28 - S);
    const int panel5 = ui.StatusBar1->panelLeft(5);
    EXPECT_EQ(ui.ProgressBar1->geometry(), QRect(panel5, 600 - S + 2, 800 - panel5 - 17, S - 2));
    EXPECT_EQ(ui.Picture1->size(), ui.Picture2->contentsRect().size());
    EXPECT_EQ(ui.Shape2[1]->height(), 600 - 203 - S);

    // Too small for the strip: the layout stops where a size would turn negative.
    resizeClient(300, 40);
    EXPECT_EQ(ui.VScroll1->x(), 300 - 17);
    EXPECT_EQ(ui.Picture2->width(), 800 - 334 - 17);
}

TEST_F(Layout, MenusSetTheirStatesWhenTheyOpenWithoutALibrary) {
    const auto& ui = window->ui();
    platform.clipboard->content = QImage(4, 4, QImage::Format_RGB32);
    emit ui.mnuFile->aboutToShow();
    emit ui.mnuEdit->aboutToShow();
    emit ui.mnuConfiguration->aboutToShow();
    EXPECT_FALSE(ui.mnuCreateBMP->isEnabled());
    EXPECT_FALSE(ui.mnuCopy->isEnabled());
    EXPECT_FALSE(ui.mnuPaste->isEnabled());
    EXPECT_FALSE(ui.mnuPasteBaseImage->isEnabled());
    for (QAction* a : {ui.mnuCreateTile, ui.mnuRotateLeft, ui.mnuRotateRight, ui.mnuFlipHorizontal,
                       ui.mnuFlipVertical})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(Layout, EveryItemAndButtonRunsTheHandlerNamedAfterIt) {
    QStringList ran;
    for (const char* name : {"mnuCopy_Click", "mnuRotateLeft_Click", "Toolbar1_Button10"})
        window->setHandler(QString::fromLatin1(name), [&ran, name] { ran << name; });
    window->ui().mnuCopy->trigger();
    window->ui().toolbarButton(4)->trigger();  // Copy button runs the Copy command
    window->ui().toolbarButton(15)->trigger(); // Rotate Left
    window->ui().toolbarButton(10)->trigger(); // Bold, already pressed when it runs
    EXPECT_EQ(ran, QStringList({"mnuCopy_Click", "mnuCopy_Click", "mnuRotateLeft_Click",
                                "Toolbar1_Button10"}));
    EXPECT_TRUE(window->ui().toolbarButton(10)->isChecked());
}

} // namespace
} // namespace qrb::test
