#pragma once
// The working tile and its three previews: their frames and boxes, what they show (the
// document's working tile with the live text, the new tile's images and small colour),
// where they sit in their frames, the small colour's dialog and the exchange with the
// clipboard. A tile larger than its frame scrolls inside it.

#include "app/parts/PartSupport.h"
#include "document/Document.h"

#include <QObject>

#include <array>

class QScrollArea;

namespace qrb {

class ImageBox;
class ShapeWidget;

class WorkingTilePanel : public QObject {
    Q_OBJECT
public:
    // The panel's controls, which it builds in the window's client area at their design
    // places.
    struct Widgets {
        std::array<ShapeWidget*, 2> tileFrames{}; // around the working tile, the new tile
        // The working tile lies on a canvas inside this view, which covers the inside of
        // tileFrames[0] and scrolls a tile larger than that.
        QScrollArea* workingTileView = nullptr;
        ImageBox* workingTile = nullptr;
        ImageBox* fullPreview = nullptr;
        ImageBox* halfPreview = nullptr;
        ImageBox* smallColour = nullptr;
    };

    WorkingTilePanel(Document& document, Services services, QWidget* client,
                     QObject* parent = nullptr);

    const Widgets& widgets() const { return ui_; }

    // ---- Layout (the window calls these as it lays out its client area) ----------------
    // The working tile's frame as wide as the small or large tiles need.
    void setFrameWidth(bool large);
    // The frames' heights and the previews' places for small or large tiles.
    void arrangeFrames(bool large);
    // The preview frame reaches down to `bottom`, the top of the status bar.
    void stretchPreviewFrame(int bottom);
    // The full preview centred on its frame; the half preview and the small colour below.
    void placePreviews();
    // The working tile centred in its frame, or scrolled there when it is larger.
    void centreWorkingTile();

    // ---- Commands ----------------------------------------------------------------------
    // The colour dialog for the small colour, starting from the colour chosen last.
    void chooseSmallColour();
    void copy();
    void paste();
    void pasteBaseImage();

private:
    void buildControls(QWidget* client);
    void show();

    Document& document_;
    Services services_;
    Widgets ui_;
};

} // namespace qrb
