#pragma once
// Where the main window opens: on the screen's free area, whole. A window wider or taller
// than the area is made smaller (never below its minimum), then centred; its frame's top
// left corner never lies off the area, so the title bar and menus can always be reached.

#include <QMargins>
#include <QRect>
#include <QSize>

namespace qrb {

// Room the window manager's frame usually takes around a window: the title bar on top and
// thin borders, used before the window is shown and its real frame is known.
inline constexpr QMargins kUsualWindowFrame{8, 32, 8, 8};

// The window's size (without the frame) and the place of its frame's top-left corner, for
// a window that would like `wanted` and cannot be smaller than `minimum`, with `frame`
// around it, on a screen whose free area is `available`.
QRect placedWindow(QSize wanted, QSize minimum, QMargins frame, QRect available);

} // namespace qrb
