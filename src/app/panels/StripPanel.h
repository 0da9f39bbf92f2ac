#pragma once
// The tile strip in its sunken frame, with the bar that scrolls it and the sideways bar
// shown while a row is wider than it. It shows the document's tiles and selection; the
// strip's presses and keys go to the window, which owns the tile menu.

#include "document/Document.h"

#include <QObject>

class QFrame;
class QPixmap;
class QScrollBar;
class QWidget;

namespace qrb {

class TileStrip;

class StripPanel : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QFrame* stripFrame = nullptr; // strip viewport (bordered)
        TileStrip* strip = nullptr;   // strip content, painted rows
        QScrollBar* stripBar = nullptr;
        QScrollBar* stripSideways = nullptr; // below stripFrame while a row is wider than it
    };

    // The strip's top edge and its bar's, below the toolbar of the band in view.
    static constexpr int kStripTop = 28;
    static constexpr int kStripBarTop = 30;

    // Builds the controls in `client`; `emptyPicture` fills the strip until a library opens.
    StripPanel(Document& document, QWidget* client, const QPixmap& emptyPicture,
               QObject* parent = nullptr);

    const Widgets& widgets() const { return ui_; }

    // Lays the strip out over the client area's band from `top` to `bottom` (the status
    // bar's top) at the right edge of a client area `width` wide. A step that would give
    // a negative size ends the layout; false then.
    bool layOut(int top, int bottom, int width);
    // Moves the strip's left edge to `x`.
    void setLeft(int x);
    // Shows or hides the sideways bar as the rows need, within the strip's band ending at
    // `bottom`.
    void layOutSideways(int bottom);
    // A new viewport height needs a new scroll range, or rows below the old range could no
    // longer be reached. The strip stays where it is.
    void keepScrollRange();

private:
    void buildControls(QWidget* client);
    void tilesChanged(int firstTile, bool appended, bool reordered);

    Document& document_;
    Widgets ui_;
    int bottom_ = 0; // the band's bottom at the last layout
};

} // namespace qrb
