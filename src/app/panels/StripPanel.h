#pragma once
// The tile strip in its sunken frame, with the bar that scrolls it and the sideways bar
// shown while a row is wider than it. It shows the document's tiles and selection, turns
// the strip's presses and keys into document calls, and shows the tile menu a right-click
// or the menu key asks for.

#include "app/shared/Services.h"
#include "document/Document.h"

#include <QObject>
#include <QPoint>

class QAction;
class QFrame;
class QMenu;
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

    // The tile menu and the items it shows or hides, and renames, for the row it is for;
    // `deleteKey` is what the Delete key runs.
    struct TileMenu {
        QMenu* menu = nullptr;
        QAction* setBaseTile = nullptr;
        QAction* saveTilesAs = nullptr;
        QAction* deleteTile = nullptr;
        QAction* deleteTiles = nullptr;
        QAction* deleteKey = nullptr;
    };

    // Builds the controls in `client`; `emptyPicture` fills the strip until a library opens.
    StripPanel(Document& document, Services services, QWidget* client, const QPixmap& emptyPicture,
               QObject* parent = nullptr);

    const Widgets& widgets() const { return ui_; }
    void setTileMenu(const TileMenu& menu) { menu_ = menu; }

    // A press on a strip row (any of its parts), as the mouse gives it: the document
    // selects, and a right-click shows the tile menu at `globalPos`.
    void press(int tile, RowPart part, MouseButton button, Modifiers modifiers,
               QPoint globalPos = QPoint());
    // Scrolls the strip as little as brings tile `tile`'s row into view.
    void ensureRowVisible(int tile);
    // Moves the current or the marked tiles and scrolls the strip to them.
    void moveTiles(Document::TileMove where);

    // ---- Layout (ClientLayout calls these as it lays out the client area) ---------------
    // Lays the strip out over the client area's band from `top` to `bottom` (the status
    // bar's top) at the right edge of a client area `width` wide, then scrolls as the last
    // change of the tiles asks. A step that would give a negative size ends the layout.
    void layOut(int top, int bottom, int width);
    // Moves the strip's left edge to `x`.
    void setLeft(int x);

private:
    void buildControls(QWidget* client);
    void tilesChanged(int firstTile, bool appended, bool reordered);
    void connectInput();
    bool layOutFrame(int top, int bottom, int width);
    // Shows or hides the sideways bar as the rows need, within the band ending at `bottom`.
    void layOutSideways(int bottom);
    void showTileMenu(const TileMenuForm& form, QPoint globalPos);

    // Where the strip scrolls once the layout after a change of the tiles gave it its size.
    enum class Scroll { Stay, ToTop, ToEnd };

    Document& document_;
    Services services_;
    Widgets ui_;
    TileMenu menu_;
    Scroll scroll_ = Scroll::Stay;
};

} // namespace qrb
