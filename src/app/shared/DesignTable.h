#pragma once
// The window's design in one table: each control's old form name, which it keeps as its
// objectName (tests, scripts, accessibility tools and the help's wording find it by that
// name), and its place in pixels in its parent, as the design lays it out. The controls'
// C++ names are those of MainWindow::Controls and the panels' Widgets; the menu items'
// old names are in the command table. Geometry that follows the window's size (the strip's
// height and width, the status bar's place) is worked out from these by ClientLayout.

#include <QRect>

#include <array>

namespace qrb::design {

// A control as the design places it.
struct Control {
    const char* name; // the old form's name: the control's objectName
    QRect place;      // in its parent's pixels
};

// ---- The client area (the toolbar across its top, the status bar across its bottom) ----

inline constexpr int kToolbarHeight = 26; // "Toolbar1", as wide as the window
inline constexpr Control kLogo{"Image1", {408, 107, 284, 125}};
inline constexpr Control kCreateButton{"cmdCreate", {2, 261, 155, 36}};

// The text placement panel.
inline constexpr Control kTextBox{"txtText", {2, 28, 156, 15}};
inline constexpr Control kPositionGroup{"Frame3", {2, 62, 156, 112}};
inline constexpr Control kXBar{"XScroll", {23, 14, 121, 17}}; // in the position group
inline constexpr Control kYBar{"YScroll", {7, 33, 17, 79}};   // in the position group
inline constexpr Control kXField{"txtX", {48, 40, 33, 19}};   // in the position group
inline constexpr Control kYField{"txtY", {96, 40, 33, 19}};   // in the position group
inline constexpr Control kPositionComma{"Label1", {80, 45, 17, 17}};
inline constexpr Control kTileSizeLabel{"Label2", {32, 64, 113, 17}};
inline constexpr Control kPlaceButton{"cmdPlace", {32, 85, 55, 27}};
inline constexpr Control kStoreButton{"cmdStore", {90, 85, 55, 27}};
inline constexpr Control kAngleGroup{"frmRotate", {2, 175, 156, 83}};
inline constexpr Control kAngleField{"txtAngle", {6, 29, 34, 20}}; // in the angle group
inline constexpr Control kAngleBar{"HScroll1", {4, 63, 147, 17}};
inline constexpr Control kAngleDial{"picRotate", {64, 13, 50, 50}};
inline constexpr Control kAngleDialRing{"Shape4", {0, 0, 47, 49}}; // in the dial
// The nine slots: "Text1(k)" and "cmdPlaceText(k)" in rows inside the group, whose design
// height is its most; the rows lie in a view at kSlotViewAt, kSlotViewMargins less wide
// and high than the group.
inline constexpr Control kSlotGroup{"Frame2", {2, 299, 156, 261}};
inline constexpr QPoint kSlotViewAt{2, 10};
inline constexpr QSize kSlotViewMargins{4, 12};
inline constexpr std::array<int, 9> kSlotTextTops{11, 39, 67, 94, 122, 149, 177, 204, 232};
inline constexpr std::array<int, 9> kSlotButtonTops{11, 39, 68, 96, 123, 150, 178, 205, 233};
inline constexpr QRect kSlotText{3, 0, 77, 23}; // the first slot's box starts at x = 4
inline constexpr QRect kSlotButton{89, 0, 63, 23};

// The working tile and its previews. The frames are square for large tiles.
inline constexpr Control kWorkingTileFrame{"Shape2(0)", {159, 28, 174, 174}};
inline constexpr Control kPreviewFrame{"Shape2(1)", {159, 203, 174, 267}};
inline constexpr int kLargeFrameSide = 260;
inline constexpr Control kFullPreview{"pctPreviewFull", {168, 224, 28, 28}};
inline constexpr Control kHalfPreview{"pctPreviewHalf", {168, 272, 31, 28}};
inline constexpr Control kSmallColour{"shpPreviewSmall", {168, 312, 16, 16}};
// The full preview's top below its frame's, for small and for large tiles.
inline constexpr int kFullPreviewDrop = 15;
inline constexpr int kFullPreviewDropLarge = 2;

// The strip: its frame and bars start below the toolbar of the band in view and reach the
// status bar and the client area's right edge.
inline constexpr Control kStripFrame{"Picture2", {334, 28, 325, 424}};
inline constexpr Control kStripBar{"VScroll1", {575, 30, 17, 439}};
inline constexpr Control kStripSideways{"stripSideways", {334, 452, 325, 17}};

// The status bar's six panels: tiles, font, size, style, message, zoom. The size panel
// is wide enough for two digits; the style panel widens for the large layout and anchors.
inline constexpr std::array<int, 6> kStatusPanelWidths{131, 100, 28, 78, 96, 48};
inline constexpr int kWideStylePanel = 165;

// The window opens tall enough for every slot and wide enough for a row of 256-pixel
// tiles (the design's client area, 547 x 411, would cut most of them off).
inline constexpr QSize kOpeningClientSize{800, 586};
// Smaller than this the window would show too little to work with.
inline constexpr QSize kSmallestWindow{400, 300};
// Below its design size the client area scrolls rather than squeeze the strip narrower.
inline constexpr int kNarrowestStrip = 120;

// ---- The About box ----------------------------------------------------------------------

inline constexpr QSize kAboutSize{382, 203};
inline constexpr Control kAboutIcon{"picIcon", {16, 16, 32, 32}};
inline constexpr Control kAboutTitle{"lblTitle", {70, 16, 259, 32}};
inline constexpr Control kAboutVersion{"lblVersion", {70, 52, 259, 15}};
inline constexpr Control kAboutRemarks{"lblRemarks", {70, 76, 256, 53}};
inline constexpr Control kAboutLineDark{"Line1_1", {6, 163, 371, 1}};
inline constexpr Control kAboutLineLight{"Line1_0", {7, 164, 370, 1}};
inline constexpr Control kAboutOk{"cmdOK", {149, 171, 84, 23}};
inline constexpr QRect kAboutLogo{0, 170, 110, 28}; // at most this, 8 pixels from the right

} // namespace qrb::design
